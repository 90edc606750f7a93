// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/RunLogMessages.h"

#include <fstream>
#include <iterator>

namespace kestro::emus {

using base::Message;
using base::MessageButtons;
using base::MessageIcon;
using base::MessageResult;

Message QuickFailureMessage(std::string_view emulator, int status, const std::string& log) {
    std::vector<std::string> lines{std::string(emulator) + " ended at once (exit status " + std::to_string(status) +
                                   "). It said:"};
    lines.emplace_back("");
    std::ifstream in(log, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<std::string> said = base::LastRunLines(text);
    if (said.empty()) lines.emplace_back("(nothing)");
    lines.insert(lines.end(), said.begin(), said.end());
    lines.insert(lines.end(), {"", "All it said is kept in:", log});
    std::string joined;
    for (const std::string& line : lines) joined += (joined.empty() ? "" : "\r") + line;
    return {"Unable to start " + std::string(emulator), joined, MessageIcon::Exclamation, MessageButtons::Ok,
            MessageResult::Ok};
}

void CheckQuickFailure(std::string_view emulator, const base::StartRecord& start, std::vector<Message>& messages) {
    if (!start.exit) return;
    const std::optional<int> status = start.exit->WaitForExit(base::kQuickFailureTime);
    if (status && *status != 0) messages.push_back(QuickFailureMessage(emulator, *status, start.log));
}

Message NoRunLogMessage(std::string_view emulator) {
    return {"No log yet", std::string(emulator) + " has not been started yet, so it has no log to show.",
            MessageIcon::Information, MessageButtons::Ok, MessageResult::Ok};
}

}  // namespace kestro::emus
