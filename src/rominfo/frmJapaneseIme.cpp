// SPDX-License-Identifier: GPL-3.0-or-later
#include "rominfo/frmJapaneseIme.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Text.h"
#include "platform/Widgets.h"
#include "rom/RomHeader.h"
#include "rominfo/RomajiReading.h"

namespace kestro::rominfo {

using platform::Q;

frmJapaneseIme::frmJapaneseIme(platform::Services& services, const std::string& title, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmJapaneseIme"));
    setWindowTitle(QStringLiteral("Virtual Boy ROM Title Editor..."));
    BuildControls();
    platform::KeepOnlyDesignedDefault(this);
    connect(txtRomTitle, &QLineEdit::textChanged, this, &frmJapaneseIme::txtRomTitle_Change);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    for (int i = 0; i < kKatakanaButtonCount; ++i) {
        connect(cmdKatakana[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdKatakana_Click(i); });
    }
    Form_Load(title);
}

void frmJapaneseIme::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    txtRomTitle = new QLineEdit(this);
    txtRomTitle->setObjectName(QStringLiteral("txtRomTitle"));
    txtRomTitle->setMaxLength(static_cast<int>(rom::kTitleLength));
    txtRomTitle->setFont(platform::KatakanaFont(12));
    txtRomTitle->setToolTip(QStringLiteral("Type characters or press appropriate button"));
    layout->addWidget(txtRomTitle);

    auto* keys = new QGridLayout;
    keys->setSpacing(2);
    const QFont keyFont = platform::KatakanaFont(12);
    for (int i = 0; i < kKatakanaButtonCount; ++i) {
        const unsigned char code = KatakanaButtonCode(i);
        auto* button = new QPushButton(platform::TitleToDisplay(std::string(1, static_cast<char>(code))), this);
        button->setObjectName(QStringLiteral("cmdKatakana_") + QString::number(i));
        button->setFont(keyFont);
        // The keys share out the room a resize gives the window.
        button->setMinimumSize(30, 28);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);  // typing goes on in the box
        if (auto tip = KatakanaButtonTooltip(code)) button->setToolTip(Q(*tip));
        const KeyPlace place = KatakanaButtonPlace(i);
        keys->addWidget(button, place.row, place.column);
        cmdKatakana[static_cast<std::size_t>(i)] = button;
    }
    layout->addLayout(keys, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
}

void frmJapaneseIme::Form_Load(const std::string& title) {
    m_loaded = title;
    txtRomTitle->setText(platform::TitleToDisplay(title));
    txtRomTitle->setCursorPosition(static_cast<int>(txtRomTitle->text().size()));
    txtRomTitle_Change();
}

std::string frmJapaneseIme::Title() const {
    if (txtRomTitle->text() == platform::TitleToDisplay(m_loaded)) return m_loaded;
    return platform::DisplayToTitle(txtRomTitle->text());
}

void frmJapaneseIme::cmdKatakana_Click(int index) {
    // insert() replaces the selection and leaves the caret after the new code.
    const char code = static_cast<char>(KatakanaButtonCode(index));
    txtRomTitle->insert(platform::TitleToDisplay(std::string(1, code)));
    txtRomTitle->setFocus();
}

void frmJapaneseIme::txtRomTitle_Change() {
    const std::string title = Title();
    const std::string reading = RomajiReading(title);
    txtRomTitle->setToolTip(reading != title ? platform::ReadingToDisplay(reading) : txtRomTitle->text());
}

}  // namespace kestro::rominfo
