#include "settings/pointer_platform_linux.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "files/atomic_file.h"
#include "files/user_folders.h"

extern char** environ;

namespace vrdk::settings {
namespace {

constexpr const char* kMouseSchema = "org.gnome.desktop.peripherals.mouse";
constexpr const char* kKdeInput = "kcminputrc";
constexpr const char* kKdeGlobals = "kdeglobals";
constexpr std::size_t kMaxOutput = 4096;
constexpr std::array<int, 3> kAccelerationOnTriple = {1, 6, 10};

std::string Trim(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// Numbers in the C locale's form, whatever the process's locale says.
std::optional<double> ParseDouble(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The desktops' pointer speed, -1..1, for a sensitivity of 1..20.
std::string SpeedText(int sensitivity) {
  char text[16];
  const auto [end, error] = std::to_chars(text, text + sizeof text, (sensitivity - 10) / 10.0,
                                          std::chars_format::fixed, 1);
  return error == std::errc() ? std::string(text, end) : "0.0";
}

std::optional<std::string> SensitivityOfSpeed(std::string_view speed) {
  const auto value = ParseDouble(speed);
  if (!value) return std::nullopt;
  return std::to_string(static_cast<int>(std::lround(10 + 10 * *value)));
}

bool SameSpeed(std::string_view a, std::string_view b) {
  const auto x = ParseDouble(a);
  const auto y = ParseDouble(b);
  return x && y && std::fabs(*x - *y) < 0.005;
}

std::string AccelerationText(PointerValue value, bool on) {
  const auto index = static_cast<std::size_t>(static_cast<int>(value) -
                                              static_cast<int>(PointerValue::kMouseSpeed));
  return std::to_string(on ? kAccelerationOnTriple[index] : 0);
}

bool IsAcceleration(PointerValue value) {
  return value == PointerValue::kMouseSpeed || value == PointerValue::kMouseThreshold1 ||
         value == PointerValue::kMouseThreshold2;
}

PointerSetting SettingOf(PointerValue value) {
  if (value == PointerValue::kMouseSensitivity) return PointerSetting::kSpeed;
  if (IsAcceleration(value)) return PointerSetting::kAcceleration;
  if (value == PointerValue::kDoubleClickSpeed) return PointerSetting::kDoubleClick;
  return PointerSetting::kWheel;
}

// The file lines that belong to each setting, with their values.
std::vector<std::pair<PointerValue, int>> FileLines(const PointerWrite& values) {
  switch (values.changed) {
    case PointerSetting::kSpeed:
      return {{PointerValue::kMouseSensitivity, values.mouse_sensitivity}};
    case PointerSetting::kAcceleration:
      return {{PointerValue::kMouseSpeed, values.acceleration[0]},
              {PointerValue::kMouseThreshold1, values.acceleration[1]},
              {PointerValue::kMouseThreshold2, values.acceleration[2]}};
    case PointerSetting::kDoubleClick:
      return {{PointerValue::kDoubleClickSpeed, values.double_click_ms}};
    case PointerSetting::kWheel:
      return {{PointerValue::kWheelScrollLines, values.wheel_lines},
              {PointerValue::kWheelScrollLinesBeforeWholeScreen,
               values.wheel_lines_before_whole_screen}};
  }
  return {};
}

PointerProblem Problem(PointerProblem::Kind kind, std::string desktop) {
  PointerProblem problem;
  problem.kind = kind;
  problem.desktop = std::move(desktop);
  return problem;
}

PointerProblem NotTaken(std::string desktop, const std::string& back) {
  PointerProblem problem = Problem(PointerProblem::Kind::kNotTaken, std::move(desktop));
  problem.read_back = back;
  return problem;
}

PointerProblem NoSuchSetting(std::string desktop, bool whole_screen) {
  PointerProblem problem = Problem(PointerProblem::Kind::kNoSuchSetting, std::move(desktop));
  problem.whole_screen = whole_screen;
  return problem;
}

PointerProblem ToolFailed(std::string tool) {
  PointerProblem problem = Problem(PointerProblem::Kind::kToolFailed, "");
  problem.tool = std::move(tool);
  return problem;
}

}  // namespace

ToolAnswer RunCommand(const std::vector<std::string>& argv) {
  return RunCommandWithin(argv, kToolTimeLimit);
}

ToolAnswer RunCommandWithin(const std::vector<std::string>& argv, std::chrono::milliseconds limit) {
  if (argv.empty()) return {};
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return {};
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
  bool in_time = true;
  if (spawned == 0) {
    // A desktop tool that hangs is ended after the limit: it answered nothing.
    const auto give_up = std::chrono::steady_clock::now() + limit;
    char buffer[512];
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          give_up - std::chrono::steady_clock::now());
      pollfd ready{pipe_ends[0], POLLIN, 0};
      const int polled = left.count() > 0 ? poll(&ready, 1, static_cast<int>(left.count())) : 0;
      if (polled < 0 && errno == EINTR) continue;
      if (polled <= 0) {
        in_time = false;
        kill(pid, SIGKILL);
        break;
      }
      const ssize_t got = read(pipe_ends[0], buffer, sizeof buffer);
      if (got <= 0 || output.size() >= kMaxOutput) break;
      output.append(buffer, static_cast<std::size_t>(got));
    }
  }
  close(pipe_ends[0]);
  if (spawned != 0) return {};
  int status = 0;
  if (!in_time) {
    waitpid(pid, &status, 0);
    ToolAnswer ended;
    ended.timed_out = true;
    return ended;
  }
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return {};
  }
  return std::optional(Trim(output));
}

