// Recording into the library: the record is cleared at the start and the
// lines stored at the stop; insertions wait for OK or Cancel; and the
// recorder fed at once by the window's thread and the worker thread.

#include "macros/recording.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "support/temp_dir.h"

namespace vrdk::macros {
namespace {

using ::testing::ElementsAre;
using testing::TempDir;
constexpr int kA = 0x41;
constexpr int kB = 0x42;

// Counts the worker's passes that added lines, and waits for them.
class Passes {
 public:
  void Count() {
    {
      std::lock_guard lock(mutex_);
      ++count_;
    }
    ready_.notify_all();
  }
  // False when the count did not come within a few seconds, or `give_up`
  // said so first.
  bool WaitFor(
      int count, const std::function<bool()>& give_up = [] { return false; }) {
    std::unique_lock lock(mutex_);
    for (int slice = 0; slice < 500; ++slice) {
      if (ready_.wait_for(lock, std::chrono::milliseconds(10), [&] { return count_ >= count; })) {
        return true;
      }
      if (give_up()) return false;
    }
    return false;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  int count_ = 0;
};

class MacroRecordingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library.Load(dir.File("Macro.bin")).ok());
    ASSERT_TRUE(library.New(u"Rec").ok());
    ASSERT_TRUE(library.SetLines(0, {"00", "8 FC"}).ok());
  }
  MacroText Stored() {
    MacroLibrary reloaded;
    EXPECT_TRUE(reloaded.Load(library.Path()).ok());
    return reloaded.Lines(0)->lines;
  }
  void Press(int vk) {
    recording.Recorder().KeyEvent(vk, KeyEventType::kFirstDown, now += 10);
    recording.Recorder().KeyEvent(vk, KeyEventType::kUp, now += 10);
  }

  TempDir dir;
  MacroLibrary library;
  std::atomic<std::uint32_t> tick{1000};
  Passes passes;
  MacroRecording recording{library, [this] { return tick.load(); }, [this] { passes.Count(); }};
  std::uint32_t now = 0;
};

TEST_F(MacroRecordingTest, StartClearsTheMacroAndStopStoresWhatWasRecorded) {
  ASSERT_TRUE(recording.Start(0, DelayMode::kNone, 50).ok());
  EXPECT_THAT(Stored(), ElementsAre("00"));
  EXPECT_TRUE(recording.Start(0, DelayMode::kNone, 50).Is(ErrorKind::kBusy));
  Press(kA);
  ASSERT_TRUE(recording.Stop().ok());
  EXPECT_THAT(Stored(), ElementsAre("00", "1 A CODE:8204", "2 A CODE:0204"));
  EXPECT_TRUE(recording.Stop().Is(ErrorKind::kBusy));
}

TEST_F(MacroRecordingTest, AButtonIsRecordedWithTheDelayMeasuredWhenTheWorkerTakesIt) {
  ASSERT_TRUE(recording.Start(0, DelayMode::kRecorded, 50).ok());
  recording.Recorder().KeyEvent(kA, KeyEventType::kFirstDown, 1000);
  tick = 1250;
  recording.Recorder().Note(MouseNote::kRightDown, false);
  ASSERT_TRUE(passes.WaitFor(1));
  ASSERT_TRUE(recording.Stop().ok());
  EXPECT_THAT(Stored(), ElementsAre("10", "1 A CODE:8204", "0 250", "1 RightKey CODE:00A2"));
}

TEST_F(MacroRecordingTest, AFullRecordingSaysSoAndKeepsWhatFits) {
  ASSERT_TRUE(recording.Start(0, DelayMode::kRecorded, 50).ok());
  for (int i = 0; i < 200 && !recording.Recorder().StopRequested(); ++i) Press(kA + i % 26);
  const auto changes = recording.Recorder().TakeChanges();
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back().kind, RecorderChange::Kind::kFull);
  EXPECT_EQ(changes.back().text, MacroRecorder::kFullText);
  const MacroText text = recording.Recorder().Text();
  ASSERT_TRUE(recording.Stop().ok());
  // The stored macro shows its header from its delays: all 10 ms.
  const MacroText stored = Stored();
  EXPECT_EQ(stored[0], "0110");
  EXPECT_EQ(MacroText(stored.begin() + 1, stored.end()), MacroText(text.begin() + 1, text.end()));
  EXPECT_GT(text.size(), 90u);
}

