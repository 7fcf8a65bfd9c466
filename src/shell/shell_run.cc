#include "shell/shell_run.h"

#include "app/install.h"
#include "hid/hidraw_backend.h"
#include "macros/editors/device_macros.h"
#include "simulator/simulated_backend.h"

namespace vrdk::shell {

ShellRun::~ShellRun() { session_.reset(); }

bool ShellRun::Prepare(SessionEvents& events) {
  // The memory type the program expects: --memory-type, else a simulated
  // mouse's own, else "I2C" as shipped.
  MemoryType program_type = options_.memory_type.value_or(MemoryType::kI2C);
  if (options_.simulate) {
    auto path = options_.simulate_file.empty() ? cli::DefaultSimulationFile()
                                               : std::optional(options_.simulate_file);
    if (!path) {
      error_ = "no state folder: set XDG_STATE_HOME or HOME, or give --simulate=FILE";
      return false;
    }
    simulation_path_ = *path;
    auto load = cli::LoadSimulationFile(simulation_path_, options_.memory_type);
    if (!load.memory) {
      error_ = load.error;
      return false;
    }
    program_type = load.memory->type;
    SimulatedMouseConfig config;
    config.memory_type = load.memory->type;
    config.memory = std::move(load.memory->bytes);
    config.transfer_latency = Microseconds(options_.transfer_latency_us);
    if (options_.faults.no_response_handle) {
      for (auto& collection : config.collections) collection.answers = false;
    }
    mouse_ = std::make_unique<SimulatedMouse>(clock_, std::move(config));
    mouse_->SetRecording(false);
    mouse_->SetFaults(options_.faults.mouse);
    auto bus = std::make_unique<SimulatedBackend>(mouse_.get());
    bus->SetMouseAccessDenied(options_.faults.no_access);
    bus_ = std::move(bus);
  } else {
    bus_ = std::make_unique<HidrawBackend>();
  }
  auto defaults = DefaultImageSet::FromResources(program_type);
  if (!defaults) {
    error_ = "the program's default images are missing";
    return false;
  }
  HidBackend* backend = bus_.get();
  if (!options_.trace_file.empty()) {
    trace_.open(options_.trace_file, std::ios::app);
    if (!trace_) {
      error_ = "cannot write the trace file " + options_.trace_file;
      return false;
    }
    tracing_ = std::make_unique<TracingBackend>(*bus_, [this](std::string_view line) {
      trace_ << line << '\n' << std::flush;
    });
    backend = tracing_.get();
  }
  session_ = std::make_unique<Session>(*backend, clock_, events, std::move(*defaults));
  InstallEditors(*session_);
  if (auto* macros = macros::FindDeviceMacros(*session_)) {
    if (const auto fire = macros::FireMacroPath()) macros->LoadFireMacros(*fire);
  }
  auto brand = LoadBrandOptions();
  brand_errors_ = std::move(brand.errors);
  session_->SetBrandOptions(brand.options);
  return true;
}

bool ShellRun::Finish() {
  if (session_) session_->StopInputListener();
  if (!mouse_) return true;
  if (auto failure = cli::SaveSimulationFile(simulation_path_, mouse_->Memory())) {
    error_ = *failure;
    return false;
  }
  return true;
}

}  // namespace vrdk::shell