std::string DefaultPointerSettingsFile() {
  const std::string folder =
      files::ProgramFolder(files::UserFolder::kConfig).value_or("./.config/vrdk");
  return (std::filesystem::path(folder) / "pointer-settings").string();
}

LinuxDesktop DesktopOf(std::string_view xdg_current_desktop) {
  std::size_t start = 0;
  while (start <= xdg_current_desktop.size()) {
    const std::size_t end =
        std::min(xdg_current_desktop.find(':', start), xdg_current_desktop.size());
    const std::string_view name = xdg_current_desktop.substr(start, end - start);
    if (name == "GNOME") return LinuxDesktop::kGnome;
    if (name == "KDE") return LinuxDesktop::kKde;
    start = end + 1;
  }
  return LinuxDesktop::kOther;
}

LinuxPointerPlatform::LinuxPointerPlatform(std::string settings_file, CommandRunner run,
                                           std::string desktop_name)
    : settings_file_(std::move(settings_file)),
      run_(std::move(run)),
      desktop_name_(std::move(desktop_name)),
      desktop_(DesktopOf(desktop_name_)) {}

std::optional<std::string> LinuxPointerPlatform::Ask(const std::vector<std::string>& argv) {
  const std::string& tool = argv.front();
  if (std::find(hung_tools_.begin(), hung_tools_.end(), tool) != hung_tools_.end()) {
    if (reading_ && read_problem_) {
      std::vector<PointerSetting>& unread = read_problem_->settings;
      if (std::find(unread.begin(), unread.end(), *reading_) == unread.end())
        unread.push_back(*reading_);
    }
    return std::nullopt;
  }
  ToolAnswer answer = run_(argv);
  if (answer.timed_out) {
    hung_tools_.push_back(tool);
    if (reading_) {
      if (!read_problem_) read_problem_ = PointerReadProblem{tool, desktop_name_, {}};
      read_problem_->settings.push_back(*reading_);
    }
  }
  return std::move(answer.text);
}

std::optional<std::string> LinuxPointerPlatform::Gsettings(const std::string& key) {
  auto text = Ask({"gsettings", "get", kMouseSchema, key});
  if (!text) return std::nullopt;
  // Typed answers ("uint32 400") carry their type first.
  if (const auto space = text->rfind(' '); space != std::string::npos)
    *text = text->substr(space + 1);
  if (text->size() >= 2 && text->front() == '\'' && text->back() == '\'') {
    *text = text->substr(1, text->size() - 2);
  }
  return text;
}