TEST_F(MacroRecordingTest, AnInsertionWaitsForOkAndCancelPutsTheRunningCountBack) {
  ASSERT_TRUE(recording.Start(0, DelayMode::kNone, 50).ok());
  Press(kA);
  ASSERT_TRUE(recording.Stop().ok());
  const int running = recording.Recorder().Running();
  // Cancel: the insertion is dropped and the count goes back.
  ASSERT_TRUE(recording.StartInsert(0, 0, true, DelayMode::kNone, 50).ok());
  Press(kB);
  recording.StopInsert();
  EXPECT_EQ(recording.Recorder().Running(), running + 4);
  const auto shown = recording.CancelInsert();
  ASSERT_TRUE(shown);
  EXPECT_THAT(shown->lines, ElementsAre("00", "1 A CODE:8204", "2 A CODE:0204"));
  EXPECT_EQ(recording.Recorder().Running(), running);
  // OK: the recorded lines go in after the selected line, in order.
  ASSERT_TRUE(recording.StartInsert(0, 0, true, DelayMode::kNone, 50).ok());
  Press(kB);
  const auto changes = recording.Recorder().TakeChanges();
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].line, 2u);
  EXPECT_EQ(changes[1].line, 3u);
  recording.StopInsert();
  ASSERT_TRUE(recording.ConfirmInsert().ok());
  EXPECT_THAT(Stored(), ElementsAre("00", "1 A CODE:8204", "1 B CODE:8205", "2 B CODE:0205",
                                    "2 A CODE:0204"));
  EXPECT_TRUE(recording.StartInsert(0, 4, true, DelayMode::kNone, 50).Is(ErrorKind::kNoSuchMacro));
}

// The window's thread presses keys while the input capture clicks the right
// button, each click taken by the worker before the next; the recorder is
// shared by all three threads.
TEST(RecorderThreadsTest, KeysAndButtonsFromTwoThreadsKeepTheirOrderAndTheBudget) {
  MacroRecorder recorder;
  recorder.Start(DelayMode::kRecorded, 50);
  std::atomic<std::uint32_t> tick{0};
  Passes passes;
  RecorderWorker worker(
      recorder, [&] { return tick.fetch_add(1); }, [&] { passes.Count(); });
  worker.Start();
  std::thread capture([&] {
    for (int i = 0; i < 120 && !recorder.StopRequested(); ++i) {
      recorder.Note(i % 2 == 0 ? MouseNote::kRightDown : MouseNote::kRightUp, false);
      if (!passes.WaitFor(i + 1, [&] { return recorder.StopRequested(); })) break;
    }
  });
  // The first click is in before the keys come, the others go along with
  // them.
  const bool clicked = passes.WaitFor(2);
  for (int i = 0; clicked && i < 120 && !recorder.StopRequested(); ++i) {
    const int vk = kA + i % 26;
    recorder.KeyEvent(vk, KeyEventType::kFirstDown, tick.fetch_add(1));
    recorder.KeyEvent(vk, KeyEventType::kUp, tick.fetch_add(1));
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  capture.join();
  worker.Stop();
  recorder.Stop();
  ASSERT_TRUE(clicked);

  const MacroText text = recorder.Text();
  const auto encoded = EncodeLines(text);
  ASSERT_TRUE(encoded.ok()) << encoded.message();
  EXPECT_LE(encoded.value().size(), 256u);
  EXPECT_EQ(recorder.Used() + 1, static_cast<int>(encoded.value().size()));
  // Key lines in the order pressed, button lines alternating down and up.
  std::vector<std::string> keys;
  std::vector<std::string> buttons;
  for (std::size_t n = 1; n < text.size(); ++n) {
    if (text[n].find("RightKey") != std::string::npos) {
      buttons.push_back(text[n]);
    } else if (text[n][0] != '0') {
      keys.push_back(text[n]);
    }
  }
  for (std::size_t n = 0; n < keys.size(); ++n) {
    const std::string name(1, static_cast<char>('A' + n / 2 % 26));
    EXPECT_EQ(LineKeyName(keys[n]), name);
    EXPECT_EQ(keys[n][0], n % 2 == 0 ? '1' : '2');
  }
  for (std::size_t n = 0; n < buttons.size(); ++n) {
    EXPECT_EQ(buttons[n][0], n % 2 == 0 ? '1' : '2');
  }
  EXPECT_FALSE(buttons.empty());
  // The changes the window was told of are the lines, in order.
  std::vector<std::string> told;
  for (const auto& change : recorder.TakeChanges()) {
    if (change.kind == RecorderChange::Kind::kLineAdded) told.push_back(change.text);
  }
  EXPECT_EQ(told, std::vector<std::string>(text.begin() + 1, text.end()));
}

// Each recording starts a worker and each stop ends it: the stop must come
// back whether the worker is waiting, handling a note or just starting. (The
// MinGW build once hung here now and then.)
TEST(RecorderThreadsTest, AWorkerStoppedAtAnyMomentEndsEveryTime) {
  for (int round = 0; round < 1000; ++round) {
    MacroRecorder recorder;
    recorder.Start(DelayMode::kNone, 50);
    Passes passes;
    RecorderWorker worker(
        recorder, [] { return 0u; }, [&] { passes.Count(); });
    worker.Start();
    if (round % 3 != 0) {
      recorder.Note(round % 2 == 0 ? MouseNote::kRightDown : MouseNote::kRightUp, false);
    }
    if (round % 5 == 0) std::this_thread::yield();
    worker.Stop();
    ASSERT_FALSE(worker.Running());
    // Started again, it still takes notes.
    if (round % 100 == 0) {
      worker.Start();
      recorder.Note(MouseNote::kLeftDown, false);
      ASSERT_TRUE(passes.WaitFor(1));
      worker.Stop();
    }
    recorder.Stop();
  }
}

}  // namespace
}  // namespace vrdk::macros
