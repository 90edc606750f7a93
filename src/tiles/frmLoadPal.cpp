// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/frmLoadPal.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "base/SettingsKeys.h"
#include "platform/Text.h"
#include "platform/Widgets.h"
#include "tiles/PaletteFile.h"
#include "tiles/TileTexts.h"

namespace kestro::tiles {

using platform::Q;
using platform::U8;

frmLoadPal::frmLoadPal(platform::Services& services, std::function<void(const TilePalette&)> setBoxes, QWidget* parent)
    : QDialog(parent), m_services(services), m_setBoxes(std::move(setBoxes)) {
    setObjectName(QStringLiteral("frmLoadPal"));
    setWindowTitle(QStringLiteral("Load Palette..."));
    BuildControls();
    platform::KeepOnlyDesignedDefault(this);
    GetRegistry();
}

void frmLoadPal::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    cmdLoadCustom = new QPushButton(QStringLiteral("Load custom palette"), this);
    cmdLoadCustom->setObjectName(QStringLiteral("cmdLoadCustom"));
    layout->addWidget(cmdLoadCustom);
    connect(cmdLoadCustom, &QPushButton::clicked, this, &frmLoadPal::cmdLoadCustom_Click);
    for (const PalettePreset& preset : kPalettePresets) {
        auto* button = new QPushButton(Q(preset.caption), this);
        button->setObjectName(Q(preset.name));
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, &preset] { cmdRevert_Click(preset.palette); });
    }
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(cmdCancel);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLoadPal::cmdCancel_Click);
    platform::FixSizeShowingCaption(this);
}

void frmLoadPal::GetRegistry() {
    m_baseDirectory = base::ReadText(m_services.settings, base::keys::BaseDirectory);
}

void frmLoadPal::cmdLoadCustom_Click() {
    const QString path =
        m_services.files.OpenFile(this, QStringLiteral("Open"), Q(kPaletteFilter), Q(m_baseDirectory), QString());
    if (!path.isEmpty()) {
        const auto read = ReadPaletteFile(U8(path));
        if (const auto* palette = std::get_if<TilePalette>(&read)) {
            m_setBoxes(*palette);
        } else {
            m_services.messages.Show(this, std::get<base::Message>(read));
        }
    }
    accept();
}

void frmLoadPal::cmdRevert_Click(const TilePalette& preset) {
    m_setBoxes(preset);
    accept();
}

void frmLoadPal::cmdCancel_Click() {
    reject();
}

}  // namespace kestro::tiles
