// The memory of vrdkctl's simulated mouse: a raw image file (2048 bytes:
// "I2C"; 65536 bytes: "Flash") read at start and written back atomically at
// exit, so consecutive runs act on the same mouse.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "image/memory_type.h"
#include "simulator/simulated_mouse.h"

namespace vrdk {

// The program's state folder: $XDG_STATE_HOME/vrdk, else ~/.local/state/vrdk
// (on Windows also %LOCALAPPDATA%\vrdk); nothing when no variable names one.
std::optional<std::string> StateFolder();

// mouse.bin in the state folder.
std::optional<std::string> DefaultSimulationFile();

struct SimulationMemory {
  std::vector<std::uint8_t> bytes;
  MemoryType type = MemoryType::kI2C;
  bool created = false;  // the file did not exist: the bytes are default image 1
};

// Reads the file; a missing file gives factory memory of `type` ("I2C" when
// none is given: default image 1). The error names the file and the reason
// (unreadable, not 2048 or 65536 bytes long, or not of a given `type`).
Result<SimulationMemory> LoadSimulationFile(const std::string& path,
                                            std::optional<MemoryType> type);

// The faults --simulate-fault=KIND[:N[:COUNT]] gives the simulated mouse, N
// counting the run's feature transfers from 0 (the lines of --trace) and
// COUNT how many transfers of its kind the fault hits from there (1 when not
// given):
//   fail-command:N   the first command report from transfer N fails
//   fail-chunk:N     the first data report from transfer N fails (its 7 bytes are lost)
//   drop-answer:N    the first response read from transfer N gets no answer
//   forget-chunk:N   the first data report of a memory write from transfer N is
//                    taken but not stored (the host cannot see it fail)
//   unplug:N         transfer N fails and the mouse leaves the bus
//   no-response-handle  no collection of the mouse answers a response read
//   no-access        this user may not open the mouse (a hidraw node without the udev rule)
struct SimulationFaults {
  SimulatedFaults mouse;
  bool no_response_handle = false;
  bool no_access = false;
};
// Adds one fault; kInvalid for an unknown kind or a missing or bad N.
Result<void> AddSimulationFault(const std::string& text, SimulationFaults& faults);

// Writes the memory back atomically, creating the folder when needed.
Result<void> SaveSimulationFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vrdk
