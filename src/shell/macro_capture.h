// What a recording hears: the keyboard and the mouse buttons, while it runs.
//
// On Linux the window captures them itself: key presses and releases given to
// the program (turned into virtual keys; they do not reach the window's
// controls meanwhile) and mouse-button presses and releases over the window
// (which still reach the controls, so the record button can stop the
// recording). On Windows raw keyboard input and a low-level mouse hook hear
// them anywhere on the desktop, as the macro will play them.
//
// The keyboard component's event types: a first press, a further press (of
// another key, or the auto-repeat of a held one) and a release.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "macros/recorder.h"

namespace vrdk::shell {

class RecorderSink {
 public:
  virtual ~RecorderSink() = default;
  virtual void RecordKey(int virtual_key, macros::KeyEventType type) = 0;
  // over_record_button: the pointer is over a record button (its left
  // clicks are not recorded).
  virtual void RecordButton(macros::MouseNote note, bool over_record_button) = 0;
};

// The press counter of the keyboard component: a press after a release is a
// first press, any press after that a further one.
class KeyPressCounter {
 public:
  macros::KeyEventType Press() {
    return ++pressed_ == 1 ? macros::KeyEventType::kFirstDown : macros::KeyEventType::kFurtherDown;
  }
  macros::KeyEventType Release() {
    pressed_ = 0;
    return macros::KeyEventType::kUp;
  }

 private:
  int pressed_ = 0;
};

class RecorderCapture {
 public:
  // Whether a widget is one of the record buttons.
  using RecordButtonTest = std::function<bool(const QWidget*)>;
  virtual ~RecorderCapture() = default;
  virtual void Start(RecorderSink& sink) = 0;
  virtual void Stop() = 0;
};

// The platform's capture for a recording over `window`.
std::unique_ptr<RecorderCapture> MakeRecorderCapture(QWidget* window,
                                                     RecorderCapture::RecordButtonTest test);

// The note of a mouse button going down or up; nothing for other buttons.
std::optional<macros::MouseNote> NoteOf(Qt::MouseButton button, bool down);

}  // namespace vrdk::shell
