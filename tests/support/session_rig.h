// A Session over a simulated mouse on a counting clock, with a face that
// records what the core asked of it. Built for one memory type: the build's
// default images and the mouse's memory are of that type.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "session/session.h"
#include "support/read_backs.h"
#include "support/simulated_rig.h"

namespace vrdk::testing {

class RecordingEvents : public SessionEvents {
 public:
  void ShowMessage(std::string_view key) override {
    messages.emplace_back(key);
    if (on_message) on_message(key);
  }
  void ShowText(std::string_view text) override { ShowMessage(text); }
  void ShowLoading(int done, int total) override {
    ++loading_shows;
    last_progress = {done, total};
  }
  void HideLoading() override { ++loading_hides; }
  void ShowPageCovers(bool shown) override { covers = shown; }
  void RefreshPages() override { ++refreshes; }
  void ConnectionChanged(ConnectionState state) override { states.push_back(state); }
  void ButtonTestsChanged(const ButtonTests& tests) override { button_tests.push_back(tests); }
  void BusyChanged(bool busy) override { busy_changes.push_back(busy); }
  void PostToOwnerThread(std::function<void()> task) override {
    {
      std::lock_guard lock(mutex_);
      posted_.push_back(std::move(task));
    }
    posted_ready_.notify_all();
  }

  // Waits (at most a few seconds of real time) until `count` tasks are
  // waiting, then runs them on this thread. False when they did not come.
  bool RunPosted(std::size_t count) {
    std::deque<std::function<void()>> tasks;
    {
      std::unique_lock lock(mutex_);
      if (!posted_ready_.wait_for(lock, std::chrono::seconds(5),
                                  [&] { return posted_.size() >= count; })) {
        return false;
      }
      tasks.swap(posted_);
    }
    for (auto& task : tasks) task();
    return true;
  }

  std::vector<std::string> messages;
  std::function<void(std::string_view)> on_message;
  int loading_shows = 0;
  int loading_hides = 0;
  std::pair<int, int> last_progress{-1, -1};
  bool covers = false;
  int refreshes = 0;
  std::vector<ConnectionState> states;
  std::vector<ButtonTests> button_tests;
  std::vector<bool> busy_changes;

 private:
  std::mutex mutex_;
  std::condition_variable posted_ready_;
  std::deque<std::function<void()>> posted_;
};

// A counting clock whose message pump can act as a user would while a
// transfer lets the window breathe: on_pump runs once, at the next pump.
class PumpingClock : public CountingClock {
 public:
  void ProcessMessages() override {
    CountingClock::ProcessMessages();
    if (!on_pump) return;
    auto action = std::move(on_pump);
    on_pump = nullptr;
    action();
  }
  std::function<void()> on_pump;
};

inline DefaultImageSet DefaultsFor(MemoryType type) { return *DefaultImageSet::FromResources(type); }

inline SimulatedMouseConfig MouseFor(MemoryType type) {
  SimulatedMouseConfig config;
  config.memory_type = type;
  config.memory = DefaultsFor(type).WorkingImage(1);
  return config;
}

struct SessionRig {
  explicit SessionRig(MemoryType build, SimulatedMouseConfig mouse_config)
      : mouse(clock, std::move(mouse_config)),
        backend(&mouse),
        session(backend, clock, events, DefaultsFor(build)) {
    session.StartUp();
  }
  explicit SessionRig(MemoryType type) : SessionRig(type, MouseFor(type)) {}

  // The first DevTimer tick after start finds and reads the mouse.
  void Connect() {
    session.DevTimerTimer();
    mouse.ClearTranscript();
    clock.ClearWaits();
  }

  // What was sent and received, without the read-back after each write.
  std::vector<std::string> Reports() const { return WithoutReadBacks(TranscriptLines(mouse)); }
  // Everything, read-backs included.
  std::vector<std::string> AllReports() const { return TranscriptLines(mouse); }
  // How many sent reports start with this text ("> 40 09").
  int CountSent(const std::string& prefix) const {
    int count = 0;
    for (const auto& line : Reports()) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
  }
  // Reports that change the mouse: memory and live writes, data reports,
  // XData writes and the restart.
  int CountWrites() const {
    int writes = 0;
    for (const char* prefix : {"> 40 07", "> 40 05", "> 40 01", "> 40 0E", "> 41"}) {
      writes += CountSent(prefix);
    }
    return writes;
  }

  PumpingClock clock;
  SimulatedMouse mouse;
  SimulatedBackend backend;
  RecordingEvents events;
  Session session;
};

}  // namespace vrdk::testing
