// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RunLogView.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>

#include "base/RunLog.h"
#include "platform/Text.h"
#include "platform/Widgets.h"

namespace kestro::platform {

void WhenEndedSoon(QObject* context, std::shared_ptr<base::ExitWatch> watch, std::function<void(int status)> ended) {
    if (!watch || watch->Fd() < 0) return;
    auto* notifier = new QSocketNotifier(static_cast<qintptr>(watch->Fd()), QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [notifier, watch, ended] {
        notifier->setEnabled(false);
        notifier->deleteLater();
        if (const std::optional<int> status = watch->WaitForExit(std::chrono::milliseconds(0))) ended(*status);
    });
    // After the quick-failure time the emulator is running: stop listening.
    QTimer::singleShot(std::chrono::duration_cast<std::chrono::milliseconds>(base::kQuickFailureTime), notifier,
                       [notifier] {
                           notifier->setEnabled(false);
                           notifier->deleteLater();
                       });
}

void ShowRunLog(QWidget* parent, const QString& caption, const std::string& path) {
    QDialog window(parent);
    window.setObjectName(QStringLiteral("frmRunLog"));
    window.setWindowTitle(caption + QStringLiteral(" - ") + Q(path));
    auto* layout = new QVBoxLayout(&window);
    QFile file(Q(path));
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    auto* box = Named(new QPlainTextEdit(text, &window), "txtLog");
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(box);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    layout->addWidget(buttons);
    window.resize(720, 420);
    window.exec();
}

}  // namespace kestro::platform
