// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ToolWindow.h"

#include <QDialog>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/QtServices.h"
#include "platform/Widgets.h"

namespace kestro::platform {

ToolMenus AddToolMenus(QDialog* window, const char* helpCaption) {
    auto* bar = new QMenuBar(window);
    QMenu* mnuFile = AddMenu(bar, "mnuFile", "&File");
    QAction* back = AddAction(mnuFile, "mnuFileBack", "&Back to main menu");
    QMenu* mnuHelp = AddMenu(bar, "mnuHelp", "&Help");
    QAction* help = AddAction(mnuHelp, "mnuHelpHelp", helpCaption);
    auto* layout = new QVBoxLayout(window);
    layout->setMenuBar(bar);
    QObject::connect(back, &QAction::triggered, window, &QDialog::close);
    return {back, help, mnuHelp};
}

QPlainTextEdit* AddHelpBox(QDialog* window, const QString& text) {
    auto* box = Named(new QPlainTextEdit(DisplayText(text), window), "txtHelp");
    box->setReadOnly(true);
    box->setFixedHeight(110);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    window->layout()->addWidget(box);
    return box;
}

}  // namespace kestro::platform
