// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VirtualKeys.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace kestro::platform {

namespace {

using Pair = std::pair<int, int>;

// Qt keys with one Windows code each; shifted symbols give their key's code.
constexpr std::array<Pair, 75> kQtKeys{{
    {Qt::Key_Backspace, 8},    {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},      {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},      {Qt::Key_Enter, 13},       {Qt::Key_Shift, 16},       {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},         {Qt::Key_AltGr, 18},       {Qt::Key_Pause, 19},       {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},      {Qt::Key_Space, 32},       {Qt::Key_PageUp, 33},      {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},         {Qt::Key_Home, 36},        {Qt::Key_Left, 37},        {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},       {Qt::Key_Down, 40},        {Qt::Key_Print, 44},       {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},      {Qt::Key_ParenRight, 48},  {Qt::Key_Exclam, 49},      {Qt::Key_At, 50},
    {Qt::Key_NumberSign, 51},  {Qt::Key_Dollar, 52},      {Qt::Key_Percent, 53},     {Qt::Key_AsciiCircum, 54},
    {Qt::Key_Ampersand, 55},   {Qt::Key_Asterisk, 56},    {Qt::Key_ParenLeft, 57},   {Qt::Key_Super_L, 91},
    {Qt::Key_Super_R, 92},     {Qt::Key_Meta, 91},        {Qt::Key_Menu, 93},        {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145}, {Qt::Key_Semicolon, 186},  {Qt::Key_Colon, 186},      {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},       {Qt::Key_Comma, 188},      {Qt::Key_Less, 188},       {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},     {Qt::Key_Greater, 190},    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},   {Qt::Key_QuoteLeft, 192},  {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},  {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},        {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222}, {Qt::Key_QuoteDbl, 222},   {Qt::Key_SysReq, 44},
    {Qt::Key_Select, 41},      {Qt::Key_Execute, 43},     {Qt::Key_Help, 47},        {Qt::Key_Sleep, 95},
    {Qt::Key_Back, 166},       {Qt::Key_Forward, 167},    {Qt::Key_Refresh, 168},    {Qt::Key_Stop, 169},
    {Qt::Key_Search, 170},     {Qt::Key_Favorites, 171},  {Qt::Key_HomePage, 172},
}};

// Key symbols (X11 and Wayland) that tell apart what Qt gives as one key.
constexpr std::array<Pair, 33> kKeySymbols{{
    {0xffb0, 96},  {0xffb1, 97},  {0xffb2, 98},  {0xffb3, 99},  {0xffb4, 100}, {0xffb5, 101}, {0xffb6, 102},
    {0xffb7, 103}, {0xffb8, 104}, {0xffb9, 105}, {0xffaa, 106}, {0xffab, 107}, {0xffac, 108}, {0xffad, 109},
    {0xffae, 110}, {0xffaf, 111}, {0xff8d, 13},  {0xff95, 36},  {0xff96, 37},  {0xff97, 38},  {0xff98, 39},
    {0xff99, 40},  {0xff9a, 33},  {0xff9b, 34},  {0xff9c, 35},  {0xff9d, 12},  {0xff9e, 45},  {0xff9f, 46},
    {0xffeb, 91},  {0xffec, 92},  {0xffe7, 91},  {0xffe8, 92},  {0xfe03, 18},
}};

constexpr quint32 kExtraKeyPosition = 94;

// Keys by position (X11 key codes, which are the kernel's plus 8), as they
// sit on a US keyboard, for layouts whose keys Qt has no name for.
constexpr std::array<Pair, 47> kPositions{{
    {10, 49},  {11, 50},  {12, 51},  {13, 52},  {14, 53},  {15, 54},  {16, 55},  {17, 56}, {18, 57}, {19, 48},
    {20, 189}, {21, 187}, {24, 81},  {25, 87},  {26, 69},  {27, 82},  {28, 84},  {29, 89}, {30, 85}, {31, 73},
    {32, 79},  {33, 80},  {34, 219}, {35, 221}, {38, 65},  {39, 83},  {40, 68},  {41, 70}, {42, 71}, {43, 72},
    {44, 74},  {45, 75},  {46, 76},  {47, 186}, {48, 222}, {49, 192}, {51, 220}, {52, 90}, {53, 88}, {54, 67},
    {55, 86},  {56, 66},  {57, 78},  {58, 77},  {59, 188}, {60, 190}, {61, 191},
}};

int Lookup(const auto& table, int key) {
    for (const auto& [from, to] : table) {
        if (from == key) return to;
    }
    return 0;
}

int KeypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 96 + (qtKey - Qt::Key_0);
    switch (qtKey) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma: return 110;
        case Qt::Key_Slash: return 111;
        default: return 0;
    }
}

}  // namespace

int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeVirtualKey, quint32 nativeScanCode) {
#if defined(Q_OS_WIN)
    if (nativeVirtualKey != 0) return static_cast<int>(nativeVirtualKey);
#endif
    if (int code = Lookup(kKeySymbols, static_cast<int>(nativeVirtualKey))) return code;
    // The extra key beside the left Shift of European keyboards, which Qt names as "<".
    if (nativeScanCode == kExtraKeyPosition) return 226;
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (int code = KeypadKey(qtKey)) return code;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
    if (int code = Lookup(kQtKeys, qtKey)) return code;
    return Lookup(kPositions, static_cast<int>(nativeScanCode));
}

int VirtualKeyOf(const QKeyEvent& event) {
    return VirtualKeyOf(event.key(), event.modifiers(), event.nativeVirtualKey(), event.nativeScanCode());
}

int VirtualKeyOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return 1;
        case Qt::RightButton: return 2;
        case Qt::MiddleButton: return 4;
        case Qt::BackButton: return 5;
        case Qt::ForwardButton: return 6;
        default: return 0;
    }
}

}  // namespace kestro::platform
