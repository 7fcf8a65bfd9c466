// The lighting settings, on the simulated mouse's transcript and memory. The
// default image holds an "MCULED" mouse (User byte 1 = 0x84, "Floe Light")
// with all seven effects enabled (Vendor byte 42 = 0xFE).

#include "settings/led_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "keys/editors/key_assignment.h"
#include "keys/function_codes.h"
#include "session/write_roads.h"
#include "settings/pages.h"
#include "support/session_rig.h"

namespace vrdk::settings {
namespace {

using image::LedType;
using ::testing::ElementsAre;
using testing::SessionRig;

class LedTest : public ::testing::Test {
 protected:
  LedTest() {
    InstallSettingsPages(rig.session);
    rig.Connect();
  }
  LedState& Led() { return rig.session.Pages().led; }
  // Shows User byte 1 and Vendor byte 42 as a read of such a mouse would.
  void Show(std::uint8_t mode_byte, std::uint8_t enable_bits) {
    image::User(rig.session.Data())[1] = mode_byte;
    image::Vendor(rig.session.Data())[42] = enable_bits;
    led.ShowFromDataBuf();
  }
  SessionRig rig{MemoryType::kI2C};
  LedEditor led{rig.session};
};

TEST_F(LedTest, TheDefaultImageShowsAnMcuLedWithEveryEffect) {
  EXPECT_EQ(rig.session.Pages().led_type, LedType::kMCULED);
  EXPECT_EQ(Led().effect_item, 3);  // mode 4, "Floe Light"
  EXPECT_THAT(Led().effect_list, ElementsAre("CPI Breath", "Colorful Light", "Rainbow",
                                             "Floe Light", "Waltz Light", "4-Seasons", "Off"));
}

struct ModeCase {
  const char* name;
  LedType type;
  int item;
  int led_count_item;
  std::uint8_t stored;
  LedType reads_as;
  int reads_as_item;
};

class LedModeTest : public LedTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(LedModeTest, TheEffectIsStoredInUserByte1AndReadsBack) {
  const ModeCase& c = GetParam();
  Show(*EncodeLedMode(c.type, 0, 1), 0xFF);
  Led().led_count_item = c.led_count_item;
  ASSERT_TRUE(led.SetEffect(c.item));
  char expected[40];
  std::snprintf(expected, sizeof expected, "> 40 05 00 A5 %02X 00 00 01", c.stored);
  EXPECT_THAT(rig.Reports(), ElementsAre(expected));
  EXPECT_EQ(rig.mouse.Live()[165], c.stored);

  ASSERT_TRUE(led.TakeLiveSettings());
  EXPECT_EQ(rig.session.Pages().led_type, c.reads_as);
  EXPECT_EQ(Led().effect_item, c.reads_as_item);
}

INSTANTIATE_TEST_SUITE_P(
    Types, LedModeTest,
    ::testing::Values(ModeCase{"NtEightLedsCpiBreath", LedType::kNT, 4, 7, 0xF5, LedType::kNT, 4},
                      ModeCase{"NtFixedSkipsMode3", LedType::kNT, 3, 2, 0xA4, LedType::kNT, 3},
                      // One LED would read back as "MCULED": two are stored.
                      ModeCase{"NtOneLedIsStoredAsTwo", LedType::kNT, 1, 0, 0x91, LedType::kNT, 1},
                      ModeCase{"RgbBlend", LedType::kRGB, 4, 0, 0x04, LedType::kRGB, 4},
                      ModeCase{"SyncNoBreath", LedType::kSync, 2, 0, 0x42, LedType::kSync, 2},
                      ModeCase{"McuLedOff", LedType::kMCULED, 6, 0, 0x87, LedType::kMCULED, 6}),
    [](const auto& row) { return std::string(row.param.name); });

// A breathing value goes to the live settings; a later write of the whole
// Vendor section (a gesture, a DPI change) keeps it instead of putting the old
// value back.
TEST_F(LedTest, ABreathingValueOutlastsALaterWriteOfTheVendorSection) {
  led.SetBreathValue(0, 999);
  ASSERT_TRUE(WriteRoads(rig.session).WriteVendorSection());
  EXPECT_EQ(rig.mouse.Memory()[48] << 8 | rig.mouse.Memory()[49], 999);
  EXPECT_EQ(image::BreathValue(rig.session.Data(), 0), 999);
}

TEST_F(LedTest, ChoosingMcuLedEnablesAllSevenEffectsAndRestoresItsDefaults) {
  Show(0x05, 0x01);  // an "RGB" mouse with only "Off"
  ASSERT_TRUE(led.SetLedType(settings::LedTypeOfItem(3)));
  const auto reports = rig.Reports();
  ASSERT_GE(reports.size(), 3u);
  EXPECT_EQ(reports[0], "> 40 05 00 2A FE 00 00 01");
  EXPECT_EQ(reports[1], "> 40 05 00 A5 85 00 00 01");  // "Waltz Light"
  EXPECT_EQ(reports[2], "> 40 07 00 00 08 00 00 00");  // the whole image
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);
  EXPECT_EQ(rig.mouse.Memory()[165], 0x81);  // the "MCULED" default
  EXPECT_EQ(rig.session.Pages().package, 0);
}

TEST_F(LedTest, UncheckingTheEffectInUseMovesToTheFirstEnabledOne) {
  Show(0x05, 0x3F);  // "RGB", "CPI Breath", all six enabled
  led.SetEffectEnabled(0, false);
  led.SetEffectEnabled(5, false);
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 2A 3E 00 00 01", "> 40 05 00 2A 1E 00 00 01",
                                         "> 40 05 00 A5 01 00 00 01"));  // "Random"
  EXPECT_EQ(Led().effect_item, 1);
  EXPECT_EQ(Led().effect_list[0], "------");
  EXPECT_EQ(image::Vendor(rig.session.Data())[42], 0x1E);
}

