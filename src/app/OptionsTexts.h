// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options window's questions and messages.

#include <string>

#include "base/Message.h"

namespace kestro::app {

/// "Change..." of the base directory chose a directory without ROMs.
base::Message NoRomsOnChange(const std::string& directory);
/// Apply with a base directory without ROMs: go on anyway?
base::Message NoRomsOnApply(const std::string& directory);
/// "Revert to default", asked twice.
base::Message RevertQuestion();
base::Message RevertConfirmation();
/// "Clear" of the recent ROM list.
base::Message ClearRecentQuestion();

}  // namespace kestro::app
