// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/frmPalette.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/NumericText.h"
#include "base/Paths.h"
#include "base/SettingsKeys.h"
#include "platform/Swatch.h"
#include "platform/Text.h"
#include "platform/Widgets.h"
#include "tiles/PaletteFile.h"
#include "tiles/TileTexts.h"
#include "tiles/frmLoadPal.h"

namespace kestro::tiles {

using platform::Q;
using platform::U8;

namespace {
// Column headings and the letter that ends each box's name.
constexpr std::array<std::pair<const char*, const char*>, 3> kComponents{{{"Red", "R"}, {"Green", "G"}, {"Blue", "B"}}};
constexpr int kBoxWidth = 44;
}  // namespace

frmPalette::frmPalette(platform::Services& services, QWidget* parent) : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmPalette"));
    setWindowTitle(QStringLiteral("Palette..."));
    BuildControls();
    platform::KeepOnlyDesignedDefault(this);
    ConnectHandlers();
    Form_Load();
}

void frmPalette::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout();
    layout->addLayout(grid);
    for (int k = 0; k < 3; ++k) grid->addWidget(new QLabel(QString::fromLatin1(kComponents[k].first), this), 0, k + 1);
    for (int c = 0; c < 4; ++c) {
        const QString colour = QStringLiteral("Col") + QString::number(c + 1);
        picColPreview[c] = new platform::Swatch(QStringLiteral("pic") + colour + QStringLiteral("Preview"), this);
        picColPreview[c]->setFixedSize(kBoxWidth, 22);
        grid->addWidget(picColPreview[c], c + 1, 0);
        for (int k = 0; k < 3; ++k) {
            QLineEdit*& box = txtCol[c][k];
            box = new QLineEdit(this);
            box->setObjectName(QStringLiteral("txt") + colour + QString::fromLatin1(kComponents[k].second));
            box->setFixedWidth(kBoxWidth);
            grid->addWidget(box, c + 1, k + 1);
        }
        cmdColRevert[c] = new QPushButton(QStringLiteral("Revert"), this);
        cmdColRevert[c]->setObjectName(QStringLiteral("cmd") + colour + QStringLiteral("Revert"));
        grid->addWidget(cmdColRevert[c], c + 1, 4);
    }
    auto* buttons = new QHBoxLayout();
    layout->addLayout(buttons);
    cmdSave = platform::AddButton(this, buttons, "cmdSave", "Save");
    cmdLoad = platform::AddButton(this, buttons, "cmdLoad", "Load");
    buttons->addStretch();
    cmdApply = platform::AddButton(this, buttons, "cmdApply", "Apply");
    cmdCancel = platform::AddButton(this, buttons, "cmdCancel", "Cancel");
    setFixedSize(sizeHint());
}

void frmPalette::ConnectHandlers() {
    for (int c = 0; c < 4; ++c) {
        for (int k = 0; k < 3; ++k) {
            connect(txtCol[c][k], &QLineEdit::textChanged, this, [this, c, k] { txtCol_Change(c, k); });
        }
        connect(cmdColRevert[c], &QPushButton::clicked, this, [this, c] { cmdColRevert_Click(c); });
    }
    connect(cmdApply, &QPushButton::clicked, this, &frmPalette::cmdApply_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPalette::cmdCancel_Click);
    connect(cmdLoad, &QPushButton::clicked, this, &frmPalette::cmdLoad_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmPalette::cmdSave_Click);
}

void frmPalette::Form_Load() {
    GetRegistry();
    SetColourBoxes(m_colours);
}

void frmPalette::GetRegistry() {
    m_baseDirectory = base::ReadText(m_services.settings, base::keys::BaseDirectory);
    m_colours = ReadTilePalette(m_services.settings, kPaletteWindowDefaults);
}

void frmPalette::SaveRegistry() {
    WriteTilePalette(m_services.settings, m_colours);
}

void frmPalette::SetColourBoxes(const TilePalette& palette) {
    for (int c = 0; c < 4; ++c) {
        for (int k = 0; k < 3; ++k) txtCol[c][k]->setText(QString::number(Component(palette.colours[c], k)));
    }
}

TilePalette frmPalette::BoxPalette() const {
    TilePalette palette;
    for (int c = 0; c < 4; ++c) {
        for (int k = 0; k < 3; ++k) {
            SetComponent(palette.colours[c], k, ComponentOf(base::NumericValue(U8(txtCol[c][k]->text()))));
        }
    }
    return palette;
}

void frmPalette::txtCol_Change(int colour, int component) {
    QLineEdit* box = txtCol[colour][component];
    const QString normalised = Q(base::NormalisedNumberText(U8(box->text()), 0, 255));
    if (normalised != box->text()) {
        box->setText(normalised);  // comes back here with the settled text
        return;
    }
    box->setCursorPosition(static_cast<int>(normalised.size()));
    picColPreview[colour]->SetBackColour(platform::ToQColor(BoxPalette().colours[colour]));
}

void frmPalette::cmdColRevert_Click(int colour) {
    for (int k = 0; k < 3; ++k) txtCol[colour][k]->setText(QString::number(Component(m_colours.colours[colour], k)));
}

void frmPalette::cmdApply_Click() {
    // An emptied box counts as 0, as it reads everywhere else.
    m_colours = BoxPalette();
    SaveRegistry();
    accept();
}

void frmPalette::cmdCancel_Click() {
    reject();
}

void frmPalette::cmdLoad_Click() {
    frmLoadPal loader(
        m_services, [this](const TilePalette& palette) { SetColourBoxes(palette); }, this);
    loader.exec();
}

void frmPalette::cmdSave_Click() {
    const QString chosen =
        m_services.files.SaveFile(this, QStringLiteral("Save As"), Q(kPaletteFilter), Q(m_baseDirectory), QString());
    if (chosen.isEmpty()) return;
    const QString path = Q(base::WithFilterExtension(U8(chosen), kPaletteFilter));
    if (QFileInfo::exists(path) &&
        m_services.messages.Show(this, ReplaceQuestion(U8(path))) != base::MessageResult::Yes) {
        return;
    }
    if (auto written = WritePaletteFile(U8(path), BoxPalette()); !written) {
        m_services.messages.Show(this, WriteFailedMessage(written.reason));
    }
}

}  // namespace kestro::tiles
