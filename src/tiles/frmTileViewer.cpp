// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/frmTileViewer.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/SettingsKeys.h"
#include "help/frmHelp.h"
#include "platform/DrawingSurface.h"
#include "platform/Drops.h"
#include "platform/QtServices.h"
#include "platform/RecentMenuView.h"
#include "platform/Swatch.h"
#include "platform/Text.h"
#include "platform/Widgets.h"
#include "tiles/TileTexts.h"

namespace kestro::tiles {

using platform::Q;

namespace {
// Where each navigation button sits in the side panel (row, column), in the
// order of the button table.
constexpr std::array<std::pair<int, int>, 14> kButtonCells{{
    {8, 1},
    {1, 1},
    {10, 0},
    {10, 1},
    {2, 0},
    {2, 1},
    {9, 0},
    {9, 1},
    {3, 0},
    {3, 1},
    {4, 0},
    {4, 1},
    {5, 0},
    {5, 1},
}};
constexpr int kSwatchSize = 22;

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text = QString()) {
    return platform::Named(new QLabel(text, parent), name);
}
}  // namespace

frmTileViewer::frmTileViewer(platform::Services& services, QWidget* parent)
    : QDialog(parent), m_services(services), m_recent(services.settings) {
    setObjectName(QStringLiteral("frmTileViewer"));
    setWindowTitle(Q(kNoRomCaption));
    BuildMenus();
    BuildControls();
    platform::KeepOnlyDesignedDefault(this);
    ConnectHandlers();
    Form_Load();
    platform::AcceptDropsOnWindow(this);
}

frmTileViewer::~frmTileViewer() = default;

void frmTileViewer::BuildMenus() {
    using platform::AddAction;
    using platform::AddMenu;
    auto* bar = new QMenuBar(this);
    mnuFile = AddMenu(bar, "mnuFile", "&File");
    mnuFileOpen = AddAction(mnuFile, "mnuFileOpen", "&Open ROM...");
    mnuFileClose = AddAction(mnuFile, "mnuFileClose", "&Close ROM");
    mnuFile->addSeparator();
    mnuFileSavePng = AddAction(mnuFile, "mnuFileSavePng", "Save to PNG...");
    mnuFileImportPng = AddAction(mnuFile, "mnuFileImportPng", "Import Tiles from PNG...");
    mnuFile->addSeparator();
    mnuFileRecent = AddMenu(mnuFile, "mnuFileRecent", "&Recent Files");
    for (int k = 0; k < rom::kRecentRomSlots; ++k) {
        mnuFileRecentItem[k] = mnuFileRecent->addAction(QString());
        mnuFileRecentItem[k]->setObjectName(QStringLiteral("mnuFileRecent%1").arg(k));
    }
    mnuFileRecentSep = mnuFile->addSeparator();
    mnuFileRecentSep->setObjectName(QStringLiteral("mnuFileRecentSep"));
    mnuFileBack = AddAction(mnuFile, "mnuFileBack", "&Back to main menu");
    QMenu* mnuEdit = AddMenu(bar, "mnuEdit", "&Edit");
    mnuEditCopy = AddAction(mnuEdit, "mnuEditCopy", "&Copy to clipboard");
    mnuEditSave = AddAction(mnuEdit, "mnuEditSave", "&Save to bitmap...");
    BuildViewMenu(bar);
    QMenu* mnuHelp = AddMenu(bar, "mnuHelp", "&Help");
    mnuHelpHelp = AddAction(mnuHelp, "mnuHelpHelp", "ROM Tile Viewer &Help...");
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
}

