// How vrdkctl's commands are declared: each group of commands lives in a file
// of its own and adds its subcommands to the parser with AddCommand, binding
// its arguments to variables it owns; the run function does the work through
// the Session's editors once the mouse is open (or not, for commands that
// need no mouse).
#pragma once

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/vrdkctl.h"
#include "keys/editors/key_assignment.h"
#include "session/image_writes.h"
#include "session/session.h"

namespace vrdk::cli {

// Raised when a JSON output changes in a way its readers must know of: a key
// removed or renamed, or a meaning changed. New keys keep the version.
inline constexpr int kJsonSchemaVersion = 1;

class CommandContext {
 public:
  CommandContext(Session& session, std::ostream& out, std::ostream& err, bool json)
      : session_(session), out_(out), err_(err), json_(json) {}

  Session& GetSession() { return session_; }
  std::ostream& Out() { return out_; }
  // Prints data: as JSON with --json, else the text. data is an object; the
  // JSON output carries kJsonSchemaVersion as "schema_version", the version of
  // the layouts docs/schemas/ describes.
  void Print(nlohmann::json data, const std::string& text);
  // One line "vrdkctl: message" on stderr; returns code.
  int Fail(int code, const std::string& message);
  // One line "vrdkctl: message" on stderr, before a change that destroys
  // something, or after one that was limited.
  void Note(const std::string& message);

 private:
  Session& session_;
  std::ostream& out_;
  std::ostream& err_;
  bool json_;
};

using CommandRun = std::function<int(CommandContext&)>;

enum class NeedsMouse { kNo, kYes };

class CommandRegistry {
 public:
  // Adds a subcommand of parent; when the user chooses it, run is called.
  CLI::App* AddCommand(CLI::App* parent, const std::string& name, const std::string& help,
                       NeedsMouse needs_mouse, CommandRun run);
  // A group of subcommands (the group itself runs nothing).
  CLI::App* AddGroup(CLI::App* parent, const std::string& name, const std::string& help);

  struct Chosen {
    NeedsMouse needs_mouse;
    CommandRun run;
  };
  const std::optional<Chosen>& chosen() const { return chosen_; }

 private:
  std::optional<Chosen> chosen_;
};

// The exit code of an outcome of the core; its detail goes to stderr unless
// the core showed its message already.
int ExitFor(CommandContext& context, const Result<void>& outcome);

// Decimal or 0x-hexadecimal within [low, high].
std::optional<long> ParseNumber(const std::string& text, long low, long high);

// "vrdkctl: ..." texts for the exit codes list of every --help.
extern const char* const kExitCodesHelp;

// The command groups.
void AddCoreCommands(CLI::App& app, CommandRegistry& registry);
void AddSettingsCommands(CLI::App& app, CommandRegistry& registry);
void AddEngineerCommands(CLI::App& app, CommandRegistry& registry);
void AddLedCommands(CLI::App& app, CommandRegistry& registry);
void AddPointerCommands(CLI::App& app, CommandRegistry& registry);
void AddKeyCommands(CLI::App& app, CommandRegistry& registry);
void AddMacroCommands(CLI::App& app, CommandRegistry& registry);
void AddDocumentCommands(CLI::App& app, CommandRegistry& registry);

// A function a button or slot can be given: its code and the caption shown.
struct Function {
  std::string code;
  std::string caption;
};
// FUNCTION as the user gives it: a menu entry's name (the first in menu
// order), tag:NNNN, code:XXXXXXXX or a key combination. Nothing for a text
// that is none of them; `error` then says what is wrong when more can be
// said than "unknown function".
std::optional<Function> ParseFunction(Session& session, const std::string& text,
                                      keys::KeyTarget target, std::string& error);

// FUNCTION as the user gives it (a menu entry's name, a key combination,
// tag:NNNN or code:XXXXXXXX) assigned to a target; returns the exit code.
int AssignFunction(CommandContext& context, keys::KeyTarget target, const std::string& text);
// The PROFILE BUTTON FUNCTION arguments of the button commands.
void AddButtonArguments(CLI::App* command, int& profile, int& button, std::string& function);

// The extended profile-switch settings an engineer command may be given;
// those not given (-1, empty) keep the values the mouse's codes hold.
struct ProfileSwitchOptions {
  int rtz = -1;
  int axy = -1;
  int cc = -1;
  std::string offset;
};
void AddProfileSwitchOptions(CLI::App* command, ProfileSwitchOptions& options);
// Puts the options given into `keys`; a bad offset is a usage error.
int TakeProfileSwitchOptions(CommandContext& context, const ProfileSwitchOptions& options,
                             KeyCodeContext& keys);

// The button command's macro:NAME form: button BUTTON (1..12) of PROFILE
// (1..3) plays the mouse macro NAME. Returns the exit code.
int AssignMacroButton(CommandContext& context, int profile, int button, const std::string& name);
// The exit code of an operation of the device macro store, with its one
// line (import-base-macros imports through the store, as macro import does).
int MacroStoreResult(CommandContext& context, const Result<void>& outcome);

}  // namespace vrdk::cli
