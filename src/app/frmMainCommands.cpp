// The main window's commands. Each tool window is opened modally here and
// control comes back when it closes.
#include <QAction>
#include <QMenu>

#include "app/MainMenuTexts.h"
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "emus/frmVirtualE.h"
#include "help/HelpTopics.h"
#include "help/frmHelp.h"
#include "platform/Text.h"
#include "romdb/frmVbRomDatabase.h"
#include "rominfo/frmRomInfo.h"
#include "tiles/frmTileViewer.h"

namespace kestro::app {

using namespace kestro::base;
using help::frmHelp;

void frmMain::mnuFileRomInfo_Click() {
    rominfo::frmRomInfo window(m_services, this);
    window.exec();
}

void frmMain::mnuFileTileViewer_Click() {
    tiles::frmTileViewer viewer(m_services, this);
    viewer.exec();
}

void frmMain::mnuFileRomDatabase_Click() {
    romdb::frmVbRomDatabase window(m_services, this);
    window.exec();
}

void frmMain::mnuFileEmusRealityBoy_Click() {
    // The Reality Boy front-end opens here.
}

void frmMain::mnuFileEmusVirtualE_Click() {
    emus::frmVirtualE window(m_services, this);
    window.exec();
}

void frmMain::mnuFileEmusRedDragon_Click() {
    // The Red Dragon front-end opens here.
}

void frmMain::mnuFileUtilsVeCCompiler_Click() {
    // The C compiler is started here.
}

void frmMain::mnuFileUtilsVEnvironment_Click() {
    // The development environment is started here.
}

void frmMain::mnuFileUtilsVbDevKit_Click() {
    // The development kit is started here.
}

void frmMain::cmdEmus_Click() {
    // The emulator chooser opens here.
}

void frmMain::cmdUtils_Click() {
    // The utility chooser opens here.
}

void frmMain::mnuFileOptions_Click() {
    // The options window opens here; whatever it saved is applied on return.
    AfterOptionsClosed();
}

void frmMain::ShowHelp(const QString& topic) {
    m_tag = topic;
    frmHelp help(m_services, m_tag, platform::Q(MainHelpText()), this);
    m_tag.clear();
    help.exec();
}

void frmMain::mnuHelpHelp_Click() {
    ShowHelp(QStringLiteral("Kestro"));
}

void frmMain::mnuHelpIdCodes_Click() {
    ShowHelp(QStringLiteral("ROM ID Codes"));
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout about(m_services, this);
    about.exec();
}

}  // namespace kestro::app
