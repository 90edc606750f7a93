// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OptionsTexts.h"

namespace kestro::app {

using base::Message;
using base::MessageButtons;
using base::MessageIcon;
using base::MessageResult;

Message NoRomsOnChange(const std::string& directory) {
    return {"No ROMs found",
            base::JoinCr({"No ROMs found in directory:", directory, "Please choose another directory."}),
            MessageIcon::Exclamation};
}

Message NoRomsOnApply(const std::string& directory) {
    return {"No ROMs found", base::JoinCr({"NOTE: No ROMs found in directory:", directory, "Do you wish to continue?"}),
            MessageIcon::Exclamation, MessageButtons::YesNo, MessageResult::No};
}

Message RevertQuestion() {
    return {"Revert to default",
            base::JoinCr({"Do you wish to revert to default settings?", "NOTE: This will reset ALL settings.", "",
                          "Do you wish to continue?"}),
            MessageIcon::Question, MessageButtons::YesNo, MessageResult::No};
}

Message RevertConfirmation() {
    return {"Confirm revert to default", "Are you SURE to wish to revert to default settings???",
            MessageIcon::Exclamation, MessageButtons::YesNo, MessageResult::No};
}

Message ClearRecentQuestion() {
    // This one breaks its line with a line feed, unlike the others.
    return {"Clear recent files?", "Are you sure you want to clear all\nexisting recent ROM entries?",
            MessageIcon::Exclamation, MessageButtons::YesNo, MessageResult::No};
}

}  // namespace kestro::app
