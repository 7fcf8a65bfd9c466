// The engineer page on the simulated mouse's transcript and memory. The
// default image holds the option bytes BF 1F 7F 4F AF (Vendor 4..8).

#include "engineering/engineer_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "keys/editors/key_assignment.h"
#include "keys/function_codes.h"
#include "support/session_rig.h"

namespace vrdk::engineering {
namespace {

using ::testing::ElementsAre;
using testing::SessionRig;

class EngineerTest : public ::testing::Test {
 protected:
  EngineerTest() { rig.Connect(); }
  std::uint8_t VendorByte(int offset) { return image::Vendor(rig.session.Data())[offset]; }
  SessionRig rig{MemoryType::kI2C};
  EngineerPage page{rig.session};
};

struct OptionCase {
  const char* control;
  int item;
  int byte;
  std::uint8_t expected;
};

class OptionTest : public EngineerTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(OptionTest, ChangesOnlyItsBitsAndSendsTheWholeByte) {
  const OptionCase& c = GetParam();
  const OptionField* field = FindOption(c.control);
  ASSERT_NE(field, nullptr);
  ASSERT_TRUE(page.SetOption(*field, c.item));
  char expected[40];
  std::snprintf(expected, sizeof expected, "> 40 05 00 %02X %02X 00 00 01", c.byte, c.expected);
  EXPECT_THAT(rig.Reports(), ElementsAre(expected));
  EXPECT_EQ(VendorByte(c.byte), c.expected);
  EXPECT_EQ(OptionItemOf(*field, c.expected), c.item);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, OptionTest,
    ::testing::Values(OptionCase{"cb_CPIPrescaleSel", 3, 6, 0x4F},  // "1.33x": bits 5, 4 clear
                      OptionCase{"CPIPrescaleSel", 1, 6, 0x5F},     // "1.12x" 01
                      OptionCase{"cb_SensorRotation", 0, 6, 0x3F},  // "270°" 00
                      OptionCase{"cb_ICType", 3, 4, 0xFF},          // "2290/2280" 11
                      OptionCase{"cb_ICType", 1, 4, 0x7F},          // the second "2270", 01
                      OptionCase{"cb_CPIIndication", 2, 5, 0x3F},   // "Flash" 11
                      OptionCase{"cb_CPISet", 3, 5, 0x13},          // "400,800,1600,2400" 00
                      OptionCase{"cb_Package", 1, 5, 0x9F},
                      OptionCase{"cb_SensorSleep", 0, 7, 0x4D},  // "Enable" clears bit 1
                      OptionCase{"cb_ProfileLEDFlash", 0, 8, 0xAE}));

TEST_F(EngineerTest, EveryOptionItemReadsBackAsItself) {
  for (const OptionField& field : OptionFields()) {
    for (int item = 0; item < field.item_count; ++item) {
      ASSERT_TRUE(page.SetOption(field, item));
      EXPECT_EQ(OptionItemOf(field, VendorByte(field.byte)), item) << field.control;
    }
  }
  EXPECT_FALSE(page.SetOption(*FindOption("cb_CPIIndication"), 3));
}

TEST_F(EngineerTest, ASensorRegisterAboveFFShowsFF) {
  EXPECT_EQ(page.SetSensorRegister(*FindSensorRegister("MaxShut"), "1FF"), "FF");
  EXPECT_EQ(page.SetSensorRegister(*FindSensorRegister("edt_LEDInit1"), "3c"), "3c");
  EXPECT_EQ(page.SetSensorRegister(*FindSensorRegister("edt_Avg_lb_lq"), "zz"), "zz");
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 1F FF 00 00 01", "> 40 05 00 29 3C 00 00 01"));
}

TEST_F(EngineerTest, AProductStringThatIsNotPrintableAsciiIsRefused) {
  const auto before = rig.session.Data();
  EXPECT_FALSE(page.SetProductString("Maus \xC3\xA4"));
  EXPECT_FALSE(page.SetProductString("Tab\there"));
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_EQ(rig.session.Data(), before);
}

TEST_F(EngineerTest, ACombinationBitChangesOnlyItsOwnFunctionsButtons) {
  // The lists stand at 0x00 while the DPI buttons carry 0x08 (the factory
  // image's hold gesture bits).
  page.SetComboItem(ComboFunction::kMiddle, 5);  // 0x10
  EXPECT_EQ(rig.session.Pages().code_texts.profiles[0][6], "01040010");
  EXPECT_EQ(rig.session.Pages().code_texts.profiles[0][7], "09000008");
  EXPECT_EQ(rig.session.Pages().code_texts.profiles[0][4], "01080002");
}

TEST_F(EngineerTest, TheProfileSwitchParametersStartFromTheStoredCodes) {
  page.ShowProfileSwitchFromCodes();  // slot 3 holds 07 81 F0 18
  EXPECT_EQ(rig.session.Keys().offset, 0x018);
  EXPECT_EQ(rig.session.Keys().return_to_zero, 0);
  keys::KeyAssignment(rig.session)
      .AssignCode(keys::KeyTarget::EngineerButton(3, 10), "07E14123", "Profile 2");
  page.ShowProfileSwitchFromCodes();
  EXPECT_EQ(rig.session.Keys().offset, 0x123);
  EXPECT_EQ(rig.session.Keys().return_to_zero, 1);
  EXPECT_EQ(rig.session.Keys().adjust_xy, 1);
  EXPECT_EQ(rig.session.Keys().change_colour, 0);
}

TEST_F(EngineerTest, VidIsSentOnlyWithFourHexDigits) {
  EXPECT_FALSE(page.SetVid("1BC"));
  EXPECT_FALSE(page.SetPid("1BCFF"));
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_TRUE(page.SetVid("1BCF"));
  EXPECT_TRUE(page.SetPid("08b9"));
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 00 1B CF 00 02", "> 40 05 00 02 08 B9 00 02"));
}

TEST_F(EngineerTest, AProductStringIsCutTo16BytesInSixWrites) {
  page.SetProductString("ABCDEFGHIJKLMNOPQRST");
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 6F 41 42 43 03", "> 40 05 00 72 44 45 46 03",
                                         "> 40 05 00 75 47 48 49 03", "> 40 05 00 78 4A 4B 4C 03",
                                         "> 40 05 00 7B 4D 4E 4F 03", "> 40 05 00 7E 50 00 00 01"));
  rig.mouse.ClearTranscript();
  page.SetProductString("Abc");
  const auto reports = rig.Reports();
  ASSERT_EQ(reports.size(), 6u);
  EXPECT_EQ(reports[0], "> 40 05 00 6F 41 62 63 03");
  EXPECT_EQ(reports[1], "> 40 05 00 72 00 00 00 03");
  EXPECT_EQ(reports[5], "> 40 05 00 7E 00 00 00 01");
  EXPECT_EQ(VendorByte(114), 0);
}