TEST_F(LedTest, UncheckingEveryEffectWritesZeroAndLeavesTheSelection) {
  Show(0x42, 0x07);  // "Sync", "Sync No-breath"
  for (int i : {2, 0, 1}) led.SetEffectEnabled(i, false);
  const auto reports = rig.Reports();
  EXPECT_EQ(reports.back(), "> 40 05 00 2A 00 00 00 01");
  EXPECT_EQ(rig.CountSent("> 40 05 00 A5"), 2);  // moved twice, then nowhere to go
  EXPECT_FALSE(led.SetEffect(Led().effect_item));
}

TEST_F(LedTest, NtEffectBitsFollowTheirEffectsNotTheirPlaceInTheList) {
  Show(0x94, 0x37);  // "NT": bits 0, 1, 2, 4, 5
  EXPECT_THAT(Led().effect_enabled, ElementsAre(true, true, true, true, true, false, false));
  led.SetEffectEnabled(3, false);  // "Fixed" is bit 4
  EXPECT_THAT(rig.Reports()[0], "> 40 05 00 2A 27 00 00 01");
}

TEST_F(LedTest, ALightingPageLabelKeepsTheTypeAndCountNibble) {
  Show(0x94, 0x37);
  ASSERT_TRUE(led.SetShownEffect(5 - 1));  // "CPI Breath", mode 5
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 A5 95 00 00 01"));
  Show(0x94, 0x27);  // "Fixed" disabled: its label is hidden
  EXPECT_FALSE(led.SetShownEffect(4 - 1));
}

TEST_F(LedTest, StepTimeSegmentsAndBands) {
  led.SetStepTime(5 * 4);
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 38 14 00 00 01"));
  EXPECT_EQ(image::Vendor(rig.session.Data())[56], 20);
  EXPECT_EQ(led.SetStepTime(300), 255);
  EXPECT_EQ(StepTimeBand(23), 5);
  EXPECT_THAT(LitSteps(StepStyle::kProgressBar, 10, StepTimeBand(23)),
              ElementsAre(true, true, true, true, true, false, false, false, false, false));
  EXPECT_THAT(LitSteps(StepStyle::kLever, 10, StepTimeBand(46)),
              ElementsAre(false, false, false, false, false, false, false, false, false, true));
  EXPECT_EQ(StepTimeBand(0), 1);
  EXPECT_EQ(StepTimeBand(45), 9);
}

TEST_F(LedTest, BreathingValuesAreLimitedAndSentHighByteFirst) {
  EXPECT_EQ(led.SetBreathValue(2, 5000), 4094);
  EXPECT_EQ(led.SetBreathValue(1, 70000), 65535);
  EXPECT_EQ(led.SetBreathValue(0, 300), 300);
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 34 0F FE 00 02", "> 40 05 00 32 FF FF 00 02",
                                         "> 40 05 00 30 01 2C 00 02"));
}

TEST_F(LedTest, AnEffectColourGoesToItsThreeBytes) {
  led.SetColour(10, 0x12, 0x34, 0x56);
  EXPECT_EQ(rig.Reports().back(), "> 40 05 00 54 12 34 56 03");
  EXPECT_EQ(image::Vendor(rig.session.Data())[86], 0x56);
}

struct McuCase {
  int step;
  int control;
  int count_item;
  std::uint8_t byte9;
  std::uint8_t checksum;
};

class McuLedTest : public LedTest, public ::testing::WithParamInterface<McuCase> {};

TEST_P(McuLedTest, GoesToTheHeaderAndTheTwoRegisters) {
  const McuCase& c = GetParam();
  ASSERT_TRUE(led.SetMcuLed(c.step, c.control, c.count_item));
  const auto reports = rig.Reports();
  char step_register[40];
  char control_register[40];
  std::snprintf(step_register, sizeof step_register, "> 40 01 07 C4 %02X 00 00 00", c.step);
  std::snprintf(control_register, sizeof control_register, "> 40 01 07 C5 %02X 00 00 00", c.byte9);
  ASSERT_EQ(reports.size(), 6u);  // command, three data reports, then the registers
  EXPECT_EQ(reports[0], "> 40 07 03 F0 00 10 00 00");
  EXPECT_EQ(reports[4], step_register);
  EXPECT_EQ(reports[5], control_register);
  const auto memory = rig.mouse.Memory();
  EXPECT_EQ(memory[1016], c.step);
  EXPECT_EQ(memory[1017], c.byte9);
  EXPECT_EQ(memory[1023], c.checksum);
  EXPECT_EQ(rig.mouse.XData(0x07C5), c.byte9);
}

