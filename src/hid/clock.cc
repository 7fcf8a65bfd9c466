#include "hid/clock.h"

#include <thread>

namespace vrdk {

void SystemClock::Sleep(Milliseconds duration) { std::this_thread::sleep_for(duration); }

void SystemClock::BusyWait(Microseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
  }
}

Microseconds SystemClock::Now() const {
  return std::chrono::duration_cast<Microseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
}

void SystemClock::Elapse(Microseconds duration) { BusyWait(duration); }

void SystemClock::ProcessMessages() {
  if (pump_) pump_();
}

void CountingClock::Sleep(Milliseconds duration) { Record(WaitKind::kSleep, duration); }

void CountingClock::BusyWait(Microseconds duration) { Record(WaitKind::kBusyWait, duration); }

Microseconds CountingClock::Now() const {
  std::lock_guard lock(mutex_);
  return now_;
}

void CountingClock::ProcessMessages() {
  std::lock_guard lock(mutex_);
  ++pumps_;
}

void CountingClock::Elapse(Microseconds duration) {
  std::lock_guard lock(mutex_);
  now_ += duration;
}

std::vector<CountingClock::Wait> CountingClock::Waits() const {
  std::lock_guard lock(mutex_);
  return waits_;
}

void CountingClock::ClearWaits() {
  std::lock_guard lock(mutex_);
  waits_.clear();
}

void CountingClock::SetRecording(bool on) {
  std::lock_guard lock(mutex_);
  recording_ = on;
}

Microseconds CountingClock::TotalSlept() const {
  std::lock_guard lock(mutex_);
  return slept_;
}

Microseconds CountingClock::TotalBusyWaited() const {
  std::lock_guard lock(mutex_);
  return busy_waited_;
}

std::uint64_t CountingClock::MessagePumps() const {
  std::lock_guard lock(mutex_);
  return pumps_;
}

void CountingClock::Record(WaitKind kind, Microseconds duration) {
  std::lock_guard lock(mutex_);
  now_ += duration;
  (kind == WaitKind::kSleep ? slept_ : busy_waited_) += duration;
  if (recording_) waits_.push_back({kind, duration});
}

}  // namespace vrdk
