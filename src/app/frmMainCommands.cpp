// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands. Each tool window is opened modally here and
// control comes back when it closes.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>
#include <optional>

#include "app/MainMenuTexts.h"
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "app/frmOptions.h"
#include "emus/ProgramFiles.h"
#include "emus/frmEmus.h"
#include "emus/frmMednafen.h"
#include "emus/frmRealityBoy.h"
#include "emus/frmRedDragon.h"
#include "emus/frmUtils.h"
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

void frmMain::OpenRomInfo(const QString& path) {
    rominfo::frmRomInfo window(m_services, this);
    // The file opens once the window shows, so a refusal's message has the window behind it.
    QTimer::singleShot(0, &window, [&window, file = QFileInfo(path).absoluteFilePath()] { window.OpenRom(file, true); });
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
    OpenEmulator(Program::RealityBoy);
}

void frmMain::mnuFileEmusVirtualE_Click() {
    OpenEmulator(Program::VirtualE);
}

void frmMain::mnuFileEmusRedDragon_Click() {
    OpenEmulator(Program::RedDragon);
}

void frmMain::mnuFileEmusMednafen_Click() {
    OpenEmulator(Program::Mednafen);
}

void frmMain::mnuFileUtilsVeCCompiler_Click() {
    emus::StartUtility(m_services, this, Program::VeCCompiler);
}

void frmMain::mnuFileUtilsVEnvironment_Click() {
    emus::StartUtility(m_services, this, Program::VEnvironment);
}

void frmMain::mnuFileUtilsVbDevKit_Click() {
    emus::StartUtility(m_services, this, Program::VbDevKit);
}

void frmMain::cmdEmus_Click() {
    std::optional<Program> chosen;
    {
        emus::frmEmus chooser(m_services, this);
        chooser.exec();
        chosen = chooser.Chosen();
    }
    // The chooser is gone before the front-end opens; what it starts runs in
    // the emulator's directory, as the chooser leads there.
    if (!chosen) return;
    if (*chosen == Program::Mednafen) {  // a Linux program of ours, with no directory setting
        OpenEmulatorFrontEnd(*chosen, m_services);
        return;
    }
    base::InDirectoryLauncher inDirectory(m_services.processes,
                                          emus::ReadProgramSettings(m_services.settings, *chosen).directory);
    platform::Services services{m_services.messages, m_services.files, m_services.settings,
                                inDirectory,         m_services.clock, m_services.registry};
    OpenEmulatorFrontEnd(*chosen, services);
}

void frmMain::cmdUtils_Click() {
    emus::frmUtils chooser(m_services, this);
    chooser.exec();
}

// A menu item names its emulator: the same check as the chooser's, without it.
void frmMain::OpenEmulator(Program program) {
    const emus::Choice choice =
        emus::ChooseProgram(program, emus::ReadProgramSettings(m_services.settings, program).directory);
    if (!choice.found) {
        m_services.messages.Show(this, *choice.message);
        return;
    }
    OpenEmulatorFrontEnd(program, m_services);
}

void frmMain::OpenEmulatorFrontEnd(Program program, platform::Services& services) {
    switch (program) {
        case Program::RealityBoy: {
            emus::frmRealityBoy window(services, this);
            window.exec();
            break;
        }
        case Program::RedDragon: {
            emus::frmRedDragon window(services, this);
            window.exec();
            break;
        }
        case Program::VirtualE: {
            emus::frmVirtualE window(services, this);
            window.exec();
            break;
        }
        case Program::Mednafen: {
            emus::frmMednafen window(services, this);
            window.exec();
            break;
        }
        default: break;  // the choosers offer no other program here
    }
}

void frmMain::mnuFileOptions_Click() {
    {
        frmOptions options(m_services, this);
        options.exec();
    }
    // Whatever the options window saved is applied on return.
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
