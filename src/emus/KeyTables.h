// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key numbering of the emulators whose keys the key configuration sets:
// Virtual-E's (Windows virtual-key codes, 900 and up for keys without one)
// and Red Dragon's (a position in its own list), each looked up both ways.

#include <array>
#include <string>
#include <string_view>

namespace kestro::emus {

struct NamedKey {
    int code;
    std::string_view name;
};

/// Virtual-E's keys by code.
inline constexpr std::array<NamedKey, 119> kVirtualEKeys{{
    {1, "LMouseBt"},     {2, "RMouseBt"},     {8, "<BckSpc>"},   {9, "<Tab>"},      {13, "<Enter>"},
    {16, "<Shift>"},     {17, "<Control>"},   {18, "<Alt>"},     {19, "<Pause>"},   {20, "<CpLock>"},
    {27, "<Escape>"},    {32, "<Space>"},     {33, "<PageUp>"},  {34, "<PageDn>"},  {35, "<End>"},
    {36, "<Home>"},      {37, "<Left>"},      {38, "<Up>"},      {39, "<Right>"},   {40, "<Down>"},
    {44, "<PrntScrn>"},  {45, "<Insert>"},    {46, "<Delete>"},  {48, "0 )"},       {49, "1 !"},
    {50, "2 @"},         {51, "3 #"},         {52, "4 $"},       {53, "5 %"},       {54, "6 ^"},
    {55, "7 &"},         {56, "8 *"},         {57, "9 ("},       {65, "A a"},       {66, "B b"},
    {67, "C c"},         {68, "D d"},         {69, "E e"},       {70, "F f"},       {71, "G g"},
    {72, "H h"},         {73, "I i"},         {74, "J j"},       {75, "K k"},       {76, "L l"},
    {77, "M m"},         {78, "N n"},         {79, "O o"},       {80, "P p"},       {81, "Q q"},
    {82, "R r"},         {83, "S s"},         {84, "T t"},       {85, "U u"},       {86, "V v"},
    {87, "W w"},         {88, "X x"},         {89, "Y y"},       {90, "Z z"},       {91, "<LWinKy>"},
    {92, "<RWinKy>"},    {93, "<AppKey>"},    {96, "<Num 0 >"},  {97, "<Num 1 >"},  {98, "<Num 2 >"},
    {99, "<Num 3 >"},    {100, "<Num 4 >"},   {101, "<Num 5 >"}, {102, "<Num 6 >"}, {103, "<Num 7 >"},
    {104, "<Num 8 >"},   {105, "<Num 9 >"},   {106, "<Num * >"}, {107, "<Num + >"}, {109, "<Num - >"},
    {110, "<Num . >"},   {111, "<Num / >"},   {112, "<F1>"},     {113, "<F2>"},     {114, "<F3>"},
    {115, "<F4>"},       {116, "<F5>"},       {117, "<F6>"},     {118, "<F7>"},     {119, "<F8>"},
    {120, "<F9>"},       {121, "<F10>"},      {122, "<F11>"},    {123, "<F12>"},    {144, "<NmLock>"},
    {145, "<ScLock>"},   {186, ": ;"},        {187, "+ ="},      {188, "< ,"},      {189, "_ -"},
    {190, "> ."},        {191, "? /"},        {192, "~ `"},      {219, "{ ["},      {220, "| \\"},
    {221, "} ]"},        {222, " '"},         {900, "   "},      {901, " \\ "},     {902, "ABN"},
    {903, "YEN"},        {904, "KAN"},        {905, "CON"},      {906, "NCO"},      {907, " @ "},
    {908, "CRC"},        {909, ":2 "},        {910, "KJI"},      {911, "<LShift>"}, {912, "<RShift>"},
    {913, "<LControl>"}, {914, "<RControl>"}, {915, "<LAlt>"},   {916, "<RAlt>"},
}};

/// Red Dragon's keys: the code is the position in the list.
inline constexpr std::array<std::string_view, 115> kRedDragonKeys{{
    "   ",      "A a",       "B b",        "C c",      "D d",      "E e",      "F f",        "G g",        "H h",
    "I i",      "J j",       "K k",        "L l",      "M m",      "N n",      "O o",        "P p",        "Q q",
    "R r",      "S s",       "T t",        "U u",      "V v",      "W w",      "X x",        "Y y",        "Z z",
    "0 )",      "1 !",       "2 @",        "3 #",      "4 $",      "5 %",      "6 ^",        "7 &",        "8 *",
    "9 (",      "<Num 0 >",  "<Num 1 >",   "<Num 2 >", "<Num 3 >", "<Num 4 >", "<Num 5 >",   "<Num 6 >",   "<Num 7 >",
    "<Num 8 >", "<Num 9 >",  "<F1>",       "<F2>",     "<F3>",     "<F4>",     "<F5>",       "<F6>",       "<F7>",
    "<F8>",     "<F9>",      "<F10>",      "<F11>",    "<F12>",    "<Escape>", "~ `",        "_ -",        "+ =",
    "<BckSpc>", "<Tab>",     "{ [",        "} ]",      "<Enter>",  ": ;",      " '",         "| \\",       " \\ ",
    "< ,",      "> .",       "? /",        "<Space>",  "<Insert>", "<Delete>", "<Home>",     "<End>",      "<PageUp>",
    "<PageDn>", "<Left>",    "<Right>",    "<Up>",     "<Down>",   "<Num / >", "<Num * >",   "<Num - >",   "<Num + >",
    "<Num . >", "<Num Ent>", "<PrntScrn>", "<Pause>",  "ABN",      "YEN",      "KAN",        "CON",        "NCO",
    " @ ",      "CRC",       ":2 ",        "KJI",      "<LShift>", "<RShift>", "<LControl>", "<RControl>", "<LAlt>",
    "<RAlt>",   "<LWinKy>",  "<RWinKy>",   "<AppKey>", "<ScLock>", "<NmLock>", "<CpLock>",
}};

/// Virtual-E's name of a key code; a code without a name is "<Key#" and the
/// code in at least three digits, then ">" ("<Key#000>").
std::string VirtualEKeyName(int code);
/// The code of a Virtual-E key name; 0 for a name not in the table.
int VirtualEKeyCode(std::string_view name);

/// Red Dragon's name of a code; "<INVALID>" outside 0-114.
std::string RedDragonKeyName(int code);
/// The Red Dragon code of a key name; 0 ("   ", no key) for a name it lacks.
int RedDragonKeyCode(std::string_view name);

/// Crossing between the two numberings goes through the key's name, so a key
/// one emulator lacks becomes "no key" in the other.
int RedDragonCodeOfVirtualE(int virtualECode);
int VirtualECodeOfRedDragon(int redDragonCode);

}  // namespace kestro::emus
