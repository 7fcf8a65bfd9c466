// The device event listener: a thread that reads the mouse's input reports
// (0x42, sent when its DPI or profile button is pressed) and hands each one to
// the owner thread, which ticks the button-test boxes and reads back.

#include <algorithm>

#include "image/fields.h"
#include "session/session.h"

namespace vrdk {
namespace {

constexpr std::uint8_t kLiveByte22 = 22;
constexpr std::uint8_t kLiveByte24 = 24;

}  // namespace

void Session::NotifyInputHandleChanged() {
  {
    std::lock_guard lock(listener_mutex_);
    ++input_generation_;
  }
  listener_wake_.notify_all();
}

void Session::StartInputListener() {
  if (listener_.joinable()) return;
  {
    std::lock_guard lock(listener_mutex_);
    listener_stop_ = false;
  }
  listener_ = std::thread([this] { ListenForInput(); });
}

void Session::StopInputListener() {
  if (!listener_.joinable()) return;
  {
    std::lock_guard lock(listener_mutex_);
    listener_stop_ = true;
  }
  listener_wake_.notify_all();
  backend_.InterruptReads();
  listener_.join();
}

void Session::ListenForInput() {
  for (;;) {
    std::uint64_t generation;
    {
      std::unique_lock lock(listener_mutex_);
      if (listener_stop_) return;
      generation = input_generation_;
    }
    std::array<std::uint8_t, 4> report{};
    if (link_.InputHandle() != kInvalidHandle && link_.ReadInputReport(report)) {
      if (report[0] == kInputReportId) {
        events_.PostToOwnerThread([this, report] { HandleInputReport(report); });
      }
      continue;
    }
    // No handle, or it failed (the mouse left): wait until the handles change.
    std::unique_lock lock(listener_mutex_);
    listener_wake_.wait(lock, [&] { return listener_stop_ || input_generation_ != generation; });
  }
}

void Session::RefreshCurrentDPIStatus() {
  std::array<std::uint8_t, 1> level{};
  const bool flash = ActiveMemoryType() == MemoryType::kFlash;
  const int address = static_cast<int>((flash ? image::flash::kUser : image::i2c::kUser) + 2);
  if (!checked_.ReadMemory(address, level) || level[0] >= DpiState::kLevels) return;
  pages_.dpi.current = level[0];
  pages_.dpi.selected = level[0];
}

void Session::HandleInputReport(std::array<std::uint8_t, 4> report) {
  if (report[0] != kInputReportId) return;
  const std::uint8_t code = report[3];
  auto& tests = pages_.button_tests;
  switch (static_cast<ButtonTest>(code)) {
    case ButtonTest::kDpi:
      tests.dpi = true;
      break;
    case ButtonTest::kDpiUp:
      tests.dpi_up = true;
      break;
    case ButtonTest::kDpiDown:
      tests.dpi_down = true;
      break;
    case ButtonTest::kProfile:
      tests.profile = true;
      break;
    case ButtonTest::kReleased:
      break;
  }
  const bool known = code == 1 || code == 2 || code == 4 || code == 8;
  std::uint8_t released = 0;
  if (known) {
    pressed_ = static_cast<std::uint8_t>(pressed_ | code);
    events_.ButtonTestsChanged(tests);
  } else if (code == 0) {
    if (pressed_ & 1) tests.dpi = false;
    if (pressed_ & 2) tests.dpi_up = false;
    if (pressed_ & 4) tests.dpi_down = false;
    events_.ButtonTestsChanged(tests);
    released = pressed_;
    pressed_ = 0;
  }
  // The reads that follow a report wait for a transfer that is running.
  RunWhenIdle([this, released] { ReadBackAfterInput(released); });
}

void Session::ReadBackAfterInput(std::uint8_t released) {
  const Operation operation(*this);
  if (!operation) return;
  if (released & 7) {
    clock_.Sleep(kAfterRelease);
    RefreshCurrentDPIStatus();
    events_.RefreshPages();
  }
  if (released & 8) {
    // The mouse has switched profile: read the current profile back from its
    // memory and show it.
    clock_.Sleep(kAfterRelease);
    std::array<std::uint8_t, 1> current{};
    const bool flash = ActiveMemoryType() == MemoryType::kFlash;
    const int address = static_cast<int>(flash ? image::flash::kUser : image::i2c::kUser);
    if (checked_.ReadMemory(address, current) && current[0] != 0xFF) {
      image::Set(buffers_.data_buf, image::field::kProfileByte, current[0]);
      const int profile = image::Get(buffers_.data_buf, image::field::kCurrentProfile);
      if (profile <= 2) pages_.mode_page = profile + 1;
      events_.RefreshPages();
    }
    pages_.button_tests.profile = false;
    events_.ButtonTestsChanged(pages_.button_tests);
  }
  std::array<std::uint8_t, 1> unused{};
  link_.ReadLive(kLiveByte22, 1, unused);
  link_.ReadLive(kLiveByte24, 1, unused);
}

}  // namespace vrdk
