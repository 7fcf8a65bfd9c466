#include "settings/pointer_platform_linux.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/atomic_file.h"

extern char** environ;

namespace vrdk::settings {
namespace {

constexpr const char* kMouseSchema = "org.gnome.desktop.peripherals.mouse";
constexpr std::size_t kMaxOutput = 4096;

std::string Trim(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::optional<double> ParseDouble(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::string> RunCommand(const std::vector<std::string>& argv) {
  if (argv.empty()) return std::nullopt;
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  std::string output;
  if (spawned == 0) {
    char buffer[512];
    ssize_t got;
    while ((got = read(pipe_ends[0], buffer, sizeof buffer)) > 0 && output.size() < kMaxOutput) {
      output.append(buffer, static_cast<std::size_t>(got));
    }
  }
  close(pipe_ends[0]);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return std::nullopt;
  }
  return Trim(output);
}

std::string DefaultPointerSettingsFile() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::filesystem::path base =
      config != nullptr && *config != '\0'
          ? std::filesystem::path(config)
          : std::filesystem::path(home != nullptr ? home : ".") / ".config";
  return (base / "vrdk" / "pointer-settings").string();
}

std::optional<std::string> LinuxPointerPlatform::Desktop(const std::string& key) {
  auto text = run_({"gsettings", "get", kMouseSchema, key});
  if (!text) return std::nullopt;
  // Typed answers ("uint32 400") carry their type first.
  if (const auto space = text->rfind(' '); space != std::string::npos)
    *text = text->substr(space + 1);
  if (text->size() >= 2 && text->front() == '\'' && text->back() == '\'') {
    *text = text->substr(1, text->size() - 2);
  }
  return text;
}

std::optional<std::string> LinuxPointerPlatform::FromFile(PointerValue value) const {
  std::ifstream in(settings_file_);
  const std::string prefix = std::string(PointerValueName(value)) + "=";
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
  }
  return std::nullopt;
}

std::optional<std::string> LinuxPointerPlatform::Read(PointerValue value) {
  switch (value) {
    case PointerValue::kMouseSensitivity:
      if (const auto speed = Desktop("speed")) {
        if (const auto parsed = ParseDouble(*speed)) {
          return std::to_string(static_cast<int>(std::lround(10 + 10 * *parsed)));
        }
      }
      break;
    case PointerValue::kMouseSpeed:
    case PointerValue::kMouseThreshold1:
    case PointerValue::kMouseThreshold2:
      if (const auto profile = Desktop("accel-profile");
          profile == "flat" || profile == "adaptive") {
        const bool on = *profile == "adaptive";
        const int index = static_cast<int>(value) - static_cast<int>(PointerValue::kMouseSpeed);
        constexpr int kOn[3] = {1, 6, 10};
        return std::to_string(on ? kOn[index] : 0);
      }
      break;
    case PointerValue::kDoubleClickSpeed:
      if (auto time = Desktop("double-click")) return time;
      break;
    case PointerValue::kWheelScrollLines:
      break;
  }
  return FromFile(value);
}

void LinuxPointerPlatform::Apply(const PointerWrite& values) {
  std::ostringstream file;
  file << "MouseSensitivity=" << values.mouse_sensitivity << '\n'
       << "MouseSpeed=" << values.acceleration[0] << '\n'
       << "MouseThreshold1=" << values.acceleration[1] << '\n'
       << "MouseThreshold2=" << values.acceleration[2] << '\n'
       << "DoubleClickSpeed=" << values.double_click_ms << '\n'
       << "WheelScrollLines=" << values.wheel_lines << '\n';
  const std::string text = file.str();
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(settings_file_).parent_path(), ignored);
  files::WriteFileAtomically(
      settings_file_, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  // The desktop is told in the same order as Windows: speed, acceleration,
  // double-click time (it has no wheel setting).
  char speed[16];
  std::snprintf(speed, sizeof speed, "%.1f", (values.mouse_sensitivity - 10) / 10.0);
  run_({"gsettings", "set", kMouseSchema, "speed", speed});
  const bool on = values.acceleration[0] != 0;
  run_({"gsettings", "set", kMouseSchema, "accel-profile", on ? "adaptive" : "flat"});
  run_({"gsettings", "set", kMouseSchema, "double-click", std::to_string(values.double_click_ms)});
}

std::unique_ptr<PointerPlatform> SystemPointerPlatform() {
  return std::make_unique<LinuxPointerPlatform>(DefaultPointerSettingsFile(), RunCommand);
}

}  // namespace vrdk::settings
