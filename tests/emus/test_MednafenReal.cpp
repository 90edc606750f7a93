// SPDX-License-Identifier: GPL-3.0-or-later
// The real Mednafen, where it is installed: a game started with its own
// settings file and stopped again leaves mednafen.cfg as it was. SDL's
// dummy video driver stands in for a display, so no X server is needed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "base/Paths.h"
#include "base/ProcessStart.h"
#include "emus/Mednafen.h"
#include "support/core/FakePrograms.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

extern char** environ;

namespace kestro::emus {
namespace {

using base::JoinPath;
using test::FileText;

// Mednafen's output, with the child that writes it.
class MednafenProcess {
public:
    MednafenProcess(const std::vector<std::string>& argv, const std::string& home, const std::string& log) {
        std::vector<std::string> env{"MEDNAFEN_HOME=" + home, "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string_view var(*e);
            if (!var.starts_with("MEDNAFEN_HOME=") && !var.starts_with("SDL_") && !var.starts_with("DISPLAY=")) {
                env.emplace_back(var);
            }
        }
        std::vector<char*> args, vars;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        for (const std::string& v : env) vars.push_back(const_cast<char*>(v.c_str()));
        args.push_back(nullptr);
        vars.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
        posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        m_started = posix_spawn(&m_pid, args[0], &files, nullptr, args.data(), vars.data()) == 0;
        posix_spawn_file_actions_destroy(&files);
    }
    ~MednafenProcess() { Stop(); }

    bool Started() const { return m_started; }
    /// Waits until the log holds the text (Mednafen shows the game), or,
    /// given no text, until Mednafen has ended by itself.
    bool WaitFor(const std::string& log, const std::string& text = {}) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < until) {
            const bool ended = Exited();
            if (!text.empty() && FileText(log).find(text) != std::string::npos) return true;
            if (ended) return text.empty();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    /// Stops it as a user closing its window would: it saves its settings and ends.
    int Stop() {
        if (!m_started || m_done) return m_status;
        ::kill(m_pid, SIGTERM);
        while (::waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR) {
        }
        m_done = true;
        return m_status;
    }

private:
    bool Exited() {
        if (m_done) return true;
        if (::waitpid(m_pid, &m_status, WNOHANG) == m_pid) m_done = true;
        return m_done;
    }
    pid_t m_pid = -1;
    bool m_started = false;
    bool m_done = false;
    int m_status = 0;
};

TEST(MednafenReal, AGameRunsWithItsOwnSettingsAndMednafenCfgStaysAsItWas) {
    const MednafenEnvironment current = CurrentMednafenEnvironment();
    const auto program = FindMednafen("", current);
    if (!program) GTEST_SKIP() << "mednafen is not installed (Debian package \"mednafen\")";

    test::TempDir dir;
    const std::string home = dir.File("mednafen home");
    std::filesystem::create_directories(home);
    MednafenEnvironment environment = current;
    environment.mednafenHome = home;
    // A first start without a game makes Mednafen's own mednafen.cfg, as any
    // user has one; it writes the file as it ends, so it is left to end.
    {
        MednafenProcess first({*program}, home, dir.File("first.log"));
        ASSERT_TRUE(first.Started());
        ASSERT_TRUE(first.WaitFor(dir.File("first.log"))) << "Mednafen without a game should end by itself";
    }
    const std::string cfg = JoinPath(home, "mednafen.cfg");
    const std::string before = FileText(cfg);
    ASSERT_GT(before.size(), 1000u) << "Mednafen wrote no settings file";

    const std::string sideGame = dir.File("roms/Side game.vb");
    const std::string plainGame = dir.File("roms/Plain game.vb");
    std::filesystem::create_directories(dir.File("roms"));
    test::RomBuilder::Unknown().WriteTo(sideGame);
    test::RomBuilder::Unknown().Seed(2).WriteTo(plainGame);

    // Side by side, without sound, for the one game.
    const MednafenGame game = LoadMednafenGame(sideGame, environment);
    MednafenValues shown = game.Effective();
    shown["vb.3dmode"] = "sidebyside";
    shown["sound"] = "0";
    const auto file = PerGameFileFor(game, shown);
    ASSERT_TRUE(file);
    ASSERT_TRUE(WriteRunFile(*file));

    // Runs the game until Mednafen shows it, stops it, and gives its log.
    auto run = [&](const std::string& rom, const std::string& name) {
        const base::LaunchPlan plan =
            base::PlanLaunch(MednafenRun(*program, rom, std::nullopt).request, base::CurrentLaunchEnvironment());
        EXPECT_TRUE(plan.ok) << plan.error;
        const std::string log = dir.File(name + ".log");
        MednafenProcess mednafen(plan.argv, home, log);
        EXPECT_TRUE(mednafen.WaitFor(log, "Destination Rectangle")) << FileText(log);
        const int status = mednafen.Stop();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status << "\n" << FileText(log);
        return FileText(log);
    };
    // What Mednafen said right after it looked for the game's file.
    auto afterGameFile = [&](const std::string& log, const std::string& rom) {
        const std::string loading =
            "Loading override settings from \"" + LoadMednafenGame(rom, environment).configPath + "\"...\n";
        const std::size_t at = log.find(loading);
        return at == std::string::npos ? std::string("(not looked for)") : log.substr(at + loading.size(), 120);
    };

    const std::string side = run(sideGame, "side");
    EXPECT_NE(afterGameFile(side, sideGame).find("Loaded 2 valid settings and ignored 0 unknown settings"),
              std::string::npos)
        << side;
    EXPECT_NE(side.find("W=1536, H=448"), std::string::npos) << "two 768-pixel pictures side by side";
    EXPECT_TRUE(FileText(cfg) == before) << "mednafen.cfg changed by a run with a per-game file";

    const std::string plain = run(plainGame, "plain");
    EXPECT_NE(afterGameFile(plain, plainGame).find("Failed"), std::string::npos) << "the other game has no file";
    EXPECT_NE(plain.find("W=768, H=448"), std::string::npos) << "one picture, as every game gets it";
    EXPECT_TRUE(FileText(cfg) == before) << "mednafen.cfg changed by the second game's run";
}

}  // namespace
}  // namespace kestro::emus
