// SPDX-License-Identifier: GPL-3.0-or-later
// Kestro Utilities, the desktop program.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <iostream>

#include "app/CommandLine.h"
#include "app/frmMain.h"
#include "base/Registry.h"
#include "base/WineRegistry.h"
#include "platform/QtServices.h"
#include "platform/SystemLocations.h"
#include "platform/Text.h"

int main(int argc, char* argv[]) {
    // Help, version and plain mistakes answer before Qt starts, so they need no display.
    const kestro::app::CommandLine early = kestro::app::ParseCommandLine({argv + 1, argv + argc});
    if (kestro::app::AnswerBeforeQt(early)) return *kestro::app::AnswerOnTerminal(early, std::cout, std::cerr);
    QApplication app(argc, argv);
    // Qt has taken its own options out of argv; what is left is ours.
    const kestro::app::CommandLine commandLine = kestro::app::ParseCommandLine({argv + 1, argv + argc});
    if (const auto status = kestro::app::AnswerOnTerminal(commandLine, std::cout, std::cerr)) return *status;
    QApplication::setApplicationName(QStringLiteral("Kestro Utils"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRO_VERSION));
    // Desktops match the running program to its desktop entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRO_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kestro-utils.svg")));
    kestro::base::cRegistry::SetExecutableName(
        QFileInfo(QApplication::applicationFilePath()).completeBaseName().toStdString());

    kestro::platform::QtMessageBox messages;
    kestro::platform::QtFileDialogs files;
    kestro::platform::QtSettingsStore settings;
    kestro::platform::QtProcessLauncher processes;
    kestro::platform::QtClock clock;
    // Emulators run under Wine read their settings from its prefix's registry.
    kestro::base::WineRegistryBackend wineRegistry(kestro::base::DefaultWinePrefix());
    kestro::platform::Services services{messages, files, settings, processes, clock, wineRegistry};

    // The Windows and Fonts directories are read as on Windows, from values
    // that stand in for them here.
    kestro::base::MemoryRegistryBackend locations;
    kestro::app::frmMain window(services, kestro::app::DesktopEnvironment(locations));
    if (!window.Form_Load()) return 1;
    window.show();
    if (!commandLine.romFile.empty()) {
        const QString rom = QFile::decodeName(commandLine.romFile.c_str());
        QTimer::singleShot(0, &window, [&window, rom] { window.OpenRomInfo(rom); });
    }
    return QApplication::exec();
}