void frmTileViewer::BuildControls() {
    auto* top = new QHBoxLayout();
    picTileViewer = new platform::DrawingSurface(QStringLiteral("picTileViewer"), QSize(kViewWidth, kViewHeight), this);
    top->addWidget(picTileViewer, 0, Qt::AlignTop);
    top->addWidget(BuildSidePanel(), 0, Qt::AlignTop);
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->addLayout(top);
    layout->addWidget(BuildLowerPanel());

    // The state the design keeps in hidden labels, and the help text.
    lblFileLen = NewLabel(this, "lblFileLen");
    lblFileName = NewLabel(this, "lblFileName");
    lblRomLabel = NewLabel(this, "lblRomLabel");
    lblRomLabel->setFont(platform::KatakanaFont());
    lblGotoWhat = NewLabel(this, "lblGotoWhat");
    txtHelp = new QPlainTextEdit(platform::DisplayText(Q(TileViewerHelpText())), this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setReadOnly(true);
    for (QWidget* hidden :
         {static_cast<QWidget*>(lblFileLen), static_cast<QWidget*>(lblFileName), static_cast<QWidget*>(lblRomLabel),
          static_cast<QWidget*>(lblGotoWhat), static_cast<QWidget*>(txtHelp)}) {
        hidden->hide();
    }
    setFixedSize(sizeHint());
}

QWidget* frmTileViewer::BuildSidePanel() {
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    lblOffset1 = NewLabel(panel, "lblOffset1", QStringLiteral("Offset (bytes):"));
    lblOffset = NewLabel(panel, "lblOffset");
    lblWidth1 = NewLabel(panel, "lblWidth1", QStringLiteral("Width (tiles):"));
    lblWidth = NewLabel(panel, "lblWidth");
    grid->addWidget(lblOffset1, 0, 0, 1, 2);
    grid->addWidget(lblOffset, 1, 0);
    grid->setRowMinimumHeight(6, 12);
    grid->addWidget(lblWidth1, 7, 0, 1, 2);
    grid->addWidget(lblWidth, 8, 0);
    for (std::size_t i = 0; i < kNavigationButtons.size(); ++i) {
        const NavigationButton& b = kNavigationButtons[i];
        cmdNavigation[i] = new QPushButton(Q(b.caption), panel);
        cmdNavigation[i]->setObjectName(Q(b.name));
        cmdNavigation[i]->setToolTip(Q(b.tooltip));
        grid->addWidget(cmdNavigation[i], kButtonCells[i].first, kButtonCells[i].second);
    }
    return panel;
}

QWidget* frmTileViewer::BuildLowerPanel() {
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    auto* fraDspMode = new QGroupBox(QStringLiteral("Display mode"), panel);
    fraDspMode->setObjectName(QStringLiteral("fraDspMode"));
    auto* modes = new QVBoxLayout(fraDspMode);
    const std::array<QString, 2> captions{QStringLiteral("Nintendo Virtual Boy Tile (2 bit)"),
                                          QStringLiteral("Nintendo Virtual Boy Linear (2 bit)")};
    for (int i = 0; i < 2; ++i) {
        optDspMode[i] = new QRadioButton(captions[i], fraDspMode);
        optDspMode[i]->setObjectName(QStringLiteral("optDspMode_%1").arg(i));
        optDspMode[i]->setEnabled(false);  // tile mode is the only one there is
        modes->addWidget(optDspMode[i]);
    }
    row->addWidget(fraDspMode);
    row->addStretch();
    auto* grid = new QGridLayout();
    row->addLayout(grid);
    auto* swatches = new QHBoxLayout();
    for (int c = 0; c < 4; ++c) {
        picCol[c] = new platform::Swatch(QStringLiteral("picCol%1").arg(c + 1), panel);
        picCol[c]->setFixedSize(kSwatchSize, kSwatchSize);
        picCol[c]->setToolTip(Q(kSwatchTooltips[c]));
        swatches->addWidget(picCol[c]);
    }
    grid->addLayout(swatches, 0, 0);
    cmdChangePalette = new QPushButton(QStringLiteral("Palette"), panel);
    cmdChangePalette->setObjectName(QStringLiteral("cmdChangePalette"));
    cmdChangePalette->setToolTip(QStringLiteral("Change palette..."));
    grid->addWidget(cmdChangePalette, 0, 1);
    chkAutoUpdate = new QCheckBox(QStringLiteral("Auto-Update Display"), panel);
    chkAutoUpdate->setObjectName(QStringLiteral("chkAutoUpdate"));
    grid->addWidget(chkAutoUpdate, 1, 0);
    cmdUpdate = new QPushButton(QStringLiteral("Update Screen"), panel);
    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    cmdUpdate->setToolTip(QStringLiteral("Update image on screen"));
    // Wide enough for the time it reports after a redraw.
    cmdUpdate->setMinimumWidth(cmdUpdate->fontMetrics().horizontalAdvance(Q(UpdateCaption(88.888))) + 24);
    grid->addWidget(cmdUpdate, 1, 1);
    return panel;
}

void frmTileViewer::ConnectHandlers() {
    connect(mnuFileOpen, &QAction::triggered, this, &frmTileViewer::mnuFileOpen_Click);
    connect(mnuFileClose, &QAction::triggered, this, &frmTileViewer::mnuFileClose_Click);
    for (int k = 0; k < rom::kRecentRomSlots; ++k) {
        connect(mnuFileRecentItem[k], &QAction::triggered, this, [this, k] { mnuFileRecent_Click(k); });
    }
    connect(mnuFileSavePng, &QAction::triggered, this, &frmTileViewer::mnuFileSavePng_Click);
    connect(mnuFileImportPng, &QAction::triggered, this, &frmTileViewer::mnuFileImportPng_Click);
    connect(mnuFileBack, &QAction::triggered, this, &frmTileViewer::mnuFileBack_Click);
    connect(mnuEditCopy, &QAction::triggered, this, &frmTileViewer::mnuEditCopy_Click);
    connect(mnuEditSave, &QAction::triggered, this, &frmTileViewer::mnuEditSave_Click);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmTileViewer::mnuHelpHelp_Click);
    for (std::size_t i = 0; i < kNavigationButtons.size(); ++i) {
        const auto action = kNavigationButtons[i].action;
        connect(cmdNavigation[i], &QPushButton::clicked, this, [this, action] {
            if (const auto* step = std::get_if<ViewStep>(&action)) {
                cmdNavigation_Click(*step);
            } else {
                cmdGoto_Click(std::get<GotoWhat>(action));
            }
        });
    }
    connect(cmdUpdate, &QPushButton::clicked, this, &frmTileViewer::cmdUpdate_Click);
    connect(cmdChangePalette, &QPushButton::clicked, this, &frmTileViewer::cmdChangePalette_Click);
    connect(chkAutoUpdate, &QCheckBox::clicked, this, &frmTileViewer::chkAutoUpdate_Click);
    connect(picTileViewer, &platform::DrawingSurface::keyPressed, this, &frmTileViewer::picTileViewer_KeyPress);
}

