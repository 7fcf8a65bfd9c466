// Whole transfers over the simulated mouse's faults: reads that lost an
// answer are read again from their start, writes that lost a report are
// started again whole, and what was written is read back.

#include "session/checked_link.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "support/simulated_rig.h"

namespace vrdk {
namespace {

using ::testing::ElementsAre;
using testing::SimulatedRig;

class CheckedLinkTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(rig_.OpenMouse()); }
  // Faults counted from the next transfer.
  void Fail(SimulatedFaults faults) { rig_.mouse.SetFaults(faults); }
  long Next() const { return rig_.mouse.TransferCount(); }
  int Count(const std::string& prefix) const {
    const auto lines = rig_.Reports();
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const auto& line) { return line.rfind(prefix, 0) == 0; }));
  }
  std::vector<Milliseconds> Sleeps() const {
    std::vector<Milliseconds> sleeps;
    for (const auto& wait : rig_.clock.Waits()) {
      if (wait.kind == CountingClock::WaitKind::kSleep) {
        sleeps.push_back(std::chrono::duration_cast<Milliseconds>(wait.duration));
      }
    }
    return sleeps;
  }

  SimulatedRig rig_;
  CheckedLink link_{rig_.link, rig_.clock};
};

TEST_F(CheckedLinkTest, AReadThatLostAnAnswerIsReadAgainFromItsStart) {
  Fail({.drop_answer_from = Next() + 3});
  std::vector<std::uint8_t> bytes(49);
  ASSERT_TRUE(link_.ReadMemory(192, bytes));
  const auto memory = rig_.mouse.Memory();
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), memory.begin() + 192));
  EXPECT_EQ(Count("> 40 09 00 C0 00 31"), 2);
  EXPECT_THAT(Sleeps(), ElementsAre(Milliseconds(50)));
}

TEST_F(CheckedLinkTest, AReadThatLosesAnswersAtEveryTryFailsAfterThree) {
  Fail({.drop_answer_from = Next(), .drop_answer_count = 1000});
  std::vector<std::uint8_t> bytes(14);
  EXPECT_FALSE(link_.ReadMemory(0, bytes));
  EXPECT_EQ(Count("> 40 09"), 3);
  EXPECT_FALSE(link_.ReadLive(0, bytes));
  EXPECT_FALSE(link_.Ask(command::kDeviceInfo));
}

TEST_F(CheckedLinkTest, AWriteWithALostDataReportIsStartedAgainWholeNeverALoneReport) {
  Fail({.fail_data_report_from = Next() + 5});
  std::vector<std::uint8_t> bytes(147, 0x42);
  const WriteCheck check = link_.WriteMemory(192, bytes);
  EXPECT_TRUE(check.whole);
  const auto lines = rig_.Reports();
  // Command and 21 data reports, twice, the first try with one failed report;
  // then the read-back.
  EXPECT_EQ(Count("> 40 07 00 C0 00 93"), 2);
  EXPECT_EQ(Count("> 41 42"), 42);
  EXPECT_EQ(lines[22], "> 40 07 00 C0 00 93 00 00");
  EXPECT_EQ(lines[44], "> 40 09 00 C0 00 93 00 00");
  const auto memory = rig_.mouse.Memory();
  EXPECT_TRUE(
      std::all_of(memory.begin() + 192, memory.begin() + 339, [](auto b) { return b == 0x42; }));
}

TEST_F(CheckedLinkTest, AWriteTheMouseTookButDidNotKeepIsFoundByTheReadBackAndWrittenAgain) {
  // The host sees every report go; the memory keeps one chunk old.
  Fail({.forget_data_report_from = Next() + 2});
  std::vector<std::uint8_t> bytes(28, 0x11);
  const WriteCheck check = link_.WriteMemory(164, bytes);
  EXPECT_TRUE(check.whole);
  // Written, read back, read again after the settle, written again, read back.
  EXPECT_EQ(Count("> 40 07 00 A4 00 1C"), 2);
  EXPECT_EQ(Count("> 40 09 00 A4 00 1C"), 3);
  EXPECT_THAT(Sleeps(), ElementsAre(Milliseconds(20), Milliseconds(50)));
  const auto memory = rig_.mouse.Memory();
  EXPECT_TRUE(
      std::all_of(memory.begin() + 164, memory.begin() + 192, [](auto b) { return b == 0x11; }));
}

