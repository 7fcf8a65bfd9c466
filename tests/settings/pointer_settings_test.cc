// The system pointer settings: reading rules, step tables, the switches and
// the Linux mapping, on an in-memory platform and a fake settings service.

#include "settings/pointer_settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "settings/pages.h"
#ifdef __linux__
#include "settings/pointer_platform_linux.h"
#endif
#include "support/environment.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"

namespace vrdk::settings {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
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
  const StepCase wheel[] = {{0, 1}, {1, 1}, {2, 2}, {10, 10}, {11, 11}, {25, 11}, {-5, 11}};
  for (const auto& c : wheel) EXPECT_EQ(WheelStep(c.value), c.step) << c.value;
  const StepCase slider[] = {{-7, 1}, {19, 1}, {20, 2}, {279, 11}, {500, 11}};
  for (const auto& c : slider) EXPECT_EQ(PointerSliderStep(c.value), c.step) << c.value;
}

TEST_F(PointerTest, ASensitivityOf7ShowsStep4AndChoosingItWrites6) {
  Stored(PointerValue::kMouseSensitivity, "7");
  pointer.Refresh();
  EXPECT_EQ(State().speed_step, 4);
  pointer.SetSpeedStep(4);
  EXPECT_EQ(platform.texts[PointerValue::kMouseSensitivity], "6");
}

TEST_F(PointerTest, ADoubleClickOf500ShowsStep7AndChoosingItWrites480) {
  Stored(PointerValue::kDoubleClickSpeed, "500");
  pointer.Refresh();
  EXPECT_EQ(State().double_click_step, 7);
  pointer.SetDoubleClickStep(7);
  EXPECT_EQ(platform.texts[PointerValue::kDoubleClickSpeed], "480");
}

TEST_F(PointerTest, TwentyFiveWheelLinesShowStep11AndChoosingItWrites11) {
  Stored(PointerValue::kWheelScrollLines, "25");
  pointer.Refresh();
  EXPECT_EQ(State().wheel_step, 11);
  pointer.SetWheelStep(11);
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
  pointer.SetWheelStep(5);
  pointer.SetWholeScreen(true);
  EXPECT_EQ(platform.applied.back().wheel_lines, -1);
  EXPECT_FALSE(pointer.SetWheelStep(8));  // the wheel steps are disabled
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
  EXPECT_FALSE(pointer.SetSpeedStep(0));
  EXPECT_FALSE(pointer.SetDoubleClickStep(12));
  EXPECT_TRUE(platform.applied.empty());
}

TEST_F(PointerTest, AReadSeedsTheStepWholeScreenScrollingReturnsTo) {
  Stored(PointerValue::kWheelScrollLines, "6");
  pointer.Refresh();
  pointer.SetWholeScreen(true);
  pointer.SetWholeScreen(false);
  EXPECT_EQ(platform.applied.back().wheel_lines, 6);
  // Across runs: the lines from before whole-screen scrolling are kept.
  pointer.SetWholeScreen(true);
  PointerSettings later(rig.session, platform);
  later.Refresh();
  later.SetWholeScreen(false);
  EXPECT_EQ(platform.applied.back().wheel_lines, 6);
}

TEST_F(PointerTest, ThePageIsShownAgainAfterEveryReadAndASliderReleaseApplies) {
  auto shared = std::make_shared<MemoryPointerPlatform>();
  InstallPointerPage(rig.session, shared);
  shared->texts[PointerValue::kMouseSensitivity] = "3";
  rig.session.DevTimerTimer();  // finds and reads the mouse
  EXPECT_EQ(State().speed_step, 2);
  PointerSettings page(rig.session, *shared);
  EXPECT_TRUE(page.SetDoubleClickStep(PointerSliderStep(46)));  // the third step
  EXPECT_EQ(shared->applied.back().double_click_ms, 760);
  EXPECT_EQ(shared->applied.back().changed, PointerSetting::kDoubleClick);
}

#ifdef __linux__
// A desktop behind its tools: gsettings for GNOME, kreadconfig6 and
// kwriteconfig6 for KDE Plasma (the 5 tools are not installed). Without a
// session bus gsettings "sets" into memory that a later run never sees.
struct FakeDesktop {
  ToolAnswer operator()(const std::vector<std::string>& argv) {
    calls.push_back(argv);
    if (hung != argv[0]) return Answer(argv);
    ToolAnswer ended;
    ended.timed_out = true;
    return ended;
  }
  std::optional<std::string> Answer(const std::vector<std::string>& argv) {
    if (argv[0] == "gsettings" && argv.size() >= 4) {
      if (argv[1] == "set" && argv.size() == 5) {
        if (session_bus) keys[argv[3]] = argv[4];
        ++sets;
        return "";
      }
      const auto at = keys.find(argv[3]);
      return at == keys.end() ? std::nullopt : std::optional(at->second);
    }
    if (argv[0] == "kreadconfig6" && argv.size() == 7) {
      return keys[argv[2] + "/" + argv[4] + "/" + argv[6]];
    }
    if (argv[0] == "kwriteconfig6" && argv.size() == 10 && argv[8] == "--") {
      keys[argv[3] + "/" + argv[5] + "/" + argv[7]] = argv[9];
      ++sets;
      return "";
    }
    return std::nullopt;
  }
  bool session_bus = true;
  std::string hung;  // a tool that never answers in time
  int sets = 0;
  std::map<std::string, std::string> keys;
  std::vector<std::vector<std::string>> calls;
};

