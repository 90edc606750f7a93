// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the user is told of an emulator's log: its last words when it ends
// with an error right after its start, and that there is no log yet.

#include <string>
#include <string_view>
#include <vector>

#include "base/Message.h"
#include "base/RunLog.h"

namespace kestro::emus {

/// The emulator ended with an error soon after its start: its last lines and
/// the log that holds the rest.
base::Message QuickFailureMessage(std::string_view emulator, int status, const std::string& log);
/// Waits up to the quick-failure time for a started run to end; when it ends
/// with an error, adds that message to the messages.
void CheckQuickFailure(std::string_view emulator, const base::StartRecord& start, std::vector<base::Message>& messages);
/// The log command before the emulator has run: nothing to show yet.
base::Message NoRunLogMessage(std::string_view emulator);

}  // namespace kestro::emus
