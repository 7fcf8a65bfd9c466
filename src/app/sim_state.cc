#include "app/sim_state.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "files/user_folders.h"
#include "simulator/memory_image.h"

namespace vrdk {

std::optional<std::string> StateFolder() { return files::ProgramFolder(files::UserFolder::kState); }

std::optional<std::string> DefaultSimulationFile() {
  const auto folder = StateFolder();
  if (!folder) return std::nullopt;
  return (std::filesystem::path(*folder) / "mouse.bin").string();
}

Result<SimulationMemory> LoadSimulationFile(const std::string& path,
                                            std::optional<MemoryType> type) {
  auto image = LoadMemoryImage(path, type);
  if (!image.ok()) return image.error();
  MemoryImage& loaded = image.value();
  return SimulationMemory{std::move(loaded.bytes), loaded.type, !loaded.from_file};
}

Result<void> SaveSimulationFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code error;
  if (!folder.empty()) std::filesystem::create_directories(folder, error);
  if (error) {
    return Error{ErrorKind::kFileError,
                 "cannot create " + folder.string() + ": " + error.message()};
  }
  return SaveMemoryImage(path, bytes);
}

Result<void> AddSimulationFault(const std::string& text, SimulationFaults& faults) {
  const auto colon = text.find(':');
  const std::string kind = text.substr(0, colon);
  if (kind == "no-response-handle" || kind == "no-access") {
    if (colon != std::string::npos) {
      return Error{ErrorKind::kInvalid, "--simulate-fault=" + kind + " takes no number"};
    }
    (kind == "no-access" ? faults.no_access : faults.no_response_handle) = true;
    return {};
  }
  long* target = kind == "fail-command"   ? &faults.mouse.fail_command_from
                 : kind == "fail-chunk"   ? &faults.mouse.fail_data_report_from
                 : kind == "drop-answer"  ? &faults.mouse.drop_answer_from
                 : kind == "forget-chunk" ? &faults.mouse.forget_data_report_from
                 : kind == "unplug"       ? &faults.mouse.unplug_at_transfer
                                          : nullptr;
  int* count = kind == "fail-command"   ? &faults.mouse.fail_command_count
               : kind == "fail-chunk"   ? &faults.mouse.fail_data_report_count
               : kind == "drop-answer"  ? &faults.mouse.drop_answer_count
               : kind == "forget-chunk" ? &faults.mouse.forget_data_report_count
                                        : nullptr;
  if (target == nullptr) {
    return Error{ErrorKind::kInvalid,
                 "--simulate-fault: unknown fault \"" + kind +
                     "\" (fail-command:N[:COUNT], fail-chunk:N[:COUNT], drop-answer:N[:COUNT], "
                     "forget-chunk:N[:COUNT], unplug:N, no-response-handle, no-access)"};
  }
  const std::string rest = colon == std::string::npos ? "" : text.substr(colon + 1);
  const auto second = rest.find(':');
  const std::string number = rest.substr(0, second);
  const std::string repeat = second == std::string::npos ? "" : rest.substr(second + 1);
  auto parse = [](const std::string& digits, long& value) {
    const auto [end, code] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return !digits.empty() && code == std::errc() && end == digits.data() + digits.size();
  };
  long n = -1;
  if (!parse(number, n) || n < 0) {
    return Error{ErrorKind::kInvalid,
                 "--simulate-fault=" + kind + ":N needs N, a transfer number from 0"};
  }
  long times = 1;
  if (second != std::string::npos) {
    if (count == nullptr) {
      return Error{ErrorKind::kInvalid,
                   "--simulate-fault=unplug:N takes no COUNT: the mouse leaves the bus once"};
    }
    if (!parse(repeat, times) || times < 1 || times > 1000000) {
      return Error{ErrorKind::kInvalid, "--simulate-fault=" + kind +
                                            ":N:COUNT needs COUNT, a number of transfers from 1"};
    }
  }
  *target = n;
  if (count != nullptr) *count = static_cast<int>(times);
  return {};
}

}  // namespace vrdk
