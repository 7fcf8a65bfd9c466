// The memory of vrdkctl's simulated mouse: a raw image file (2048 bytes:
// "I2C"; 65536 bytes: "Flash") read at start and written back atomically at
// exit, so consecutive runs act on the same mouse.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/memory_type.h"

namespace vrdk::cli {

// $XDG_STATE_HOME/vrdk/mouse.bin, else ~/.local/state/vrdk/mouse.bin; nothing
// when neither variable is set.
std::optional<std::string> DefaultSimulationFile();

struct SimulationMemory {
  std::vector<std::uint8_t> bytes;
  MemoryType type = MemoryType::kI2C;
  bool created = false;  // the file did not exist: the bytes are default image 1
};

// Reads the file; a missing file gives factory memory ("I2C": default image
// 1). The error names the file and the reason (unreadable, or not 2048 or
// 65536 bytes long).
struct SimulationLoad {
  std::optional<SimulationMemory> memory;
  std::string error;
};
SimulationLoad LoadSimulationFile(const std::string& path);

// Writes the memory back atomically, creating the folder when needed.
std::optional<std::string> SaveSimulationFile(const std::string& path,
                                              const std::vector<std::uint8_t>& bytes);

}  // namespace vrdk::cli
