// Everything one run of the window holds besides the window itself: the bus
// (the real hidraw bus or the simulated mouse, traced or not), the clock and
// the Session with every editor installed, assembled as vrdkctl assembles its
// own. Plain C++: the window hands in its SessionEvents and message pump.
#pragma once

#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "hid/clock.h"
#include "hid/tracing_backend.h"
#include "session/session.h"
#include "shell/options.h"
#include "simulator/simulated_mouse.h"
#include "tables/brand_options.h"

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
  bool Finish();

  Session& GetSession() { return *session_; }
  SimulatedMouse* Mouse() { return mouse_.get(); }
  const std::string& Error() const { return error_; }
  const std::vector<BrandOptionError>& BrandErrors() const { return brand_errors_; }
  const ShellOptions& Options() const { return options_; }

 private:
  ShellOptions options_;
  SystemClock clock_;
  std::unique_ptr<SimulatedMouse> mouse_;
  std::unique_ptr<HidBackend> bus_;
  std::unique_ptr<TracingBackend> tracing_;
  std::ofstream trace_;
  std::string simulation_path_;
  std::unique_ptr<Session> session_;
  std::vector<BrandOptionError> brand_errors_;
  std::string error_;
};

}  // namespace vrdk::shell