// Header bytes 10..14 are 0 in the default image, so the checksum is
// (step + byte 9) XOR 0x5A.
INSTANTIATE_TEST_SUITE_P(Strips, McuLedTest,
                         ::testing::Values(McuCase{0, 1, 9, 0x80, 0xDA},    // 13 LEDs, 3-Step
                                           McuCase{7, 0, 0, 0x09, 0x4A},    // 4 LEDs, 6-Step
                                           McuCase{2, 0, 5, 0x04, 0x5C}));  // 9 LEDs

TEST(StepTimeApplies, NotWhileTheLightsAreOff) {
  EXPECT_FALSE(StepTimeApplies(image::LedType::kRGB, 0));     // "Off"
  EXPECT_TRUE(StepTimeApplies(image::LedType::kRGB, 1));      // "Random"
  EXPECT_TRUE(StepTimeApplies(image::LedType::kMCULED, 0));   // "CPI Breath"
  EXPECT_FALSE(StepTimeApplies(image::LedType::kMCULED, 6));  // "Off" comes last
  EXPECT_FALSE(StepTimeApplies(image::LedType::kSync, 3));    // no such effect
  EXPECT_FALSE(StepTimeApplies(image::LedType::kUnknown, 1));
}

TEST(McuLedFlashTest, AFlashMouseStoresNothing) {
  SessionRig rig{MemoryType::kFlash};
  rig.Connect();
  const int shown = rig.session.Pages().led.mcu_step_item;
  EXPECT_FALSE(LedEditor(rig.session).SetMcuLed(shown == 3 ? 4 : 3, 1, 9));
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_EQ(rig.session.Pages().led.mcu_step_item, shown);  // no value the mouse does not hold
}

TEST_F(LedTest, TheSliderSnapsAndCountsStepsFromTheRight) {
  EXPECT_EQ(McuLedSliderStep(-10), 0);
  EXPECT_EQ(McuLedSliderStep(21), 0);
  EXPECT_EQ(McuLedSliderStep(22), 1);
  EXPECT_EQ(McuLedSliderStep(500), 7);
  ASSERT_TRUE(led.SetMcuLedStep(settings::kMcuLedSteps - 1 - settings::McuLedSliderStep(0)));
  EXPECT_EQ(Led().mcu_step_item, 7);
}

TEST_F(LedTest, WithoutTheButtonEffectOptionChoosingAProfileWritesZeroTo167) {
  rig.session.Pages().button_effect_item = 1;
  rig.session.Keys().offset = 0x123;
  led.SetCurrentProfile(1, 10);
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 A7 00 00 00 01", "> 40 05 00 A8 0F 00 00 01",
                                         "> 40 05 00 A9 00 00 00 01", "> 40 05 00 AA 23 00 00 01",
                                         "> 40 05 00 A4 F1 00 00 01"));
}

TEST_F(LedTest, WithTheButtonEffectOptionTheFlashChoiceIsSent) {
  BrandOptions brand;
  brand.button_effect = true;
  rig.session.SetBrandOptions(brand);
  rig.session.Pages().button_effect_item = 1;
  led.SetCurrentProfile(2, 3);
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 A7 01 00 00 01", "> 40 05 00 A8 00 00 00 01",
                                         "> 40 05 00 A9 00 00 00 01", "> 40 05 00 AA 00 00 00 01",
                                         "> 40 05 00 A4 32 00 00 01"));
}

TEST_F(LedTest, AProfileColourRewritesTheButtonsThatSwitchToIt) {
  keys::KeyAssignment keys(rig.session);
  ASSERT_TRUE(
      keys.AssignMenuEntry(keys::KeyTarget::EngineerButton(3, 5), menu_tag::kProfile1 + 1).ok());
  rig.mouse.ClearTranscript();
  led.SetProfileColour(2, 3);
  EXPECT_EQ(rig.CountSent("> 40 07 00 C0 00 93"), 1);
  const auto memory = rig.mouse.Memory();
  // Profile 3, button 5: 07, 0x80 + profile index 1, colour code 3 x 16, offset 0.
  EXPECT_THAT(std::vector<std::uint8_t>(memory.begin() + 290 + 16, memory.begin() + 290 + 20),
              ElementsAre(0x07, 0x81, 0x30, 0x00));
}

TEST_F(LedTest, NothingIsSentWhileLoading) {
  rig.session.Conn().loading = true;
  EXPECT_FALSE(led.SetLedType(settings::LedTypeOfItem(0)));
  EXPECT_FALSE(led.SetEffect(1));
  led.SetStepTime(5 * 3);
  led.SetBreathValue(0, 1);
  led.SetColour(1, 1, 2, 3);
  EXPECT_FALSE(led.SetMcuLed(1, 1, 1));
  led.SetButtonFlash(1);
  led.SetCurrentProfile(0, 0);
  EXPECT_TRUE(rig.Reports().empty());
}

}  // namespace
}  // namespace vrdk::settings
