// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The palette loader: two presets, or a palette file.

#include <QDialog>
#include <functional>
#include <string>

#include "platform/Services.h"
#include "tiles/TilePalette.h"

class QPushButton;

namespace kestro::tiles {

class frmLoadPal final : public QDialog {
    Q_OBJECT
public:
    /// setBoxes puts a chosen palette into the palette window's boxes.
    frmLoadPal(platform::Services& services, std::function<void(const TilePalette&)> setBoxes,
               QWidget* parent = nullptr);

private:
    void BuildControls();
    void GetRegistry();
    void cmdLoadCustom_Click();
    void cmdRevert_Click(const TilePalette& preset);
    void cmdCancel_Click();

    platform::Services& m_services;
    std::function<void(const TilePalette&)> m_setBoxes;
    std::string m_baseDirectory;
    QPushButton* cmdLoadCustom = nullptr;
    QPushButton* cmdCancel = nullptr;
};

}  // namespace kestro::tiles