void frmTileViewer::Form_Load() {
    GetRegistry();
    ShowSwatchColours();
    chkAutoUpdate->setChecked(m_autoUpdate);
    optDspMode[0]->setChecked(true);
    optDspMode_Click(0);
    lblWidth->setText(QStringLiteral("48"));
    lblOffset->setText(QStringLiteral("0"));
    RefreshCachedWidth();
    SetZoom(m_zoom);
    m_recent.Refresh();
    RefreshRecentMenu();
    // Until a ROM is loaded there is nothing to move through, copy or save.
    SetNavigationEnabled(false);
    cmdUpdate->setEnabled(false);
    chkAutoUpdate->setEnabled(false);
    for (QWidget* w : {static_cast<QWidget*>(lblOffset), static_cast<QWidget*>(lblWidth),
                       static_cast<QWidget*>(lblOffset1), static_cast<QWidget*>(lblWidth1)}) {
        w->setEnabled(false);
    }
    for (QAction* a : RomActions()) a->setEnabled(false);
}

std::array<QAction*, 5> frmTileViewer::RomActions() const {
    return {mnuFileClose, mnuFileSavePng, mnuFileImportPng, mnuEditCopy, mnuEditSave};
}

void frmTileViewer::GetRegistry() {
    m_baseDirectory = base::ReadText(m_services.settings, base::keys::BaseDirectory);
    m_autoUpdate = base::ReadYesNo(m_services.settings, base::keys::AutoUpdateViewer);
    m_displayMode = base::ReadWhole(m_services.settings, base::keys::TileDisplayMode);
    m_palette = ReadTilePalette(m_services.settings, kVbPalette);
    m_zoom = base::ReadWhole(m_services.settings, kTileViewerZoomKey);
    m_recent.Load();
}

void frmTileViewer::SaveRegistry() {
    base::WriteYesNo(m_services.settings, base::keys::AutoUpdateViewer, m_autoUpdate);
    base::WriteWhole(m_services.settings, base::keys::TileDisplayMode, m_displayMode);
}

void frmTileViewer::ShowSwatchColours() {
    for (int c = 0; c < 4; ++c) picCol[c]->SetBackColour(platform::ToQColor(m_palette.colours[c]));
}

void frmTileViewer::RefreshRecentMenu() {
    platform::ShowRecentMenu(m_recent.Menu(), mnuFileRecent, mnuFileRecentSep, mnuFileRecentItem);
}

void frmTileViewer::optDspMode_Click(int index) {
    m_displayMode = index;
    SaveRegistry();
    lblWidth1->setText(QStringLiteral("Width (tiles)"));
    if (chkAutoUpdate->isChecked() && !lblFileLen->text().isEmpty()) RedrawTiles();
}

void frmTileViewer::mnuHelpHelp_Click() {
    help::ShowHelpTopic(m_services, this, Q(kHelpTopic), txtHelp->toPlainText());
}

void frmTileViewer::picTileViewer_KeyPress(int characterCode) {
    m_services.messages.Show(this, KeyCodeMessage(characterCode));
}

}  // namespace kestro::tiles
