// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: start-up, the plain and the themed look, and the hub that
// opens every tool window.

#include <QMainWindow>
#include <array>
#include <functional>
#include <string>

#include "app/AppSettings.h"
#include "app/Startup.h"
#include "base/Registry.h"
#include "platform/Services.h"

class QAction;
class QMenu;
class QPushButton;
class QPlainTextEdit;
class QShortcut;
class QStackedWidget;
class QTimer;

namespace kestro::platform {
class PictureBox;
}

namespace kestro::app {

/// What start-up needs from the machine, so that tests can stand in for it.
struct StartupEnvironment {
    base::RegistryBackend& registry;  ///< where the Windows and Fonts directories are read
    std::string programDirectory;
    std::string fontFile;
    FileExistsFn fileExists;
    /// Loads the checksum library found by the check; false with a reason.
    std::function<bool(const std::string& path, std::string* error)> loadLibrary;
};

/// The environment of the installed program: the katakana font found on this
/// system, the Windows and Fonts directories put into locations as the
/// registry values they stand in for, and the checksum library loaded for real.
StartupEnvironment DesktopEnvironment(base::MemoryRegistryBackend& locations);

class frmMain final : public QMainWindow {
    Q_OBJECT
public:
    frmMain(platform::Services& services, StartupEnvironment environment, QWidget* parent = nullptr);
    ~frmMain() override;

    /// The load handler: checks, settings, enabling, look and notice. False
    /// when a check failed and the program must end.
    bool Form_Load();

    /// After the options window closes: reload settings, re-apply enabling and look.
    void AfterOptionsClosed();

    /// Shows the front-end of an emulator whose program was found.
    void OpenEmulatorFrontEnd(base::Program program, platform::Services& services);
    /// Opens the ROM information window on a file given to the program, as
    /// if the user had chosen it with Open; a relative path is taken from
    /// the current directory.
    void OpenRomInfo(const QString& path);

    const QString& tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }
    const AppSettings& settings() const { return m_settings; }
    int powerCounter() const { return m_powerCounter; }

private:
    enum ImageButton {
        RomInfo,
        TileViewer,
        VbRomDatabase,
        Emus,
        Utils,
        Options,
        About,
        Help,
        Close,
        Power,
        ButtonCount
    };
    struct ThemedSet {
        platform::PictureBox* precaution = nullptr;
        platform::PictureBox* title = nullptr;
        platform::PictureBox* menu = nullptr;
        platform::PictureBox* pointer = nullptr;
        platform::PictureBox* lowBat = nullptr;
        std::array<platform::PictureBox*, ButtonCount> buttons{};
        std::array<QPixmap, ButtonCount> lit;
        std::array<QPixmap, ButtonCount> unlit;
    };

    void BuildMenus();
    void BuildPlainLook();
    void BuildThemedLook();
    void BuildThemedSet(int set);
    /// Draws the themed pictures, once, when the themed look is first shown.
    void DrawThemedPictures();
    void ConnectHandlers();

    void GetRegistry();
    void SaveRegistry();
    void ApplyEnabling();
    void ApplyLook();
    void ShowPlainLook();
    void ShowThemedLook();
    void CentreOnScreen();
    void ShowThemedMenu(int set);
    void LightButton(int button);
    bool QuitIfBatteryDead();
    /// The themed look hides the menu bar; Alt+F and Alt+H open its menus.
    void ShowMenuByKey(QMenu* menu);

    // Commands; each opens its window modally.
    void mnuFileRomInfo_Click();
    void mnuFileTileViewer_Click();
    void mnuFileRomDatabase_Click();
    void mnuFileEmusRealityBoy_Click();
    void mnuFileEmusVirtualE_Click();
    void mnuFileEmusRedDragon_Click();
    void mnuFileEmusMednafen_Click();
    void mnuFileUtilsVeCCompiler_Click();
    void mnuFileUtilsVEnvironment_Click();
    void mnuFileUtilsVbDevKit_Click();
    void cmdEmus_Click();
    void cmdUtils_Click();
    void mnuFileOptions_Click();
    void mnuFileQuit_Click();
    void mnuHelpHelp_Click();
    void mnuHelpIdCodes_Click();
    void mnuHelpAbout_Click();
    void imgPrecaution_Click(int set);
    void imgTitle_Click(int set);
    void imgMenu_MouseMove();
    void imgMenu_Click();
    void imgButton_Click(ImageButton button);
    void imgPower_Click();
    void tmrLowBat_Timer();

    void ShowHelp(const QString& topic);
    void OpenEmulator(base::Program program);

    platform::Services& m_services;
    StartupEnvironment m_environment;
    AppSettings m_settings;
    QString m_tag;
    int m_powerCounter = 0;

    QStackedWidget* m_pages = nullptr;
    QWidget* m_plainPage = nullptr;
    QWidget* m_themedPage = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuFileEmus = nullptr;
    QMenu* mnuFileUtils = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuFileRomInfo = nullptr;
    QAction* mnuFileTileViewer = nullptr;
    QAction* mnuFileRomDatabase = nullptr;
    QAction* mnuFileEmusRealityBoy = nullptr;
    QAction* mnuFileEmusVirtualE = nullptr;
    QAction* mnuFileEmusRedDragon = nullptr;
    QAction* mnuFileEmusMednafen = nullptr;
    QAction* mnuFileUtilsVeCCompiler = nullptr;
    QAction* mnuFileUtilsVEnvironment = nullptr;
    QAction* mnuFileUtilsVbDevKit = nullptr;
    QAction* mnuFileOptions = nullptr;
    QAction* mnuFileQuit = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QAction* mnuHelpIdCodes = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QPushButton* cmdRomInfo = nullptr;
    QPushButton* cmdTileViewer = nullptr;
    QPushButton* cmdRomDatabase = nullptr;
    QPushButton* cmdEmus = nullptr;
    QPushButton* cmdUtils = nullptr;
    QPushButton* cmdOptions = nullptr;
    QPlainTextEdit* txtHelp = nullptr;
    std::array<ThemedSet, 2> m_themed;
    bool m_themedDrawn = false;
    QTimer* tmrLowBat = nullptr;
    std::array<QShortcut*, 2> m_themedMenuKeys{};  ///< Alt+F, Alt+H while the menu bar is hidden
};

}  // namespace kestro::app
