// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gui/TestServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "platform/Text.h"

namespace kestro::test {

base::MessageResult ScriptedMessageBox::Show(QWidget*, const QString& title, const QString& text,
                                             base::MessageIcon icon, base::MessageButtons buttons,
                                             base::MessageResult defaultButton) {
    base::Message m{platform::U8(title), platform::U8(text), icon, buttons, defaultButton};
    m_shown.push_back(m);
    if (buttons == base::MessageButtons::Ok) {
        // An OK-only box has no choice; a scripted answer stays for a real question.
        return base::MessageResult::Ok;
    }
    if (m_answers.empty()) {
        ADD_FAILURE() << "Unexpected question \"" << m.title << "\": " << m.text;
        return defaultButton;
    }
    base::MessageResult answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::vector<base::Message> ScriptedMessageBox::Take() {
    std::vector<base::Message> shown;
    shown.swap(m_shown);
    return shown;
}

QString ScriptedFileDialogs::Next(const QString& title, const QString& filter, const QString& fileName) {
    m_filters.push_back(filter);
    m_startNames.push_back(fileName);
    if (m_paths.empty()) {
        ADD_FAILURE() << "Unexpected file dialog \"" << platform::U8(title) << "\"";
        return {};
    }
    QString path = m_paths.front();
    m_paths.pop_front();
    return path;
}

QString ScriptedFileDialogs::OpenFile(QWidget*, const QString& title, const QString& filter, const QString&,
                                      const QString& fileName) {
    return Next(title, filter, fileName);
}

QString ScriptedFileDialogs::SaveFile(QWidget*, const QString& title, const QString& filter, const QString&,
                                      const QString& fileName) {
    return Next(title, filter, fileName);
}

void WhenModalShown(std::function<void(QWidget* dialog)> fn) {
    auto timer = std::make_shared<QTimer>();
    auto tries = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer.get(), &QTimer::timeout, [timer, tries, fn] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            timer->stop();
            fn(modal);
        } else if (++*tries > 400) {
            timer->stop();
            ADD_FAILURE() << "No modal window was shown";
        }
    });
    timer->start();
}

QString ModalOpenedBy(const std::function<void()>& open) {
    auto name = std::make_shared<QString>();
    WhenModalShown([name](QWidget* dialog) {
        *name = dialog->objectName();
        dialog->close();
    });
    open();
    return *name;
}

bool KeyOpensModal(QWidget* widget, Qt::Key key) {
    QWidget* const before = QApplication::activeModalWidget();
    bool opened = false;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != before && modal->isVisible()) {
            opened = true;
            modal->close();
        }
    });
    closer.start();
    widget->setFocus();
    QTest::keyClick(widget, key);
    QTest::qWait(30);
    return opened;
}

std::shared_ptr<ShownHelp> WhenHelpShown() {
    auto help = std::make_shared<ShownHelp>();
    WhenModalShown([help](QWidget* dialog) {
        help->caption = dialog->windowTitle();
        auto* text = dialog->findChild<QPlainTextEdit*>(QStringLiteral("txtHelp"));
        if (text != nullptr) help->text = text->toPlainText();
        dialog->close();
    });
    return help;
}

}  // namespace kestro::test
