// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frmMain.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>

#include "app/MainMenuTexts.h"
#include "platform/PictureBox.h"
#include "platform/QtServices.h"
#include "platform/SystemLocations.h"
#include "platform/Text.h"
#include "platform/Widgets.h"

namespace kestro::app {

using namespace kestro::base;

using platform::Q;
using platform::Twips;

namespace {
constexpr int kPlainWidthTwips = 3810;
constexpr int kPlainHeightTwips = 1980;
}  // namespace

StartupEnvironment DesktopEnvironment(MemoryRegistryBackend& locations) {
    const platform::KatakanaFontFile font = platform::FindKatakanaFont();
    platform::SetKatakanaFontFamily(font.family);
    platform::FillSystemLocations(locations, font);
    return StartupEnvironment{
        locations,
        platform::ProgramDirectory(),
        font.fileName,
        [](const std::string& path) { return QFileInfo(Q(path)).isFile(); },
        [](const std::string& path, std::string* error) {
            QString why;
            const bool loaded = platform::LoadChecksumLibrary(path, &why);
            if (!loaded && error) *error = platform::U8(why);
            return loaded;
        },
    };
}

frmMain::frmMain(platform::Services& services, StartupEnvironment environment, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_environment(std::move(environment)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kestro Utilities"));
    m_pages = new QStackedWidget(this);
    setCentralWidget(m_pages);
    BuildMenus();
    BuildPlainLook();
    BuildThemedLook();
    ConnectHandlers();
}

frmMain::~frmMain() = default;

void frmMain::BuildMenus() {
    mnuFile = platform::AddMenu(menuBar(), "mnuFile", "&File");
    mnuFileRomInfo = platform::AddAction(mnuFile, "mnuFileRomInfo", "View/Edit ROM &Info...");
    mnuFileTileViewer = platform::AddAction(mnuFile, "mnuFileTileViewer", "ROM &Tile Viewer...");
    mnuFileRomDatabase = platform::AddAction(mnuFile, "mnuFileRomDatabase", "VB ROM &Database...");
    mnuFileEmus = platform::AddMenu(mnuFile, "mnuFileEmus", "Virtual Boy &Emulators");
    mnuFileEmusRealityBoy = platform::AddAction(mnuFileEmus, "mnuFileEmusRealityBoy", "Reality &Boy Frontend...");
    mnuFileEmusVirtualE = platform::AddAction(mnuFileEmus, "mnuFileEmusVirtualE", "&Virtual-E Frontend...");
    mnuFileEmusRedDragon = platform::AddAction(mnuFileEmus, "mnuFileEmusRedDragon", "&Red Dragon Frontend...");
    mnuFileEmusMednafen = platform::AddAction(mnuFileEmus, "mnuFileEmusMednafen", "&Mednafen Frontend...");
    mnuFileUtils = platform::AddMenu(mnuFile, "mnuFileUtils", "Virtual Boy &Utilities");
    mnuFileUtilsVeCCompiler = platform::AddAction(mnuFileUtils, "mnuFileUtilsVeCCompiler", "Virtual-E &C Compiler...");
    mnuFileUtilsVEnvironment = platform::AddAction(mnuFileUtils, "mnuFileUtilsVEnvironment", "Virtual-&Environment...");
    mnuFileUtilsVbDevKit = platform::AddAction(mnuFileUtils, "mnuFileUtilsVbDevKit", "Virtual Boy Development &Kit...");
    mnuFile->addSeparator();
    mnuFileOptions = platform::AddAction(mnuFile, "mnuFileOptions", "Kestro Utils &Options...");
    mnuFile->addSeparator();
    mnuFileQuit = platform::AddAction(mnuFile, "mnuFileQuit", "&Quit");

    mnuHelp = platform::AddMenu(menuBar(), "mnuHelp", "&Help");
    mnuHelpHelp = platform::AddAction(mnuHelp, "mnuHelpHelp", "Kestro Utilities &Help...");
    mnuHelp->addSeparator();
    mnuHelpIdCodes = platform::AddAction(mnuHelp, "mnuHelpIdCodes", "ROM &Identification Codes...");
    mnuHelp->addSeparator();
    mnuHelpAbout = platform::AddAction(mnuHelp, "mnuHelpAbout", "&About Kestro Utils...");
}

void frmMain::BuildPlainLook() {
    m_plainPage = new QWidget(m_pages);
    m_plainPage->setObjectName(QStringLiteral("plainLook"));
    auto* grid = new QGridLayout(m_plainPage);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(3);
    // The designed window is small; a slightly smaller face keeps every caption whole.
    QFont buttonFont = m_plainPage->font();
    buttonFont.setPointSizeF(buttonFont.pointSizeF() * 0.85);
    auto button = [this, grid, &buttonFont](const char* name, const char* caption, int row, int column) {
        auto* b = new QPushButton(QString::fromLatin1(caption), m_plainPage);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(buttonFont);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
        grid->addWidget(b, row, column);
        return b;
    };
    cmdRomInfo = button("cmdRomInfo", "View/Edit ROM Info...", 0, 0);
    cmdTileViewer = button("cmdTileViewer", "ROM Tile Viewer...", 1, 0);
    cmdRomDatabase = button("cmdRomDatabase", "VB ROM Database...", 2, 0);
    cmdEmus = button("cmdEmus", "Vrtual Boy Emulators...", 0, 1);
    cmdUtils = button("cmdUtils", "Virtual Boy Utilities...", 1, 1);
    cmdOptions = button("cmdOptions", "Kestro Utils Options...", 2, 1);

    // The help box is the source of the "Kestro" help topic, not part of the look.
    txtHelp = new QPlainTextEdit(m_plainPage);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setReadOnly(true);
    txtHelp->setPlainText(platform::DisplayText(Q(MainHelpText())));
    txtHelp->hide();
    m_pages->addWidget(m_plainPage);
}

void frmMain::ConnectHandlers() {
    connect(mnuFileRomInfo, &QAction::triggered, this, &frmMain::mnuFileRomInfo_Click);
    connect(mnuFileTileViewer, &QAction::triggered, this, &frmMain::mnuFileTileViewer_Click);
    connect(mnuFileRomDatabase, &QAction::triggered, this, &frmMain::mnuFileRomDatabase_Click);
    connect(mnuFileEmusRealityBoy, &QAction::triggered, this, &frmMain::mnuFileEmusRealityBoy_Click);
    connect(mnuFileEmusVirtualE, &QAction::triggered, this, &frmMain::mnuFileEmusVirtualE_Click);
    connect(mnuFileEmusRedDragon, &QAction::triggered, this, &frmMain::mnuFileEmusRedDragon_Click);
    connect(mnuFileEmusMednafen, &QAction::triggered, this, &frmMain::mnuFileEmusMednafen_Click);
    connect(mnuFileUtilsVeCCompiler, &QAction::triggered, this, &frmMain::mnuFileUtilsVeCCompiler_Click);
    connect(mnuFileUtilsVEnvironment, &QAction::triggered, this, &frmMain::mnuFileUtilsVEnvironment_Click);
    connect(mnuFileUtilsVbDevKit, &QAction::triggered, this, &frmMain::mnuFileUtilsVbDevKit_Click);
    connect(mnuFileOptions, &QAction::triggered, this, &frmMain::mnuFileOptions_Click);
    connect(mnuFileQuit, &QAction::triggered, this, &frmMain::mnuFileQuit_Click);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmMain::mnuHelpHelp_Click);
    connect(mnuHelpIdCodes, &QAction::triggered, this, &frmMain::mnuHelpIdCodes_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
    connect(cmdRomInfo, &QPushButton::clicked, this, &frmMain::mnuFileRomInfo_Click);
    connect(cmdTileViewer, &QPushButton::clicked, this, &frmMain::mnuFileTileViewer_Click);
    connect(cmdRomDatabase, &QPushButton::clicked, this, &frmMain::mnuFileRomDatabase_Click);
    connect(cmdEmus, &QPushButton::clicked, this, &frmMain::cmdEmus_Click);
    connect(cmdUtils, &QPushButton::clicked, this, &frmMain::cmdUtils_Click);
    connect(cmdOptions, &QPushButton::clicked, this, &frmMain::mnuFileOptions_Click);
    connect(tmrLowBat, &QTimer::timeout, this, &frmMain::tmrLowBat_Timer);
}

bool frmMain::Form_Load() {
    const StartupLocations where = ReadStartupLocations(m_environment.registry, m_environment.programDirectory);
    const StartupFiles files = PlatformStartupFiles(m_environment.fontFile);
    if (auto failure = CheckStartup(where, files, m_environment.fileExists)) {
        m_services.messages.Show(this, *failure);
        return false;
    }
    std::string error;
    const std::string library = LibraryPath(where, files, m_environment.fileExists);
    if (m_environment.loadLibrary && !m_environment.loadLibrary(library, &error)) {
        // The file is there but is not a library we can use: as fatal as a missing one.
        m_services.messages.Show(
            this,
            Message{"Library file not found",
                    JoinCr({"Unable to load " + library + ":", error, "", "Kestro Utilities will terminate now."}),
                    MessageIcon::Critical});
        return false;
    }
    // Values no window can use are put right once, here, and kept so.
    {
        SettingsBatch batch(m_services.settings);
        RepairSettings(m_services.settings);
        GetRegistry();
        SaveRegistry();
    }
    if (const std::string problem = m_services.settings.Problem(); !problem.empty()) {
        m_services.messages.Show(this, SettingsNotSavedMessage(problem));
    }
    m_powerCounter = 0;
    ApplyEnabling();
    ApplyLook();
    m_services.messages.Show(this, StartupNotice());
    QCoreApplication::processEvents();
    return true;
}

void frmMain::GetRegistry() {
    m_settings.GetRegistry(m_services.settings);
}

void frmMain::SaveRegistry() {
    m_settings.SaveRegistry(m_services.settings);
}

void frmMain::AfterOptionsClosed() {
    GetRegistry();
    ApplyEnabling();
    ApplyLook();
}

void frmMain::ApplyEnabling() {
    const bool anyEmulator = AnyEmulatorEnabled(m_settings);
    const bool anyUtility = AnyUtilityEnabled(m_settings);
    mnuFileEmus->menuAction()->setEnabled(anyEmulator);
    mnuFileEmus->setEnabled(anyEmulator);
    cmdEmus->setEnabled(anyEmulator);
    mnuFileEmusRealityBoy->setEnabled(m_settings.program(Program::RealityBoy).enabled);
    mnuFileEmusVirtualE->setEnabled(m_settings.program(Program::VirtualE).enabled);
    mnuFileEmusRedDragon->setEnabled(m_settings.program(Program::RedDragon).enabled);
    mnuFileEmusMednafen->setEnabled(m_settings.mednafen.enabled);
    mnuFileUtils->menuAction()->setEnabled(anyUtility);
    mnuFileUtils->setEnabled(anyUtility);
    cmdUtils->setEnabled(anyUtility);
    mnuFileUtilsVeCCompiler->setEnabled(m_settings.program(Program::VeCCompiler).enabled);
    mnuFileUtilsVEnvironment->setEnabled(m_settings.program(Program::VEnvironment).enabled);
    mnuFileUtilsVbDevKit->setEnabled(m_settings.program(Program::VbDevKit).enabled);
}

void frmMain::ApplyLook() {
    if (m_settings.mainMenuTheme) {
        ShowThemedLook();
    } else {
        ShowPlainLook();
    }
}

void frmMain::ShowPlainLook() {
    for (ThemedSet& set : m_themed) {
        for (QWidget* w : {static_cast<QWidget*>(set.precaution), static_cast<QWidget*>(set.title),
                           static_cast<QWidget*>(set.menu), static_cast<QWidget*>(set.lowBat)}) {
            w->hide();
        }
        for (auto* b : set.buttons) b->hide();
    }
    tmrLowBat->stop();
    for (QShortcut* key : m_themedMenuKeys) key->setEnabled(false);
    menuBar()->show();
    mnuFile->menuAction()->setVisible(true);
    mnuHelp->menuAction()->setVisible(true);
    m_pages->setCurrentWidget(m_plainPage);
    for (QPushButton* b : {cmdRomInfo, cmdTileViewer, cmdRomDatabase, cmdEmus, cmdUtils, cmdOptions}) b->show();
    m_themedPage->unsetCursor();
    unsetCursor();
    setFixedSize(Twips(kPlainWidthTwips), Twips(kPlainHeightTwips) + menuBar()->sizeHint().height());
    CentreOnScreen();
}

void frmMain::CentreOnScreen() {
    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

void frmMain::mnuFileQuit_Click() {
    close();
}

}  // namespace kestro::app
