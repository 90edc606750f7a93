// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/VirtualE.h"

#include <cmath>

#include "base/NumericText.h"
#include "base/Paths.h"

namespace kestro::emus {

using namespace kestro::base;

std::array<std::int32_t, 12> OptionNumbers(const VirtualEOptions& o) {
    return {o.display,          o.cpu,        o.brightness,       o.style,
            o.frameSkip,        o.fps,        o.ignoreDisplayIrq, o.ignoreTimerIrq,
            o.ignoreControlIrq, o.enableSram, o.ignoreRomPalette, o.enableSound};
}

VirtualEOptions OptionsFromNumbers(const std::array<std::int32_t, 12>& n) {
    VirtualEOptions o;
    o.display = n[0];
    o.cpu = n[1];
    o.brightness = n[2];
    o.style = n[3];
    o.frameSkip = n[4];
    o.fps = n[5];
    o.ignoreDisplayIrq = n[6] != 0;
    o.ignoreTimerIrq = n[7] != 0;
    o.ignoreControlIrq = n[8] != 0;
    o.enableSram = n[9] != 0;
    o.ignoreRomPalette = n[10] != 0;
    o.enableSound = n[11] != 0;
    return o;
}

std::int32_t WholeNumberOf(const RegistryValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) return *number;
    if (const auto* text = std::get_if<std::string>(&value)) {
        const double v = std::round(NumericValue(*text));
        return v > 2147483647.0 || v < -2147483648.0 ? 0 : static_cast<std::int32_t>(v);
    }
    return 0;
}

VirtualEOptions ReadVirtualEOptions(RegistryBackend& registry) {
    cRegistry reg(registry);
    reg.SetClassKey(HKEY_CURRENT_USER_);
    reg.SetSectionKey(kVirtualEOptionsKey);
    const RegistryReadGroup oneLook(reg);  // one look at the key for all of its values
    std::array<std::int32_t, 12> numbers = OptionNumbers(VirtualEOptions{});
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        reg.SetValueKey(std::string(kVirtualEOptionNames[i]));
        reg.SetValueType(REG_DWORD_);
        if (reg.KeyExists()) numbers[i] = WholeNumberOf(reg.Value());
    }
    return OptionsFromNumbers(numbers);
}

void WriteRegistryValues(RegistryBackend& registry, const std::vector<WrittenRegistryValue>& values) {
    cRegistry reg(registry);
    reg.SetClassKey(HKEY_CURRENT_USER_);
    RegistryWriteGroup group(reg);
    for (const WrittenRegistryValue& value : values) {
        reg.SetSectionKey(value.key);
        reg.SetValueKey(value.name);
        reg.SetValueType(value.type);
        reg.SetValue(value.value);
    }
    group.Commit();
}

std::vector<WrittenRegistryValue> VirtualEOptionValues(const VirtualEOptions& options) {
    std::vector<WrittenRegistryValue> values;
    const auto numbers = OptionNumbers(options);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        values.push_back({kVirtualEOptionsKey, std::string(kVirtualEOptionNames[i]), REG_DWORD_, numbers[i]});
    }
    return values;
}

void SaveVirtualEOptions(RegistryBackend& registry, const VirtualEOptions& options) {
    WriteRegistryValues(registry, VirtualEOptionValues(options));
}

std::string VirtualEProgramPath(const std::string& directory) {
    return FindFileNoCase(directory, kVirtualEProgram).value_or(JoinPath(directory, kVirtualEProgram));
}

LaunchRequest VirtualELaunch(const std::string& directory) {
    return LaunchRequest{VirtualEProgramPath(directory), {}, "", /*minimised*/ true};
}

VirtualEPlay PrepareVirtualEPlay(RegistryBackend& registry, const std::string& directory) {
    VirtualEPlay play;
    play.request = VirtualELaunch(directory);
    play.commandLine = play.request.program;
    play.values = VirtualEOptionValues(ReadVirtualEOptions(registry));
    return play;
}

}  // namespace kestro::emus
