// Menu entries to codes and codes to names, with the working state they read
// and the state that naming writes back.

#include "keys/function_codes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "support/case_name.h"
#include "support/utf16.h"

namespace vrdk {
namespace {

using ::testing::ElementsAre;

const LanguageTable& English() {
  static const LanguageTable table = *LoadLanguageTable(1);
  return table;
}

std::string Name(std::string_view code, KeyCodeContext context = {}) {
  return NameForCode(code, English(), context);
}

// ---- CodeForMenuTag with the default working state ----

struct MenuEntry {
  int tag;
  const char* code;
  const char* name;  // in language 1
};

class MenuEntryTest : public ::testing::TestWithParam<MenuEntry> {};

TEST_P(MenuEntryTest, GivesItsCodeAndTheCodeItsName) {
  KeyCodeContext context;
  const std::string code = CodeForMenuTag(GetParam().tag, context);
  EXPECT_EQ(code, GetParam().code);
  EXPECT_EQ(NameForCode(code, English(), context), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Menu, MenuEntryTest,
    ::testing::Values(
        MenuEntry{900, "01010000", "Left Click"}, MenuEntry{901, "01020000", "Right Click"},
        MenuEntry{902, "01040000", "Middle Click"}, MenuEntry{903, "01100000", "Forward"},
        MenuEntry{904, "01080000", "Backward"}, MenuEntry{1000, "05000000", "DPI Lock"},
        MenuEntry{1001, "0E000000", "LED Mode"}, MenuEntry{1002, "08000000", "LED Switch"},
        MenuEntry{1003, "08010000", "Button Effect Switch"},
        MenuEntry{1004, "0C000000", "Polling Rate"}, MenuEntry{1005, "100710FF", ""},
        MenuEntry{1006, "0B8F0000", ""}, MenuEntry{1007, "00000000", "Disable"},
        MenuEntry{1100, "0300CD00", "Play / Pause"}, MenuEntry{1101, "0300B700", "Stop"},
        MenuEntry{1102, "0300B600", "Previous Track"}, MenuEntry{1103, "0300B500", "Next Track"},
        MenuEntry{1104, "0300E900", "Volume +"}, MenuEntry{1105, "0300EA00", "Volume -"},
        MenuEntry{1106, "0300E200", "Mute"}, MenuEntry{1200, "03022300", "Home"},
        MenuEntry{1201, "03022100", "Search"}, MenuEntry{1202, "03022400", "Backward"},
        MenuEntry{1203, "03022500", "Forward"}, MenuEntry{1204, "03022600", "Stop"},
        MenuEntry{1205, "03022700", "Refresh"}, MenuEntry{1206, "03022A00", "Favorites"},
        MenuEntry{1300, "03019400", "My Computer"}, MenuEntry{1301, "03019200", "Calculator"},
        MenuEntry{1302, "03018A00", "E-Mail"}, MenuEntry{1303, "02080700", "Desktop"},
        MenuEntry{2000, "09000000", "DPI Loop"}, MenuEntry{2001, "09010000", "DPI +"},
        MenuEntry{2002, "09020000", "DPI -"},
        // Default presets: 2 shots every 60 ms, 4 every 120, 8 every 200.
        MenuEntry{2100, "0611003C", "Fire Button 1"}, MenuEntry{2101, "06130078", "Fire Button 2"},
        MenuEntry{2102, "061700C8", "Fire Button 3"}, MenuEntry{2200, "04010000", "Power Down"},
        MenuEntry{2201, "04020000", "Sleep"}, MenuEntry{2202, "04030000", "Wake Up"},
        MenuEntry{2300, "07800000", "Profile 1"}, MenuEntry{2301, "07810000", "Profile 2"},
        MenuEntry{2302, "07820000", "Third Mode"}, MenuEntry{2303, "07000000", "KB Switch Loop"},
        MenuEntry{2400, "02085000", "MAC OS Back"}, MenuEntry{2401, "02084F00", "MAC OS Forward"},
        MenuEntry{0, "00000000", "Disable"}),
    [](const auto& row) { return std::to_string(row.param.tag); });

TEST(CodeForMenuTag, ATagNoEntryCarriesGivesEmptyText) {
  for (const int tag : {-1, 1, 899, 905, 1008, 1107, 1304, 2003, 2103, 2304, 2402, 99999}) {
    EXPECT_EQ(CodeForMenuTag(tag, {}), "") << tag;
  }
}

// ---- Parameters taken from the working state ----

struct ComboCase {
  int tag;
  ComboFunction function;
  int item;
  const char* code;
};

class CombinationBitTest : public ::testing::TestWithParam<ComboCase> {};

TEST_P(CombinationBitTest, TheFunctionsListGivesByteThree) {
  KeyCodeContext context;
  context.combination_items.fill(3);  // other functions' lists must not leak in
  context.combination_items[static_cast<int>(GetParam().function)] = GetParam().item;
  EXPECT_EQ(CodeForMenuTag(GetParam().tag, context), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, CombinationBitTest,
    ::testing::Values(ComboCase{902, ComboFunction::kMiddle, 0, "01040000"},
                      ComboCase{902, ComboFunction::kMiddle, 4, "01040008"},
                      ComboCase{903, ComboFunction::kForward, 2, "01100002"},
                      ComboCase{904, ComboFunction::kBack, 2, "01080002"},
                      ComboCase{2000, ComboFunction::kDpiLoop, 8, "09000080"},
                      ComboCase{2001, ComboFunction::kDpiUp, 1, "09010001"},
                      ComboCase{2002, ComboFunction::kDpiDown, 6, "09020020"},
                      ComboCase{2002, ComboFunction::kDpiDown, 9, "09020000"},
                      ComboCase{2002, ComboFunction::kDpiDown, -1, "09020000"}),
    [](const auto& row) { return testing::CaseName(row.index, row.param.code); });

TEST(CodeForMenuTag, LeftAndRightCarryNoCombinationBit) {
  KeyCodeContext context;
  context.combination_items.fill(5);
  EXPECT_EQ(CodeForMenuTag(menu_tag::kLeft, context), "01010000");
  EXPECT_EQ(CodeForMenuTag(menu_tag::kRight, context), "01020000");
}

struct FireCase {
  FirePreset preset;
  const char* code;
};

class FireCodeTest : public ::testing::TestWithParam<FireCase> {};

TEST_P(FireCodeTest, CarriesCountFlagAndInterval) {
  KeyCodeContext context;
  context.fire[1] = GetParam().preset;
  EXPECT_EQ(CodeForMenuTag(menu_tag::kFire1 + 1, context), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Presets, FireCodeTest,
    ::testing::Values(FireCase{{3, 60, true}, "0692003C"}, FireCase{{5, 30, false}, "0614001E"},
                      FireCase{{5, 30, true}, "0694001E"}, FireCase{{15, 4094, true}, "069E0FFE"},
                      FireCase{{1, 1, false}, "06100001"},
                      // Out of range: brought to the nearest value the code can carry.
                      FireCase{{0, 60, false}, "0610003C"}, FireCase{{16, 60, false}, "061E003C"},
                      FireCase{{2, 70000, false}, "0611FFFF"},
                      FireCase{{2, -5, false}, "06110000"}),
    [](const auto& row) { return testing::CaseName(row.index, row.param.code); });

TEST(CodeForMenuTag, AimCodeCarriesTheStepLessOne) {
  KeyCodeContext context;
  for (const auto& [step, code] : std::map<int, std::string>{
           {1, "05000000"}, {5, "05040000"}, {12, "050B0000"}, {0, "05000000"}, {13, "050B0000"}}) {
    context.aim_step = step;
    EXPECT_EQ(CodeForMenuTag(menu_tag::kAim, context), code) << step;
  }
}

TEST(CodeForMenuTag, FixedMacroFollowsTheMemoryType) {
  KeyCodeContext context;
  context.memory_type = MemoryType::kFlash;
  EXPECT_EQ(CodeForMenuTag(menu_tag::kFixedMacro, context), "107000FF");
  context.memory_type = MemoryType::kI2C;
  EXPECT_EQ(CodeForMenuTag(menu_tag::kFixedMacro, context), "100710FF");
}

// ---- The extended profile switch of the combination slots ----

KeyCodeContext ProfileSettings() {
  KeyCodeContext context;
  context.return_to_zero = 1;
  context.adjust_xy = 0;
  context.change_colour = 1;
  context.offset = 0x18;
  context.profile_colour_items = {3, kUserColourItem, 0};
  return context;
}

TEST(ExtendedProfileSwitch, IsBuiltOnlyForCombinationSlots) {
  const KeyCodeContext context = ProfileSettings();
  EXPECT_EQ(CodeForMenuTag(menu_tag::kProfile1 + 1, context, MenuOrigin::kCombinationSlot),
            "07D1F018");  // as combination slot 4 of the default image holds it
  EXPECT_EQ(CodeForMenuTag(menu_tag::kProfile1, context, MenuOrigin::kCombinationSlot), "07D03018");
  EXPECT_EQ(CodeForMenuTag(menu_tag::kProfile1 + 1, context, MenuOrigin::kButton), "07810000");
  EXPECT_EQ(CodeForMenuTag(menu_tag::kProfileLoop, context, MenuOrigin::kCombinationSlot),
            "07000000");
}

TEST(ExtendedProfileSwitch, WithoutFlagsMatchesSlotThreeOfTheDefaultImage) {
  KeyCodeContext context = ProfileSettings();
  context.return_to_zero = context.change_colour = 0;
  EXPECT_EQ(CodeForMenuTag(menu_tag::kProfile1 + 1, context, MenuOrigin::kCombinationSlot),
            "0781F018");
}

TEST(ExtendedProfileSwitch, OffsetHighBitsShareByteTwoWithTheColour) {
  KeyCodeContext context = ProfileSettings();
  context.adjust_xy = 1;
  context.offset = 0xABC;
  EXPECT_EQ(CodeForMenuTag(menu_tag::kProfile3, context, MenuOrigin::kCombinationSlot), "07F20ABC");
  context.offset = 0x1234;  // beyond the field: held at 0xFFF
  EXPECT_EQ(CodeForMenuTag(menu_tag::kProfile3, context, MenuOrigin::kCombinationSlot), "07F20FFF");
}

TEST(ExtendedProfileSwitch, SyncLedsGiveTheUserColourToEveryProfile) {
  KeyCodeContext context = ProfileSettings();
  context.led_type_item = kSyncLedTypeItem;
  EXPECT_EQ(CodeForMenuTag(menu_tag::kProfile1, context, MenuOrigin::kCombinationSlot), "07D0F018");
  EXPECT_EQ(CodeForMenuTag(menu_tag::kProfile3, context, MenuOrigin::kCombinationSlot), "07D2F018");
}

// ---- NameForCode ----

struct NameCase {
  const char* code;
  const char* name;
};

class NameForCodeTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameForCodeTest, NamesTheCode) { EXPECT_EQ(Name(GetParam().code), GetParam().name); }

INSTANTIATE_TEST_SUITE_P(
    Codes, NameForCodeTest,
    ::testing::Values(
        // The combination bit does not change a mouse button's name.
        NameCase{"01080002", "Backward"}, NameCase{"01100000", "Forward"},
        NameCase{"01040080", "Middle Click"}, NameCase{"01010002", ""}, NameCase{"01200000", ""},
        // Keyboard: modifiers in order, "+" between parts, Str205 for nothing.
        NameCase{"02000400", "A"}, NameCase{"02030405", "Ctrl+Shift+A+B"},
        NameCase{"02013200", "Ctrl+"}, NameCase{"02003200", "Key combination"},
        NameCase{"02000000", "Key combination"}, NameCase{"02003204", "A"},
        NameCase{"020F0000", "Ctrl+Shift+Alt+Win"}, NameCase{"02F00400", "A"},
        NameCase{"02080400", "Win+A"}, NameCase{"02080700", "Desktop"},
        NameCase{"0204E03A", "Alt+Left Ctrl+F1"}, NameCase{"05000000", "DPI Lock"},
        NameCase{"05FF1234", "DPI Lock"},
        // Profile switch: any 07 00 xx xx steps through; b1 AND 87 picks the profile.
        NameCase{"07000000", "KB Switch Loop"}, NameCase{"07001234", "KB Switch Loop"},
        NameCase{"0700FFFF", "KB Switch Loop"}, NameCase{"07850000", ""}, NameCase{"07830000", ""},
        NameCase{"07010000", ""}, NameCase{"07D1F018", "Profile 2"},
        NameCase{"07A20000", "Third Mode"}, NameCase{"09000008", "DPI Loop"},
        NameCase{"09020080", "DPI -"}, NameCase{"09030000", ""}, NameCase{"0E000001", ""},
        NameCase{"04040000", ""}, NameCase{"0300CD01", ""}, NameCase{"00000001", ""},
        NameCase{"0A000000", ""}, NameCase{"FF000000", ""},
        // Codes whose texts the shipped tables leave out.
        NameCase{"107000FF", ""},
        // Not a code.
        NameCase{"0300CD0", ""}, NameCase{"0300CD0G", ""}, NameCase{"", ""},
        NameCase{"0300cd00", "Play / Pause"}),
    [](const auto& row) { return testing::CaseName(row.index, row.param.code); });

TEST(NameForCode, ReadsTheGivenLanguage) {
  KeyCodeContext context;
  EXPECT_EQ(NameForCode("05000000", *LoadLanguageTable(3), context), "AIM Key");
  EXPECT_EQ(NameForCode("05000000", LanguageTable(), context), "");
}

// ---- Side effects on the working state ----

KeyCodeContext TwoEqualPresets() {
  KeyCodeContext context;
  context.fire[0] = {2, 60, false};
  context.fire[1] = {2, 60, false};
  context.fire[2] = {8, 200, true};
  return context;
}

TEST(FireNaming, TwoMatchingPresetsGiveTheLowerAndOnlyItTakesTheFlag) {
  KeyCodeContext context = TwoEqualPresets();
  EXPECT_EQ(NameForCode("0691003C", English(), context), "Fire Button 1");
  EXPECT_TRUE(context.fire[0].keep_firing);
  EXPECT_FALSE(context.fire[1].keep_firing);
  EXPECT_EQ(NameForCode("061700C8", English(), context), "Fire Button 3");
  EXPECT_FALSE(context.fire[2].keep_firing);
}

TEST(FireNaming, ACodeMatchingNoPresetHasNoNameAndChangesNothing) {
  KeyCodeContext context = TwoEqualPresets();
  EXPECT_EQ(NameForCode("06910064", English(), context), "");
  EXPECT_EQ(NameForCode("0692003C", English(), context), "");  // 3 shots
  EXPECT_FALSE(context.fire[0].keep_firing);
  EXPECT_TRUE(context.fire[2].keep_firing);
}

TEST(FireNaming, OnlyTheLowNibbleCountsTheShots) {
  EXPECT_EQ(Name("0601003C", TwoEqualPresets()), "Fire Button 1");
}

TEST(FireNaming, LeavesTheFlagsAloneWhileTheProgramSetsThem) {
  KeyCodeContext context = TwoEqualPresets();
  context.program_sets_fire_flags = true;
  EXPECT_EQ(NameForCode("0691003C", English(), context), "Fire Button 1");
  EXPECT_EQ(NameForCode("061700C8", English(), context), "Fire Button 3");
  EXPECT_FALSE(context.fire[0].keep_firing);
  EXPECT_TRUE(context.fire[2].keep_firing);
}

TEST(ProfileNaming, SetsTheTargetsColourListFromTheHighNibble) {
  KeyCodeContext context;
  context.profile_colour_items = {5, 5, 5};
  NameForCode("07D1F018", English(), context);  // profile 2, nibble 15: the user colour
  NameForCode("07803000", English(), context);  // profile 1, nibble 3
  EXPECT_THAT(context.profile_colour_items, ElementsAre(3, kUserColourItem, 5));
  NameForCode("0782A000", English(), context);  // nibble 10: no such colour
  NameForCode("07850000", English(), context);  // no profile
  NameForCode("07009000", English(), context);  // stepping through
  EXPECT_THAT(context.profile_colour_items, ElementsAre(3, kUserColourItem, 5));
}

// ---- Fire macros and macros, through the macro tables ----

class FakeMacroTables : public MacroTables {
 public:
  std::optional<std::uint16_t> PresentMacroAddress(MemoryType type, int index) const override {
    const auto& entries = type == MemoryType::kI2C ? i2c : flash;
    const auto it = entries.find(index);
    if (it == entries.end() || !it->second.second) return std::nullopt;
    return it->second.first;
  }
  std::string DeviceMacroName(int index) const override { return "macro " + std::to_string(index); }
  std::string FireMacroCode(int index) const override {
    return index < static_cast<int>(fire.size()) ? fire[index] : "00000000";
  }
  std::map<int, std::pair<std::uint16_t, bool>> i2c, flash;  // index -> address, present
  std::vector<std::string> fire;
};

TEST(FireMacroNaming, WithoutTheSwitchUsesTheBuiltInPatternNames) {
  const LanguageTable names = LanguageTable::Parse(
      testing::Utf16Le(u"[lang1]\n\"Str600=P0\"\n\"Str602=P2\"\n\"Str605=P5\"\n\"Str606=P6\""),
      "lang1");
  KeyCodeContext context;
  for (const auto& [code, name] : std::map<std::string, std::string>{{"0B000100", "P0"},
                                                                     {"0B100188", "P0"},
                                                                     {"0B120108", "P2"},
                                                                     {"0B150200", "P5"},
                                                                     {"0B170300", "P6"},
                                                                     {"0B070400", ""},
                                                                     {"0B060100", ""},
                                                                     {"0B200100", ""}}) {
    EXPECT_EQ(NameForCode(code, names, context), name) << code;
  }
}

// The factory image's second profile holds three of them; a caption left
// empty would pass them off as unassigned buttons.
TEST(FireMacroNaming, PatternsTheLanguageHasNoTextForAreStillNamed) {
  for (int language = 1; language <= kLanguageCount; ++language) {
    const LanguageTable table = *LoadLanguageTable(language);
    KeyCodeContext context;
    // In the table's own language.
    const std::string pattern = language == 2 ? "連發模式 " : "Fire Pattern ";
    EXPECT_EQ(NameForCode("0B120108", table, context), pattern + "3") << language;
    EXPECT_EQ(NameForCode("0B110108", table, context), pattern + "2") << language;
    EXPECT_EQ(NameForCode("0B150208", table, context), pattern + "6") << language;
    EXPECT_EQ(NameForCode("0B170300", table, context), pattern + "7") << language;
    EXPECT_EQ(NameForCode("0B160100", table, context), "") << language;  // no such pattern
  }
}

TEST(FireMacroNaming, WithTheSwitchTheHighestEntrySharingSixDigitsNamesIt) {
  FakeMacroTables tables;
  tables.fire = {"0B120500", "0B8F0000", "0B120599", "00000000", "garbage"};
  KeyCodeContext context;
  context.fire_macro_naming = true;
  context.macro_tables = &tables;
  EXPECT_EQ(Name("0B120501", context), "Fire Macro3");
  EXPECT_EQ(Name("0B990000", context), "");
  EXPECT_EQ(Name("0B8F0000", context), "");  // the fixed code keeps its own (absent) name
  // A factory pattern that no script stands for keeps its pattern name.
  EXPECT_EQ(Name("0B120108", context), "Fire Pattern 3");
  tables.fire = {"0B120100"};
  EXPECT_EQ(Name("0B120108", context), "Fire Macro1");
  context.macro_tables = nullptr;
  EXPECT_EQ(Name("0B120501", context), "");
}

TEST(MacroNaming, ThePresentEntryWithTheAddressNamesItAndTheLastWins) {
  FakeMacroTables tables;
  tables.i2c = {{0, {0x0200, true}},
                {1, {0x0230, true}},
                {2, {0x0230, true}},
                {3, {0x0250, false}},
                {15, {0x0300, true}}};
  tables.flash = {{20, {0x5400, true}}};
  KeyCodeContext context;
  context.macro_tables = &tables;
  EXPECT_EQ(Name("10020000", context), "macro 0");
  EXPECT_EQ(Name("10023000", context), "macro 2");
  EXPECT_EQ(Name("10025000", context), "");  // not present
  EXPECT_EQ(Name("10030000", context), "");  // beyond the 15 "I2C" entries
  EXPECT_EQ(Name("10540000", context), "");  // a "Flash" address on an "I2C" mouse
  context.memory_type = MemoryType::kFlash;
  EXPECT_EQ(Name("10540000", context), "macro 20");
  context.macro_tables = nullptr;
  EXPECT_EQ(Name("10540000", context), "");
}

}  // namespace
}  // namespace vrdk
