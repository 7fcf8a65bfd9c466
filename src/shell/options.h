// vrdk-mouse's command line. Plain C++ (no Qt), so it is tested with the core.
//
//   --simulate[=FILE]          the built-in simulated mouse, its memory kept in FILE
//   --memory-type=I2C|Flash    the memory the program expects
//   --simulate-fault=KIND[:N]  with --simulate: a fault of the simulated mouse (repeatable)
//   --trace=FILE               append one line per HID report transfer to FILE
//   --layout-report=FILE       replace FILE with the window's layout as JSON after
//                              start-up, every page change and every language switch
//   --screenshots=DIR          render every page in every language into DIR and end
//   --engineer                 open the engineer page once the mouse is read; it still
//                              asks for the access code
//   --help, --version
// Options that take a value accept "--name=VALUE" and "--name VALUE", except
// --simulate, whose FILE must follow an equals sign.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/sim_state.h"
#include "base/result.h"
#include "image/memory_type.h"

namespace vrdk::shell {

struct ShellOptions {
  bool simulate = false;
  std::string simulate_file;  // empty: the default simulation file
  std::optional<MemoryType> memory_type;
  SimulationFaults faults;
  std::string trace_file;
  std::string layout_report;
  std::string screenshots;
  bool engineer = false;
  bool help = false;
  bool version = false;
  // How long each transfer of the simulated mouse takes (the benchmark's
  // slow mouse); not an option of the command line.
  long transfer_latency_us = 0;
};

// args excludes the program name; Qt's own options (-platform, -style, ...)
// are taken out before.
// An error says what is wrong, in one line.
Result<ShellOptions> ParseShellOptions(const std::vector<std::string>& args);

// The --help text.
std::string ShellUsage();

}  // namespace vrdk::shell
