// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/frmGoto.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/Text.h"
#include "platform/Widgets.h"
#include "tiles/TileTexts.h"

namespace kestro::tiles {

using platform::Q;
using platform::U8;

frmGoto::frmGoto(GotoWhat what, const QString& currentText, double fileLength, QWidget* parent)
    : QDialog(parent), m_what(what), m_fileLength(fileLength) {
    setObjectName(QStringLiteral("frmGoto"));
    setWindowTitle(QStringLiteral("Goto specific..."));
    BuildControls();
    platform::KeepOnlyDesignedDefault(this);
    connect(txtGoto, &QLineEdit::textChanged, this, &frmGoto::txtGoto_Change);
    connect(cmdGoto, &QPushButton::clicked, this, &frmGoto::cmdGoto_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmGoto::cmdCancel_Click);
    Form_Load(currentText);
}

void frmGoto::BuildControls() {
    auto* grid = new QGridLayout(this);
    lblGoto = new QLabel(this);
    lblGoto->setObjectName(QStringLiteral("lblGoto"));
    txtGoto = new QLineEdit(this);
    txtGoto->setObjectName(QStringLiteral("txtGoto"));
    cmdGoto = new QPushButton(QStringLiteral("Goto"), this);
    cmdGoto->setObjectName(QStringLiteral("cmdGoto"));
    cmdGoto->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    grid->addWidget(lblGoto, 0, 0);
    grid->addWidget(txtGoto, 0, 1, 1, 2);
    grid->addWidget(cmdGoto, 1, 1);
    grid->addWidget(cmdCancel, 1, 2);
}

void frmGoto::Form_Load(const QString& currentText) {
    setWindowTitle(Q(GotoCaption(m_what)));
    lblGoto->setText(Q(GotoLabel(m_what)));
    txtGoto->setText(currentText);
    txtGoto->setCursorPosition(static_cast<int>(txtGoto->text().size()));
    platform::FixSizeShowingCaption(this);
}

void frmGoto::txtGoto_Change() {
    const QString normalised = Q(GotoTextChanged(m_what, U8(txtGoto->text()), m_fileLength));
    if (normalised != txtGoto->text()) txtGoto->setText(normalised);
    txtGoto->setCursorPosition(static_cast<int>(normalised.size()));
}

void frmGoto::cmdGoto_Click() {
    m_result = Q(GotoAccepted(m_what, U8(txtGoto->text())));
    accept();
}

void frmGoto::cmdCancel_Click() {
    reject();
}

}  // namespace kestro::tiles
