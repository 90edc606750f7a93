// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tile viewer: a ROM's bytes as Virtual Boy tiles, with navigation, width
// changes, palettes, and copying or saving the view.

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "rom/RecentRomList.h"
#include "tiles/TileNavigation.h"
#include "tiles/TilePng.h"
#include "tiles/TileRender.h"
#include "tiles/TileZoom.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kestro::platform {
class DrawingSurface;
class Swatch;
}  // namespace kestro::platform

namespace kestro::tiles {

class frmTileViewer final : public QDialog {
    Q_OBJECT
public:
    explicit frmTileViewer(platform::Services& services, QWidget* parent = nullptr);
    ~frmTileViewer() override;

    /// Redraws the whole view from the current offset and width, letting the
    /// event loop run after every tile. False when it was stopped.
    bool RedrawTiles();

    /// Closing the window stops a redraw in progress.
    void done(int result) override;

protected:
    /// A dropped ROM file opens as if chosen with Open.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class RedrawPacer;

    void BuildMenus();
    void BuildControls();
    QWidget* BuildSidePanel();
    QWidget* BuildLowerPanel();
    void ConnectHandlers();
    void Form_Load();
    void GetRegistry();
    void SaveRegistry();
    void ShowSwatchColours();
    void RefreshRecentMenu();
    void SetNavigationEnabled(bool enabled);
    void SetRedrawControlsEnabled(bool enabled);
    void ShowImage();
    /// Stops a redraw in progress and gives back the palette button and caption it took.
    void StopRedraw();
    QString TitleCaption() const;
    void RefreshCachedWidth();
    /// The offset and width the next redraw reads.
    TileView CurrentView() const;
    /// Asks for a file to save to and, when one is there, whether to replace
    /// it; empty when the user declined.
    QString ChooseSavePath(std::string_view filter, const QString& directory, const QString& name);
    /// The commands that need a loaded ROM.
    std::array<QAction*, 5> RomActions() const;

    // File and Edit commands.
    void mnuFileOpen_Click();
    void mnuFileRecent_Click(int index);
    bool LoadRom(const QString& path);
    void AfterOpen(bool loaded, const QString& path);
    void mnuFileClose_Click();
    void mnuFileBack_Click();
    void mnuFileSavePng_Click();
    void mnuFileImportPng_Click();
    /// Shows the imported tiles marked, then saves the new ROM under a name
    /// the user gives; when none is given the view returns to the file's bytes.
    void ShowImport(TileImport& imported);
    bool SaveImportedRom();
    void mnuEditCopy_Click();
    void mnuEditSave_Click();
    void mnuHelpHelp_Click();

    // Zoom: the view enlarged on screen; copies and bitmaps stay 1:1 unless
    // the user asks for the zoomed size.
    void BuildViewMenu(QMenuBar* bar);
    void SetZoom(int zoom);
    void mnuViewZoom_Click(int step);
    /// What Copy and Save hand on: the view as drawn, enlarged when asked.
    PixelImage OutputImage() const;

    // The window's own controls.
    void chkAutoUpdate_Click();
    void optDspMode_Click(int index);
    void cmdUpdate_Click();
    void cmdChangePalette_Click();
    void cmdNavigation_Click(ViewStep step);
    void cmdGoto_Click(GotoWhat what);
    void picTileViewer_KeyPress(int characterCode);

    platform::Services& m_services;
    rom::RecentRomList m_recent;
    std::string m_baseDirectory;
    bool m_autoUpdate = false;
    int m_displayMode = 0;
    TilePalette m_palette;
    std::int16_t m_width = 0;  ///< the width the last redraw read
    std::string m_title;       ///< the header title's bytes
    std::shared_ptr<const std::vector<std::uint8_t>> m_rom;
    PixelImage m_image;          ///< what the drawing surface shows and keeps
    int m_redrawGeneration = 0;  ///< moves on to stop a redraw in progress
    bool m_redrawing = false;
    int m_zoom = 1;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileClose = nullptr;
    QMenu* mnuFileRecent = nullptr;
    std::array<QAction*, rom::kRecentRomSlots> mnuFileRecentItem{};  ///< mnuFileRecent0 ... 9
    QAction* mnuFileRecentSep = nullptr;
    QAction* mnuFileSavePng = nullptr;
    QAction* mnuFileImportPng = nullptr;
    QAction* mnuFileBack = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditSave = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QAction* mnuViewZoomIn = nullptr;
    QAction* mnuViewZoomOut = nullptr;
    std::array<QAction*, kMaxZoom> mnuViewZoom{};  ///< mnuViewZoom1 ... 4
    QAction* mnuEditZoomed = nullptr;

    platform::DrawingSurface* picTileViewer = nullptr;
    std::array<QPushButton*, 14> cmdNavigation{};  ///< in the order a redraw disables them
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdChangePalette = nullptr;
    QCheckBox* chkAutoUpdate = nullptr;
    std::array<QRadioButton*, 2> optDspMode{};
    std::array<platform::Swatch*, 4> picCol{};  ///< picCol1 (colour 1) ... picCol4
    QLabel* lblOffset1 = nullptr;
    QLabel* lblOffset = nullptr;
    QLabel* lblWidth1 = nullptr;
    QLabel* lblWidth = nullptr;
    QLabel* lblFileLen = nullptr;
    QLabel* lblFileName = nullptr;
    QLabel* lblRomLabel = nullptr;
    QLabel* lblGotoWhat = nullptr;
    QPlainTextEdit* txtHelp = nullptr;
};

}  // namespace kestro::tiles
