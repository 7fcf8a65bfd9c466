// The device macro store on the simulated mouse: adding, deleting with the
// buttons re-pointed, writing, export and import, and assigning macros to
// buttons, asserted on the mouse's memory and transcript.

#include "macros/editors/device_macros.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/install.h"
#include "image/code_text.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"

namespace vrdk::macros {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using Kind = StoreOutcome::Kind;
using testing::SessionRig;

// A library macro of `events` event bytes (loop ends), end byte after them.
LibraryRecord Macro(const std::u16string& name, std::size_t events) {
  LibraryRecord record;
  record.name = EncodeMacroName(name);
  std::fill_n(record.events.begin(), events, 0xFC);
  return record;
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
      ASSERT_TRUE(
          store->Add(Macro(u"M" + std::u16string(1, static_cast<char16_t>(u'a' + i)), 3)).ok());
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
  EXPECT_EQ(store->Add(Macro(u"More", 1)).kind, Kind::kFull);
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
  EXPECT_EQ(store->AssignToButton(1, 0).kind, Kind::kRefused);
  EXPECT_EQ(Code(2, 1), "01010000");
}

TEST_P(DeviceMacrosTest, DeletingRePointsButtonsAndFallsBackForTheDeletedMacro) {
  AddMacros(7);
  ASSERT_TRUE(store->AssignToButton(2, 4).ok());  // "Me", deleted below
  ASSERT_TRUE(store->AssignToButton(3, 6).ok());  // "Mg", moves down one
  ASSERT_TRUE(store->Delete(4).ok());
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
  EXPECT_EQ(store->Add(Macro(u"C", 60)).kind, Kind::kNoRoom);
  EXPECT_THAT(rig.events.messages, Contains("Str103"));
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_EQ(store->Names().size(), 2u);
  ASSERT_TRUE(store->Add(Macro(u"C", 59)).ok());
  EXPECT_EQ(store->Names().size(), 3u);
  EXPECT_EQ(*store->Address(2), 0x0200 + 436);
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

TEST(FireMacroNamingTest, TheFileAtStartUpDecidesHowFireCodesAreNamed) {
  testing::TempDir dir;
  SessionRig rig{MemoryType::kI2C};
  InstallEditors(rig.session);
  DeviceMacros* store = FindDeviceMacros(rig.session);
  const std::string path = dir.File("Fire Macro.bin");
  EXPECT_FALSE(store->LoadFireMacros(path).exists);
  ASSERT_FALSE(store->FireMacros().Add({0x0B, 0x12, 0x05, 0x00}));
  EXPECT_FALSE(rig.session.Keys().fire_macro_naming);
  EXPECT_NE(rig.session.NameForCode("0B120500"), "Fire Macro1");
  EXPECT_TRUE(store->LoadFireMacros(path).exists);
  EXPECT_EQ(rig.session.NameForCode("0B120500"), "Fire Macro1");
}

}  // namespace
}  // namespace vrdk::macros
