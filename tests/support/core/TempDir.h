// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh temporary directory per test, removed afterwards.

#include <filesystem>
#include <string>

namespace kestro::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

}  // namespace kestro::test
