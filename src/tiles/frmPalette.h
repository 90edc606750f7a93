// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The palette window: the four tile colours as red, green and blue boxes
// with live previews, per-colour revert, presets and palette files.

#include <QDialog>
#include <array>
#include <string>

#include "platform/Services.h"
#include "tiles/TilePalette.h"

class QLineEdit;
class QPushButton;

namespace kestro::platform {
class Swatch;
}

namespace kestro::tiles {

class frmPalette final : public QDialog {
    Q_OBJECT
public:
    explicit frmPalette(platform::Services& services, QWidget* parent = nullptr);

    /// Puts a palette into the twelve boxes (as the loader does); nothing is
    /// kept until "Apply".
    void SetColourBoxes(const TilePalette& palette);
    /// The boxes' values, rounded to whole numbers within 0-255.
    TilePalette BoxPalette() const;

private:
    void BuildControls();
    void ConnectHandlers();
    void Form_Load();
    void GetRegistry();
    void SaveRegistry();

    void txtCol_Change(int colour, int component);
    void cmdColRevert_Click(int colour);
    void cmdApply_Click();
    void cmdCancel_Click();
    void cmdLoad_Click();
    void cmdSave_Click();

    platform::Services& m_services;
    TilePalette m_colours;  ///< as loaded from the settings; changed only by Apply
    std::string m_baseDirectory;

    std::array<std::array<QLineEdit*, 3>, 4> txtCol{};  ///< txtCol1R ... txtCol4B
    std::array<platform::Swatch*, 4> picColPreview{};
    std::array<QPushButton*, 4> cmdColRevert{};
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdLoad = nullptr;
    QPushButton* cmdCancel = nullptr;
};

}  // namespace kestro::tiles
