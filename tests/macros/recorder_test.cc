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
  EXPECT_THAT(EncodeLines(recorder.Text()).value(), ElementsAre(0x82, 0x04, 0x02, 0x04, 0x00));
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
  EXPECT_LE(EncodeLines(recorder.Text()).value().size(), 256u);
}

// Presses and releases keys until little room is left, then holds keys down
// until one is refused and releases every held key: what a user does who
// keeps typing into a full macro.
void TypeIntoTheLimit(MacroRecorder& recorder) {
  std::uint32_t now = 0;
  std::vector<int> held;
  for (int i = 0; i < 200 && !recorder.Refused(); ++i) {
    const int vk = 0x41 + i % 26;
    recorder.KeyEvent(vk, KeyEventType::kFirstDown, now += 7);
    if (recorder.Used() >= 220) {
      held.push_back(vk);
      break;
    }
    recorder.KeyEvent(vk, KeyEventType::kUp, now += 7);
  }
  for (int vk = 0x30; vk <= 0x39 && !recorder.Refused(); ++vk) {
    recorder.KeyEvent(vk, KeyEventType::kFurtherDown, now += 7);
    held.push_back(vk);
  }
  for (int vk : held) recorder.KeyEvent(vk, KeyEventType::kUp, now += 7);
}

class RecorderBudgetTest : public ::testing::TestWithParam<DelayMode> {};

TEST_P(RecorderBudgetTest, KeysReleasedAtTheLimitKeepTheMacroWithin256Bytes) {
  MacroRecorder recorder;
  recorder.Start(GetParam(), 50);
  TypeIntoTheLimit(recorder);
  EXPECT_TRUE(recorder.StopRequested());
  const auto bytes = EncodeLines(recorder.Text()).value();
  EXPECT_LE(bytes.size(), 256u);
  EXPECT_EQ(recorder.Used() + 1, static_cast<int>(bytes.size()));
  EXPECT_TRUE(EncodeLinesForRecord(recorder.Text()).ok());
}

TEST_P(RecorderBudgetTest, ButtonsHeldAtTheLimitKeepTheMacroWithin256Bytes) {
  MacroRecorder recorder;
  recorder.Start(GetParam(), 50);
  std::uint32_t now = 0;
  while (recorder.Used() < 220) {
    recorder.Note(MouseNote::kRightDown, false);
    recorder.HandleNotes(now += 3);
    recorder.Note(MouseNote::kRightUp, false);
    recorder.HandleNotes(now += 3);
  }
  // Every other button pressed, one pass each, then all released.
  const MouseNote downs[] = {MouseNote::kLeftDown, MouseNote::kMiddleDown, MouseNote::kForwardDown,
                             MouseNote::kBackwardDown, MouseNote::kRightDown};
  for (MouseNote down : downs) {
    recorder.Note(down, false);
    recorder.HandleNotes(now += 3);
  }
  for (MouseNote down : downs) {
    recorder.Note(static_cast<MouseNote>(static_cast<int>(down) + 1), false);
    recorder.HandleNotes(now += 3);
  }
  const auto bytes = EncodeLines(recorder.Text()).value();
  EXPECT_LE(bytes.size(), 256u);
  EXPECT_EQ(recorder.Used() + 1, static_cast<int>(bytes.size()));
}

TEST_P(RecorderBudgetTest, AnInsertionStopsWhereTheRecordEnds) {
  MacroText text = {"00"};
  for (int i = 0; i < 40; ++i) text.push_back("0 1");  // 120 bytes
  MacroRecorder recorder;
  ASSERT_TRUE(recorder.StartInsert(text, 0, true, GetParam(), 50));
  TypeIntoTheLimit(recorder);
  const auto bytes = EncodeLines(recorder.Text()).value();
  EXPECT_LE(bytes.size(), 256u);
  EXPECT_EQ(recorder.Used() + 1, static_cast<int>(bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(Modes, RecorderBudgetTest,
                         ::testing::Values(DelayMode::kRecorded, DelayMode::kFixed,
                                           DelayMode::kNone),
                         [](const auto& mode) {
                           return mode.param == DelayMode::kRecorded ? std::string("RecordDelay")
                                  : mode.param == DelayMode::kFixed  ? std::string("FixedDelay")
                                                                     : std::string("NoDelay");
                         });

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
