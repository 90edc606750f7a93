// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/core/TempDir.h"

#include <random>

namespace kestro::test {

TempDir::TempDir() {
    std::random_device rd;
    for (;;) {
        m_path = std::filesystem::temp_directory_path() / ("kestro-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(m_path)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

}  // namespace kestro::test