struct OffsetCase {
  bool x_axis;
  int n;
  const char* typed;
  const char* shown;
  const char* sent;  // nullptr: nothing
};

class RecoilOffsetTest : public EngineerTest, public ::testing::WithParamInterface<OffsetCase> {};

TEST_P(RecoilOffsetTest, IsCorrectedAndSentAsASignedByte) {
  const OffsetCase& c = GetParam();
  EXPECT_EQ(page.SetRecoilOffset(c.x_axis, c.n, c.typed), c.shown);
  if (c.sent == nullptr) {
    EXPECT_TRUE(rig.Reports().empty());
  } else {
    EXPECT_THAT(rig.Reports(), ElementsAre(c.sent));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, RecoilOffsetTest,
    ::testing::Values(OffsetCase{true, 3, "200", "127", "> 40 05 00 AD 7F 00 00 01"},
                      OffsetCase{false, 10, "-300", "-128", "> 40 05 00 BE 80 00 00 01"},
                      OffsetCase{true, 1, "-5", "-5", "> 40 05 00 AB FB 00 00 01"},
                      OffsetCase{true, 1, "", "0", "> 40 05 00 AB 00 00 00 01"},
                      OffsetCase{true, 1, "-", "-", nullptr},
                      OffsetCase{true, 11, "5", "5", nullptr}));

TEST_F(EngineerTest, ChangedXDataSendsTheSameThreeWrites) {
  page.ChangedXData();
  page.ChangedXData();
  const char* const kWrites[] = {"> 40 01 72 41 01 00 00 00", "> 40 01 72 42 06 00 00 00",
                                 "> 40 01 72 43 01 00 00 00"};
  EXPECT_THAT(rig.Reports(),
              ElementsAre(kWrites[0], kWrites[1], kWrites[2], kWrites[0], kWrites[1], kWrites[2]));
  EXPECT_EQ(rig.mouse.XData(0x7242), 0x06);
}

TEST_F(EngineerTest, XDataReadsBackWhatWasWritten) {
  ASSERT_TRUE(page.WriteXData(0x07C4, 0x5A));
  EXPECT_EQ(page.ReadXData(0x07C4), 0x5A);
}

TEST_F(EngineerTest, CustomerCodesWriteTheFireSectionWhole) {
  EXPECT_THAT(page.SetCustomerCodes(300, 7), ElementsAre(255, 7));
  EXPECT_EQ(rig.Reports()[0], "> 40 07 01 E4 00 0C 00 00");
  EXPECT_EQ(rig.mouse.Memory()[484], 255);
  EXPECT_EQ(rig.mouse.Memory()[485], 7);
  EXPECT_EQ(rig.mouse.Memory()[495], 0xE0);  // the memory type marker stays
}

TEST_F(EngineerTest, ProfileSwitchParametersRewriteTheProfileButtons) {
  keys::KeyAssignment keys(rig.session);
  ASSERT_TRUE(
      keys.AssignMenuEntry(keys::KeyTarget::EngineerButton(2, 11), menu_tag::kProfile1).ok());
  rig.session.Keys().profile_colour_items[0] = 2;
  rig.mouse.ClearTranscript();
  page.SetProfileSwitch(1, 0, 1, 0x1FF0);  // the offset is limited to 0xFFF
  EXPECT_EQ(rig.CountSent("> 40 07 00 C0 00 93"), 1);
  const auto memory = rig.mouse.Memory();
  EXPECT_THAT(std::vector<std::uint8_t>(memory.begin() + 241 + 40, memory.begin() + 241 + 44),
              ElementsAre(0x07, 0xD0, 0x2F, 0xFF));
}

TEST_F(EngineerTest, CombinationBitsRewriteTheirButtonsAndKeepTheOthers) {
  page.ShowComboItemsFromButtons();
  page.SetComboItem(ComboFunction::kMiddle, 3);
  const auto memory = rig.mouse.Memory();
  // Profile 1: button 7 middle gets 0x04; button 5 back keeps 0x02, button 6
  // DPI up keeps 0x08.
  EXPECT_EQ(memory[192 + 24 + 3], 0x04);
  EXPECT_EQ(memory[192 + 16 + 3], 0x02);
  EXPECT_EQ(memory[192 + 20 + 3], 0x08);
  EXPECT_EQ(rig.CountSent("> 40 07 00 C0 00 93"), 1);
}

TEST_F(EngineerTest, NothingIsSentWhileLoading) {
  rig.session.Conn().loading = true;
  page.SetOption(*FindOption("cb_Package"), 1);
  page.SetSensorRegister(*FindSensorRegister("edt_MaxShut"), "10");
  page.SetVid("1BCF");
  page.SetProductString("x");
  page.SetCustomerCodes(1, 2);
  page.SetRecoilOffset(true, 1, "3");
  page.ChangedXData();
  page.SetComboItem(ComboFunction::kBack, 1);
  EXPECT_TRUE(rig.Reports().empty());
}

TEST(EngineerAccessTest, TheFifthDoubleClickAsksAndOnlyTheCodesUnlock) {
  SessionRig rig{MemoryType::kI2C};
  EngineerAccess access(rig.session);
  const EngineerState& state = rig.session.Pages().engineer;
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(access.LogoDoubleClicked(), EngineerAccess::Action::kNothing);
  EXPECT_EQ(access.LogoDoubleClicked(), EngineerAccess::Action::kAskCode);
  access.EnterCode("tarvondqx");
  EXPECT_FALSE(state.unlocked);
  for (int i = 0; i < 4; ++i) access.LogoDoubleClicked();
  EXPECT_EQ(access.LogoDoubleClicked(), EngineerAccess::Action::kAskCode);
  access.EnterCode("TarvondQX");
  EXPECT_TRUE(state.unlocked);
  EXPECT_FALSE(state.revealed);
  EXPECT_EQ(access.LogoDoubleClicked(), EngineerAccess::Action::kLocked);
  EXPECT_FALSE(state.unlocked);
  for (int i = 0; i < 5; ++i) access.LogoDoubleClicked();
  access.EnterCode("TarvondQXKPW");
  EXPECT_TRUE(state.revealed);
}

}  // namespace
}  // namespace vrdk::engineering
