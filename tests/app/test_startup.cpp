#include <gtest/gtest.h>

#include <set>

#include "app/HelpTopics.h"
#include "app/Paths.h"
#include "app/Startup.h"

using namespace kestro::app;

namespace {

struct Machine {
    MemoryRegistryBackend registry;
    std::set<std::string> files;
    FileExistsFn exists() {
        return [this](const std::string& p) { return files.count(p) != 0; };
    }
    Machine(const std::string& windows, const std::string& fonts) {
        if (!windows.empty()) registry.SetText(HKEY_LOCAL_MACHINE_, kWindowsDirKey, kWindowsDirValue, windows);
        if (!fonts.empty()) registry.SetText(HKEY_USERS_, kFontsDirKey, kFontsDirValue, fonts);
    }
};

const StartupFiles kFiles{"libKestro.so", "ipag.ttf"};

}  // namespace

TEST(Paths, TrailingSeparatorIsAddedOnce) {
    EXPECT_EQ(WithTrailingSeparator("/usr/lib"), "/usr/lib/");
    EXPECT_EQ(WithTrailingSeparator("/usr/lib/"), "/usr/lib/");
    EXPECT_EQ(WithTrailingSeparator("/"), "/");
    EXPECT_EQ(WithTrailingSeparator(""), "");
    EXPECT_EQ(JoinPath("/roms", "a.vb"), "/roms/a.vb");
    EXPECT_EQ(DirectoryOf("/roms/a.vb"), "/roms/");
    EXPECT_EQ(FileNameOf("/roms/a.vb"), "a.vb");
    EXPECT_EQ(FileNameOf("a.vb"), "a.vb");
}

TEST(Startup, LocationsComeThroughTheRegistryWithSeparators) {
    Machine m("/usr/lib", "/usr/share/fonts/ipa");
    StartupLocations where = ReadStartupLocations(m.registry, "/opt/kestro/bin");
    EXPECT_EQ(where.windowsDirectory, "/usr/lib/");
    EXPECT_EQ(where.fontsDirectory, "/usr/share/fonts/ipa/");
    EXPECT_EQ(where.programDirectory, "/opt/kestro/bin/");

    Machine empty("", "");
    StartupLocations none = ReadStartupLocations(empty.registry, "/");
    EXPECT_EQ(none.windowsDirectory, "");
    EXPECT_EQ(none.programDirectory, "/") << "a root is not doubled";
}

TEST(Startup, LibraryIsFoundBesideTheProgramOrInTheSystemDirectory) {
    Machine m("/usr/lib", "/fonts");
    m.files = {"/fonts/ipag.ttf", "/usr/lib/libKestro.so"};
    StartupLocations where = ReadStartupLocations(m.registry, "/opt/kestro");
    EXPECT_FALSE(CheckStartup(where, kFiles, m.exists()));
    EXPECT_EQ(LibraryPath(where, kFiles, m.exists()), "/usr/lib/libKestro.so");

    m.files.insert("/opt/kestro/libKestro.so");
    EXPECT_EQ(LibraryPath(where, kFiles, m.exists()), "/opt/kestro/libKestro.so") << "beside the program first";
}

TEST(Startup, MissingLibraryStopsBeforeTheFontIsChecked) {
    Machine m("/usr/lib", "/fonts");
    m.files = {"libKestro.so", "/somewhere/else/libKestro.so"};  // the current directory does not count
    auto failure = CheckStartup(ReadStartupLocations(m.registry, "/opt/kestro"), kFiles, m.exists());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->title, "Library file not found");
    EXPECT_EQ(failure->text,
              "Unable to find libKestro.so library file.\rPlease copy libKestro.so to the directory where this "
              "program is located.\r\rKestro Utilities will terminate now.");
    EXPECT_EQ(failure->icon, MessageIcon::Critical);
    EXPECT_EQ(failure->buttons, MessageButtons::Ok);
}

TEST(Startup, MissingFontNamesTheFontsDirectoryWithItsSeparator) {
    Machine m("/usr/lib", "/home/u/.local/share/fonts");
    m.files = {"/opt/kestro/libKestro.so"};
    auto failure = CheckStartup(ReadStartupLocations(m.registry, "/opt/kestro"), kFiles, m.exists());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->title, "Font file not found");
    EXPECT_EQ(failure->text,
              "Unable to find ipag.ttf font file.\rPlease copy ipag.ttf to the Fonts directory:\r"
              "/home/u/.local/share/fonts/\r\rKestro Utilities will terminate now.");
}

TEST(Startup, NoticeIsAnExclamationWithOk) {
    Message notice = StartupNotice();
    EXPECT_EQ(notice.title, "Kestro Utilities beta version 0.9");
    EXPECT_EQ(notice.icon, MessageIcon::Exclamation);
    EXPECT_EQ(notice.text.rfind("Thankyou for beta testing Kestro Utilities.\rPlease note that the tile viewer and "
                                "the Virtual-E\rC compiler frontend are not yet complete.\r\rIf you find any bugs, "
                                "please email me at:\r",
                                0),
              0u);
}

TEST(HelpTopics, EveryKeyHasItsCaptionAndUnknownKeysHaveNone) {
    const std::pair<const char*, const char*> expected[] = {
        {"Kestro", "Kestro Utilities Help"},
        {"ROM Info", "ROM Information Help"},
        {"Tile View", "ROM Tile Viewer Help"},
        {"VB ROM DB", "VB ROM Database Help"},
        {"ROM DB Have", "Collected Virtual Boy ROMs"},
        {"ROM DB Miss", "Missing Virtual Boy ROMs"},
        {"ROM DB Dupes", "Duplicate Virtual Boy ROMs"},
        {"ROM DB Log", "Virtual Boy ROMs Change Log"},
        {"Reality Boy", "Reality Boy Frontend Help"},
        {"Virtual-E", "Virtual-E Frontend Help"},
        {"Red Dragon", "Red Dragon Frontend Help"},
        {"ROM ID Codes", "ROM Identification Codes"},
    };
    for (auto [key, caption] : expected) {
        auto topic = FindHelpTopic(key);
        ASSERT_TRUE(topic) << key;
        EXPECT_EQ(topic->caption, caption);
    }
    EXPECT_FALSE(FindHelpTopic("rom info")) << "keys match exactly";
    EXPECT_FALSE(FindHelpTopic(""));

    const std::string codes = IdentificationCodesText();
    for (const char* line :
         {"...............: STANDARD CODES ::...............",
          ":   [b] Bad Dump         [T] Translation        :", ":  (JU) Japan & USA       (PD) Public Domain    :",
          ": [!] Verified good dump. Thank God for these!  :", "...................: Credits ::.................."}) {
        EXPECT_NE(codes.find(std::string(line) + "\r\n"), std::string::npos) << line;
    }
}
