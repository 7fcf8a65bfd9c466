// vrdkctl's lighting, engineer and patch commands against a simulated mouse
// kept in a file: what they store in the mouse across runs, and their
// refusals.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "cli/vrdkctl.h"
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
    err_ = err.str();
    return code;
  }
  std::vector<std::uint8_t> Memory() { return TempDir::Read(mouse_file_); }

  TempDir dir_;
  std::string mouse_file_ = dir_.File("mouse.bin");
  std::string err_;
};

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

TEST_F(EditorCommandsTest, EngineerCommandsChangeOnlyTheirBits) {
  ASSERT_EQ(Sim({"engineer", "option", "CPIPrescaleSel", "1.33x"}), kExitDone) << err_;
  EXPECT_EQ(Memory()[6], 0x4F);
  EXPECT_EQ(Sim({"engineer", "option", "CPIPrescaleSel", "2x"}), kExitUsage);
  EXPECT_EQ(Sim({"engineer", "vid", "1BC"}), kExitUsage);
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

}  // namespace
}  // namespace vrdk::cli
