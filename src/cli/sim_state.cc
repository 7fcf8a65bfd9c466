#include "cli/sim_state.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "files/atomic_file.h"

namespace vrdk::cli {

std::optional<std::string> DefaultSimulationFile() {
  namespace fs = std::filesystem;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state != '\0') {
    return (fs::path(state) / "vrdk" / "mouse.bin").string();
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return (fs::path(home) / ".local" / "state" / "vrdk" / "mouse.bin").string();
  }
  return std::nullopt;
}

SimulationLoad LoadSimulationFile(const std::string& path, const std::vector<std::uint8_t>& fresh) {
  SimulationLoad load;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    load.memory = SimulationMemory{
        fresh, fresh.size() == kFlashMemorySize ? MemoryType::kFlash : MemoryType::kI2C, true};
    return load;
  }
  // One byte more than the largest image tells a file that is too long.
  auto file = files::ReadFilePrefix(path, kFlashMemorySize + 1);
  if (!file.ok()) {
    load.error = file.error;
    return load;
  }
  if (file.bytes.size() == kI2CMemorySize) {
    load.memory = SimulationMemory{std::move(file.bytes), MemoryType::kI2C, false};
  } else if (file.bytes.size() == kFlashMemorySize) {
    load.memory = SimulationMemory{std::move(file.bytes), MemoryType::kFlash, false};
  } else {
    load.error = path +
                 " is not a mouse memory image: it must be 2048 bytes (\"I2C\") or 65536 "
                 "bytes (\"Flash\"), not " +
                 std::to_string(file.bytes.size()) +
                 (file.bytes.size() > kFlashMemorySize ? " or more" : "");
  }
  return load;
}

std::optional<std::string> SaveSimulationFile(const std::string& path,
                                              const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code error;
  if (!folder.empty()) std::filesystem::create_directories(folder, error);
  if (error) return "cannot create " + folder.string() + ": " + error.message();
  return files::WriteFileAtomically(path, bytes);
}

}  // namespace vrdk::cli
