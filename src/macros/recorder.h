// The macro recorder: a state machine fed with key events (a virtual key and
// the keyboard component's event type), mouse-button notes and the time in
// milliseconds, that turns them into event lines within a byte budget.
//
// Budget: the used count grows by 2 per key event, 1 per button event and 3
// per delay. A key or button press is taken while the used count is below
// (keys) or at most (buttons) the capacity 254 minus a reserve (4 with no
// delays, else 10) that keeps room for releases; a release while it is below
// (keys) or at most (buttons) the capacity. A press that finds no room marks
// the recording full and refused, and the recording asks to stop.
//
// Auto-repeat of a held key is not recorded; a click on the record button is
// not recorded (the caller says when the pointer is over it). The first event
// has no delay before it; a measured delay above 65535 ms is 65535.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

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

class MacroRecorder {
 public:
  static constexpr int kCapacity = 254;

  // Btn_StartClick (start): a new recording over an empty text.
  void Start(DelayMode mode, int fixed_delay);
  // Btn_InsertStartClick: records into `text` after event line `selected`
  // (0-based): before it ("Front") or after it ("Back"). The budget is the
  // room the 256-byte record has left, so the result always fits.
  bool StartInsert(MacroText text, std::size_t selected, bool back, DelayMode mode,
                   int fixed_delay);
  // Stops taking events; the text stays for the caller to encode.
  void Stop();

  bool Recording() const { return recording_; }
  bool Inserting() const { return inserting_; }
  // Set after an event that used up the budget: the caller stops the
  // recording as if its stop button had been pressed.
  bool StopRequested() const { return recording_ && (used_ > kCapacity || full_); }

  void KeyEvent(int virtual_key, KeyEventType type, std::uint32_t now);
  // The mouse hook: sets a note; the left button's notes are ignored while
  // the pointer is over a record button.
  void Note(MouseNote note, bool over_record_button);
  // One pass of the worker over the notes, in their fixed order.
  void HandleNotes(std::uint32_t now);

  const MacroText& Text() const { return text_; }
  int Used() const { return used_; }
  bool Full() const { return full_; }
  bool Refused() const { return refused_; }

 private:
  int Reserve() const { return mode_ == DelayMode::kNone ? 4 : 10; }
  void EnsureHeader();
  void Emit(std::string line, int bytes, std::uint32_t now);
  void Append(std::string line);

  MacroText text_;
  DelayMode mode_ = DelayMode::kRecorded;
  int fixed_delay_ = kDefaultDelay;
  int capacity_ = kCapacity;
  bool recording_ = false;
  bool inserting_ = false;
  std::size_t insert_at_ = 0;  // text index of the next inserted line
  int used_ = 0;
  bool full_ = false;
  bool refused_ = false;
  int last_key_ = -1;
  int held_ = 0;
  std::optional<std::uint32_t> previous_;
  std::array<bool, kMouseNotes> notes_{};
  int running_ = 0;  // bytes recorded since the program started
};

}  // namespace vrdk::macros
