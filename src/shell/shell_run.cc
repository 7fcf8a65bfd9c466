#include "shell/shell_run.h"

#include "settings/pages.h"

namespace vrdk::shell {

ShellRun::~ShellRun() = default;

bool ShellRun::Prepare(SessionEvents& events) {
  BusOptions bus;
  bus.simulate = options_.simulate;
  bus.simulate_file = options_.simulate_file;
  bus.memory_type = options_.memory_type;
  bus.faults = options_.faults;
  bus.trace_file = options_.trace_file;
  bus.transfer_latency = Microseconds(options_.transfer_latency_us);
  bus.program = "vrdk-mouse";
  if (!face_.Prepare(bus, clock_, events)) return false;
  std::shared_ptr<settings::PointerPlatform> pointer = settings::SystemPointerPlatform();
  pointer_ = pointer.get();
  settings::InstallPointerPage(face_.GetSession(), std::move(pointer));
  return true;
}

}  // namespace vrdk::shell
