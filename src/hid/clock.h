// The seam through which every wait, sleep and "let the window breathe" of the
// core goes. Production waits for real; the simulated mouse and the tests use
// a CountingClock, which advances its own time and records what was waited.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace vrdk {

using Microseconds = std::chrono::microseconds;
using Milliseconds = std::chrono::milliseconds;

class Clock {
 public:
  virtual ~Clock() = default;

  // Gives up the thread for this long.
  virtual void Sleep(Milliseconds duration) = 0;
  // Spins until this much time has passed (used for the short waits after a
  // response, where a sleep would be far too coarse).
  virtual void BusyWait(Microseconds duration) = 0;
  // A monotonic time since an arbitrary start.
  virtual Microseconds Now() const = 0;
  // Time that passes outside the program, such as a device's transfer latency:
  // real time spins, virtual time just moves on without counting it as a wait.
  virtual void Elapse(Microseconds duration) = 0;
  // Lets the face handle pending window messages (the loading animation,
  // repaints). The core calls it between chunks of long transfers.
  virtual void ProcessMessages() {}
};

// Real time: std::this_thread::sleep_for and a steady-clock spin. A face that
// has a message loop installs its pump with SetMessagePump.
class SystemClock : public Clock {
 public:
  void Sleep(Milliseconds duration) override;
  void BusyWait(Microseconds duration) override;
  Microseconds Now() const override;
  void Elapse(Microseconds duration) override;
  void ProcessMessages() override;

  void SetMessagePump(std::function<void()> pump) { pump_ = std::move(pump); }

 private:
  std::function<void()> pump_;
};

// Virtual time that moves only when somebody waits. Thread-safe, so a device
// model on another thread can read it.
class CountingClock : public Clock {
 public:
  enum class WaitKind { kSleep, kBusyWait };
  struct Wait {
    WaitKind kind;
    Microseconds duration;
    friend bool operator==(const Wait&, const Wait&) = default;
  };

  void Sleep(Milliseconds duration) override;
  void BusyWait(Microseconds duration) override;
  Microseconds Now() const override;
  // Moves time forward without counting it as a wait of the program.
  void Elapse(Microseconds duration) override;
  void ProcessMessages() override;

  // What the program waited, in order (kept while recording is on).
  std::vector<Wait> Waits() const;
  void ClearWaits();
  void SetRecording(bool on);
  Microseconds TotalSlept() const;
  Microseconds TotalBusyWaited() const;
  std::uint64_t MessagePumps() const;

 private:
  void Record(WaitKind kind, Microseconds duration);

  mutable std::mutex mutex_;
  Microseconds now_{0};
  Microseconds slept_{0};
  Microseconds busy_waited_{0};
  std::uint64_t pumps_ = 0;
  bool recording_ = true;
  std::vector<Wait> waits_;
};

}  // namespace vrdk
