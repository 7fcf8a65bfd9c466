// The recorder: key and button events turned into lines within the budget,
// with delays measured on a clock the test moves.

#include "macros/recorder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vrdk::macros {
namespace {

using ::testing::ElementsAre;
constexpr int kA = 0x41;
constexpr int kB = 0x42;
constexpr int kCtrl = 0x11;

TEST(RecorderTest, APressAndReleaseOfAWithoutDelays) {
  MacroRecorder recorder;
  recorder.Start(DelayMode::kNone, 50);
  recorder.KeyEvent(kA, KeyEventType::kFirstDown, 1000);
  recorder.KeyEvent(kA, KeyEventType::kUp, 1200);
  recorder.Stop();
  EXPECT_THAT(recorder.Text(), ElementsAre("00", "1 A CODE:8204", "2 A CODE:0204"));
  EXPECT_THAT(EncodeLines(recorder.Text()).bytes, ElementsAre(0x82, 0x04, 0x02, 0x04, 0x00));
}

TEST(RecorderTest, TheFirstEventHasNoDelayAndLongPausesAreCapped) {
  MacroRecorder recorder;
  recorder.Start(DelayMode::kRecorded, 50);
  recorder.KeyEvent(kA, KeyEventType::kFirstDown, 5000);
  recorder.KeyEvent(kA, KeyEventType::kUp, 5000 + 70000);
  EXPECT_THAT(recorder.Text(), ElementsAre("10", "1 A CODE:8204", "0 65535", "2 A CODE:0204"));
  EXPECT_EQ(recorder.Used(), 7);
}

TEST(RecorderTest, TheFixedDelayModeWritesItsDelayBetweenEvents) {
  MacroRecorder recorder;
  recorder.Start(DelayMode::kFixed, 150);
  recorder.KeyEvent(kCtrl, KeyEventType::kFirstDown, 1);
  recorder.KeyEvent(kCtrl, KeyEventType::kUp, 9);
  EXPECT_THAT(recorder.Text(),
              ElementsAre("01150", "1 Ctrl CODE:8101", "0 150", "2 Ctrl CODE:0101"));
}

TEST(RecorderTest, AutoRepeatIsOneDownAndASecondKeyIsItsOwn) {
  MacroRecorder recorder;
  recorder.Start(DelayMode::kNone, 50);
  recorder.KeyEvent(kA, KeyEventType::kFirstDown, 0);
  recorder.KeyEvent(kA, KeyEventType::kFurtherDown, 30);
  recorder.KeyEvent(kA, KeyEventType::kFurtherDown, 60);
  recorder.KeyEvent(kB, KeyEventType::kFurtherDown, 90);
  recorder.KeyEvent(0xFF, KeyEventType::kFirstDown, 95);
  EXPECT_THAT(recorder.Text(), ElementsAre("00", "1 A CODE:8204", "1 B CODE:8205"));
}

TEST(RecorderTest, WithTheBudgetUsedAPressIsDroppedAndTheRecordingStops) {
  MacroRecorder recorder;
  recorder.Start(DelayMode::kNone, 50);
  // A press needs the used count below 254 - 4 = 250: the 63rd press comes at
  // 248 and its release brings 252; the 64th press is dropped.
  std::uint32_t now = 0;
  int presses = 0;
  while (!recorder.StopRequested() && presses < 200) {
    recorder.KeyEvent(kA, KeyEventType::kFirstDown, ++now);
    recorder.KeyEvent(kA, KeyEventType::kUp, ++now);
    ++presses;
  }
  EXPECT_TRUE(recorder.Full());
  EXPECT_TRUE(recorder.Refused());
  EXPECT_EQ(recorder.Used(), 252);
  EXPECT_EQ(recorder.Text().size(), 1u + 2 * 63);
  EXPECT_LE(EncodeLines(recorder.Text()).bytes.size(), 256u);
}

TEST(RecorderTest, ButtonNotesAreHandledInTheirFixedOrderAndTheRecordClickIsNot) {
  MacroRecorder recorder;
  recorder.Start(DelayMode::kNone, 50);
  recorder.Note(MouseNote::kBackwardDown, false);
  recorder.Note(MouseNote::kLeftDown, true);  // the click on the stop button
  recorder.Note(MouseNote::kRightUp, false);
  recorder.Note(MouseNote::kRightDown, false);
  recorder.HandleNotes(10);
  EXPECT_THAT(recorder.Text(), ElementsAre("00", "1 RightKey CODE:00A2", "2 RightKey CODE:0022",
                                           "1 Backward CODE:00B0"));
  EXPECT_EQ(recorder.Used(), 3);
}

TEST(RecorderTest, InsertRecordingKeepsTheLinesInOrderAfterTheSelection) {
  MacroRecorder recorder;
  ASSERT_TRUE(recorder.StartInsert({"00", "1 A CODE:8204", "2 A CODE:0204"}, 0, true,
                                   DelayMode::kNone, 50));
  recorder.KeyEvent(kB, KeyEventType::kFirstDown, 1);
  recorder.KeyEvent(kB, KeyEventType::kUp, 2);
  EXPECT_THAT(recorder.Text(), ElementsAre("00", "1 A CODE:8204", "1 B CODE:8205", "2 B CODE:0205",
                                           "2 A CODE:0204"));
  // A macro that leaves no room takes no insertion.
  MacroText full = {"00"};
  for (int i = 0; i < 85; ++i) full.push_back("0 1");
  EXPECT_FALSE(recorder.StartInsert(full, 0, false, DelayMode::kNone, 50));
}

}  // namespace
}  // namespace vrdk::macros
