// vrdkctl's lighting, engineer and patch commands against a simulated mouse
// kept in a file: what they store in the mouse across runs, and their
// refusals.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <sstream>

#include "app/sim_lock.h"
#include "cli/vrdkctl.h"
#include "image/checksum.h"
#include "support/temp_dir.h"

namespace vrdk::cli {
namespace {

using ::testing::HasSubstr;
using testing::TempDir;

class EditorCommandsTest : public ::testing::Test {
 protected:
  int Sim(std::vector<std::string> args) {
    args.insert(args.begin(), "--simulate=" + mouse_file_);
    std::ostringstream out, err;
    const int code = RunVrdkctl(args, out, err);
    out_ = out.str();
    err_ = err.str();
    return code;
  }
  std::string Hex(std::size_t at) {
    const auto memory = Memory();
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", memory[at], memory[at + 1], memory[at + 2],
                  memory[at + 3]);
    return text;
  }
  std::vector<std::uint8_t> Memory() { return TempDir::Read(mouse_file_); }

  TempDir dir_;
  std::string mouse_file_ = dir_.File("mouse.bin");
  std::string out_;
  std::string err_;
};

// Profile 1 starts at 192, profile 3 at 290; the slots at 123 + 4 x slot.
constexpr std::size_t kProfile1 = 192;
constexpr std::size_t kProfile3 = 290;
constexpr std::size_t kSlot3 = 135;

TEST_F(EditorCommandsTest, LightingCommandsComposeFromTheLiveSettings) {
  ASSERT_EQ(Sim({"led", "effects", "Rainbow", "Off"}), kExitDone) << err_;
  EXPECT_EQ(Memory()[42], 0x88);   // bits 3 and 7
  EXPECT_EQ(Memory()[165], 0x83);  // the effect in use moved to "Rainbow"
  EXPECT_EQ(Sim({"led", "mode", "Waltz Light"}), kExitRefused);
  EXPECT_THAT(err_, HasSubstr("switched off"));
  EXPECT_EQ(Sim({"led", "mode", "sparkle"}), kExitUsage);
  ASSERT_EQ(Sim({"led", "mode", "off"}), kExitDone) << err_;
  EXPECT_EQ(Memory()[165], 0x87);
  ASSERT_EQ(Sim({"led", "mcu", "--leds", "13", "--scan", "3"}), kExitDone) << err_;
  EXPECT_EQ(Memory()[1017], 0x80);
}

TEST_F(EditorCommandsTest, AMouseFileInUseIsRefusedNamingItsHolderAndChangesNothing) {
  ASSERT_EQ(Sim({"rate", "500"}), kExitDone) << err_;
  const auto before = Memory();
  auto taken = SimulationLock::Take(mouse_file_, "vrdk-mouse", std::chrono::milliseconds(0));
  ASSERT_TRUE(taken.ok()) << taken.message();
  auto window = std::move(taken).value();
  EXPECT_EQ(Sim({"rate", "1000"}), kExitFileError);
  EXPECT_THAT(err_, HasSubstr("is in use by vrdk-mouse (process"));
  EXPECT_EQ(Memory(), before);
  window.reset();
  EXPECT_EQ(Sim({"rate", "1000"}), kExitDone) << err_;
}

TEST_F(EditorCommandsTest, AnNtLightKeepsTwoToEightLeds) {
  ASSERT_EQ(Sim({"led", "type", "NT"}), kExitDone) << err_;
  const auto before = Memory();
  EXPECT_EQ(Sim({"led", "mode", "Random", "--leds", "1"}), kExitUsage);
  EXPECT_THAT(err_, HasSubstr("MCU LED strip"));
  EXPECT_EQ(Memory(), before);
  ASSERT_EQ(Sim({"led", "mode", "Random", "--leds", "3"}), kExitDone) << err_;
  EXPECT_EQ(Memory()[165], 0xA1);
}

TEST_F(EditorCommandsTest, EngineerCommandsChangeOnlyTheirBits) {
  ASSERT_EQ(Sim({"engineer", "option", "CPIPrescaleSel", "1.33x"}), kExitDone) << err_;
  EXPECT_EQ(Memory()[6], 0x4F);
  EXPECT_EQ(Sim({"engineer", "option", "CPIPrescaleSel", "2x"}), kExitUsage);
  EXPECT_EQ(Sim({"engineer", "vid", "1BC"}), kExitUsage);
  EXPECT_EQ(Sim({"engineer", "vid", "12G4"}), kExitUsage);
  EXPECT_EQ(Sim({"engineer", "offset", "x", "3", "abc"}), kExitUsage);
  EXPECT_EQ(Sim({"engineer", "product-string", "Maus \xC3\xA4"}), kExitUsage);
  EXPECT_THAT(err_, HasSubstr("printable ASCII"));
  EXPECT_EQ(Memory()[111], 'H');
  ASSERT_EQ(Sim({"engineer", "offset", "x", "3", "200"}), kExitDone) << err_;
  EXPECT_EQ(Memory()[173], 0x7F);
  ASSERT_EQ(Sim({"engineer", "product-string", "Tiny"}), kExitDone) << err_;
  EXPECT_EQ(Memory()[111], 'T');
  EXPECT_EQ(Memory()[115], 0);
}

TEST_F(EditorCommandsTest, APatchFileClaimingMoreThanItHoldsIsRefused) {
  std::vector<std::uint8_t> patch(16 + 100, 0x11);
  patch[2] = 0x00;
  patch[3] = 0xC8;  // 200 bytes claimed
  TempDir::Write(dir_.File("patch.bin"), patch);
  ASSERT_EQ(Sim({"info"}), kExitDone);
  const auto before = Memory();
  EXPECT_EQ(Sim({"patch", dir_.File("patch.bin")}), kExitFileError);
  EXPECT_THAT(err_, HasSubstr("holds only 100 bytes"));
  EXPECT_EQ(Memory(), before);

  patch[3] = 100;
  TempDir::Write(dir_.File("patch.bin"), patch);
  ASSERT_EQ(Sim({"patch", dir_.File("patch.bin")}), kExitDone) << err_;
  EXPECT_EQ(Memory()[1011], 100);
  EXPECT_EQ(Memory()[1024], 0x11);
}

TEST_F(EditorCommandsTest, ProfileSwitchRewritesKeepTheColourAndOffsetTheMouseHolds) {
  ASSERT_EQ(Sim({"button", "1", "10", "Profile 2"}), kExitDone) << err_;
  ASSERT_EQ(Sim({"led", "profile-color", "2", "5"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile1 + 36), "07814018");  // colour 5, slot 3's offset
  ASSERT_EQ(Sim({"engineer", "profile-switch", "--rtz", "1"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile1 + 36), "07C14018");
  ASSERT_EQ(Sim({"engineer", "profile-switch", "--offset", "123"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile1 + 36), "07C14123");  // return to zero stays
  ASSERT_EQ(Sim({"combo-slot", "3", "Profile 2", "--cc", "1"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kSlot3), "07D14123");
  ASSERT_EQ(Sim({"combo-slot", "3", "Profile 2"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kSlot3), "07C14123");  // --cc shaped that one slot only
  EXPECT_EQ(Hex(kProfile1 + 36), "07C14123");
}

TEST_F(EditorCommandsTest, ADpiLockButtonTakesTheAimStepOfItsOwnProfile) {
  ASSERT_EQ(Sim({"button", "3", "11", "DPI Lock"}), kExitDone) << err_;
  ASSERT_EQ(Sim({"aim", "12"}), kExitDone) << err_;
  ASSERT_EQ(Sim({"button", "3", "12", "DPI Lock"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile3 + 44), "050B0000");
}

TEST_F(EditorCommandsTest, KeyCombinationsFollowTheDialogsRules) {
  ASSERT_EQ(Sim({"button", "1", "10", "A+Win"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile1 + 36), "02080400");
  ASSERT_EQ(Sim({"button", "1", "10", "Ctrl+Shift"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile1 + 36), "02030000");
  ASSERT_EQ(Sim({"button", "1", "10", ""}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile1 + 36), "02000000");
  EXPECT_EQ(Sim({"button", "1", "10", "A+Left Shift"}), kExitUsage);
  EXPECT_THAT(err_, HasSubstr("modifier key"));
  EXPECT_EQ(Sim({"button", "1", "10", "A+B+C"}), kExitUsage);
}

TEST_F(EditorCommandsTest, GestureTogglesNeedTheirMouseButtonOnTheShownProfile) {
  ASSERT_EQ(Sim({"engineer", "button", "1", "7", "Stop"}), kExitDone) << err_;  // no Middle
  EXPECT_EQ(Sim({"gesture", "toggle", "2", "--profile", "1"}), kExitRefused);
  EXPECT_THAT(err_, HasSubstr("no Middle mouse button"));
  ASSERT_EQ(Sim({"gesture", "toggle", "2", "--profile", "3"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile3 + 24), "01040008");
  EXPECT_EQ(Hex(kSlot3 + 4), "07D1F018");
  // Without --profile, the profile the mouse uses (2) is shown: a second
  // click on the same toggle switches the gesture off again.
  ASSERT_EQ(Sim({"gesture", "toggle", "2"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile3 + 24), "01040000");
}

TEST_F(EditorCommandsTest, GestureWordsAreTheGamesGesturesAndTheLightingToggleNeedsBack) {
  for (const char* word :
       {"none", "middle", "dpi", "dpi+", "dpi-", "right+back", "right+forward"}) {
    EXPECT_EQ(Sim({"gesture", "game", word}), kExitDone) << word << ": " << err_;
  }
  EXPECT_EQ(Hex(kSlot3 - 4), "07D1F018");  // right+forward holds slot 2
  EXPECT_EQ(Sim({"gesture", "game", "Middle"}), kExitUsage);
  ASSERT_EQ(Sim({"engineer", "button", "1", "5", "Stop"}), kExitDone) << err_;  // no Back
  EXPECT_EQ(Sim({"gesture", "toggle", "1", "--profile", "1"}), kExitRefused);
  EXPECT_THAT(err_, HasSubstr("no Back mouse button, which toggle 1 needs"));
}

TEST_F(EditorCommandsTest, TheEngineerButtonsSkipTheLeftClickGuard) {
  EXPECT_EQ(Sim({"button", "1", "1", "Right Click"}), kExitRefused);
  ASSERT_EQ(Sim({"engineer", "button", "1", "1", "Right Click"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile1), "01020000");
}

TEST_F(EditorCommandsTest, DestructiveCommandsSayWhatTheyDestroyFirst) {
  EXPECT_EQ(Sim({"engineer", "codes", "1", "2"}), kExitRefused);
  EXPECT_THAT(err_, HasSubstr("--force"));
  EXPECT_EQ(Memory()[484], 0xFF);
  ASSERT_EQ(Sim({"led", "type", "RGB"}), kExitDone) << err_;
  EXPECT_THAT(err_, HasSubstr("every button, DPI level, lighting setting and macro"));
}

TEST_F(EditorCommandsTest, CombinationBitsKeepTheOtherFunctionsBits) {
  // A second DPI loop button with a bit of its own, besides the first one's 0x08.
  ASSERT_EQ(Sim({"engineer", "button", "1", "10", "code:09000001"}), kExitDone) << err_;
  ASSERT_EQ(Sim({"engineer", "combo-bits", "middle", "0x10"}), kExitDone) << err_;
  EXPECT_EQ(Hex(kProfile1 + 36), "09000001");
  EXPECT_EQ(Hex(kProfile1 + 24), "01040010");
  EXPECT_EQ(Hex(kProfile1 + 28), "09000008");  // DPI Loop
  EXPECT_EQ(Hex(kProfile1 + 16), "01080002");  // Backward
}

TEST_F(EditorCommandsTest, DumpShowsTheLightingAndTheDpiCountTheEditorsUse) {
  ASSERT_EQ(Sim({"--json", "dump"}), kExitDone) << err_;
  const auto dump = nlohmann::json::parse(out_);
  const auto& led = dump["led"];
  ASSERT_TRUE(led.contains("effects") && led.contains("breath") && led.contains("mcu"));
  EXPECT_EQ(led["effects"].size(), 7u);
  EXPECT_EQ(led["colors"].size(), 10u);
  EXPECT_TRUE(led["breath"].contains("upper_time"));
  EXPECT_TRUE(led["mcu"].contains("leds"));
  ASSERT_EQ(Sim({"led", "effects", "Rainbow"}), kExitDone) << err_;
  ASSERT_EQ(Sim({"dump"}), kExitDone) << err_;
  EXPECT_THAT(out_, HasSubstr("------, ------, Rainbow, ------"));
  // A count byte above 7 keeps the count shown before: the default image's six.
  auto memory = Memory();
  memory[43] = 0x0C;
  memory[163] = image::SectionChecksum(std::span(memory).first(163));
  TempDir::Write(mouse_file_, memory);
  ASSERT_EQ(Sim({"--json", "dump"}), kExitDone) << err_;
  EXPECT_EQ(nlohmann::json::parse(out_)["dpi"]["levels"], 6);
}

}  // namespace
}  // namespace vrdk::cli