class LinuxPointerTest : public PointerTest {
 protected:
  std::string FileText() {
    const auto bytes = TempDir::Read(dir.File("pointer"));
    return std::string(bytes.begin(), bytes.end());
  }
  LinuxPointerPlatform Desktop(const char* name) {
    return LinuxPointerPlatform(dir.File("pointer"), std::ref(desktop), name);
  }
  TempDir dir;
  FakeDesktop desktop;
};

// A desktop tool that hangs is ended after its time and answers nothing;
// one that finishes answers what it printed.
TEST(RunCommandTest, AToolThatHangsIsEndedAfterItsTime) {
  const auto started = std::chrono::steady_clock::now();
  const ToolAnswer hung = RunCommandWithin({"sleep", "30"}, std::chrono::milliseconds(200));
  EXPECT_FALSE(hung.text.has_value());
  EXPECT_TRUE(hung.timed_out);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
  const ToolAnswer answered = RunCommandWithin({"echo", "hi"}, kToolTimeLimit);
  EXPECT_EQ(answered.text, "hi");
  EXPECT_FALSE(answered.timed_out);
  EXPECT_FALSE(RunCommandWithin({"false"}, kToolTimeLimit).timed_out);
}

// A desktop tool that hung is asked once: the settings it could not read
// are named (in the window's language), the kept values stand in for them,
// and a change is reported as not taken at once instead of hanging again.
TEST_F(LinuxPointerTest, ADesktopToolThatHangsIsAskedOnceAndTheUnreadSettingsAreNamed) {
  std::ofstream(dir.File("pointer")) << "MouseSensitivity=4\nDoubleClickSpeed=760\n";
  desktop.hung = "gsettings";
  auto gnome = Desktop("GNOME");
  PointerSettings page(rig.session, gnome);
  page.Refresh();
  EXPECT_EQ(State().speed_step, 3);
  EXPECT_EQ(State().double_click_step, 3);
  EXPECT_EQ(desktop.calls.size(), 1U);
  const auto unread = gnome.ReadProblem();
  ASSERT_TRUE(unread.has_value());
  EXPECT_EQ(unread->tool, "gsettings");
  EXPECT_EQ(unread->settings, (std::vector{PointerSetting::kSpeed, PointerSetting::kAcceleration,
                                           PointerSetting::kDoubleClick}));
  EXPECT_EQ(PointerReadText(*unread, 1),
            "gsettings did not answer within 3 s and was ended: the pointer speed, acceleration, "
            "double-click setting of GNOME could not be read, and the page shows the value this "
            "program kept");
  EXPECT_THAT(PointerReadText(*unread, 2), HasSubstr("速度、加速、雙擊速度"));
  page.SetSpeedStep(6);
  EXPECT_EQ(desktop.calls.size(), 1U);
  EXPECT_FALSE(page.LastApply().taken);
  EXPECT_THAT(page.LastApply().message, HasSubstr("gsettings could not set the pointer speed"));
  EXPECT_THAT(FileText(), HasSubstr("MouseSensitivity=10\n"));

  desktop.hung = "kreadconfig6";
  auto kde = Desktop("KDE");
  PointerSettings plasma(rig.session, kde);
  plasma.Refresh();
  ASSERT_TRUE(kde.ReadProblem().has_value());
  EXPECT_EQ(kde.ReadProblem()->desktop, "KDE");
  EXPECT_EQ(kde.ReadProblem()->settings.size(), 4U);
}

