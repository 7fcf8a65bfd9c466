#include "cli/sim_state.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "simulator/memory_image.h"

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

SimulationLoad LoadSimulationFile(const std::string& path) {
  SimulationLoad load;
  std::string error;
  auto image = LoadMemoryImage(path, std::nullopt, &error);
  if (!image) {
    load.error = error;
    return load;
  }
  load.memory = SimulationMemory{std::move(image->bytes), image->type, !image->from_file};
  return load;
}

std::optional<std::string> SaveSimulationFile(const std::string& path,
                                              const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code error;
  if (!folder.empty()) std::filesystem::create_directories(folder, error);
  if (error) return "cannot create " + folder.string() + ": " + error.message();
  std::string failure;
  if (SaveMemoryImage(path, bytes, &failure)) return std::nullopt;
  return failure;
}

}  // namespace vrdk::cli
