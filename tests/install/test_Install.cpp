// SPDX-License-Identifier: GPL-3.0-or-later
// The installed programs, as a user gets them from `cmake --install` or the
// package: they start from wherever the prefix lies, and the desktop files
// pass the desktop's own validators.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <thread>

#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct Output {
    int status = -1;
    std::string text;  ///< standard output and error
};

Output RunCommand(const std::string& command) {
    Output out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.text.append(buffer, n);
    const int status = pclose(pipe);
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

bool HasProgram(const char* name) {
    return RunCommand(std::string("command -v ") + name).status == 0;
}

// One installation into a temporary prefix for all tests of this program.
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new kestro::test::TempDir;
        const Output out = RunCommand(
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

    const Output cli = RunCommand(Quoted(bin / "kestro") + " --version");
    EXPECT_EQ(cli.text, std::string("kestro ") + KESTRO_VERSION + "\n");
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    const Output help = RunCommand(noDisplay + Quoted(bin / "kestro-utils") + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.text.find("Usage: kestro-utils [FILE.vb]"), std::string::npos) << help.text;

    // Start-up writes every setting after both checks and before its notice,
    // which then waits for a click that no one gives here.
    const fs::path config = s_dir->Path() / "config";
    const std::string program = (bin / "kestro-utils").string();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Waits for the last key start-up writes (QSettings escapes the blanks).
    const fs::path ini = config / "Kestro Utils" / "Kestro Utils.ini";
    std::string why = "no settings written within 60 s: a start-up check is holding the program";
    bool started = false;
    for (int tries = 0; tries < 600 && !started; ++tries) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            why = "the program ended with status " + std::to_string(WEXITSTATUS(status)) + " during start-up";
            break;
        }
        started = kestro::test::FileText(ini.string()).find("Create%20Change%20Log=") != std::string::npos;
        if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(started) << why;
}

// Both man pages are installed; kestro's has a section for every command its
// --help lists, naming every option of it.
TEST_F(Installed, ManPagesCoverEveryCommandAndOption) {
    const fs::path man1 = Share("man/man1");
    ASSERT_TRUE(fs::is_regular_file(man1 / "kestro-utils.1.gz"));
    const Output page = RunCommand("gzip -dc " + Quoted(man1 / "kestro.1.gz"));
    ASSERT_EQ(page.status, 0);
    const std::string kestro = Quoted(Prefix() / "bin" / "kestro");
    const std::string list = RunCommand(kestro + " --help").text;
    const std::string commands = list.substr(list.find("Subcommands:"));
    std::smatch m;
    int count = 0;
    for (std::string rest = commands; std::regex_search(rest, m, std::regex("\n  ([a-z]+)  ")); rest = m.suffix()) {
        ++count;
        const std::string name = m[1];
        EXPECT_NE(page.text.find(".SS " + name + "\n"), std::string::npos) << "no section for " << name;
        const std::string help = RunCommand(kestro + " " + name + " --help").text;
        std::smatch o;
        for (std::string h = help; std::regex_search(h, o, std::regex("\n  (--[a-z-]+)")); h = o.suffix()) {
            std::string roff = o[1];
            roff = std::regex_replace(roff, std::regex("-"), "\\-");
            EXPECT_NE(page.text.find(roff), std::string::npos) << name << " " << o[1];
        }
    }
    EXPECT_GE(count, 5) << list;
}

TEST_F(Installed, DesktopEntryValidates) {
    if (!HasProgram("desktop-file-validate")) GTEST_SKIP() << "desktop-file-validate missing (desktop-file-utils)";
    const Output out = RunCommand("desktop-file-validate " + Quoted(Share("applications/" + kAppId + ".desktop")));
    EXPECT_EQ(out.status, 0) << out.text;
    EXPECT_EQ(out.text, "") << "not even a hint";
}

TEST_F(Installed, MetainfoValidates) {
    if (!HasProgram("appstreamcli")) GTEST_SKIP() << "appstreamcli missing (appstream)";
    const Output out =
        RunCommand("appstreamcli validate --no-net " + Quoted(Share("metainfo/" + kAppId + ".metainfo.xml")));
    EXPECT_EQ(out.status, 0) << out.text;
}

// A file manager knows *.vb as the type the desktop entry offers to open,
// with our icon for it.
TEST_F(Installed, VbFilesGetTheTypeTheProgramOpens) {
    if (!HasProgram("update-mime-database")) GTEST_SKIP() << "update-mime-database missing (shared-mime-info)";
    const Output out = RunCommand("update-mime-database " + Quoted(Share("mime")));
    ASSERT_EQ(out.status, 0) << out.text;
    const std::string globs = kestro::test::FileText(Share("mime/globs2"));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(globs, m, std::regex("\\d+:([a-z/-]+):\\*\\.vb\n"))) << globs;
    const std::string type = m[1];
    const std::string entry = kestro::test::FileText(Share("applications/" + kAppId + ".desktop"));
    EXPECT_NE(entry.find("MimeType=" + type + ";"), std::string::npos) << entry;
    const std::string icon = std::regex_replace(type, std::regex("/"), "-");
    for (const char* size : {"scalable", "16x16", "48x48", "256x256"}) {
        const std::string ext = std::string(size) == "scalable" ? ".svg" : ".png";
        EXPECT_TRUE(fs::is_regular_file(Share("icons/hicolor/") / size / "mimetypes" / (icon + ext))) << size;
        EXPECT_TRUE(fs::is_regular_file(Share("icons/hicolor/") / size / "apps" / (kAppId + ext))) << size;
    }
}
