// The DPI levels, polling rate and mode-page profile choice, on the simulated
// mouse's transcript.

#include "settings/dpi_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/mode_pages.h"
#include "settings/pages.h"
#include "support/session_rig.h"

namespace vrdk::settings {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::SessionRig;

class DpiTest : public ::testing::Test {
 protected:
  DpiTest() {
    InstallSettingsPages(rig.session);
    rig.Connect();
  }
  DpiState& Dpi() { return rig.session.Pages().dpi; }
  // Sets the working state directly, as a read of such a mouse would.
  void Levels(int count, int selected) {
    Dpi().count = count;
    Dpi().selected = selected;
    Dpi().current = selected;
  }
  SessionRig rig{MemoryType::kI2C};
  DpiEditor dpi{rig.session};
};

TEST_F(DpiTest, ShowingTheDefaultImageFillsTheWorkingState) {
  EXPECT_EQ(Dpi().count, 6);
  EXPECT_THAT(Dpi().values, ElementsAre(3, 6, 8, 9, 10, 11, 0, 0));
  EXPECT_EQ(Dpi().current, 2);
  EXPECT_EQ(Dpi().selected, 5);
  EXPECT_EQ(rig.session.Pages().last_polling_rate_sent, 1000);
}

TEST_F(DpiTest, AStoredIndexThatIsNoValueIsNeverWrittenBack) {
  image::Vendor(rig.session.Data())[45] = 0xD9;  // level 3 index 9, level 4 index 13
  dpi.ShowFromDataBuf();
  EXPECT_EQ(Dpi().values[2], 9);
  EXPECT_EQ(Dpi().values[3], 9);  // kept from the read before
  dpi.SetLevelValue(3, 5 - 1);
  EXPECT_EQ(rig.Reports().front(), "> 40 05 00 2D 94 00 00 01");
}

TEST_F(DpiTest, TheOnlyLevelStaysAndLevelsAreAddedOnlyInOrder) {
  Levels(1, 0);
  EXPECT_FALSE(dpi.AddOrRemoveLevel(1));
  EXPECT_FALSE(dpi.AddOrRemoveLevel(3));
  EXPECT_EQ(Dpi().count, 1);
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_TRUE(dpi.AddOrRemoveLevel(2));
  EXPECT_EQ(Dpi().count, 2);
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 2B 01 00 00 01", "> 40 05 00 2B 01 00 00 01"));
}

TEST_F(DpiTest, RemovingTheSelectedLastLevelSelectsTheOneBefore) {
  Levels(4, 3);
  EXPECT_FALSE(dpi.AddOrRemoveLevel(3));  // not the last one
  EXPECT_TRUE(dpi.AddOrRemoveLevel(4));
  EXPECT_EQ(Dpi().count, 3);
  EXPECT_EQ(Dpi().selected, 2);
  EXPECT_EQ(Dpi().current, 2);
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 2B 02 00 00 01", "> 40 05 00 2B 02 00 00 01"));
  EXPECT_EQ(rig.mouse.Live()[43], 2);
}

TEST_F(DpiTest, APageValueWritesThePairByteThenReselectsTheCurrentLevel) {
  Dpi().values[3] = 8;  // level 4
  Dpi().current = 2;
  dpi.SetLevelValue(3, 10 - 1);  // level 3, segment 10 = index 9
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 2D 89 00 00 01", "> 40 05 00 A6 01 00 00 01",
                                         "> 40 05 00 A6 02 00 00 01"));
  EXPECT_EQ(Dpi().values[2], 9);
  EXPECT_EQ(Dpi().combo_items[2], 9);
}

TEST_F(DpiTest, TheFirstLevelIsReselectedThroughTheSecond) {
  Dpi().current = 0;
  dpi.SetLevelValue(1, settings::SliderStep(15));
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 2C 60 00 00 01", "> 40 05 00 A6 01 00 00 01",
                                         "> 40 05 00 A6 00 00 00 01"));
}

TEST_F(DpiTest, EngineerCombosComposeFromCombosAndLeaveTheWorkingArray) {
  dpi.SetValueFromCombo(3, 5);
  EXPECT_EQ(Dpi().values[2], 8);  // unchanged
  EXPECT_EQ(rig.Reports().front(), "> 40 05 00 2D 95 00 00 01");
  rig.mouse.ClearTranscript();
  // A page edit of level 4 sends the value the working array still holds for level 3.
  dpi.SetLevelValue(4, 2 - 1);
  EXPECT_EQ(rig.Reports().front(), "> 40 05 00 2D 18 00 00 01");
}

TEST(SliderStep, SnapsToTwentyPixelSteps) {
  EXPECT_EQ(SliderStep(-100), 0);
  EXPECT_EQ(SliderStep(15), 0);
  EXPECT_EQ(SliderStep(16), 1);
  EXPECT_EQ(SliderStep(215), 10);
  EXPECT_EQ(SliderStep(216), 11);
}

