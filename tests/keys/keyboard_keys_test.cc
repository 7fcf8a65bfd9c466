// Keyboard usages, virtual keys and their names.

#include "keys/keyboard_keys.h"

#include <gtest/gtest.h>

#include <set>

#include "support/case_name.h"

namespace vrdk {
namespace {

struct UsageCase {
  int usage;
  const char* name;
};

class UsageNameTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageNameTest, NamesTheUsage) { EXPECT_EQ(UsageName(GetParam().usage), GetParam().name); }

INSTANTIATE_TEST_SUITE_P(
    Usages, UsageNameTest,
    ::testing::Values(UsageCase{0x04, "A"}, UsageCase{0x1D, "Z"}, UsageCase{0x1E, "1"},
                      UsageCase{0x26, "9"}, UsageCase{0x27, "0"}, UsageCase{0x2C, "Space bar"},
                      UsageCase{0x2F, "OEM_4"}, UsageCase{0x30, "OEM_6"}, UsageCase{0x31, "OEM_5"},
                      UsageCase{0x32, ""}, UsageCase{0x38, "OEM_2"}, UsageCase{0x3A, "F1"},
                      UsageCase{0x45, "F12"}, UsageCase{0x4F, "Right Arrow"},
                      UsageCase{0x54, "Divide (numeric pad)"}, UsageCase{0x59, "1 (numeric pad)"},
                      UsageCase{0x61, "9 (numeric pad)"}, UsageCase{0x62, "0 (numeric pad)"},
                      UsageCase{0x63, "Decimal (numeric pad)"}, UsageCase{0x64, ""},
                      UsageCase{0x68, "F13"}, UsageCase{0x73, "F24"}, UsageCase{0x74, ""},
                      UsageCase{0x9C, "Clear"}, UsageCase{0xC0, "Media_Next_Track"},
                      UsageCase{0xCE, "Browser_Favorites"}, UsageCase{0xCF, ""},
                      UsageCase{0xD1, "Launch_Media_Select"}, UsageCase{0xE3, "Win"},
                      UsageCase{0xE6, "Right Alt"}, UsageCase{0xE7, "Win"}, UsageCase{0xE8, ""},
                      UsageCase{0x00, ""}, UsageCase{-1, ""}, UsageCase{0x104, ""}),
    [](const auto& row) { return testing::CaseName(row.index, row.param.usage); });

struct VirtualKeyCase {
  int virtual_key;
  int usage;
  const char* name;
};

class VirtualKeyTest : public ::testing::TestWithParam<VirtualKeyCase> {};

TEST_P(VirtualKeyTest, GivesItsUsageAndName) {
  EXPECT_EQ(VirtualKeyToUsage(GetParam().virtual_key), GetParam().usage);
  EXPECT_EQ(VirtualKeyName(GetParam().virtual_key), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, VirtualKeyTest,
    ::testing::Values(
        VirtualKeyCase{0x41, 0x04, "A"}, VirtualKeyCase{0x5A, 0x1D, "Z"},
        VirtualKeyCase{0x30, 0x27, "0"}, VirtualKeyCase{0x31, 0x1E, "1"},
        VirtualKeyCase{0x70, 0x3A, "F1"}, VirtualKeyCase{0x7B, 0x45, "F12"},
        VirtualKeyCase{0x7C, 0x68, "F13"}, VirtualKeyCase{0x87, 0x73, "F24"},
        VirtualKeyCase{0x60, 0x62, "0 (numeric pad)"},
        VirtualKeyCase{0x69, 0x61, "9 (numeric pad)"},
        // Generic modifiers give the left-hand usages; the Windows keys differ.
        VirtualKeyCase{0x10, 0xE1, "Shift"}, VirtualKeyCase{0x11, 0xE0, "Ctrl"},
        VirtualKeyCase{0x12, 0xE2, "Alt"}, VirtualKeyCase{0x5B, 0xE3, "Left Windows"},
        VirtualKeyCase{0x5C, 0xE7, "Right Windows"}, VirtualKeyCase{0x5D, 0x65, "Applications"},
        VirtualKeyCase{0x0C, 0x9C, "Clear"}, VirtualKeyCase{0x2F, 0x75, "Help"},
        VirtualKeyCase{0x29, 0x77, "Select"}, VirtualKeyCase{0x6C, 0x58, "Separator (numeric pad)"},
        VirtualKeyCase{0xA5, 0xE6, "Right Alt"},
        // Browser, volume, media, mail and media-select keys, in virtual-key order.
        VirtualKeyCase{0xA6, 0xCA, "Browser_Back"}, VirtualKeyCase{0xA7, 0xCB, "Browser_Forward"},
        VirtualKeyCase{0xA8, 0xCD, "Browser_Refresh"}, VirtualKeyCase{0xA9, 0xCC, "Browser_Stop"},
        VirtualKeyCase{0xAA, 0xC8, "Browser_Search"},
        VirtualKeyCase{0xAB, 0xCE, "Browser_Favorites"}, VirtualKeyCase{0xAC, 0xC9, "Browser_Home"},
        VirtualKeyCase{0xAD, 0xC4, "Volume_Mute"}, VirtualKeyCase{0xAE, 0xC6, "Volume_Down"},
        VirtualKeyCase{0xAF, 0xC5, "Volume_Up"}, VirtualKeyCase{0xB0, 0xC0, "Media_Next_Track"},
        VirtualKeyCase{0xB1, 0xC1, "Media_Prev_Track"}, VirtualKeyCase{0xB2, 0xC2, "Media_Stop"},
        VirtualKeyCase{0xB3, 0xC3, "Media_Play_Pause"}, VirtualKeyCase{0xB4, 0xC7, "Launch_Mail"},
        VirtualKeyCase{0xB5, 0xD1, "Launch_Media_Select"},
        // Keys without a usage.
        VirtualKeyCase{0xB6, 0, "Launch_App1"}, VirtualKeyCase{0xB7, 0, "Launch_App2"},
        VirtualKeyCase{0xDF, 0, "OEM_8"}, VirtualKeyCase{0xFF, 0, "255"},
        VirtualKeyCase{0x00, 0, "None"}, VirtualKeyCase{0x5F, 0, "None"},
        VirtualKeyCase{0x88, 0, "None"}, VirtualKeyCase{-1, 0, "None"},
        VirtualKeyCase{0x141, 0, "None"}),
    [](const auto& row) { return testing::CaseName(row.index, row.param.virtual_key); });

// The recorder names a key by its virtual key and shows a stored key by its
// usage; both must read alike, apart from the keys whose two names differ.
TEST(KeyNames, AVirtualKeyAndItsUsageShareTheirName) {
  const std::set<int> named_differently = {0x10, 0x11, 0x12, 0x5B, 0x5C,  // modifiers
                                           0x2B, 0xE2};                   // Execute, OEM_102
  int compared = 0;
  for (int key = 0; key < 256; ++key) {
    const int usage = VirtualKeyToUsage(key);
    if (usage == 0 || named_differently.contains(key)) continue;
    EXPECT_EQ(VirtualKeyName(key), UsageName(usage)) << "virtual key " << key;
    ++compared;
  }
  EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace vrdk
