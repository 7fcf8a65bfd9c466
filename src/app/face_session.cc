#include "app/face_session.h"

#include <filesystem>

#include "app/install.h"
#include "files/atomic_file.h"
#include "macros/editors/device_macros.h"
#include "simulator/simulated_backend.h"
#if defined(__linux__)
#include "hid/hidraw_backend.h"
#elif defined(_WIN32)
#include "hid/win_hid_backend.h"
#endif

namespace vrdk {

FaceSession::~FaceSession() { session_.reset(); }

bool FaceSession::MakeSimulatedBus(const BusOptions& options, Clock& clock,
                                   MemoryType& program_type) {
  auto path = options.simulate_file.empty() ? DefaultSimulationFile()
                                            : std::optional(options.simulate_file);
  if (!path) return Fail("no state folder: set XDG_STATE_HOME or HOME, or give --simulate=FILE");
  simulation_path_ = *path;
  // The folder is made now: the lock lies beside the memory file.
  if (const std::filesystem::path parent = std::filesystem::path(simulation_path_).parent_path();
      !parent.empty()) {
    std::error_code ignored;
    std::filesystem::create_directories(parent, ignored);
  }
  auto locked = SimulationLock::Take(simulation_path_, options.program, options.lock_patience);
  if (!locked.ok()) return Fail(locked.message());
  lock_ = std::move(locked).value();
  auto load = LoadSimulationFile(simulation_path_, options.memory_type);
  if (!load.ok()) return Fail(load.message());
  program_type = load.value().type;
  SimulatedMouseConfig config;
  config.memory_type = load.value().type;
  config.memory = std::move(load.value().bytes);
  config.transfer_latency = options.transfer_latency;
  if (options.faults.no_response_handle) {
    for (auto& collection : config.collections) collection.answers = false;
  }
  mouse_ = std::make_unique<SimulatedMouse>(clock, std::move(config));
  mouse_->SetRecording(false);
  mouse_->SetFaults(options.faults.mouse);
  auto bus = std::make_unique<SimulatedBackend>(mouse_.get());
  bus->SetMouseAccessDenied(options.faults.no_access);
  bus_ = std::move(bus);
  return true;
}

bool FaceSession::Prepare(const BusOptions& options, Clock& clock, SessionEvents& events) {
  MemoryType program_type = options.memory_type.value_or(MemoryType::kI2C);
  if (options.simulate) {
    if (!MakeSimulatedBus(options, clock, program_type)) return false;
  } else {
#if defined(__linux__)
    HidrawPaths paths;
    if (!options.hidraw_root.empty()) {
      paths.sysfs_class = options.hidraw_root + "/sys/class/hidraw";
      paths.dev = options.hidraw_root + "/dev";
    }
    bus_ = std::make_unique<HidrawBackend>(paths);
#elif defined(_WIN32)
    bus_ = std::make_unique<WinHidBackend>();
#else
    return Fail("no HID backend for this platform");
#endif
  }
  auto defaults = DefaultImageSet::FromResources(program_type);
  if (!defaults) return Fail("the program's default images are missing");
  HidBackend* backend = bus_.get();
  if (!options.trace_file.empty()) {
    trace_path_ = options.trace_file;
    if (auto usable = files::RefusedFile(options.trace_file); !usable.ok())
      return Fail(usable.message());
    // Binary: the same lines, ended by "\n", on every platform.
    trace_.open(options.trace_file, std::ios::app | std::ios::binary);
    if (!trace_) return Fail("cannot write the trace file " + options.trace_file);
    tracing_ = std::make_unique<TracingBackend>(*bus_, [this](std::string_view line) {
      trace_ << line << '\n' << std::flush;
    });
    backend = tracing_.get();
  }
  session_ = std::make_unique<Session>(*backend, clock, events, std::move(*defaults));
  // The write journal: a simulated mouse keeps its records beside its memory,
  // so that each file is a mouse of its own; a real one in the state folder.
  if (options.simulate) {
    const std::filesystem::path memory(simulation_path_);
    const std::filesystem::path folder = memory.has_parent_path() ? memory.parent_path() : ".";
    session_->SetJournal(WriteJournal(folder.string(), memory.filename().string() + "."));
  } else if (const auto folder = StateFolder()) {
    session_->SetJournal(WriteJournal(*folder, ""));
  }
  InstallEditors(*session_);
  // Fire-macro naming follows whether the script file exists at start.
  if (auto* macros = macros::FindDeviceMacros(*session_)) {
    if (const auto fire = macros::FireMacroPath()) macros->LoadFireMacros(*fire);
  }
  auto brand = LoadBrandOptions();
  brand_errors_ = std::move(brand.errors);
  session_->SetBrandOptions(brand.options);
  return true;
}

bool FaceSession::Finish() {
  if (session_) session_->StopInputListener();
  if (trace_.is_open()) {
    trace_.flush();
    if (!trace_) return Fail("cannot write the trace file " + trace_path_);
  }
  if (!mouse_) return true;
  if (auto saved = SaveSimulationFile(simulation_path_, mouse_->Memory()); !saved.ok()) {
    return Fail(saved.message());
  }
  return true;
}

}  // namespace vrdk
