// The device macro store on the simulated mouse: adding, deleting with the
// buttons re-pointed, writing, export and import, and assigning macros to
// buttons, asserted on the mouse's memory and transcript.

#include "macros/editors/device_macros.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/install.h"
#include "image/code_text.h"
#include "support/random_macros.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"

namespace vrdk::macros {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using Kind = ErrorKind;
using testing::SessionRig;

// A library macro of `events` event bytes (loop ends), end byte after them.
LibraryRecord Macro(const std::u16string& name, std::size_t events) {
  LibraryRecord record;
  record.name = EncodeMacroName(name);
  std::fill_n(record.events.begin(), events, 0xFC);
  return record;
}

// A refusal of the kind, with a detail that says why, and nothing sent to the
// mouse since its transcript was last cleared.
void ExpectRefused(const SessionRig& rig, const Result<void>& outcome, Kind kind,
                   const std::string& why) {
  EXPECT_TRUE(outcome.Is(kind));
  EXPECT_THAT(outcome.message(), HasSubstr(why));
  EXPECT_TRUE(rig.Reports().empty());
}

class DeviceMacrosTest : public ::testing::TestWithParam<MemoryType> {
 protected:
  DeviceMacrosTest() {
    InstallEditors(rig.session);
    rig.session.InitNoDevice();
    rig.Connect();
    store = FindDeviceMacros(rig.session);
  }
  bool I2C() const { return GetParam() == MemoryType::kI2C; }
  std::vector<std::uint8_t> Memory(std::size_t at, std::size_t size) const {
    const auto memory = rig.mouse.Memory();
    return {memory.begin() + static_cast<std::ptrdiff_t>(at),
            memory.begin() + static_cast<std::ptrdiff_t>(at + size)};
  }
  std::string Code(int profile, int button) const {
    return rig.session.Pages().code_texts.profiles[static_cast<std::size_t>(profile)]
                                                  [static_cast<std::size_t>(button - 1)];
  }
  std::vector<std::uint8_t> MouseCode(int profile, int button) const {
    const std::size_t base = I2C() ? image::i2c::kProfile1 : image::flash::kProfile1;
    return Memory(
        base + 49 * static_cast<std::size_t>(profile) + 4 * static_cast<std::size_t>(button - 1),
        4);
  }
  void AddMacros(int count) {
    for (int i = 0; i < count; ++i) {
      const char16_t name[] = {u'M', static_cast<char16_t>(u'a' + i), 0};
      ASSERT_TRUE(store->Add(Macro(name, 3)).ok());
    }
  }

  SessionRig rig{GetParam()};
  DeviceMacros* store = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Memories, DeviceMacrosTest,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash),
                         [](const auto& param_info) {
                           return param_info.param == MemoryType::kI2C ? "I2C" : "Flash";
                         });

TEST_P(DeviceMacrosTest, AddedMacrosLandInTheMouseAtTheirAddresses) {
  ASSERT_TRUE(store->Add(Macro(u"Three", 3)).ok());
  ASSERT_TRUE(store->Add(Macro(u"Five", 5)).ok());
  EXPECT_THAT(store->Names(), ElementsAre("Three", "Five"));
  if (I2C()) {
    EXPECT_EQ(*store->Address(0), 0x0200);
    EXPECT_EQ(*store->Address(1), 0x0215);
    // Name, three events, end and pad; then the next record at 0x0215.
    EXPECT_THAT(Memory(0x0200, 5), ElementsAre(0xFC, 0xFC, 0xFC, 0x00, 0x00));
    EXPECT_THAT(Memory(0x0205, 4), ElementsAre(0x00, 'F', 0x00, 'i'));
    EXPECT_THAT(Memory(0x0215, 6), ElementsAre(0xFC, 0xFC, 0xFC, 0xFC, 0xFC, 0x00));
    EXPECT_EQ(store->I2C().area_used, 44u);
    EXPECT_THAT(rig.Reports(), Contains("> 40 07 01 F0 01 00 00 00"));
    EXPECT_THAT(rig.Reports(), Contains("> 40 07 02 F0 01 00 00 00"));
    EXPECT_THAT(rig.Reports(), Contains("> 40 07 00 C0 00 93 00 00"));
  } else {
    EXPECT_EQ(*store->Address(1), 0x4100);
    EXPECT_THAT(Memory(0x3010, 4), ElementsAre(0x00, 'F', 0x00, 'i'));
    EXPECT_THAT(Memory(0x4100, 6), ElementsAre(0xFC, 0xFC, 0xFC, 0xFC, 0xFC, 0x00));
    EXPECT_THAT(rig.Reports(), Contains("> 40 07 30 00 02 00 00 00"));
    EXPECT_THAT(rig.Reports(), Contains("> 40 07 5F 00 01 00 00 00"));
  }
  // Class-0x10 codes are named after the macro at their address.
  EXPECT_EQ(rig.session.NameForCode(I2C() ? "10021500" : "10410000"), "Five");
}

