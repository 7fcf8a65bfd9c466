// The recording's capture on Windows: raw keyboard input (usage page 1,
// usage 6, heard while the program is in the background too) and a
// low-level mouse hook, so that keys and clicks anywhere on the desktop are
// recorded as the macro will play them. The hook runs on the window's
// thread, in its message loop; both hand their events to the sink there.
#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QScreen>
#include <iostream>
#include <vector>

#include "shell/macro_capture.h"

namespace vrdk::shell {
namespace {

using macros::MouseNote;

void ReportRawInputError(const char* part) {
  const DWORD error = GetLastError();
  wchar_t text[256] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                 text, 255, nullptr);
  std::wcerr << L"GetRawInputData error : (" << part << L") : " << error << L"/" << text << L"\n";
}

class DesktopCapture : public QAbstractNativeEventFilter, public RecorderCapture {
 public:
  DesktopCapture(QWidget* window, RecordButtonTest test)
      : window_(window), over_record_button_(std::move(test)) {}
  ~DesktopCapture() override { Stop(); }

  void Start(RecorderSink& sink) override {
    if (sink_ != nullptr) return;
    sink_ = &sink;
    counter_ = {};
    RAWINPUTDEVICE keyboard{};
    keyboard.usUsagePage = 0x01;
    keyboard.usUsage = 0x06;
    keyboard.dwFlags = RIDEV_INPUTSINK;
    keyboard.hwndTarget = reinterpret_cast<HWND>(window_->winId());
    RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard));
    qApp->installNativeEventFilter(this);
    active_ = this;
    hook_ =
        SetWindowsHookExW(WH_MOUSE_LL, &DesktopCapture::MouseHook, GetModuleHandleW(nullptr), 0);
  }

  void Stop() override {
    if (sink_ == nullptr) return;
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    active_ = nullptr;
    RAWINPUTDEVICE keyboard{};
    keyboard.usUsagePage = 0x01;
    keyboard.usUsage = 0x06;
    keyboard.dwFlags = RIDEV_REMOVE;
    RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard));
    qApp->removeNativeEventFilter(this);
    sink_ = nullptr;
  }

  bool nativeEventFilter(const QByteArray& /*type*/, void* message, qintptr* /*result*/) override {
    const auto* msg = static_cast<const MSG*>(message);
    if (sink_ == nullptr || msg->message != WM_INPUT) return false;
    const auto handle = reinterpret_cast<HRAWINPUT>(msg->lParam);
    UINT size = 0;
    if (GetRawInputData(handle, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0) {
      ReportRawInputError("RID_HEADER");
      return false;
    }
    std::vector<BYTE> buffer(size);
    if (GetRawInputData(handle, RID_INPUT, buffer.data(), &size, sizeof(RAWINPUTHEADER)) != size) {
      ReportRawInputError("RID_INPUT");
      return false;
    }
    const auto* input = reinterpret_cast<const RAWINPUT*>(buffer.data());
    if (input->header.dwType != RIM_TYPEKEYBOARD) return false;
    const RAWKEYBOARD& key = input->data.keyboard;
    switch (key.Message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        sink_->RecordKey(key.VKey, counter_.Press());
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        sink_->RecordKey(key.VKey, counter_.Release());
        break;
      default:
        break;
    }
    return false;
  }

 private:
  static LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && active_ != nullptr) {
      active_->Mouse(message, *reinterpret_cast<const MSLLHOOKSTRUCT*>(data));
    }
    return CallNextHookEx(nullptr, code, message, data);  // always passed on
  }

  void Mouse(WPARAM message, const MSLLHOOKSTRUCT& info) {
    std::optional<MouseNote> note;
    const bool first_extra = HIWORD(info.mouseData) == XBUTTON1;  // Backward
    switch (message) {
      case WM_LBUTTONDOWN:
        note = MouseNote::kLeftDown;
        break;
      case WM_LBUTTONUP:
        note = MouseNote::kLeftUp;
        break;
      case WM_RBUTTONDOWN:
        note = MouseNote::kRightDown;
        break;
      case WM_RBUTTONUP:
        note = MouseNote::kRightUp;
        break;
      case WM_MBUTTONDOWN:
        note = MouseNote::kMiddleDown;
        break;
      case WM_MBUTTONUP:
        note = MouseNote::kMiddleUp;
        break;
      case WM_XBUTTONDOWN:
        note = first_extra ? MouseNote::kBackwardDown : MouseNote::kForwardDown;
        break;
      case WM_XBUTTONUP:
        note = first_extra ? MouseNote::kBackwardUp : MouseNote::kForwardUp;
        break;
      default:
        return;
    }
    bool over = false;
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
      // The hook sees device pixels; the window's widgets lie in logical ones.
      const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
      const QPoint at(static_cast<int>(info.pt.x / ratio), static_cast<int>(info.pt.y / ratio));
      const QWidget* under = QApplication::widgetAt(at);
      over = under != nullptr && over_record_button_(under);
    }
    sink_->RecordButton(*note, over);
  }

  static inline DesktopCapture* active_ = nullptr;
  QWidget* window_;
  RecordButtonTest over_record_button_;
  RecorderSink* sink_ = nullptr;
  KeyPressCounter counter_;
  HHOOK hook_ = nullptr;
};

}  // namespace

std::unique_ptr<RecorderCapture> MakeRecorderCapture(QWidget* window,
                                                     RecorderCapture::RecordButtonTest test) {
  return std::make_unique<DesktopCapture>(window, std::move(test));
}

}  // namespace vrdk::shell
