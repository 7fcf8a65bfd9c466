#include "shell/macro_capture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "shell/virtual_keys.h"

namespace vrdk::shell {

std::optional<macros::MouseNote> NoteOf(Qt::MouseButton button, bool down) {
  using macros::MouseNote;
  switch (button) {
    case Qt::LeftButton:
      return down ? MouseNote::kLeftDown : MouseNote::kLeftUp;
    case Qt::RightButton:
      return down ? MouseNote::kRightDown : MouseNote::kRightUp;
    case Qt::MiddleButton:
      return down ? MouseNote::kMiddleDown : MouseNote::kMiddleUp;
    case Qt::BackButton:  // the first extra button
      return down ? MouseNote::kBackwardDown : MouseNote::kBackwardUp;
    case Qt::ForwardButton:  // the second extra button
      return down ? MouseNote::kForwardDown : MouseNote::kForwardUp;
    default:
      return std::nullopt;
  }
}

#ifndef Q_OS_WIN
namespace {

// The program's own events, seen by an application-wide event filter.
class WindowCapture : public QObject, public RecorderCapture {
 public:
  WindowCapture(QWidget* window, RecordButtonTest test)
      : window_(window), over_record_button_(std::move(test)) {}
  ~WindowCapture() override { Stop(); }

  void Start(RecorderSink& sink) override {
    sink_ = &sink;
    counter_ = {};
    qApp->installEventFilter(this);
  }
  void Stop() override {
    if (sink_ == nullptr) return;
    qApp->removeEventFilter(this);
    sink_ = nullptr;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        return Key(static_cast<QKeyEvent*>(event));
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseButtonRelease:
        Button(watched, static_cast<QMouseEvent*>(event));
        return false;  // the click goes on to the window's controls
      case QEvent::ContextMenu:
        // The Menu key and the right button open no context menu while
        // recording: its pop-up would take the next click, Stop's.
        return true;
      default:
        return false;
    }
  }

 private:
  bool Key(QKeyEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    // An auto-repeated key comes as presses and releases; only the presses
    // count, as further presses.
    if (!press && event->isAutoRepeat()) return true;
    const int virtual_key = VirtualKeyOf(*event);
    if (virtual_key == 0) return true;
    sink_->RecordKey(virtual_key, press ? counter_.Press() : counter_.Release());
    return true;
  }

  void Button(QObject* watched, QMouseEvent* event) {
    // A click from the display comes to the native window first, then to
    // the widget under the pointer: only the widget's copy is counted. A
    // press the widget ignores travels on to its parents: counted once.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != window_) return;
    const Stamp stamp{event->type(), event->button(), event->timestamp()};
    if (stamp == last_) return;
    last_ = stamp;
    const bool down = event->type() != QEvent::MouseButtonRelease;
    if (auto note = NoteOf(event->button(), down)) {
      sink_->RecordButton(*note, over_record_button_(widget));
    }
  }

  struct Stamp {
    QEvent::Type type = QEvent::None;
    Qt::MouseButton button = Qt::NoButton;
    quint64 time = 0;
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };

  QWidget* window_;
  RecordButtonTest over_record_button_;
  RecorderSink* sink_ = nullptr;
  KeyPressCounter counter_;
  Stamp last_;
};

}  // namespace

std::unique_ptr<RecorderCapture> MakeRecorderCapture(QWidget* window,
                                                     RecorderCapture::RecordButtonTest test) {
  return std::make_unique<WindowCapture>(window, std::move(test));
}
#endif

}  // namespace vrdk::shell
