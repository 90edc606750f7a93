// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Virtual-E, an emulator that keeps its settings in the current user's
// registry: its twelve options, how they are read and written, and how it is
// started (without a ROM; the user picks the game inside the emulator).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ProcessLauncher.h"
#include "base/Registry.h"

namespace kestro::emus {

inline constexpr char kVirtualEOptionsKey[] = "Software\\Virtual-E\\VIRTUALE\\Options";
inline constexpr char kVirtualEKeypadKey[] = "Software\\Virtual-E\\VIRTUALE\\Keypad";
inline constexpr char kVirtualEProgram[] = "VIRTUALE.EXE";

/// The twelve options, with the values Virtual-E starts from.
struct VirtualEOptions {
    int display = 2;     ///< display thread priority, 1-4
    int cpu = 2;         ///< emulator thread priority, 1-4
    int brightness = 0;  ///< -5 to 5
    int style = 1;       ///< 1 Standard, 2 Small, 3 Full Screen
    int frameSkip = 1;   ///< 1-32767
    int fps = 1;         ///< 1-32767
    bool ignoreDisplayIrq = false;
    bool ignoreTimerIrq = false;
    bool ignoreControlIrq = false;
    bool enableSram = false;
    bool ignoreRomPalette = false;
    bool enableSound = false;

    friend bool operator==(const VirtualEOptions&, const VirtualEOptions&) = default;
};

/// The registry values, in the order they are read and written.
inline constexpr std::array<std::string_view, 12> kVirtualEOptionNames{{"Display", "CPU", "Brtness", "Style", "Skip",
                                                                        "FPS", "DisplayInt", "TimeInt", "KeyInt", "RAM",
                                                                        "NPalette", "Sound"}};

/// The options as the twelve stored numbers (flags as 1 or 0), and back.
std::array<std::int32_t, 12> OptionNumbers(const VirtualEOptions& options);
VirtualEOptions OptionsFromNumbers(const std::array<std::int32_t, 12>& numbers);

/// One 32-bit value written to the registry, as `kestro play` reports it.
struct WrittenRegistryValue {
    std::string key;
    std::string name;
    std::int32_t type = base::REG_DWORD_;
    std::int32_t value = 0;
    friend bool operator==(const WrittenRegistryValue&, const WrittenRegistryValue&) = default;
};

/// Writes the values under HKEY_CURRENT_USER in one group, in their order;
/// throws base::RegistryError at the first that cannot be stored.
void WriteRegistryValues(base::RegistryBackend& registry, const std::vector<WrittenRegistryValue>& values);

/// A stored value as a whole number: a number as it is, a text by its
/// leading number, anything else (a missing value) 0.
std::int32_t WholeNumberOf(const base::RegistryValue& value);

/// Reads each value when the key exists (a missing value then reads as 0);
/// without the key, every option keeps its default.
VirtualEOptions ReadVirtualEOptions(base::RegistryBackend& registry);
/// The twelve values the options are stored as, in their order.
std::vector<WrittenRegistryValue> VirtualEOptionValues(const VirtualEOptions& options);
/// Writes the twelve values; throws base::RegistryError.
void SaveVirtualEOptions(base::RegistryBackend& registry, const VirtualEOptions& options);

/// The program in the directory, found without regard to case (the designed
/// name when there is none, so that the start reports it missing).
std::string VirtualEProgramPath(const std::string& directory);
/// Started with no arguments, minimised, in our own working directory.
base::LaunchRequest VirtualELaunch(const std::string& directory);

/// Run Virtual-E with unchanged controls, worked out before anything is done:
/// the stored options (defaults on first use) to be written again, then the
/// program to start.
struct VirtualEPlay {
    std::string commandLine;  ///< the program, which takes no arguments
    base::LaunchRequest request;
    std::vector<WrittenRegistryValue> values;
};
VirtualEPlay PrepareVirtualEPlay(base::RegistryBackend& registry, const std::string& directory);

}  // namespace kestro::emus
