// A recording into a macro of the library, as the macro page runs it: the
// record button (Btn_StartClick), the insert panel's record button
// (Btn_InsertStartClick) and its OK and Cancel. Starting clears the macro's
// events; stopping encodes the recorded lines into it and saves the library.
// An insert recording is encoded only when confirmed. The worker thread that
// turns mouse notes into lines runs for as long as a recording does.
#pragma once

#include <functional>
#include <optional>

#include "macros/macro_library.h"
#include "macros/recorder.h"

namespace vrdk::macros {

class MacroRecording {
 public:
  // `changed` is called on the worker thread after it added lines.
  explicit MacroRecording(MacroLibrary& library, RecorderWorker::Tick tick = SystemTick,
                          std::function<void()> changed = {});

  // Starts recording into library macro `index`, whose events are cleared
  // (and the library saved) first.
  Result<void> Start(int index, DelayMode mode, int fixed_delay);
  // Ends the recording and stores its lines in the macro.
  Result<void> Stop();

  // Records into macro `index` after (back) or before event line `selected`
  // (0-based) of its lines as stored.
  Result<void> StartInsert(int index, std::size_t selected, bool back, DelayMode mode,
                           int fixed_delay);
  // Ends the insert recording; the lines wait for ConfirmInsert or
  // CancelInsert.
  void StopInsert();
  // Btn_OKClick for the key items: stores the lines with the insertion.
  Result<void> ConfirmInsert();
  // Btn_CancelClick: drops the insertion, puts the running byte count back
  // and gives the macro's lines as stored.
  std::optional<DecodedMacro> CancelInsert();

  MacroRecorder& Recorder() { return recorder_; }
  // The macro being recorded into, or that an insertion waits for.
  std::optional<int> Index() const { return index_; }

 private:
  MacroLibrary& library_;
  MacroRecorder recorder_;
  RecorderWorker worker_;
  std::optional<int> index_;
};

}  // namespace vrdk::macros
