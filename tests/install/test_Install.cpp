// SPDX-License-Identifier: GPL-3.0-or-later
// The installed programs, as a user gets them from `cmake --install` or the
// package: they start from wherever the prefix lies, and the metainfo passes
// its validator.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

namespace fs = std::filesystem;

namespace {

using kestro::test::RunShell;

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

bool HasProgram(const char* name) {
    return RunShell(std::string("command -v ") + name).status == 0;
}

// One installation into a temporary prefix for all tests of this program.
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new kestro::test::TempDir;
        const auto out = RunShell(
            std::string("'" KESTRO_CMAKE_COMMAND "' --install '" KESTRO_BUILD_DIR "' --prefix ") + Quoted(Prefix()));
        s_installed = out.status == 0;
        s_log = out.text;
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_installed) << "cmake --install failed:\n" << s_log; }

    static fs::path Prefix() { return s_dir->Path() / "prefix with blank"; }
    static fs::path Share(const std::string& path) { return Prefix() / "share" / path; }

    static inline kestro::test::TempDir* s_dir = nullptr;
    static inline bool s_installed = false;
    static inline std::string s_log;
};

const std::string kAppId = KESTRO_APP_ID;

}  // namespace

// The programs run from the installed prefix: the terminal answers need no
// display, and the desktop program passes its library and font checks with
// the library in its private directory, nowhere beside the program.
TEST_F(Installed, ProgramsStartFromTheInstalledPrefix) {
    const fs::path bin = Prefix() / "bin";
    EXPECT_TRUE(fs::is_regular_file(Prefix() / "lib" / "kestro-utils" / "libKestro.so"));
    EXPECT_FALSE(fs::exists(bin / "libKestro.so"));

    const auto cli = RunShell(Quoted(bin / "kestro") + " --version");
    EXPECT_EQ(cli.text, std::string("kestro ") + KESTRO_VERSION + "\n");
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    const auto help = RunShell(noDisplay + Quoted(bin / "kestro-utils") + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.text.find("Usage: kestro-utils [FILE.vb]"), std::string::npos) << help.text;

    // Start-up writes every setting after both checks and before its notice,
    // which then waits for a click that no one gives here: the shell waits
    // for the last key written (QSettings escapes the blanks), then ends it.
    const fs::path config = s_dir->Path() / "config";
    const std::string ini = Quoted(config / "Kestro Utils" / "Kestro Utils.ini");
    const auto run = RunShell("XDG_CONFIG_HOME=" + Quoted(config) + " QT_QPA_PLATFORM=offscreen " +
                                  Quoted(bin / "kestro-utils") + " & for i in $(seq 600); do grep -qs " +
                                  "'Create%20Change%20Log=' " + ini + " && break; sleep 0.1; done; kill -9 $!; " +
                                  "grep -qs 'Create%20Change%20Log=' " + ini);
    EXPECT_EQ(run.status, 0) << "no settings written within 60 s: a start-up check is holding the program";
}

// Both man pages are installed; kestro's has a section for every command its
// --help lists.
TEST_F(Installed, ManPagesCoverEveryCommandAndOption) {
    const fs::path man1 = Share("man/man1");
    ASSERT_TRUE(fs::is_regular_file(man1 / "kestro-utils.1.gz"));
    const auto page = RunShell("gzip -dc " + Quoted(man1 / "kestro.1.gz"));
    ASSERT_EQ(page.status, 0);
    const std::string kestro = Quoted(Prefix() / "bin" / "kestro");
    const std::string list = RunShell(kestro + " --help").text;
    const std::string commands = list.substr(list.find("Subcommands:"));
    std::smatch m;
    int count = 0;
    for (std::string rest = commands; std::regex_search(rest, m, std::regex("\n  ([a-z]+)  ")); rest = m.suffix()) {
        ++count;
        const std::string name = m[1];
        EXPECT_NE(page.text.find(".SS " + name + "\n"), std::string::npos) << "no section for " << name;
    }
    EXPECT_GE(count, 5) << list;
}

TEST_F(Installed, MetainfoValidates) {
    if (!HasProgram("appstreamcli")) GTEST_SKIP() << "appstreamcli missing (appstream)";
    const auto out =
        RunShell("appstreamcli validate --no-net " + Quoted(Share("metainfo/" + kAppId + ".metainfo.xml")));
    EXPECT_EQ(out.status, 0) << out.text;
}
