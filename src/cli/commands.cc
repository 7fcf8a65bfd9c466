#include "cli/commands.h"

#include <charconv>

namespace vrdk::cli {

const char* const kExitCodesHelp =
    "Exit codes:\n"
    "  0  done\n"
    "  1  usage error\n"
    "  2  no mouse found, or the mouse was not accepted (memory type or customer codes)\n"
    "  3  a device operation failed\n"
    "  4  a file could not be read or written, or is of the wrong kind\n"
    "  5  the change was refused by a rule of the program\n"
    "  6  the mouse is there, but this user may not open it (see the udev rule)\n";

void CommandContext::Print(nlohmann::json data, const std::string& text) {
  if (json_) {
    data["schema_version"] = kJsonSchemaVersion;
    out_ << data.dump(2) << '\n';
  } else {
    out_ << text;
  }
}

int CommandContext::Fail(int code, const std::string& message) {
  err_ << "vrdkctl: " << message << '\n';
  return code;
}

int ExitFor(CommandContext& context, const Result<void>& outcome) {
  if (outcome.ok()) return kExitDone;
  int code = kExitDeviceFailed;
  switch (outcome.error().kind) {
    case ErrorKind::kNoMouse:
      code = kExitNoMouse;
      break;
    case ErrorKind::kRefused:
      code = kExitRefused;
      break;
    case ErrorKind::kFileError:
    case ErrorKind::kMissing:
    case ErrorKind::kWrongKind:
      code = kExitFileError;
      break;
    case ErrorKind::kNeedsForce:
      context.Fail(kExitFileError, outcome.message());
      return context.Fail(kExitFileError, context.GetSession().Own(OwnText::kFileForceHint));
    default:  // kDeviceFailed, and what the image writes never give
      break;
  }
  return outcome.error().shown ? code : context.Fail(code, outcome.message());
}

void CommandContext::Note(const std::string& message) { err_ << "vrdkctl: " << message << '\n'; }

CLI::App* CommandRegistry::AddCommand(CLI::App* parent, const std::string& name,
                                      const std::string& help, NeedsMouse needs_mouse,
                                      CommandRun run) {
  CLI::App* sub = parent->add_subcommand(name, help);
  sub->footer(kExitCodesHelp);
  sub->callback([this, needs_mouse, run = std::move(run)] { chosen_ = Chosen{needs_mouse, run}; });
  return sub;
}

CLI::App* CommandRegistry::AddGroup(CLI::App* parent, const std::string& name,
                                    const std::string& help) {
  CLI::App* group = parent->add_subcommand(name, help);
  group->footer(kExitCodesHelp);
  group->require_subcommand(1);
  return group;
}

std::optional<long> ParseNumber(const std::string& text, long low, long high) {
  std::string_view digits = text;
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    base = 16;
  }
  long value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    return std::nullopt;
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace vrdk::cli