TEST_P(DeviceMacrosTest, AFullStoreTakesNoMoreAndWritesNothing) {
  AddMacros(I2C() ? 15 : 32);
  rig.mouse.ClearTranscript();
  EXPECT_TRUE(store->Add(Macro(u"More", 1)).Is(Kind::kFull));
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_EQ(store->Names().size(), I2C() ? 15u : 32u);
}

TEST_P(DeviceMacrosTest, AssigningAMacroStoresItsCodeAndKeepsTheLastLeftClick) {
  AddMacros(3);
  ASSERT_TRUE(store->AssignToButton(3, 2).ok());
  const std::string code = I2C() ? "10022A00" : "10420000";
  EXPECT_EQ(Code(0, 3), code);
  EXPECT_EQ(rig.session.Pages().key_captions[2], "Mc");
  EXPECT_THAT(MouseCode(0, 3),
              ElementsAre(0x10, code[2] == '0' ? 0x02 : 0x42, I2C() ? 0x2A : 0x00, 0x00));
  // Button 1 is the only Left Click, in Profile 3 as well.
  rig.session.Pages().mode_page = 3;
  rig.session.DataBufToUI();
  EXPECT_TRUE(store->AssignToButton(1, 0).Is(Kind::kRefused));
  EXPECT_EQ(Code(2, 1), "01010000");
}

TEST_P(DeviceMacrosTest, DeletingRePointsButtonsAndFallsBackForTheDeletedMacro) {
  AddMacros(7);
  ASSERT_TRUE(store->AssignToButton(2, 4).ok());  // "Me", deleted below
  ASSERT_TRUE(store->AssignToButton(3, 6).ok());  // "Mg", moves down one
  // Profile 3 is repaired as the other two are.
  rig.session.Pages().mode_page = 3;
  rig.session.DataBufToUI();
  ASSERT_TRUE(store->AssignToButton(4, 6).ok());
  ASSERT_TRUE(store->AssignToButton(5, 4).ok());
  rig.session.Pages().mode_page = 1;
  rig.session.DataBufToUI();
  ASSERT_TRUE(store->Delete(4).ok());
  EXPECT_EQ(Code(2, 4), I2C() ? "10026900" : "10450000");
  EXPECT_THAT(MouseCode(2, 4), ElementsAre(0x10, I2C() ? 0x02 : 0x45, I2C() ? 0x69 : 0x00, 0x00));
  EXPECT_NE(Code(2, 5).rfind("10", 0), 0u);  // its macro is gone: a fixed function
  EXPECT_THAT(store->Names(), ElementsAre("Ma", "Mb", "Mc", "Md", "Mf", "Mg"));
  // "Mg" now sits in slot 5: 0x0200 + 5 * 21, or 0x4000 + 5 * 256.
  EXPECT_EQ(Code(0, 3), I2C() ? "10026900" : "10450000");
  EXPECT_EQ(rig.session.Pages().key_captions[2], "Mg");
  // Button 2 falls back to Key_B4.
  EXPECT_EQ(Code(0, 2), "01100000");
  EXPECT_THAT(MouseCode(0, 2), ElementsAre(0x01, 0x10, 0x00, 0x00));
  EXPECT_THAT(MouseCode(0, 3), ElementsAre(0x10, I2C() ? 0x02 : 0x45, I2C() ? 0x69 : 0x00, 0x00));
}

TEST_P(DeviceMacrosTest, ExportAndImportCarryTheWholeStore) {
  AddMacros(2);
  testing::TempDir dir;
  const std::string file = dir.File("macros.bin");
  ASSERT_TRUE(store->Export(file).ok());
  EXPECT_EQ(testing::TempDir::Read(file).size(), I2C() ? 512u : 8704u);
  ASSERT_TRUE(store->Delete(0).ok());
  ASSERT_TRUE(store->Delete(0).ok());
  EXPECT_TRUE(store->Names().empty());
  ASSERT_TRUE(store->Import(file).ok());
  EXPECT_THAT(store->Names(), ElementsAre("Ma", "Mb"));
  rig.session.Btn_Read();
  EXPECT_THAT(store->Names(), ElementsAre("Ma", "Mb"));
}

