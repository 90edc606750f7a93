// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/KeyConfig.h"

#include <cmath>

#include "base/NumericText.h"
#include "emus/KeyTables.h"

namespace kestro::emus {

using namespace kestro::base;

KeyCodes DefaultKeyCodes() {
    KeyCodes codes{};
    for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = kControllerInputs[i].defaultCode;
    return codes;
}

KeyCodes ReadVirtualEKeys(RegistryBackend& registry) {
    cRegistry reg(registry);
    reg.SetClassKey(HKEY_CURRENT_USER_);
    reg.SetSectionKey(kVirtualEKeypadKey);
    const RegistryReadGroup oneLook(reg);  // one look at the key for all of its values
    KeyCodes codes = DefaultKeyCodes();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        reg.SetValueKey(std::string(kControllerInputs[i].valueName));
        reg.SetValueType(REG_DWORD_);
        if (reg.KeyExists()) codes[i] = WholeNumberOf(reg.Value());
    }
    return codes;
}

std::vector<WrittenRegistryValue> VirtualEKeyValues(const KeyCodes& codes) {
    std::vector<WrittenRegistryValue> values;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        values.push_back({kVirtualEKeypadKey, std::string(kControllerInputs[i].valueName), REG_DWORD_, codes[i]});
    }
    return values;
}

void SaveVirtualEKeys(RegistryBackend& registry, const KeyCodes& codes) {
    WriteRegistryValues(registry, VirtualEKeyValues(codes));
}

KeyCodes KeysFromRedDragon(const std::vector<std::string>& entries) {
    KeyCodes codes{};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const double number = i < entries.size() ? std::round(NumericValue(entries[i])) : 0.0;
        const int code = std::abs(number) < 1e6 ? static_cast<int>(number) : -1;
        codes[i] = VirtualECodeOfRedDragon(code);
    }
    return codes;
}

std::vector<std::string> KeysToRedDragon(const KeyCodes& codes) {
    std::vector<std::string> entries;
    for (int code : codes) entries.push_back(std::to_string(RedDragonCodeOfVirtualE(code)));
    return entries;
}

std::optional<ModifierSides> SidesOf(int code) {
    switch (code) {
        case 16: return ModifierSides{"Shift", 911, 912};
        case 17: return ModifierSides{"Control", 913, 914};
        case 18: return ModifierSides{"Alt", 915, 916};
        default: return std::nullopt;
    }
}

Message LeftKeyQuestion(const ModifierSides& sides) {
    const std::string key(sides.key);
    return Message{
        "Use left key?",
        JoinCr({"Unable to detect correct " + key + " key.", "Do you wish to use the left " + key + " key?"}),
        MessageIcon::Question, MessageButtons::YesNo, MessageResult::No};
}

Message RightKeyQuestion(const ModifierSides& sides) {
    const std::string key(sides.key);
    return Message{
        "Use right key?",
        JoinCr({"Unable to detect correct " + key + " key.", "Do you wish to use the right " + key + " key?"}),
        MessageIcon::Question, MessageButtons::YesNo, MessageResult::No};
}

Message RedDragonLacksKeyMessage(int virtualECode) {
    return Message{
        "Change key configuration",
        JoinCr({"Red Dragon has no key " + VirtualEKeyName(virtualECode) + ".", "Please choose another key."}),
        MessageIcon::Exclamation};
}

Message RealityBoyKeysMessage() {
    return Message{"Change key configuration", JoinCr({"Key configuration can not be", "changed in Reality Boy."}),
                   MessageIcon::Exclamation};
}

Message DebugKeysMessage() {
    return Message{"Debug mode key configuration",
                   JoinCr({
                       "'U' - Unassemble the next 16 instructions.",
                       "'D' - Dump the next 16 instructions.",
                       "'T' - Trace through next instruction.",
                       "'B' - Run continusly, break at address.",
                       "'J' - Jump to address.",
                       "'R' - Show registers and next instruction.",
                       "'V' - Video display mode. (Chr/Obj/BGMap/World)",
                       "\t'P' - Save the screen as a bitmap (BMP) file.",
                       "\t'C' - View chr ram.",
                       "\t'O' - View obj map.",
                       "\t'B' - View bgmap. (any key to cycle through all",
                       "\t\t\t14 bgmaps, <ESC> to cancel)",
                       "\t'W' - View world map. (any key to cycle through all",
                       "\t\t\t32 world maps, <ESC> to cancel)",
                       "\t'R' - View rom. (tile viewer)",
                       "\t\t'u' 'd' - Up/Down 1 row.",
                       "\t\t'U' 'D' - Up/Down 1 page.",
                       "\t\t'+' '-' - Up/Down 1 byte (realign sprites).",
                       "\t\t'<' '>' - Left/Right 1 sprite.",
                       "\t\t'1' '2' - Shrink/Expand displayed columns.",
                       "\t\t'H'     - Show view rom help.",
                       "\t'P' - Print buffers to err.txt",
                       "\t'D' - Run in emulation mode.",
                       "\t'Q' or <ESC> - Quit video mode.",
                       "'M' - Dump memory to a file.",
                       "'?' - Display debug help.",
                       "'Q' - Quit debug mode.",
                       "'I' - Generate interrupt number.",
                       "'L' - Set debug level. (0<all>-10<none>)",
                   }),
                   MessageIcon::None};
}

}  // namespace kestro::emus
