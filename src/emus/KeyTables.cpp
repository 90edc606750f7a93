// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/KeyTables.h"

#include <algorithm>
#include <cstdio>

namespace kestro::emus {

// A short table would leave empty entries at its end without a word from the compiler.
static_assert(kVirtualEKeys.back().code == 916 && kVirtualEKeys.back().name == "<RAlt>");
static_assert(kRedDragonKeys[1] == "A a" && kRedDragonKeys[103] == "<LShift>" && kRedDragonKeys[114] == "<CpLock>");

std::string VirtualEKeyName(int code) {
    for (const NamedKey& key : kVirtualEKeys) {
        if (key.code == code) return std::string(key.name);
    }
    char text[24];
    std::snprintf(text, sizeof text, "<Key#%03d>", code);
    return text;
}

int VirtualEKeyCode(std::string_view name) {
    for (const NamedKey& key : kVirtualEKeys) {
        if (key.name == name) return key.code;
    }
    return 0;
}

std::string RedDragonKeyName(int code) {
    if (code < 0 || code >= static_cast<int>(kRedDragonKeys.size())) return "<INVALID>";
    return std::string(kRedDragonKeys[static_cast<std::size_t>(code)]);
}

int RedDragonKeyCode(std::string_view name) {
    auto it = std::find(kRedDragonKeys.begin(), kRedDragonKeys.end(), name);
    return it == kRedDragonKeys.end() ? 0 : static_cast<int>(it - kRedDragonKeys.begin());
}

int RedDragonCodeOfVirtualE(int virtualECode) {
    return RedDragonKeyCode(VirtualEKeyName(virtualECode));
}

int VirtualECodeOfRedDragon(int redDragonCode) {
    return VirtualEKeyCode(RedDragonKeyName(redDragonCode));
}

}  // namespace kestro::emus
