// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Joining directories and names the one way the whole program does it.

#include <optional>
#include <string>
#include <string_view>

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

/// The path with the extension (with its dot, ".bmp") added when its file
/// name has none, as a save dialog adds its type's extension; a leading dot
/// (".hidden") does not count as one.
std::string WithDefaultExtension(const std::string& path, std::string_view extension);
/// The path with the extension of a save dialog's first file type added when
/// its file name has none: "Name (*.vb)|*.vb|All Files (*.*)|*.*" adds ".vb".
std::string WithFilterExtension(const std::string& path, std::string_view filter);

/// The regular file (or link to one) in the directory whose name equals the
/// given one without regard to ASCII case ("Rboy.exe" finds RBOY.EXE), as the
/// program's users expect of names they configure; an exact match wins.
/// Nothing when there is none or the directory cannot be read.
std::optional<std::string> FindFileNoCase(const std::string& directory, std::string_view name);

/// The design's short (8.3) form of a path for a command line. Only Windows
/// has one: here it is the path itself when something exists there, and the
/// empty text when nothing does.
std::string GetShortPath(const std::string& path);

/// A program in a directory as a command line names it: the directory's
/// short form, the separator unless the directory is a root, and the name.
/// The separator stays when the short form is empty (a directory that is
/// gone gives "/VB_98").
std::string ShortProgramPath(const std::string& directory, const std::string& name);

/// True when the directory holds a regular file whose name ends in the
/// extension (with its dot, ".vb"), without regard to case.
bool HasFileWithExtensionNoCase(const std::string& directory, std::string_view extension);

}  // namespace kestro::base
