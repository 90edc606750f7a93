// Kestro Utilities, the desktop program.
#include <QApplication>
#include <QFileInfo>

#include "app/frmMain.h"
#include "base/Registry.h"
#include "base/WineRegistry.h"
#include "platform/QtServices.h"
#include "platform/SystemLocations.h"
#include "platform/Text.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestro Utils"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRO_VERSION));
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
    const kestro::platform::KatakanaFontFile font = kestro::platform::FindKatakanaFont();
    kestro::platform::SetKatakanaFontFamily(font.family);
    kestro::base::MemoryRegistryBackend locations;
    kestro::platform::FillSystemLocations(locations, font);

    kestro::app::StartupEnvironment environment{
        locations,
        kestro::platform::ProgramDirectory(),
        font.fileName,
        [](const std::string& path) { return QFileInfo(kestro::platform::Q(path)).isFile(); },
        [](const std::string& path, std::string* error) {
            QString why;
            const bool loaded = kestro::platform::LoadChecksumLibrary(path, &why);
            if (!loaded && error) *error = kestro::platform::U8(why);
            return loaded;
        },
    };
    kestro::app::frmMain window(services, std::move(environment));
    if (!window.Form_Load()) return 1;
    window.show();
    return QApplication::exec();
}