TEST_P(DeviceMacrosTest, ShownMacrosDecodeIntoLines) {
  LibraryRecord record = Macro(u"Keys", 0);
  const std::uint8_t events[] = {0x82, 0x04, 0xFE, 0x00, 0x32, 0x02, 0x04};
  std::copy(std::begin(events), std::end(events), record.events.begin());
  ASSERT_TRUE(store->Add(record).ok());
  EXPECT_THAT(store->Lines(0)->lines, ElementsAre("10", "1 A CODE:8204", "0 50", "2 A CODE:0204"));
}

TEST_P(DeviceMacrosTest, SavingKeepsAButtonOnTheFirstOfTwoMacrosOfOneName) {
  ASSERT_TRUE(store->Add(Macro(u"A3", 3)).ok());
  ASSERT_TRUE(store->Add(Macro(u"A3", 5)).ok());
  ASSERT_TRUE(store->AssignToButton(3, 0).ok());
  const std::string first = I2C() ? "10020000" : "10400000";
  ASSERT_EQ(Code(0, 3), first);
  ASSERT_TRUE(store->Save().ok());
  EXPECT_EQ(Code(0, 3), first);
  EXPECT_THAT(MouseCode(0, 3), ElementsAre(0x10, I2C() ? 0x02 : 0x40, 0x00, 0x00));
}

TEST_P(DeviceMacrosTest, DeletingKeepsAButtonOnItsOwnMacroOfASharedName) {
  ASSERT_TRUE(store->Add(Macro(u"A3", 3)).ok());
  ASSERT_TRUE(store->Add(Macro(u"A3", 4)).ok());
  ASSERT_TRUE(store->Add(Macro(u"A3", 5)).ok());
  ASSERT_TRUE(store->AssignToButton(3, 1).ok());
  ASSERT_TRUE(store->Delete(0).ok());
  // The four-event "A3" is now item 0 at 0x0200 (0x4000 on "Flash").
  EXPECT_EQ(Code(0, 3), I2C() ? "10020000" : "10400000");
  EXPECT_EQ(store->Lines(0)->lines.size(), 1u + 4);
}

TEST_P(DeviceMacrosTest, AMacroWhoseNameReadsAsAFreePlaceIsNotAddedAndSaysSo) {
  ASSERT_TRUE(store->Add(Macro(u"Ok", 1)).ok());
  rig.mouse.ClearTranscript();
  // A byte FF in the first character ends the list of an "I2C" mouse (U+4EFF
  // is 4E FF); a "Flash" mouse takes FF FF for a free slot.
  const std::vector<std::u16string> free_names =
      I2C() ? std::vector<std::u16string>{u"\u4EFF", u"\u00FF", u"\uFFFF"}
            : std::vector<std::u16string>{u"\uFFFF"};
  for (const std::u16string& name : free_names) {
    const auto outcome = store->Add(Macro(name, 2));
    EXPECT_TRUE(outcome.Is(Kind::kRefused));
    EXPECT_THAT(outcome.message(), HasSubstr("free"));
  }
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_THAT(store->Names(), ElementsAre("Ok"));
}

TEST_P(DeviceMacrosTest, AMacroWithAByteThatStartsNoEventIsNotAdded) {
  LibraryRecord record = Macro(u"Bad", 0);
  const std::uint8_t events[] = {0x82, 0x04, 0x12, 0x34, 0x56, 0x02, 0x04};
  std::copy(std::begin(events), std::end(events), record.events.begin());
  ASSERT_TRUE(store->Add(Macro(u"Before", 2)).ok());
  rig.mouse.ClearTranscript();
  const auto outcome = store->Add(record);
  ExpectRefused(rig, outcome, Kind::kRefused, "0x12");
  EXPECT_THAT(store->Names(), ElementsAre("Before"));
}

