// The macro recorder: a state machine fed with key events (a virtual key and
// the keyboard component's event type), mouse-button notes and the time in
// milliseconds, that turns them into event lines within a byte budget.
//
// Budget: the used count is the event bytes recorded: 2 per key event, 1 per
// button event and 3 per delay. A key or button press is taken while the used
// count is below (keys) or at most (buttons) the capacity 254 minus a reserve
// (4 with no delays, else 10) that keeps room for releases; a release while
// it is below (keys) or at most (buttons) the capacity. Over all of that, no
// event is taken that would make the macro pass 256 bytes with its end byte:
// a release that fits only without the delay before it is recorded without
// it, so that no key stays pressed. An event that finds no room marks the
// recording full and asks for it to stop, keeping what was recorded.
//
// Auto-repeat of a held key is not recorded; a click on the record button is
// not recorded (the caller says when the pointer is over it). The first event
// has no delay before it; a measured delay above 65535 ms is 65535.
//
// Threads: key events arrive on the window's thread, mouse notes are set by
// the input capture and handled by a worker thread (RecorderWorker). Every
// method takes the recorder's lock, so the lines keep the order in which the
// events were handled and the budget is checked against every line before
// it. The window learns what changed from TakeChanges.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "macros/event_lines.h"

namespace vrdk::macros {

// The keyboard component's event types.
enum class KeyEventType { kFirstDown = 0, kUp = 1, kFurtherDown = 2 };

// The ten mouse notes, in the order a pass handles them.
enum class MouseNote {
  kLeftDown,
  kLeftUp,
  kRightDown,
  kRightUp,
  kMiddleDown,
  kMiddleUp,
  kForwardDown,
  kForwardUp,
  kBackwardDown,
  kBackwardUp
};
inline constexpr int kMouseNotes = 10;

// What the window is told: a line put into the text at `line` (its text
// index; in insert recording the insert position it went to), or the
// recording having used up its budget (the window stops it).
struct RecorderChange {
  enum class Kind { kLineAdded, kFull };
  Kind kind = Kind::kLineAdded;
  std::size_t line = 0;
  std::string text;
};

class MacroRecorder {
 public:
  static constexpr int kCapacity = 254;
  static constexpr int kMaxEventBytes = static_cast<int>(kEventBytes) - 1;  // the end byte follows
  static constexpr std::string_view kFullText =
      "The macro is full: a macro holds at most 256 bytes, its end byte included";

  // Btn_StartClick (start): a new recording over an empty text.
  void Start(DelayMode mode, int fixed_delay);
  // Btn_InsertStartClick: records into `text` after event line `selected`
  // (0-based): before it ("Front") or after it ("Back"). The budget is the
  // room the 256-byte record has left. False (nothing starts) without such a
  // line, with lines that do not encode, or without room.
  bool StartInsert(MacroText text, std::size_t selected, bool back, DelayMode mode,
                   int fixed_delay);
  // Stops taking events; the text stays for the caller to encode.
  void Stop();
  // Btn_CancelClick after an insert recording (running or stopped): stops it
  // and puts the running byte count back to what it was when the insertion
  // started.
  void CancelInsert();

  bool Recording() const;
  bool Inserting() const;
  // Set after an event that used up the budget: the caller stops the
  // recording as if its stop button had been pressed.
  bool StopRequested() const;

  void KeyEvent(int virtual_key, KeyEventType type, std::uint32_t now);
  // The mouse hook: sets a note; the left button's notes are ignored while
  // the pointer is over a record button.
  void Note(MouseNote note, bool over_record_button);
  // One pass of the worker over the notes, in their fixed order. Returns the
  // number of lines it added.
  int HandleNotes(std::uint32_t now);
  // Blocks until a note is waiting or StopWaiting is called; false once
  // StopWaiting was called (until AllowWaiting).
  bool WaitForNotes();
  // Ends the wait of WaitForNotes, now and at every later call.
  void StopWaiting();
  void AllowWaiting();

  MacroText Text() const;
  int Used() const;
  int Running() const;  // bytes recorded since the recorder was made
  bool Full() const;
  bool Refused() const;
  // The changes since the last call, in order.
  std::vector<RecorderChange> TakeChanges();

 private:
  int Reserve() const { return mode_ == DelayMode::kNone ? 4 : 10; }
  bool DelayDue() const { return mode_ != DelayMode::kNone && previous_.has_value(); }
  void EnsureHeader();
  // Emits the line (with its delay when one is due and fits); false when it
  // does not fit the 256 bytes.
  bool Emit(std::string line, int bytes, bool release, std::uint32_t now);
  void Append(std::string line);
  void MarkFull();
  void KeyDown(int virtual_key, KeyEventType type, std::uint32_t now);
  void KeyUp(int virtual_key, std::uint32_t now);

  mutable std::mutex mutex_;
  // A plain condition variable and flag rather than a jthread's stop token:
  // in the MinGW build, stopping a fresh worker through its stop token hung
  // now and then.
  std::condition_variable notes_waiting_;
  bool waiting_stopped_ = false;
  MacroText text_;
  DelayMode mode_ = DelayMode::kRecorded;
  int fixed_delay_ = kDefaultDelay;
  bool recording_ = false;
  bool inserting_ = false;
  std::size_t insert_at_ = 0;  // text index of the next inserted line
  int used_ = 0;
  bool full_ = false;
  bool refused_ = false;
  bool exhausted_ = false;  // a press found no room: nothing more this recording
  int last_key_ = -1;
  int held_ = 0;
  std::optional<std::uint32_t> previous_;
  std::array<bool, kMouseNotes> notes_{};
  int running_ = 0;
  std::optional<int> running_at_insert_;  // kept for CancelInsert
  std::vector<RecorderChange> changes_;
};

// TPThread: a thread that turns the recorder's mouse notes into lines while
// it runs, measuring each delay when the note is handled. It waits for notes
// instead of polling. `changed` is called on the worker thread after a pass
// that added lines (the window posts itself a task that takes the changes).
class RecorderWorker {
 public:
  using Tick = std::function<std::uint32_t()>;
  RecorderWorker(MacroRecorder& recorder, Tick tick, std::function<void()> changed = {});
  ~RecorderWorker() { Stop(); }
  RecorderWorker(const RecorderWorker&) = delete;
  RecorderWorker& operator=(const RecorderWorker&) = delete;

  void Start();
  // Asks the thread to end and waits for it.
  void Stop();
  bool Running() const { return thread_.joinable(); }

 private:
  MacroRecorder& recorder_;
  Tick tick_;
  std::function<void()> changed_;
  std::thread thread_;
};

// The system's tick counter in milliseconds.
std::uint32_t SystemTick();

}  // namespace vrdk::macros
