// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The title editor: a text box of up to 20 characters and a button for each
// half-width katakana code.

#include <QDialog>
#include <array>
#include <string>

#include "platform/Services.h"
#include "rominfo/KatakanaKeys.h"

class QLineEdit;
class QPushButton;

namespace kestro::rominfo {

class frmJapaneseIme final : public QDialog {
    Q_OBJECT
public:
    /// title: the title bytes the ROM information window shows now.
    frmJapaneseIme(platform::Services& services, const std::string& title, QWidget* parent = nullptr);

    /// The title bytes in the box (what OK hands back).
    std::string Title() const;

private:
    void BuildControls();
    void Form_Load(const std::string& title);
    void cmdKatakana_Click(int index);
    void txtRomTitle_Change();

    platform::Services& m_services;
    /// The title as opened: control codes are not drawn, so an untouched box
    /// hands back these bytes rather than the drawn text.
    std::string m_loaded;
    QLineEdit* txtRomTitle = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    std::array<QPushButton*, kKatakanaButtonCount> cmdKatakana{};
};

}  // namespace kestro::rominfo