TEST(LitSegments, LeverLightsOneSegmentAndProgressBarAllUpToIt) {
  const auto lever = LitSegments(StepStyle::kLever, 5);
  const auto bar = LitSegments(StepStyle::kProgressBar, 5);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(lever[static_cast<std::size_t>(i)], i == 5);
    EXPECT_EQ(bar[static_cast<std::size_t>(i)], i <= 5);
  }
  const auto none = LitSegments(StepStyle::kLever, 15);
  EXPECT_TRUE(std::none_of(none.begin(), none.end(), [](bool b) { return b; }));
}

TEST_F(DpiTest, ColoursAreClampedStoredAndWrittenByteByByteThenWhole) {
  dpi.SetColourComponent(2, 1, 300);
  EXPECT_EQ(image::Vendor(rig.session.Data())[87 + 3 + 1], 255);
  rig.mouse.ClearTranscript();
  dpi.SetColour(1, 0x12, 0x34, 0x56);
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 57 12 00 00 01", "> 40 05 00 58 34 00 00 01",
                                         "> 40 05 00 59 56 00 00 01", "> 40 05 00 57 12 34 56 03"));
}

TEST_F(DpiTest, WhileLoadingCountsAndColoursChangeButNothingIsSent) {
  rig.session.Conn().loading = true;
  dpi.SetLevelCount(2);
  dpi.SetColourComponent(1, 0, 7);
  dpi.SetCurrentLevel(0);
  dpi.SetLevelValue(1, 3 - 1);
  dpi.SetPollingRate(125);
  EXPECT_EQ(Dpi().count, 2);
  EXPECT_EQ(image::Vendor(rig.session.Data())[87], 7);
  EXPECT_TRUE(rig.Reports().empty());
}

TEST_F(DpiTest, TheRateAlreadySetIsWrittenWithoutARestart) {
  dpi.SetPollingRate(1000);
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 04 BF 00 00 01"));
  EXPECT_EQ(rig.mouse.Restarts(), 0);
}

TEST_F(DpiTest, ANewRateIsWrittenAndTheMouseRestarts) {
  dpi.SetPollingRate(500);
  EXPECT_EQ(rig.Reports().front(), "> 40 05 00 04 AF 00 00 01");
  EXPECT_EQ(rig.mouse.Restarts(), 1);
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
  EXPECT_EQ(rig.mouse.Memory()[4], 0xAF);
}

TEST_F(DpiTest, ADpiButtonOnTheMouseMovesTheCurrentLevel) {
  ASSERT_TRUE(
      rig.session.Link().WriteLiveBytes(166, 4, 0, 0, 1));  // as the mouse's own button would
  rig.session.StartInputListener();
  rig.mouse.PressButton(ButtonTest::kDpiUp);
  rig.mouse.PressButton(ButtonTest::kReleased);
  ASSERT_TRUE(rig.events.RunPosted(2));
  rig.session.StopInputListener();
  EXPECT_EQ(Dpi().current, 4);
}

struct ModeCase {
  int mode;
  int colour_item;
  const char* live_164;
  std::uint8_t user_byte0;
};

class ModePageTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModePageTest, WritesTheProfileAndStoresUserByteZero) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  rig.session.Pages().profile_colour_item = GetParam().colour_item;
  ASSERT_TRUE(ModePages(rig.session).SelectModePage(GetParam().mode));
  const bool switch_page = GetParam().mode == 2;
  EXPECT_THAT(rig.Reports(),
              ElementsAre("> 40 05 00 A7 00 00 00 01",
                          std::string("> 40 05 00 A8 ") + (switch_page ? "0F" : "00") + " 00 00 01",
                          "> 40 05 00 A9 00 00 00 01",
                          std::string("> 40 05 00 AA ") + (switch_page ? "20" : "00") + " 00 00 01",
                          std::string("> 40 05 00 A4 ") + GetParam().live_164 + " 00 00 01"));
  EXPECT_EQ(image::User(rig.session.Data())[0], GetParam().user_byte0);
  EXPECT_EQ(rig.session.Pages().mode_page, GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(Pages, ModePageTest,
                         ::testing::Values(ModeCase{1, 0, "00", 0x00}, ModeCase{2, 3, "31", 0xF1},
                                           ModeCase{3, 9, "92", 0x02}, ModeCase{1, 10, "F0", 0x00},
                                           ModeCase{2, 10, "F1", 0xF1},
                                           ModeCase{3, 10, "F2", 0x02}));

TEST(ModePages, WithoutAMouseOnlyTheMessageAndInTheNoDeviceStateNothing) {
  SessionRig rig(MemoryType::kI2C);
  EXPECT_FALSE(ModePages(rig.session).SelectModePage(2));
  EXPECT_THAT(rig.events.messages, ElementsAre("Str022"));
  EXPECT_TRUE(rig.Reports().empty());
}

TEST(ModePages, TheButtonEffectChoiceIsSentOnlyWhenTheBrandOffersIt) {
  SessionRig rig(MemoryType::kI2C);
  BrandOptions brand;
  brand.button_effect = true;
  rig.session.SetBrandOptions(brand);
  rig.Connect();
  rig.session.Pages().button_effect_item = 1;
  ASSERT_TRUE(ModePages(rig.session).SelectModePage(3));
  EXPECT_EQ(rig.Reports().front(), "> 40 05 00 A7 01 00 00 01");
}

}  // namespace
}  // namespace vrdk::settings
