// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Special files for the tests that must refuse them: FIFOs and device nodes.

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

}  // namespace kestro::test
