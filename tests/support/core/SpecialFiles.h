// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Special files for the tests that must refuse them: FIFOs, device nodes,
// and reads as a user who cannot read a file.

#include <chrono>
#include <functional>
#include <future>
#include <string>

namespace kestro::test {

/// Makes a FIFO; false (with the test to skip) where the system has none.
bool MakeFifo(const std::string& path);

/// Makes a character device like /dev/null; needs root, false otherwise.
bool MakeNullDevice(const std::string& path);

/// Runs the call and says whether it came back within two seconds. A call
/// stuck opening the FIFO is released by opening its other end, so that the
/// test fails instead of hanging.
bool ReturnsPromptly(const std::function<void()>& call, const std::string& fifo);

/// While alive, files are opened as an ordinary user would open them, even
/// when the tests run as root (the file-system user id changes, and root's
/// right to read anything goes with it). Active() is false where that cannot be.
class ReadAsOrdinaryUser {
public:
    ReadAsOrdinaryUser();
    ~ReadAsOrdinaryUser();
    ReadAsOrdinaryUser(const ReadAsOrdinaryUser&) = delete;
    ReadAsOrdinaryUser& operator=(const ReadAsOrdinaryUser&) = delete;
    bool Active() const { return m_active; }

private:
    bool m_active = false;
    int m_previous = -1;
};

}  // namespace kestro::test