TEST_P(DeviceMacrosTest, TheListIsToldWhatToSelectAfterEachChange) {
  std::vector<std::optional<int>> selections;
  store->SetChangeListener(
      [&](const MacroListChange& change) { selections.push_back(change.select); });
  AddMacros(3);
  ASSERT_TRUE(store->Delete(0).ok());
  ASSERT_TRUE(store->Delete(1).ok());
  ASSERT_TRUE(store->Delete(0).ok());
  EXPECT_THAT(selections, ElementsAre(0, 1, 2, 0, 0, std::nullopt));
}

TEST_P(DeviceMacrosTest, AFireMacroScriptGoesToAnEngineerKeyWithoutTheLeftClickGuard) {
  testing::TempDir dir;
  store->LoadFireMacros(dir.File("Fire Macro.bin"));
  ASSERT_TRUE(store->FireMacros().Add({0x0B, 0x8F, 0x00, 0x00}).ok());
  ASSERT_TRUE(store->FireMacros().Add({0x0B, 0x12, 0x05, 0x00}).ok());
  rig.mouse.ClearTranscript();
  // Key 101: button 1 of profile 1, its only Left Click.
  ASSERT_TRUE(store->AssignFireMacroToEngineerKey(101, 1).ok());
  EXPECT_EQ(Code(0, 1), "0B120500");
  EXPECT_EQ(rig.session.Pages().engineer_captions[0][0], "Fire Macro2");
  EXPECT_THAT(MouseCode(0, 1), ElementsAre(0x0B, 0x12, 0x05, 0x00));
  EXPECT_TRUE(store->AssignFireMacroToEngineerKey(113, 0).Is(Kind::kNoSuchMacro));
  EXPECT_TRUE(store->AssignFireMacroToEngineerKey(301, 2).Is(Kind::kNoSuchMacro));
}

std::u16string Numbered(char16_t prefix, std::size_t n) {
  std::u16string name(1, prefix);
  for (char digit : std::to_string(n)) name.push_back(static_cast<char16_t>(digit));
  return name;
}

// Random macros of every kind made as lines, stored in the library, added
// to the mouse until it is full (those the "I2C" area cannot hold refused),
// then read back from the mouse.
TEST_P(DeviceMacrosTest, RandomMacrosReadBackFromTheMouseAsTheyWereLaidOut) {
  const std::size_t slots = I2C() ? 15 : 32;
  testing::TempDir dir;
  MacroLibrary library;
  ASSERT_TRUE(library.Load(dir.File("Macro.bin")).ok());
  for (std::size_t k = 0; k < slots; ++k) ASSERT_TRUE(library.New(Numbered(u'R', k)).ok());
  int stored = 0;
  int refused = 0;
  for (std::uint32_t seed = 0; seed < 8; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    testing::RandomMacros random(seed);
    while (!store->Names().empty()) {
      ASSERT_TRUE(store->Delete(static_cast<int>(store->Names().size()) - 1).ok());
    }
    std::vector<testing::GeneratedMacro> kept;
    for (std::size_t k = 0; k < slots; ++k) {
      const bool full = random.Int(0, 4) == 0;
      auto macro = random.Macro(full ? 255 : (I2C() ? 40 : 200), full);
      macro.name = Numbered(u'R', k);
      ASSERT_TRUE(
          library.SetLines(static_cast<int>(k), DecodeEvents(macro.events, 256).lines).ok());
      kept.push_back(macro);
      const bool fits =
          !I2C() || testing::ExpectI2CArea(kept).outcome == testing::ExpectedArea::Outcome::kFits;
      const Result<void> added = store->Add(library.Records()[k]);
      ASSERT_EQ(added.ok(), fits) << added.message();
      if (!fits) {
        kept.pop_back();
        ++refused;
      }
    }
    rig.session.Btn_Read();
    const auto names = store->Names();
    ASSERT_EQ(names.size(), kept.size());
    const auto expected = testing::ExpectI2CArea(kept).events;
    for (std::size_t i = 0; i < kept.size(); ++i) {
      EXPECT_EQ(names[i], Utf16ToUtf8(kept[i].name));
      const auto bytes = EncodeLines(store->Lines(static_cast<int>(i))->lines).value();
      EXPECT_EQ(bytes, I2C() ? expected[i] : kept[i].events) << "macro " << i;
    }
    stored += static_cast<int>(kept.size());
  }
  EXPECT_GE(stored, I2C() ? 50 : 200);
  if (I2C()) {
    EXPECT_GE(refused, 20);
  }
}

