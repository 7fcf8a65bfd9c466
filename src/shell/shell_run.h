// Everything one run of the window holds besides the window itself: the bus
// (the real hidraw bus or the simulated mouse, traced or not), the clock and
// the Session with every editor installed, assembled as vrdkctl assembles its
// own. Plain C++: the window hands in its SessionEvents and message pump.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/face_session.h"
#include "hid/clock.h"
#include "settings/pointer_platform.h"
#include "shell/options.h"

namespace vrdk::shell {

class ShellRun {
 public:
  explicit ShellRun(ShellOptions options) : options_(std::move(options)) {}
  ~ShellRun();
  ShellRun(const ShellRun&) = delete;
  ShellRun& operator=(const ShellRun&) = delete;

  // Builds the bus and the Session; false with Error() set when a file
  // cannot be read or the default images are missing. The brand options'
  // problems are in BrandErrors().
  bool Prepare(SessionEvents& events);
  // The clock lets the window breathe between chunks through `pump`.
  void SetMessagePump(std::function<void()> pump) { clock_.SetMessagePump(std::move(pump)); }
  // Writes the simulated mouse's memory back; false with Error() when it fails.
  bool Finish() { return face_.Finish(); }

  Session& GetSession() { return face_.GetSession(); }
  // The system's pointer settings, shown again after every read.
  settings::PointerPlatform* Pointer() { return pointer_; }
  SimulatedMouse* Mouse() { return face_.Mouse(); }
  const std::string& Error() const { return face_.Error(); }
  const std::vector<BrandOptionError>& BrandErrors() const { return face_.BrandErrors(); }
  const ShellOptions& Options() const { return options_; }

 private:
  ShellOptions options_;
  SystemClock clock_;
  FaceSession face_;
  settings::PointerPlatform* pointer_ = nullptr;  // kept by the Session
};

}  // namespace vrdk::shell
