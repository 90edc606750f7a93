// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"

#include "base/Paths.h"

namespace kestro::app {

using namespace kestro::base;

StartupFiles PlatformStartupFiles(std::string fontFile) {
#if defined(_WIN32)
    return {"Kestro.dll", std::move(fontFile)};
#elif defined(__APPLE__)
    return {"libKestro.dylib", std::move(fontFile)};
#else
    return {"libKestro.so", std::move(fontFile)};
#endif
}

namespace {
std::string ReadLocation(RegistryBackend& backend, std::uint32_t root, const char* key, const char* name) {
    cRegistry reg(backend);
    reg.SetClassKey(root);
    reg.SetSectionKey(key);
    reg.SetValueKey(name);
    reg.SetValueType(REG_SZ_);
    if (!reg.KeyExists()) return {};
    return RegistryValueText(reg.Value());
}
}  // namespace

StartupLocations ReadStartupLocations(RegistryBackend& registry, const std::string& programDirectory) {
    StartupLocations where;
    where.windowsDirectory = ReadLocation(registry, HKEY_LOCAL_MACHINE_, kWindowsDirKey, kWindowsDirValue);
    where.fontsDirectory = ReadLocation(registry, HKEY_USERS_, kFontsDirKey, kFontsDirValue);
    where.programDirectory = programDirectory;
    where.windowsDirectory = WithTrailingSeparator(where.windowsDirectory);
    where.fontsDirectory = WithTrailingSeparator(where.fontsDirectory);
    where.programDirectory = WithTrailingSeparator(where.programDirectory);
    return where;
}

std::string LibraryPath(const StartupLocations& where, const StartupFiles& files, const FileExistsFn& fileExists) {
    for (const std::string& dir : {where.programDirectory, where.windowsDirectory}) {
        // An empty directory (a location that could not be read) means the bare
        // name, looked up in the current directory.
        if (fileExists(dir + files.library)) return dir + files.library;
    }
    return {};
}

std::optional<Message> CheckStartup(const StartupLocations& where, const StartupFiles& files,
                                    const FileExistsFn& fileExists) {
    if (LibraryPath(where, files, fileExists).empty()) {
        return Message{"Library file not found",
                       JoinCr({"Unable to find " + files.library + " library file.",
                               "Please copy " + files.library + " to the directory where this program is located.", "",
                               "Kestro Utilities will terminate now."}),
                       MessageIcon::Critical};
    }
    if (!fileExists(where.fontsDirectory + files.font)) {
        return Message{"Font file not found",
                       JoinCr({"Unable to find " + files.font + " font file.",
                               "Please copy " + files.font + " to the Fonts directory:", where.fontsDirectory, "",
                               "Kestro Utilities will terminate now."}),
                       MessageIcon::Critical};
    }
    return std::nullopt;
}

Message SettingsNotSavedMessage(const std::string& problem) {
    return Message{"Settings not saved",
                   JoinCr({"Kestro Utilities cannot save its settings:", problem, "",
                           "Changes made in this session will be lost when the program ends."}),
                   MessageIcon::Exclamation};
}

Message StartupNotice() {
    return Message{
        "Kestro Utilities beta version 0.9",
        JoinCr({"Thankyou for beta testing Kestro Utilities.", "Please note that the tile viewer and the Virtual-E",
                "C compiler frontend are not yet complete.", "", "If you find any bugs, please email me at:",
                "kestro-utils@users.noreply.invalid", "", "          - The Kestro Utilities team"}),
        MessageIcon::Exclamation};
}

}  // namespace kestro::app
