// The system pointer settings: reading rules, step tables, the switches and
// the Linux mapping, on an in-memory platform and a fake settings service.

#include "settings/pointer_settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/pointer_platform_linux.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"

namespace vrdk::settings {
namespace {

using ::testing::ElementsAre;
using testing::SessionRig;
using testing::TempDir;

class PointerTest : public ::testing::Test {
 protected:
  PointerState& State() { return rig.session.Pages().pointer; }
  void Stored(PointerValue value, const std::string& text) { platform.texts[value] = text; }
  SessionRig rig{MemoryType::kI2C};
  MemoryPointerPlatform platform;
  PointerSettings pointer{rig.session, platform};
};

struct StepCase {
  int value;
  int step;
};

TEST(PointerStepTest, StoredValuesShowTheirBands) {
  const StepCase sensitivity[] = {{0, 1}, {1, 1}, {2, 2}, {7, 4}, {19, 10}, {20, 11}, {-3, 11}};
  for (const auto& c : sensitivity) EXPECT_EQ(SensitivityStep(c.value), c.step) << c.value;
  const StepCase double_click[] = {{900, 1}, {5000, 1}, {899, 2}, {830, 2},  {829, 3},
                                   {500, 7}, {480, 7},  {479, 8}, {270, 10}, {269, 11}};
  for (const auto& c : double_click) EXPECT_EQ(DoubleClickStep(c.value), c.step) << c.value;
  const StepCase wheel[] = {{0, 1}, {1, 1}, {2, 2}, {10, 10}, {11, 11}, {25, 11}, {-5, 1}};
  for (const auto& c : wheel) EXPECT_EQ(WheelStep(c.value), c.step) << c.value;
  const StepCase slider[] = {{-7, 1}, {19, 1}, {20, 2}, {279, 11}, {500, 11}};
  for (const auto& c : slider) EXPECT_EQ(PointerSliderStep(c.value), c.step) << c.value;
}

TEST_F(PointerTest, ASensitivityOf7ShowsStep4AndChoosingItWrites6) {
  Stored(PointerValue::kMouseSensitivity, "7");
  pointer.Refresh();
  EXPECT_EQ(State().speed_step, 4);
  pointer.MseSpd_OnClick(4);
  EXPECT_EQ(platform.texts[PointerValue::kMouseSensitivity], "6");
}

TEST_F(PointerTest, ADoubleClickOf500ShowsStep7AndChoosingItWrites480) {
  Stored(PointerValue::kDoubleClickSpeed, "500");
  pointer.Refresh();
  EXPECT_EQ(State().double_click_step, 7);
  pointer.MseDbSpd_OnClick(7);
  EXPECT_EQ(platform.texts[PointerValue::kDoubleClickSpeed], "480");
}

TEST_F(PointerTest, TwentyFiveWheelLinesShowStep11AndChoosingItWrites11) {
  Stored(PointerValue::kWheelScrollLines, "25");
  pointer.Refresh();
  EXPECT_EQ(State().wheel_step, 11);
  pointer.MseScrSpd_OnClick(11);
  EXPECT_EQ(platform.texts[PointerValue::kWheelScrollLines], "11");
}

TEST_F(PointerTest, UnreadableValuesTakeTheirDefaults) {
  Stored(PointerValue::kMouseSensitivity, "fast");
  pointer.Refresh();
  EXPECT_EQ(State().speed_step, 11);
  EXPECT_FALSE(State().acceleration);
  EXPECT_EQ(State().double_click_step, 7);
  EXPECT_EQ(State().wheel_step, 3);
  EXPECT_FALSE(State().whole_screen);
}

TEST_F(PointerTest, AnyAccelerationValueShowsTheSwitchOnAndTheSwitchWritesTheTriple) {
  Stored(PointerValue::kMouseThreshold2, "3");
  pointer.Refresh();
  EXPECT_TRUE(State().acceleration);
  pointer.SetAcceleration(false);
  EXPECT_THAT(platform.applied.back().acceleration, ElementsAre(0, 0, 0));
  pointer.SetAcceleration(true);
  EXPECT_THAT(platform.applied.back().acceleration, ElementsAre(1, 6, 10));
}

TEST_F(PointerTest, WholeScreenOnAndOffReturnsToTheWheelStepChosenBefore) {
  pointer.MseScrSpd_OnClick(5);
  pointer.SetWholeScreen(true);
  EXPECT_EQ(platform.applied.back().wheel_lines, -1);
  EXPECT_FALSE(pointer.MseScrSpd_OnClick(8));  // the wheel steps are disabled
  pointer.SetWholeScreen(false);
  EXPECT_EQ(platform.applied.back().wheel_lines, 5);
  EXPECT_EQ(platform.applied.size(), 3u);
}

TEST_F(PointerTest, ReadingWholeScreenRemembersWheelStep1) {
  Stored(PointerValue::kWheelScrollLines, "-1");
  pointer.Refresh();
  EXPECT_TRUE(State().whole_screen);
  pointer.SetWholeScreen(false);
  EXPECT_EQ(platform.applied.back().wheel_lines, 1);
}

TEST_F(PointerTest, StepsOutOfRangeApplyNothing) {
  EXPECT_FALSE(pointer.MseSpd_OnClick(0));
  EXPECT_FALSE(pointer.MseDbSpd_OnClick(12));
  EXPECT_TRUE(platform.applied.empty());
}

// A GNOME settings service that answers from a map and records every call.
struct FakeGsettings {
  std::optional<std::string> operator()(const std::vector<std::string>& argv) {
    calls.push_back(argv);
    if (!running || argv.size() < 4) return std::nullopt;
    if (argv[1] == "set" && argv.size() == 5) {
      keys[argv[3]] = argv[4];
      return "";
    }
    const auto at = keys.find(argv[3]);
    if (at == keys.end()) return std::nullopt;
    return at->second;
  }
  bool running = true;
  std::map<std::string, std::string> keys;
  std::vector<std::vector<std::string>> calls;
};

TEST(LinuxPointerTest, TheDesktopGivesSpeedAccelerationAndDoubleClick) {
  TempDir dir;
  FakeGsettings gsettings;
  gsettings.keys = {
      {"speed", "-0.3"}, {"accel-profile", "'adaptive'"}, {"double-click", "int32 410"}};
  LinuxPointerPlatform linux_platform(dir.File("pointer"), std::ref(gsettings));
  EXPECT_EQ(linux_platform.Read(PointerValue::kMouseSensitivity), "7");
  EXPECT_EQ(linux_platform.Read(PointerValue::kMouseThreshold1), "6");
  EXPECT_EQ(linux_platform.Read(PointerValue::kDoubleClickSpeed), "410");
  EXPECT_EQ(linux_platform.Read(PointerValue::kWheelScrollLines), std::nullopt);
}

TEST(LinuxPointerTest, ApplyTellsTheDesktopAndKeepsEveryValueInTheFile) {
  TempDir dir;
  FakeGsettings gsettings;
  LinuxPointerPlatform linux_platform(dir.File("sub/pointer"), std::ref(gsettings));
  linux_platform.Apply({16, {0, 0, 0}, 340, -1});
  EXPECT_EQ(gsettings.keys["speed"], "0.6");
  EXPECT_EQ(gsettings.keys["accel-profile"], "flat");
  EXPECT_EQ(gsettings.keys["double-click"], "340");
  EXPECT_EQ(linux_platform.Read(PointerValue::kWheelScrollLines), "-1");
  EXPECT_EQ(linux_platform.Read(PointerValue::kMouseSpeed), "0");

  gsettings.running = false;  // no desktop: the file answers
  EXPECT_EQ(linux_platform.Read(PointerValue::kMouseSensitivity), "16");
  EXPECT_EQ(linux_platform.Read(PointerValue::kDoubleClickSpeed), "340");
}

}  // namespace
}  // namespace vrdk::settings