class DeviceMacrosI2CTest : public ::testing::Test {
 protected:
  DeviceMacrosI2CTest() {
    InstallEditors(rig.session);
    rig.session.InitNoDevice();
    rig.Connect();
    store = FindDeviceMacros(rig.session);
  }
  SessionRig rig{MemoryType::kI2C};
  DeviceMacros* store = nullptr;
};

TEST_F(DeviceMacrosI2CTest, TheAreaTakes512BytesAndRefuses513) {
  // Two records of 16 + 200 + 2 = 218 bytes leave 76; a third of 16 + 59 + 1
  // brings the sum to exactly 512.
  ASSERT_TRUE(store->Add(Macro(u"A", 200)).ok());
  ASSERT_TRUE(store->Add(Macro(u"B", 200)).ok());
  rig.mouse.ClearTranscript();
  EXPECT_TRUE(store->Add(Macro(u"C", 60)).Is(Kind::kNoRoom));
  EXPECT_THAT(rig.events.messages, Contains("Str103"));
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_EQ(store->Names().size(), 2u);
  ASSERT_TRUE(store->Add(Macro(u"C", 59)).ok());
  EXPECT_EQ(store->Names().size(), 3u);
  EXPECT_EQ(*store->Address(2), 0x0200 + 436);
}

// The check of a replacement agrees with deleting and adding one by one.
TEST_F(DeviceMacrosI2CTest, AReplacementIsCheckedAsItsDeletesAndAddsWouldBe) {
  const std::vector<LibraryRecord> fits = {Macro(u"A", 200), Macro(u"B", 200), Macro(u"C", 59)};
  EXPECT_TRUE(store->CheckReplacement(0, fits).ok());
  const std::vector<LibraryRecord> too_much = {Macro(u"A", 200), Macro(u"B", 200), Macro(u"C", 60)};
  EXPECT_THAT(store->CheckReplacement(0, too_much).message(),
              HasSubstr("macro \"C\" does not fit"));
  LibraryRecord free_name = Macro(u"D", 1);
  free_name.name[1] = 0xFF;
  EXPECT_THAT(store->CheckReplacement(0, std::vector{free_name}).message(),
              HasSubstr("free place"));
  EXPECT_TRUE(
      store->CheckReplacement(0, std::vector<LibraryRecord>(16, Macro(u"E", 1))).Is(Kind::kFull));
  // Two held; the second replaced by one that fits only once it is gone.
  ASSERT_TRUE(store->Add(Macro(u"A", 200)).ok());
  ASSERT_TRUE(store->Add(Macro(u"B", 200)).ok());
  rig.mouse.ClearTranscript();
  EXPECT_TRUE(store->CheckReplacement(2, std::vector{Macro(u"C", 60)}).Is(Kind::kNoRoom));
  EXPECT_TRUE(store->CheckReplacement(1, std::vector{Macro(u"C", 250)}).ok());
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_EQ(store->Names().size(), 2u);
  // A button code finds the macro it plays.
  char code[9];
  std::snprintf(code, sizeof code, "10%04X00", *store->Address(1));
  EXPECT_EQ(store->ItemPlayedBy(code), 1);
  EXPECT_EQ(store->ItemPlayedBy("01010000"), std::nullopt);
}

TEST_F(DeviceMacrosI2CTest, AMacroEndingInADelayOfZeroKeepsItAndTheNextMacroItsName) {
  // FE 00 00 00: the first three zero bytes begin inside the delay.
  LibraryRecord record = Macro(u"Wait", 0);
  const std::uint8_t events[] = {0x82, 0x04, 0xFE, 0x00, 0x00};
  std::copy(std::begin(events), std::end(events), record.events.begin());
  ASSERT_TRUE(store->Add(record).ok());
  ASSERT_TRUE(store->Add(Macro(u"Next", 1)).ok());
  rig.session.Btn_Read();
  EXPECT_THAT(store->Names(), ElementsAre("Wait", "Next"));
  EXPECT_THAT(store->Lines(0)->lines, ElementsAre("00", "1 A CODE:8204", "0 0"));
  EXPECT_EQ(*store->Address(1), 0x0200 + 16 + 5 + 2);
}

