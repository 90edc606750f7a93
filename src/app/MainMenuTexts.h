// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of the main window and the About window that are not captions.

#include <array>
#include <string>
#include <string_view>

#include "base/Message.h"

namespace kestro::app {

/// The main window's help text (topic "Kestro").
std::string MainHelpText();

/// One click of the power button: its message and the tooltip it leaves.
struct PowerButtonStep {
    base::Message message;
    std::string_view nextTooltip;
};

inline constexpr std::string_view kPowerTooltip = "Don't Click Me...";
inline constexpr int kPowerButtonSteps = 3;
/// The message and new tooltip for counter value c (0, 1 or 2).
PowerButtonStep PowerButtonStepFor(int c);

/// About window texts of ours: maker line, nickname, address and thanks.
struct AboutTexts {
    std::string_view program = "Kestro Utilities 0.9b";
    std::string_view forUse = "For use with Nintendo Virtual Boy Game Pak ROM images.";
    std::string_view freeware = "";
    std::string_view iHope =
        "Made in the hopes that someone will eventually make a fully functional Virtual Boy emulator.";
    std::string_view copyright =
        "(c) 2026 The Kestro Utilities team. Free software under the GNU General Public License, version 3 or "
        "later; it comes with no warranty.";
    std::string_view nickname = "Kestro";
    std::string_view email = "kestro-utils@users.noreply.invalid";
    std::string_view thanksTo =
        "Thanks to everyone who documented the Virtual Boy, wrote its emulators and tested these tools.";
};
inline constexpr AboutTexts kAbout{};

/// The controller picture's right-click messages.
base::Message AboutThanksMessage();
base::Message AboutSelectedNoMessage();

}  // namespace kestro::app
