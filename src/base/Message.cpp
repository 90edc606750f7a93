// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Message.h"

namespace kestro::base {

std::string JoinCr(std::initializer_list<std::string_view> lines) {
    std::string text;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first) text += '\r';
        text += line;
        first = false;
    }
    return text;
}

}  // namespace kestro::base