TEST_F(DeviceMacrosI2CTest, TheLoopEndAtOffset255ShowsAsAnExtraLine) {
  // 238 loop ends, then a key down whose opcode would sit at offset 255.
  LibraryRecord record = Macro(u"Long", 239);
  record.events[239] = 0x82;
  record.events[240] = 0x04;
  ASSERT_TRUE(store->Add(record).ok());
  EXPECT_EQ(rig.mouse.Memory()[0x01F0 + 255], 0xFC);
  EXPECT_EQ(rig.mouse.Memory()[0x01F0 + 256], 0x82);
  EXPECT_EQ(store->I2C().lengths[0], 16 + 242 + 2);
  const auto lines = store->Lines(0)->lines;
  EXPECT_EQ(lines.size(), 1u + 240 + 1);
  EXPECT_EQ(lines.back(), "1 A CODE:8204");
}

// 255 event bytes (loop ends) with a key down at event index `at`.
LibraryRecord FullMacro(const std::u16string& name, std::size_t at) {
  LibraryRecord record = Macro(name, 255);
  record.events[at] = 0x82;
  record.events[at + 1] = 0x04;
  return record;
}

TEST_F(DeviceMacrosI2CTest, AMacroThePageRuleWouldMakeLongerThan256BytesIsRefused) {
  ASSERT_TRUE(store->Add(Macro(u"Short", 2)).ok());
  rig.mouse.ClearTranscript();
  // After "Short" (20 bytes) its events begin at offset 36: event 219 lies
  // at offset 255 and would be pushed to 256 behind a loop end.
  const auto outcome = store->Add(FullMacro(u"Full", 219));
  ExpectRefused(rig, outcome, Kind::kRefused, "257");
  EXPECT_THAT(store->Names(), ElementsAre("Short"));
  // Elsewhere on the page boundary the same macro fits.
  ASSERT_TRUE(store->Add(FullMacro(u"Full", 100)).ok());
  rig.session.Btn_Read();
  EXPECT_THAT(store->Names(), ElementsAre("Short", "Full"));
  EXPECT_EQ(store->Lines(1)->lines.size(), 1u + 254);
}

TEST_F(DeviceMacrosI2CTest, ADeleteThatWouldPushAStoredMacroPastTheLimitIsRefused) {
  ASSERT_TRUE(store->Add(Macro(u"Empty", 0)).ok());       // 17 bytes
  ASSERT_TRUE(store->Add(FullMacro(u"Full", 239)).ok());  // event 239 at offset 272
  rig.mouse.ClearTranscript();
  // Deleting "Empty" would move event 239 of "Full" to offset 255.
  const auto outcome = store->Delete(0);
  ExpectRefused(rig, outcome, Kind::kRefused, "Full");
  rig.session.Btn_Read();
  EXPECT_THAT(store->Names(), ElementsAre("Empty", "Full"));
  EXPECT_EQ(store->Lines(1)->lines.size(), 1u + 254);
}

// An area as another program may have left it: a macro of 255 event bytes
// whose key down sits at offset 255 without the loop end before it.
std::vector<std::uint8_t> AreaPastThePageRule() {
  std::vector<std::uint8_t> area(512, 0);
  const auto name = EncodeMacroName(u"Full");
  std::copy(name.begin(), name.end(), area.begin());
  std::fill_n(area.begin() + 16, 255, 0xFC);
  area[255] = 0x82;
  area[256] = 0x04;
  return area;
}

TEST(DeviceMacrosReadTest, AnAreaTheLayoutCannotKeepIsListedAsReadAndSavedUnchanged) {
  auto config = testing::MouseFor(MemoryType::kI2C);
  const auto area = AreaPastThePageRule();
  std::copy(area.begin(), area.end(), config.memory.begin() + 496);
  SessionRig rig{MemoryType::kI2C, config};
  InstallEditors(rig.session);
  rig.session.InitNoDevice();
  rig.Connect();
  DeviceMacros* store = FindDeviceMacros(rig.session);
  EXPECT_THAT(store->Names(), ElementsAre("Full"));
  ASSERT_TRUE(store->Save().ok());
  rig.session.Btn_Read();
  EXPECT_THAT(store->Names(), ElementsAre("Full"));
  EXPECT_EQ(store->Lines(0)->lines.size(), 1u + 254);
  const auto memory = rig.mouse.Memory();
  EXPECT_TRUE(std::equal(area.begin(), area.end(), memory.begin() + 496));
}