std::optional<std::string> LinuxPointerPlatform::KdeRead(const std::string& file,
                                                         const std::string& group,
                                                         const std::string& key) {
  for (const char* tool : {"kreadconfig6", "kreadconfig5"}) {
    if (auto text = Ask({tool, "--file", file, "--group", group, "--key", key})) return text;
  }
  return std::nullopt;
}

bool LinuxPointerPlatform::KdeWrite(const std::string& file, const std::string& group,
                                    const std::string& key, const std::string& value) {
  for (const char* tool : {"kwriteconfig6", "kwriteconfig5"}) {
    // "--" before the value: a negative speed is no option.
    if (Ask({tool, "--notify", "--file", file, "--group", group, "--key", key, "--", value})) {
      return true;
    }
  }
  return false;
}

std::optional<std::string> LinuxPointerPlatform::DesktopRead(PointerValue value) {
  if (desktop_ == LinuxDesktop::kGnome) {
    if (value == PointerValue::kMouseSensitivity) {
      if (const auto speed = Gsettings("speed")) return SensitivityOfSpeed(*speed);
    } else if (IsAcceleration(value)) {
      const auto profile = Gsettings("accel-profile");
      if (profile == "flat" || profile == "adaptive" || profile == "default") {
        return AccelerationText(value, *profile != "flat");
      }
    } else if (value == PointerValue::kDoubleClickSpeed) {
      if (const auto time = Gsettings("double-click"); time && ParseInt(*time)) return time;
    }
    return std::nullopt;
  }
  if (desktop_ != LinuxDesktop::kKde) return std::nullopt;
  // A key Plasma never wrote reads empty: the desktop's default then.
  const auto or_default = [](std::optional<std::string> text,
                             const char* fallback) -> std::optional<std::string> {
    if (text && text->empty()) return std::string(fallback);
    return text;
  };
  switch (value) {
    case PointerValue::kMouseSensitivity:
      if (const auto speed =
              or_default(KdeRead(kKdeInput, "Mouse", "XLbInptPointerAcceleration"), "0")) {
        return SensitivityOfSpeed(*speed);
      }
      return std::nullopt;
    case PointerValue::kMouseSpeed:
    case PointerValue::kMouseThreshold1:
    case PointerValue::kMouseThreshold2:
      if (const auto flat = KdeRead(kKdeInput, "Mouse", "XLbInptAccelProfileFlat")) {
        return AccelerationText(value, *flat != "true");
      }
      return std::nullopt;
    case PointerValue::kDoubleClickSpeed:
      return or_default(KdeRead(kKdeGlobals, "KDE", "DoubleClickInterval"), "400");
    case PointerValue::kWheelScrollLines:
      return or_default(KdeRead(kKdeGlobals, "KDE", "WheelScrollLines"), "3");
    case PointerValue::kWheelScrollLinesBeforeWholeScreen:
      break;
  }
  return std::nullopt;
}

std::map<std::string, std::string> LinuxPointerPlatform::FileValues() const {
  std::map<std::string, std::string> values;
  // A few short lines: more is no settings file of this program's (and a
  // FIFO or a device in its place is not read at all).
  constexpr std::size_t kMaxBytes = 64 * 1024;
  const auto read = files::ReadFilePrefix(settings_file_, kMaxBytes);
  if (!read.ok()) return values;
  std::istringstream in(std::string(read.value().begin(), read.value().end()));
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos)
      values.try_emplace(line.substr(0, equals), line.substr(equals + 1));
  }
  return values;
}

std::optional<std::string> LinuxPointerPlatform::Read(PointerValue value) {
  reading_ = SettingOf(value);
  auto answer = DesktopRead(value);
  reading_.reset();
  if (answer) return answer;
  const auto values = FileValues();
  const auto at = values.find(std::string(PointerValueName(value)));
  if (at == values.end()) return std::nullopt;
  return at->second;
}

