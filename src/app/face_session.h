// What both faces (the window, vrdkctl) assemble before they show anything:
// the bus — the real HID bus or the simulated mouse kept in a file, traced
// or not — and over it the Session with every editor installed, the
// fire-macro scripts and the brand's options. Each face brings its own clock
// and SessionEvents.
#pragma once

#include <chrono>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/sim_lock.h"
#include "app/sim_state.h"
#include "hid/clock.h"
#include "hid/tracing_backend.h"
#include "session/session.h"
#include "simulator/simulated_mouse.h"
#include "tables/brand_options.h"

namespace vrdk {

struct BusOptions {
  bool simulate = false;
  std::string simulate_file;              // empty: the default state file
  std::optional<MemoryType> memory_type;  // --memory-type
  SimulationFaults faults;                // --simulate-fault, with simulate only
  std::string trace_file;                 // --trace; empty: none
  // The real bus's files under this folder instead of the system's (its
  // sys/class/hidraw and dev), so that tests never reach a mouse of the
  // machine; empty: the system's. Linux only.
  std::string hidraw_root;
  Microseconds transfer_latency{0};       // each simulated transfer takes this long
  // Who holds a simulated mouse's file while running, and how long a second
  // program waits for it before it refuses.
  std::string program = "vrdkctl";
  std::chrono::milliseconds lock_patience = SimulationLock::kPatience;
};

class FaceSession {
 public:
  FaceSession() = default;
  ~FaceSession();
  FaceSession(const FaceSession&) = delete;
  FaceSession& operator=(const FaceSession&) = delete;

  // Builds the bus and the Session. The memory type the program expects is
  // --memory-type, else a simulated mouse's own, else "I2C" as shipped.
  // False, with Error() set, when a file cannot be read or written or the
  // default images are missing. clock and events must outlive this.
  bool Prepare(const BusOptions& options, Clock& clock, SessionEvents& events);
  // Ends the input listener and writes the simulated mouse's memory back;
  // false, with Error() set, when that fails.
  bool Finish();

  Session& GetSession() { return *session_; }
  SimulatedMouse* Mouse() { return mouse_.get(); }
  const std::string& Error() const { return error_; }
  const std::vector<BrandOptionError>& BrandErrors() const { return brand_errors_; }

 private:
  bool Fail(std::string error) {
    error_ = std::move(error);
    return false;
  }
  bool MakeSimulatedBus(const BusOptions& options, Clock& clock, MemoryType& program_type);

  std::unique_ptr<SimulationLock> lock_;  // released after the memory is written back
  std::unique_ptr<SimulatedMouse> mouse_;
  std::unique_ptr<HidBackend> bus_;
  std::unique_ptr<TracingBackend> tracing_;
  std::ofstream trace_;
  std::string trace_path_;
  std::string simulation_path_;
  std::unique_ptr<Session> session_;
  std::vector<BrandOptionError> brand_errors_;
  std::string error_;
};

}  // namespace vrdk