TEST_F(CheckedLinkTest, AWriteThatNeverHoldsSaysWhatTheMouseHolds) {
  const auto before = rig_.mouse.Memory();
  Fail({.forget_data_report_from = Next(), .forget_data_report_count = 1000});
  std::vector<std::uint8_t> bytes(12, 0x77);
  const WriteCheck check = link_.WriteMemory(484, bytes);
  EXPECT_FALSE(check.whole);
  ASSERT_TRUE(check.held);
  EXPECT_TRUE(std::equal(check.held->begin(), check.held->end(), before.begin() + 484));
  EXPECT_EQ(Count("> 40 07 01 E4 00 0C"), 3);
}

TEST_F(CheckedLinkTest, AWriteToAMouseThatLeftFailsWithNothingKnown) {
  Fail({.unplug_at_transfer = Next() + 4});
  std::vector<std::uint8_t> bytes(49, 0x01);
  const WriteCheck check = link_.WriteMemory(192, bytes);
  EXPECT_FALSE(check.whole);
  EXPECT_FALSE(check.held);
}

TEST_F(CheckedLinkTest, LiveWritesAreReadBackWhereTheLiveSettingsCanBeRead) {
  const std::array<std::uint8_t, 3> colour{0xFF, 0x80, 0x00};
  EXPECT_TRUE(link_.WriteLive(87, colour).whole);
  const std::array<std::uint8_t, 4> code{0x03, 0x00, 0xCD, 0x00};
  EXPECT_TRUE(link_.WriteLiveQuad(127, code).whole);
  const std::array<std::uint8_t, 1> past{0x05};
  EXPECT_TRUE(link_.WriteLive(200, past).whole);   // no live read reaches 200
  EXPECT_TRUE(link_.WriteLiveTrigger(164, 0x0F));  // an action, not a value
  EXPECT_THAT(rig_.Reports(),
              ElementsAre("> 40 05 00 57 FF 80 00 03", "> 40 06 00 57 00 03 00 00",
                          "< 41 FF 80 00 00 00 00 00", "> 40 05 01 7F 03 00 CD 00",
                          "> 40 06 00 7F 00 04 00 00", "< 41 03 00 CD 00 00 00 00",
                          "> 40 05 00 C8 05 00 00 01", "> 40 05 00 A4 0F 00 00 01"));
}

TEST_F(CheckedLinkTest, AFailedLiveWriteIsSentAgain) {
  Fail({.fail_command_from = Next(), .fail_command_count = 2});
  const std::array<std::uint8_t, 1> level{0x04};
  EXPECT_TRUE(link_.WriteLive(43, level).whole);
  EXPECT_EQ(Count("> 40 05 00 2B 04"), 3);
  EXPECT_EQ(rig_.mouse.Live()[43], 0x04);
  Fail({.fail_command_from = Next(), .fail_command_count = 3});
  EXPECT_FALSE(link_.WriteLive(43, level).whole);
}

TEST_F(CheckedLinkTest, AFaultFreeWriteSendsTheSameReportsAsTheLinkThenTheReadBack) {
  std::vector<std::uint8_t> bytes(12, 0x33);
  ASSERT_TRUE(link_.WriteMemory(484, bytes).whole);
  const auto checked = rig_.Reports();
  rig_.Forget();
  ASSERT_TRUE(rig_.link.WriteMemory(484, 12, bytes));
  const auto plain = rig_.Reports();
  ASSERT_EQ(checked.size(), plain.size() + 3);
  EXPECT_TRUE(std::equal(plain.begin(), plain.end(), checked.begin()));
  EXPECT_EQ(checked[plain.size()], "> 40 09 01 E4 00 0C 00 00");
  EXPECT_TRUE(Sleeps().empty());
}

}  // namespace
}  // namespace vrdk
