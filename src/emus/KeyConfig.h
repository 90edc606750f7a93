// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fourteen inputs of the Virtual Boy controller and the keys that stand
// for them: Virtual-E's stored in its registry key, Red Dragon's handed over
// by its front-end, Reality Boy's fixed.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Message.h"
#include "base/Registry.h"
#include "emus/VirtualE.h"

namespace kestro::emus {

struct ControllerInput {
    std::string_view button;  ///< the key configuration window's button
    std::string_view toolTip;
    std::string_view valueName;  ///< under Virtual-E's Keypad key
    int defaultCode;             ///< Virtual-E numbering; Reality Boy's fixed key
};

/// The inputs in member order.
inline constexpr std::array<ControllerInput, 14> kControllerInputs{{
    {"cmdAButton", "A Button", "A Button", 77},
    {"cmdBButton", "B Button", "B Button", 78},
    {"cmdLButton", "L Trigger", "L Button", 71},
    {"cmdRButton", "R Trigger", "R Button", 72},
    {"cmdLtUp", "Up (Left D-Pad)", "ULP", 69},
    {"cmdLtDn", "Down (Left D-Pad)", "DLP", 67},
    {"cmdLtLt", "Left (Left D-Pad)", "LLP", 83},
    {"cmdLtRt", "Right (Left D-Pad)", "RLP", 70},
    {"cmdRtUp", "Up (Right D-Pad)", "URP", 73},
    {"cmdRtDn", "Down (Right D-Pad)", "DRP", 188},
    {"cmdRtLt", "Left (Right D-Pad)", "LRP", 74},
    {"cmdRtRt", "Right (Right D-Pad)", "RRP", 76},
    {"cmdStart", "Start Button", "Start", 66},
    {"cmdSelect", "Select Button", "Select", 86},
}};

/// Fourteen key codes in member order, in Virtual-E's numbering.
using KeyCodes = std::array<int, 14>;

KeyCodes DefaultKeyCodes();

/// Each input's stored code when the Keypad key exists (a missing value is 0),
/// else its default.
KeyCodes ReadVirtualEKeys(base::RegistryBackend& registry);
/// The fourteen values the keys are stored as, in member order.
std::vector<WrittenRegistryValue> VirtualEKeyValues(const KeyCodes& codes);
/// Writes the fourteen codes in one group; throws base::RegistryError.
void SaveVirtualEKeys(base::RegistryBackend& registry, const KeyCodes& codes);

/// Red Dragon's codes as its front-end hands them over (decimal texts in
/// member order), and back.
KeyCodes KeysFromRedDragon(const std::vector<std::string>& entries);
std::vector<std::string> KeysToRedDragon(const KeyCodes& codes);

/// A generic modifier that Red Dragon needs told apart: its name in the
/// questions and its left and right codes.
struct ModifierSides {
    std::string_view key;  ///< "Shift", "Control", "Alt"
    int left;
    int right;
};
/// The sides of a generic Shift (16), Control (17) or Alt (18); nothing for other codes.
std::optional<ModifierSides> SidesOf(int code);
/// "Use left key?" and "Use right key?", Yes/No with No the default.
base::Message LeftKeyQuestion(const ModifierSides& sides);
base::Message RightKeyQuestion(const ModifierSides& sides);

/// A captured key Red Dragon has no name for (a mouse button, say): refused
/// at once, so the key list never holds a line Red Dragon cannot read.
base::Message RedDragonLacksKeyMessage(int virtualECode);

/// Reality Boy's keys cannot be changed.
base::Message RealityBoyKeysMessage();
/// Reality Boy's debug-mode keys, tab-indented as its help shows them.
base::Message DebugKeysMessage();

}  // namespace kestro::emus