TEST_F(DeviceMacrosI2CTest, AnImportWhoseLayoutWouldPassTheRecordLimitIsRefused) {
  ASSERT_TRUE(store->Add(Macro(u"Kept", 2)).ok());
  testing::TempDir dir;
  const std::string file = dir.File("macros.bin");
  testing::TempDir::Write(file, AreaPastThePageRule());
  rig.mouse.ClearTranscript();
  const auto outcome = store->Import(file);
  ExpectRefused(rig, outcome, Kind::kRefused, "257");
  EXPECT_THAT(store->Names(), ElementsAre("Kept"));
}

TEST_P(DeviceMacrosTest, AShortExportFileIsRefusedAndNothingIsWritten) {
  AddMacros(2);
  testing::TempDir dir;
  const std::string file = dir.File("macros.bin");
  ASSERT_TRUE(store->Export(file).ok());
  auto bytes = testing::TempDir::Read(file);
  bytes.pop_back();
  testing::TempDir::Write(file, bytes);
  rig.mouse.ClearTranscript();
  ExpectRefused(rig, store->Import(file), Kind::kFileError, I2C() ? "512" : "8704");
}

TEST(DeviceMacrosFlashTest, ThirtyTwoMacrosOf256BytesFillTheStoreAndReadBack) {
  SessionRig rig{MemoryType::kFlash};
  InstallEditors(rig.session);
  rig.session.InitNoDevice();
  rig.Connect();
  DeviceMacros* store = FindDeviceMacros(rig.session);
  // A "Flash" mouse restored to its defaults lists "Macro1" .. "Macro32",
  // all empty: make room first.
  while (!store->Names().empty()) {
    ASSERT_TRUE(store->Delete(static_cast<int>(store->Names().size()) - 1).ok());
  }
  std::vector<LibraryRecord> records;
  for (std::uint32_t i = 0; i < 32; ++i) {
    testing::RandomMacros random(100 + i);
    const auto macro = random.Macro(255, true);
    LibraryRecord record;
    record.name = EncodeMacroName(Numbered(u'F', i));
    std::copy(macro.events.begin(), macro.events.end(), record.events.begin());
    ASSERT_TRUE(store->Add(record).ok()) << i;
    records.push_back(record);
  }
  EXPECT_TRUE(store->Add(records[0]).Is(Kind::kFull));
  rig.session.Btn_Read();
  ASSERT_EQ(store->Names().size(), 32u);
  const auto memory = rig.mouse.Memory();
  for (std::size_t i = 0; i < 32; ++i) {
    EXPECT_EQ(store->Names()[i], Utf16ToUtf8(Numbered(u'F', i)));
    EXPECT_TRUE(std::equal(records[i].events.begin(), records[i].events.end(),
                           memory.begin() + 0x4000 + 256 * static_cast<std::ptrdiff_t>(i)));
    EXPECT_EQ(*store->Address(static_cast<int>(i)), 0x4000 + 256 * i);
    const auto bytes = EncodeLines(store->Lines(static_cast<int>(i))->lines).value();
    EXPECT_EQ(bytes.size(), 256u);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), records[i].events.begin()));
  }
}

TEST(FireMacroNamingTest, TheFileAtStartUpDecidesHowFireCodesAreNamed) {
  testing::TempDir dir;
  SessionRig rig{MemoryType::kI2C};
  InstallEditors(rig.session);
  DeviceMacros* store = FindDeviceMacros(rig.session);
  const std::string path = dir.File("Fire Macro.bin");
  EXPECT_FALSE(store->LoadFireMacros(path).value());
  ASSERT_TRUE(store->FireMacros().Add({0x0B, 0x12, 0x05, 0x00}).ok());
  EXPECT_FALSE(rig.session.Keys().fire_macro_naming);
  EXPECT_NE(rig.session.NameForCode("0B120500"), "Fire Macro1");
  EXPECT_TRUE(store->LoadFireMacros(path).value());
  EXPECT_EQ(rig.session.NameForCode("0B120500"), "Fire Macro1");
  // A file that is there but cannot be read is told, and still counts as there.
  std::filesystem::create_directories(dir.File("folder.bin"));
  const auto unreadable = store->LoadFireMacros(dir.File("folder.bin"));
  ASSERT_FALSE(unreadable.ok());
  EXPECT_THAT(unreadable.message(), ::testing::HasSubstr("folder.bin"));
  EXPECT_TRUE(rig.session.Keys().fire_macro_naming);
}

}  // namespace
}  // namespace vrdk::macros
