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
    std::array<std::int32_t, 12> numbers = OptionNumbers(VirtualEOptions{});
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        reg.SetValueKey(std::string(kVirtualEOptionNames[i]));
        reg.SetValueType(REG_DWORD_);
        if (reg.KeyExists()) numbers[i] = WholeNumberOf(reg.Value());
    }
    return OptionsFromNumbers(numbers);
}

std::vector<WrittenRegistryValue> SaveVirtualEOptions(RegistryBackend& registry, const VirtualEOptions& options) {
    cRegistry reg(registry);
    reg.SetClassKey(HKEY_CURRENT_USER_);
    reg.SetSectionKey(kVirtualEOptionsKey);
    std::vector<WrittenRegistryValue> written;
    const auto numbers = OptionNumbers(options);
    RegistryWriteGroup group(reg);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        reg.SetValueKey(std::string(kVirtualEOptionNames[i]));
        reg.SetValueType(REG_DWORD_);
        reg.SetValue(numbers[i]);
        written.push_back({kVirtualEOptionsKey, std::string(kVirtualEOptionNames[i]), REG_DWORD_, numbers[i]});
    }
    group.Commit();
    return written;
}

std::string VirtualEProgramPath(const std::string& directory) {
    return FindFileNoCase(directory, kVirtualEProgram).value_or(JoinPath(directory, kVirtualEProgram));
}

LaunchRequest VirtualELaunch(const std::string& directory) {
    return LaunchRequest{VirtualEProgramPath(directory), {}, "", /*minimised*/ true};
}

VirtualERun RunVirtualE(RegistryBackend& registry, ProcessLauncher* launcher, const std::string& directory,
                        bool dryRun) {
    VirtualERun run;
    run.written = SaveVirtualEOptions(registry, ReadVirtualEOptions(registry));
    run.request = VirtualELaunch(directory);
    if (!dryRun && launcher != nullptr) run.result = launcher->Start(run.request);
    return run;
}

}  // namespace kestro::emus
