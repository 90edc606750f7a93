// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+C stops a scan as Cancel does, and the next scan in the same process runs in full.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>

#include "cli/CliRun.h"
#include "romdb/RomDbFixtures.h"
#include "support/core/TempDir.h"

using namespace kestro;

namespace {

// Standard error as a terminal, so the scan draws progress; its first bar presses
// Ctrl+C, provided the scan is listening for it.
class InterruptingTerminal : public std::streambuf {
public:
    InterruptingTerminal() : m_master(::posix_openpt(O_RDWR | O_NOCTTY)) {
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return;
        const int slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
        if (slave < 0) return;
        m_savedFd = ::dup(STDERR_FILENO);
        ::dup2(slave, STDERR_FILENO);
        ::close(slave);
        m_savedBuf = std::cerr.rdbuf(this);
    }
    ~InterruptingTerminal() override {
        if (m_savedBuf != nullptr) std::cerr.rdbuf(m_savedBuf);
        if (m_savedFd >= 0) {
            ::dup2(m_savedFd, STDERR_FILENO);
            ::close(m_savedFd);
        }
        if (m_master >= 0) ::close(m_master);
    }
    bool Active() const { return m_savedBuf != nullptr; }
    bool pressed = false;

protected:
    int overflow(int c) override {
        struct sigaction current {};
        ::sigaction(SIGINT, nullptr, &current);
        if (!pressed && current.sa_handler != SIG_DFL && current.sa_handler != SIG_IGN) {
            pressed = true;
            std::raise(SIGINT);
        }
        return c == EOF ? 0 : c;
    }

private:
    int m_master;
    int m_savedFd = -1;
    std::streambuf* m_savedBuf = nullptr;
};

}  // namespace

TEST(ScanInterrupt, CtrlCStopsOneRunAndNotTheNext) {
    test::TempDir dir;
    test::WriteMixedCollection(dir.Path());
    {
        InterruptingTerminal terminal;
        if (!terminal.Active()) GTEST_SKIP() << "no pseudo-terminal to stand in for one";
        std::ostringstream out;
        const int status = cli::Run({"kestro", "scan", dir.Path().string()}, out, std::cerr);
        ASSERT_TRUE(terminal.pressed);
        EXPECT_NE(status, 0) << "the run stopped before its end";
    }
    const auto again = test::RunKestro({"scan", "--json", dir.Path().string()});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.Json()["completion"], "ROM identification complete.");
}
