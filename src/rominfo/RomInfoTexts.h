// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of the ROM information window that are built from data.

#include <string>
#include <string_view>

#include "base/Message.h"

namespace kestro::rominfo {

inline constexpr std::string_view kRomFilter = "Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*";
inline constexpr std::string_view kNoRomCaption = "ROM Information - [No ROM Loaded]";

/// "ROM Information - [" + reading + "]".
std::string RomInfoCaption(std::string_view reading);

/// The window's help text (topic "ROM Info").
std::string RomInfoHelpText();

base::Message CloseRomQuestion();
/// reading: the romaji reading of the title about to be saved.
base::Message SaveRomQuestion(std::string_view reading);
base::Message ReplaceFileQuestion(std::string_view path);

}  // namespace kestro::rominfo