TEST_F(LinuxPointerTest, GnomeIsGivenOnlyTheSettingThatChanged) {
  desktop.keys = {{"speed", "0.3"}, {"accel-profile", "'default'"}, {"double-click", "int32 400"}};
  auto gnome = Desktop("ubuntu:GNOME");
  PointerSettings page(rig.session, gnome);
  page.Refresh();
  EXPECT_TRUE(State().acceleration);  // 'default' is adaptive for mice
  EXPECT_EQ(State().speed_step, 7);
  EXPECT_EQ(State().double_click_step, 9);
  EXPECT_TRUE(page.SetWheelStep(5));
  EXPECT_EQ(desktop.sets, 0);
  EXPECT_FALSE(page.LastApply().taken);
  EXPECT_THAT(page.LastApply().message, HasSubstr("GNOME has no setting for the wheel"));
  EXPECT_EQ(FileText(), "WheelScrollLines=5\nWheelScrollLinesBeforeWholeScreen=5\n");
  page.SetAcceleration(false);
  EXPECT_TRUE(page.LastApply().taken) << page.LastApply().message;
  EXPECT_EQ(desktop.keys["accel-profile"], "flat");
  EXPECT_EQ(desktop.keys["speed"], "0.3");
  EXPECT_EQ(desktop.keys["double-click"], "int32 400");
  EXPECT_EQ(desktop.sets, 1);
}

TEST_F(LinuxPointerTest, AChangeGnomeDidNotTakeIsReportedWithWhereItWasKept) {
  desktop.session_bus = false;
  desktop.keys = {{"speed", "0.0"}};
  auto gnome = Desktop("GNOME");
  PointerSettings page(rig.session, gnome);
  page.Refresh();
  page.SetSpeedStep(3);
  EXPECT_FALSE(page.LastApply().taken);
  EXPECT_THAT(page.LastApply().message, HasSubstr("GNOME did not take the pointer speed"));
  EXPECT_THAT(page.LastApply().message, HasSubstr(dir.File("pointer")));
  EXPECT_EQ(FileText(), "MouseSensitivity=4\n");
}

TEST_F(LinuxPointerTest, KdePlasmaIsToldThroughItsConfigFilesAndReadBack) {
  auto kde = Desktop("KDE");
  PointerSettings page(rig.session, kde);
  page.Refresh();  // keys Plasma never wrote read as its defaults
  EXPECT_EQ(State().speed_step, 6);
  EXPECT_EQ(State().wheel_step, 3);
  EXPECT_TRUE(State().acceleration);
  page.SetSpeedStep(4);
  EXPECT_TRUE(page.LastApply().taken) << page.LastApply().message;
  EXPECT_EQ(desktop.keys["kcminputrc/Mouse/XLbInptPointerAcceleration"], "-0.4");
  page.SetWheelStep(7);
  page.SetDoubleClickStep(11);
  page.SetAcceleration(false);
  EXPECT_EQ(desktop.keys["kdeglobals/KDE/WheelScrollLines"], "7");
  EXPECT_EQ(desktop.keys["kdeglobals/KDE/DoubleClickInterval"], "200");
  EXPECT_EQ(desktop.keys["kcminputrc/Mouse/XLbInptAccelProfileFlat"], "true");
  page.SetWholeScreen(true);
  EXPECT_FALSE(page.LastApply().taken);
  EXPECT_THAT(page.LastApply().message, HasSubstr("no whole-screen"));
}

TEST_F(LinuxPointerTest, AnotherDesktopSaysWhatCannotBeAppliedAndTheFileAnswers) {
  auto other = Desktop("XFCE");
  PointerSettings page(rig.session, other);
  page.SetDoubleClickStep(2);
  EXPECT_FALSE(page.LastApply().taken);
  EXPECT_THAT(page.LastApply().message, HasSubstr("\"XFCE\""));
  EXPECT_THAT(page.LastApply().message, HasSubstr("cannot be applied"));
  EXPECT_TRUE(desktop.calls.empty());
  EXPECT_EQ(other.Read(PointerValue::kDoubleClickSpeed), "830");
}

// Makes a German locale (decimal comma) in `dir`; false where the machine
// has no locale sources.
bool MakeCommaLocale(const TempDir& dir) {
  const std::string command =
      "localedef -i de_DE -f UTF-8 '" + dir.File("de_DE.UTF-8") + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return false;
  vrdk::testing::SetEnv("LOCPATH", dir.File("").c_str());
  return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

TEST_F(LinuxPointerTest, NumbersTravelInTheCLocalesFormUnderACommaLocale) {
  TempDir locales;
  if (!MakeCommaLocale(locales)) GTEST_SKIP() << "no German locale can be made here";
  desktop.keys = {{"speed", "-0.3"}};
  auto gnome = Desktop("GNOME");
  const auto sensitivity = gnome.Read(PointerValue::kMouseSensitivity);
  PointerSettings page(rig.session, gnome);
  page.SetSpeedStep(5);
  std::setlocale(LC_ALL, "C");
  vrdk::testing::UnsetEnv("LOCPATH");
  EXPECT_EQ(sensitivity, "7");
  EXPECT_EQ(desktop.keys["speed"], "-0.2");
}

#endif  // __linux__

}  // namespace
}  // namespace vrdk::settings
