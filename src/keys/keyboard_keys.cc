#include "keys/keyboard_keys.h"

#include <array>

namespace vrdk {
namespace {

using NameTable = std::array<std::string_view, 256>;

constexpr std::array<std::string_view, 26> kLetters = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                                       "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                                       "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr std::array<std::string_view, 10> kDigits = {"0", "1", "2", "3", "4",
                                                      "5", "6", "7", "8", "9"};
constexpr std::array<std::string_view, 24> kFunctionKeys = {
    "F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",  "F10", "F11", "F12",
    "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
constexpr std::array<std::string_view, 10> kPadDigits = {
    "0 (numeric pad)", "1 (numeric pad)", "2 (numeric pad)", "3 (numeric pad)", "4 (numeric pad)",
    "5 (numeric pad)", "6 (numeric pad)", "7 (numeric pad)", "8 (numeric pad)", "9 (numeric pad)"};

struct Named {
  int code;
  std::string_view name;
};

// Keyboard usages whose names are not part of a run.
constexpr Named kUsageRows[] = {
    {0x27, "0"},
    {0x28, "Enter"},
    {0x29, "Esc"},
    {0x2A, "Backspace"},
    {0x2B, "Tab"},
    {0x2C, "Space bar"},
    {0x2D, "OEM_Minus"},
    {0x2E, "OEM_Plus"},
    {0x2F, "OEM_4"},
    {0x30, "OEM_6"},
    {0x31, "OEM_5"},
    {0x33, "OEM_1"},
    {0x34, "OEM_7"},
    {0x35, "OEM_3"},
    {0x36, "OEM_Comma"},
    {0x37, "OEM_Period"},
    {0x38, "OEM_2"},
    {0x39, "Caps Lock"},
    {0x46, "Print Screen"},
    {0x47, "Scroll Lock"},
    {0x48, "Pause"},
    {0x49, "Insert"},
    {0x4A, "Home"},
    {0x4B, "Page Up"},
    {0x4C, "Delete"},
    {0x4D, "End"},
    {0x4E, "Page Down"},
    {0x4F, "Right Arrow"},
    {0x50, "Left Arrow"},
    {0x51, "Down Arrow"},
    {0x52, "Up Arrow"},
    {0x53, "Num Lock"},
    {0x54, "Divide (numeric pad)"},
    {0x55, "Multiply (numeric pad)"},
    {0x56, "Subtract (numeric pad)"},
    {0x57, "Add (numeric pad)"},
    {0x58, "Separator (numeric pad)"},
    {0x62, "0 (numeric pad)"},
    {0x63, "Decimal (numeric pad)"},
    {0x65, "Applications"},
    {0x75, "Help"},
    {0x77, "Select"},
    {0x9C, "Clear"},
    {0xC0, "Media_Next_Track"},
    {0xC1, "Media_Prev_Track"},
    {0xC2, "Media_Stop"},
    {0xC3, "Media_Play_Pause"},
    {0xC4, "Volume_Mute"},
    {0xC5, "Volume_Up"},
    {0xC6, "Volume_Down"},
    {0xC7, "Launch_Mail"},
    {0xC8, "Browser_Search"},
    {0xC9, "Browser_Home"},
    {0xCA, "Browser_Back"},
    {0xCB, "Browser_Forward"},
    {0xCC, "Browser_Stop"},
    {0xCD, "Browser_Refresh"},
    {0xCE, "Browser_Favorites"},
    {0xD1, "Launch_Media_Select"},
    {0xE0, "Left Ctrl"},
    {0xE1, "Left Shift"},
    {0xE2, "Left Alt"},
    {0xE3, "Win"},
    {0xE4, "Right Ctrl"},
    {0xE5, "Right Shift"},
    {0xE6, "Right Alt"},
    {0xE7, "Win"},
};

// Virtual keys whose names are not part of a run.
constexpr Named kVirtualKeyRows[] = {
    {0x08, "Backspace"},
    {0x09, "Tab"},
    {0x0C, "Clear"},
    {0x0D, "Enter"},
    {0x10, "Shift"},
    {0x11, "Ctrl"},
    {0x12, "Alt"},
    {0x13, "Pause"},
    {0x14, "Caps Lock"},
    {0x1B, "Esc"},
    {0x20, "Space bar"},
    {0x21, "Page Up"},
    {0x22, "Page Down"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left Arrow"},
    {0x26, "Up Arrow"},
    {0x27, "Right Arrow"},
    {0x28, "Down Arrow"},
    {0x29, "Select"},
    {0x2C, "Print Screen"},
    {0x2D, "Insert"},
    {0x2E, "Delete"},
    {0x2F, "Help"},
    {0x5B, "Left Windows"},
    {0x5C, "Right Windows"},
    {0x5D, "Applications"},
    {0x6A, "Multiply (numeric pad)"},
    {0x6B, "Add (numeric pad)"},
    {0x6C, "Separator (numeric pad)"},
    {0x6D, "Subtract (numeric pad)"},
    {0x6E, "Decimal (numeric pad)"},
    {0x6F, "Divide (numeric pad)"},
    {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},
    {0xA0, "Left Shift"},
    {0xA1, "Right Shift"},
    {0xA2, "Left Ctrl"},
    {0xA3, "Right Ctrl"},
    {0xA4, "Left Alt"},
    {0xA5, "Right Alt"},
    {0xA6, "Browser_Back"},
    {0xA7, "Browser_Forward"},
    {0xA8, "Browser_Refresh"},
    {0xA9, "Browser_Stop"},
    {0xAA, "Browser_Search"},
    {0xAB, "Browser_Favorites"},
    {0xAC, "Browser_Home"},
    {0xAD, "Volume_Mute"},
    {0xAE, "Volume_Down"},
    {0xAF, "Volume_Up"},
    {0xB0, "Media_Next_Track"},
    {0xB1, "Media_Prev_Track"},
    {0xB2, "Media_Stop"},
    {0xB3, "Media_Play_Pause"},
    {0xB4, "Launch_Mail"},
    {0xB5, "Launch_Media_Select"},
    {0xB6, "Launch_App1"},
    {0xB7, "Launch_App2"},
    {0xBA, "OEM_1"},
    {0xBB, "OEM_Plus"},
    {0xBC, "OEM_Comma"},
    {0xBD, "OEM_Minus"},
    {0xBE, "OEM_Period"},
    {0xBF, "OEM_2"},
    {0xC0, "OEM_3"},
    {0xDB, "OEM_4"},
    {0xDC, "OEM_5"},
    {0xDD, "OEM_6"},
    {0xDE, "OEM_7"},
    {0xDF, "OEM_8"},
    {0xFF, "255"},
};

struct Mapped {
  int virtual_key;
  std::uint8_t usage;
};

// Virtual keys whose usage is not part of a run.
constexpr Mapped kUsageOfVirtualKey[] = {
    {0x08, 0x2A}, {0x09, 0x2B}, {0x0C, 0x9C}, {0x0D, 0x28},  // Backspace, Tab, Clear, Enter
    {0x10, 0xE1}, {0x11, 0xE0}, {0x12, 0xE2},                // Shift, Ctrl, Alt: left hand
    {0x13, 0x48}, {0x14, 0x39}, {0x1B, 0x29}, {0x20, 0x2C},  // Pause, Caps Lock, Esc, Space
    {0x21, 0x4B}, {0x22, 0x4E}, {0x23, 0x4D}, {0x24, 0x4A},  // Page Up/Down, End, Home
    {0x25, 0x50}, {0x26, 0x52}, {0x27, 0x4F}, {0x28, 0x51},  // arrows
    {0x29, 0x77}, {0x2B, 0x74}, {0x2C, 0x46}, {0x2D, 0x49},  // Select, Execute, Print, Insert
    {0x2E, 0x4C}, {0x2F, 0x75}, {0x30, 0x27},                // Delete, Help, 0
    {0x5B, 0xE3}, {0x5C, 0xE7}, {0x5D, 0x65},                // Windows keys, Applications
    {0x60, 0x62}, {0x6A, 0x55}, {0x6B, 0x57}, {0x6C, 0x58},  // pad 0, * + separator
    {0x6D, 0x56}, {0x6E, 0x63}, {0x6F, 0x54},                // pad - . /
    {0x90, 0x53}, {0x91, 0x47},                              // Num Lock, Scroll Lock
    {0xA0, 0xE1}, {0xA1, 0xE5}, {0xA2, 0xE0}, {0xA3, 0xE4}, {0xA4, 0xE2},
    {0xA5, 0xE6}, {0xA6, 0xCA}, {0xA7, 0xCB}, {0xA8, 0xCD}, {0xA9, 0xCC},  // browser back .. stop
    {0xAA, 0xC8}, {0xAB, 0xCE}, {0xAC, 0xC9},                // search, favorites, home
    {0xAD, 0xC4}, {0xAE, 0xC6}, {0xAF, 0xC5},                // mute, volume down, up
    {0xB0, 0xC0}, {0xB1, 0xC1}, {0xB2, 0xC2}, {0xB3, 0xC3},  // next, previous, stop, play
    {0xB4, 0xC7}, {0xB5, 0xD1},                              // mail, media select
    {0xBA, 0x33}, {0xBB, 0x2E}, {0xBC, 0x36}, {0xBD, 0x2D},  // OEM_1, Plus, Comma, Minus
    {0xBE, 0x37}, {0xBF, 0x38}, {0xC0, 0x35},                // OEM_Period, OEM_2, OEM_3
    {0xDB, 0x2F}, {0xDC, 0x31}, {0xDD, 0x30}, {0xDE, 0x34},  // OEM_4 .. OEM_7
    {0xE2, 0x64},                                            // OEM_102
};

template <std::size_t N>
constexpr void PutRun(NameTable& table, int first, const std::array<std::string_view, N>& names,
                      std::size_t from = 0, std::size_t count = N) {
  for (std::size_t i = 0; i < count; ++i) table[first + i] = names[from + i];
}

constexpr NameTable MakeUsageNames() {
  NameTable table{};
  PutRun(table, 0x04, kLetters);
  PutRun(table, 0x1E, kDigits, 1, 9);
  PutRun(table, 0x3A, kFunctionKeys, 0, 12);
  PutRun(table, 0x59, kPadDigits, 1, 9);
  PutRun(table, 0x68, kFunctionKeys, 12, 12);
  for (const auto& row : kUsageRows) table[row.code] = row.name;
  return table;
}

constexpr NameTable MakeVirtualKeyNames() {
  NameTable table{};
  for (auto& name : table) name = "None";
  PutRun(table, 0x30, kDigits);
  PutRun(table, 0x41, kLetters);
  PutRun(table, 0x60, kPadDigits);
  PutRun(table, 0x70, kFunctionKeys);
  for (const auto& row : kVirtualKeyRows) table[row.code] = row.name;
  return table;
}

constexpr std::array<std::uint8_t, 256> MakeUsages() {
  std::array<std::uint8_t, 256> table{};
  for (int i = 0; i < 26; ++i) table[0x41 + i] = static_cast<std::uint8_t>(0x04 + i);  // A..Z
  for (int i = 0; i < 9; ++i) {
    table[0x31 + i] = static_cast<std::uint8_t>(0x1E + i);  // 1..9
    table[0x61 + i] = static_cast<std::uint8_t>(0x59 + i);  // pad 1..9
  }
  for (int i = 0; i < 12; ++i) {
    table[0x70 + i] = static_cast<std::uint8_t>(0x3A + i);  // F1..F12
    table[0x7C + i] = static_cast<std::uint8_t>(0x68 + i);  // F13..F24
  }
  for (const auto& row : kUsageOfVirtualKey) table[row.virtual_key] = row.usage;
  return table;
}

constexpr NameTable kUsageNames = MakeUsageNames();
constexpr NameTable kVirtualKeyNames = MakeVirtualKeyNames();
constexpr std::array<std::uint8_t, 256> kUsages = MakeUsages();

bool IsByte(int value) { return value >= 0 && value <= 0xFF; }

}  // namespace

std::string_view UsageName(int usage) { return IsByte(usage) ? kUsageNames[usage] : ""; }

std::uint8_t VirtualKeyToUsage(int virtual_key) {
  return IsByte(virtual_key) ? kUsages[virtual_key] : 0;
}

std::string_view VirtualKeyName(int virtual_key) {
  return IsByte(virtual_key) ? kVirtualKeyNames[virtual_key] : "None";
}

}  // namespace vrdk