bool LinuxPointerPlatform::KeepInFile(const PointerWrite& values) const {
  auto lines = FileValues();
  for (const auto& [value, number] : FileLines(values)) {
    lines[std::string(PointerValueName(value))] = std::to_string(number);
  }
  std::ostringstream file;
  for (int v = 0; v < kPointerValueCount; ++v) {
    const std::string name(PointerValueName(static_cast<PointerValue>(v)));
    if (const auto at = lines.find(name); at != lines.end())
      file << name << '=' << at->second << '\n';
  }
  const std::string text = file.str();
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(settings_file_).parent_path(), ignored);
  return files::WriteFileAtomically(
             settings_file_,
             std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()))
      .ok();
}

std::optional<PointerProblem> LinuxPointerPlatform::TellGnome(const PointerWrite& values) {
  std::string key;
  std::string wanted;
  switch (values.changed) {
    case PointerSetting::kSpeed:
      key = "speed";
      wanted = SpeedText(values.mouse_sensitivity);
      break;
    case PointerSetting::kAcceleration:
      key = "accel-profile";
      wanted = values.acceleration[0] != 0 ? "adaptive" : "flat";
      break;
    case PointerSetting::kDoubleClick:
      key = "double-click";
      wanted = std::to_string(values.double_click_ms);
      break;
    case PointerSetting::kWheel:
      return NoSuchSetting("GNOME", values.wheel_lines < 0);
  }
  if (!Ask({"gsettings", "set", kMouseSchema, key, wanted})) return ToolFailed("gsettings");
  const std::string back = Gsettings(key).value_or("");
  const bool same = key == "speed" ? SameSpeed(back, wanted) : back == wanted;
  if (same) return std::nullopt;
  return NotTaken("GNOME", back);
}

std::optional<PointerProblem> LinuxPointerPlatform::TellKde(const PointerWrite& values) {
  const char* file = kKdeGlobals;
  const char* group = "KDE";
  const char* key = "";
  std::string wanted;
  switch (values.changed) {
    case PointerSetting::kSpeed:
      file = kKdeInput;
      group = "Mouse";
      key = "XLbInptPointerAcceleration";
      wanted = SpeedText(values.mouse_sensitivity);
      break;
    case PointerSetting::kAcceleration:
      file = kKdeInput;
      group = "Mouse";
      key = "XLbInptAccelProfileFlat";
      wanted = values.acceleration[0] != 0 ? "false" : "true";
      break;
    case PointerSetting::kDoubleClick:
      key = "DoubleClickInterval";
      wanted = std::to_string(values.double_click_ms);
      break;
    case PointerSetting::kWheel:
      if (values.wheel_lines < 0) return NoSuchSetting("KDE Plasma", true);
      key = "WheelScrollLines";
      wanted = std::to_string(values.wheel_lines);
      break;
  }
  if (!KdeWrite(file, group, key, wanted)) return ToolFailed("kwriteconfig");
  const std::string back = KdeRead(file, group, key).value_or("");
  const bool same =
      values.changed == PointerSetting::kSpeed ? SameSpeed(back, wanted) : back == wanted;
  if (same) return std::nullopt;
  return NotTaken("KDE Plasma", back);
}

std::optional<PointerProblem> LinuxPointerPlatform::TellDesktop(const PointerWrite& values) {
  switch (desktop_) {
    case LinuxDesktop::kGnome:
      return TellGnome(values);
    case LinuxDesktop::kKde:
      return TellKde(values);
    case LinuxDesktop::kOther:
      break;
  }
  return Problem(PointerProblem::Kind::kOtherDesktop, desktop_name_);
}

PointerApplyResult LinuxPointerPlatform::Apply(const PointerWrite& values) {
  const bool kept = KeepInFile(values);
  const auto problem = TellDesktop(values);
  if (!problem) return {};
  PointerApplyResult result;
  result.taken = false;
  result.setting = values.changed;
  result.problem = *problem;
  result.file = settings_file_;
  result.kept = kept;
  result.message = PointerApplyText(result, 1);
  return result;
}

std::unique_ptr<PointerPlatform> SystemPointerPlatform() {
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  return std::make_unique<LinuxPointerPlatform>(DefaultPointerSettingsFile(), RunCommand,
                                                desktop != nullptr ? desktop : "");
}

}  // namespace vrdk::settings
