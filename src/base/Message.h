// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A message box described as data: the core decides what to say, windows and
// the command line decide how to show it.

#include <initializer_list>
#include <string>
#include <string_view>

namespace kestro::base {

enum class MessageIcon { None, Critical, Exclamation, Question, Information };
enum class MessageButtons { Ok, YesNo, OkCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

/// Title and text are UTF-8; line breaks are single CRs as the program writes them.
struct Message {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageResult defaultButton = MessageResult::Ok;

    friend bool operator==(const Message&, const Message&) = default;
};

/// Joins lines with the single carriage return that message texts use.
std::string JoinCr(std::initializer_list<std::string_view> lines);

}  // namespace kestro::base
