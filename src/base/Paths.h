#pragma once
// Joining directories and names the one way the whole program does it.

#include <string>

namespace kestro::base {

#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

/// A directory made to end in the separator; an empty text stays empty and a
/// directory that already ends in it (a root such as "/" or "C:\") is kept.
std::string WithTrailingSeparator(std::string directory);

/// Directory and name joined by exactly one separator.
std::string JoinPath(const std::string& directory, const std::string& name);

/// The directory part of a path, with its trailing separator ("" when none).
std::string DirectoryOf(const std::string& path);
/// The name after the last separator.
std::string FileNameOf(const std::string& path);

}  // namespace kestro::base
