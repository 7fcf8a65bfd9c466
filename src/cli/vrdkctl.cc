#include "cli/vrdkctl.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>

#include "app/face_session.h"
#include "cli/commands.h"
#include "cli/completion.h"
#include "cli/terminal_events.h"
#include "hid/tracing_backend.h"
#include "session/session.h"

namespace vrdk::cli {
namespace {

struct GlobalOptions {
  BusOptions bus;
  bool json = false;
  int language = 1;
};

// Everything one run holds: the bus (simulated or real, traced or not), the
// clock, the face and the Session.
class Run {
 public:
  Run(const GlobalOptions& options, std::ostream& out, std::ostream& err, const RunOptions& run)
      : options_(options), out_(out), err_(err), run_(run) {}

  int Execute(const CommandRegistry::Chosen& command);

 private:
  int Prepare();
  int Finish(int code);
  bool Connect();
  int Fail(int code, const std::string& message) {
    err_ << "vrdkctl: " << message << '\n';
    return code;
  }

  const GlobalOptions& options_;
  std::ostream& out_;
  std::ostream& err_;
  RunOptions run_;

  std::unique_ptr<Clock> clock_;
  std::unique_ptr<TerminalEvents> events_;
  FaceSession face_;
  Session* session_ = nullptr;
};

int Run::Prepare() {
  // A simulated mouse's waits are counted, not slept.
  if (options_.bus.simulate) {
    auto clock = std::make_unique<CountingClock>();
    clock->SetRecording(false);
    clock_ = std::move(clock);
  } else {
    clock_ = std::make_unique<SystemClock>();
  }
  events_ = std::make_unique<TerminalEvents>(err_, run_.stderr_is_terminal);
  if (!face_.Prepare(options_.bus, *clock_, *events_)) return Fail(kExitFileError, face_.Error());
  session_ = &face_.GetSession();
  for (const auto& error : face_.BrandErrors()) err_ << "vrdkctl: " << error.Message() << '\n';
  session_->SetCurrentLanguage(options_.language);
  events_->SetLanguage(&session_->Language());
  session_->StartUp();
  return kExitDone;
}

int Run::Finish(int code) {
  if (!face_.Finish()) {
    const int failed = Fail(kExitFileError, face_.Error());
    if (code == kExitDone) code = failed;
  }
  return code;
}

bool Run::Connect() {
  session_->ReFindDev();
  if (session_->Conn().state == ConnectionState::kConnected) return true;
  if (const auto& denied = session_->Conn().access_denied) {
    Fail(kExitAccessDenied, "found the mouse at " + denied->path +
                                ", but this user may not open it (" + denied->reason +
                                "). Install the udev rule packaging/70-vrdk-mouse.rules as the "
                                "README says (\"Using the mouse without root\"), then unplug "
                                "and replug the mouse.");
  } else if (session_->Conn().read_failed) {
    // The read said so on stderr; nothing was sent after it.
    return false;
  } else if (session_->Conn().lost_during_read) {
    Fail(kExitNoMouse, "the mouse left the bus while it was being read");
  } else if (session_->Conn().state == ConnectionState::kOpening && events_->Messages().empty()) {
    // Opened, but its answer to the device information is not the mouse's.
    const auto& answer = session_->Link().ResponseData();
    Fail(kExitNoMouse,
         "a device with the mouse's ids was found, but it did not identify itself as the mouse "
         "(its device information answer was " +
             TracingBackend::HexBytes(answer) +
             "; the mouse answers 40 or more, 3A, then C0 for \"I2C\" or 80 for \"Flash\")");
  } else if (events_->Messages().empty()) {
    const auto target = session_->Conn().target;
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04X:%04X", target.vendor_id, target.product_id);
    std::string message = std::string("no mouse found (looking for ") + ids + ")";
    const std::string reason = session_->Link().Backend().LastError();
    if (!reason.empty()) message += ": " + reason;
    Fail(kExitNoMouse, message);
  }
  return false;
}

int Run::Execute(const CommandRegistry::Chosen& command) {
  if (const int code = Prepare(); code != kExitDone) return code;
  if (command.needs_mouse == NeedsMouse::kYes && !Connect()) {
    const Connection& conn = session_->Conn();
    return Finish(conn.access_denied ? kExitAccessDenied
                  : conn.read_failed ? kExitDeviceFailed
                                     : kExitNoMouse);
  }
  CommandContext context(*session_, out_, err_, options_.json);
  const std::size_t troubles_before = session_->Troubles().size();
  int code = command.run(context);
  // A change the mouse did not take whole was told on stderr as it happened,
  // saying what the mouse holds; the run must not call it done.
  if (code == kExitDone && session_->Troubles().size() != troubles_before) {
    code = kExitDeviceFailed;
  }
  return Finish(code);
}

}  // namespace

namespace {

// Levenshtein distance, for "did you mean".
std::size_t Distance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// "unknown command 'infoo'; did you mean 'info'?" for the first word of the
// line that names no command where one is wanted; nothing when every
// command word is known.
std::optional<std::string> UnknownCommand(const CLI::App& app,
                                          const std::vector<std::string>& argv) {
  // The global options that take a value in the next word.
  const std::vector<std::string> valued = {"--trace", "--memory-type", "--lang",
                                           "--simulate-fault"};
  const CLI::App* level = &app;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& word = argv[i];
    if (word.starts_with("-")) {
      if (std::find(valued.begin(), valued.end(), word) != valued.end()) ++i;
      continue;
    }
    const auto commands = level->get_subcommands([](const CLI::App*) { return true; });
    if (commands.empty()) return std::nullopt;  // the command's own arguments
    const CLI::App* next = nullptr;
    for (const CLI::App* command : commands) {
      if (command->check_name(word)) next = command;
    }
    if (next != nullptr) {
      level = next;
      continue;
    }
    std::string nearest;
    std::size_t best = 3;  // no suggestion further than two edits
    for (const CLI::App* command : commands) {
      const std::string& name = command->get_name();
      const std::size_t distance = Distance(word, name);
      if (distance < best || (nearest.empty() && name.starts_with(word) && !word.empty())) {
        best = std::min(best, distance);
        nearest = name;
      }
    }
    std::string message = "unknown command '" + word + "'";
    if (level != &app) message = "unknown " + level->get_name() + " command '" + word + "'";
    if (!nearest.empty()) message += "; did you mean '" + nearest + "'?";
    return message;
  }
  return std::nullopt;
}

}  // namespace

int RunVrdkctl(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err,
               const RunOptions& options) {
  GlobalOptions globals;
  CLI::App app{"vrdkctl: inspect and configure a VRDK2280 gaming mouse, or its simulated twin.",
               "vrdkctl"};
  app.footer(kExitCodesHelp);
  app.set_version_flag("--version", std::string("vrdkctl ") + VRDK_VERSION);
  app.require_subcommand(1);
  // Subcommands made from here on pass options they do not know to the
  // program, so the global options also work after the command.
  app.fallthrough();
  auto* simulate =
      app.add_option(
             "--simulate", globals.bus.simulate_file,
             "Use the built-in simulated mouse. FILE is its memory (2048 bytes: I2C, 65536: "
             "Flash), created from default image 1 when missing, written back at exit; "
             "default: $XDG_STATE_HOME/vrdk/mouse.bin")
          ->expected(0, 1)
          ->type_name("[=FILE]");
  app.add_option_function<std::string>(
         "--memory-type",
         [&globals](const std::string& name) {
           globals.bus.memory_type = MemoryTypeFromName(name);
           if (!globals.bus.memory_type)
             throw CLI::ValidationError("--memory-type", "I2C or Flash");
         },
         "The memory the program expects: I2C (default, as shipped) or Flash; with --simulate "
         "also the memory a missing FILE starts with (default: the type of FILE)")
      ->type_name("I2C|Flash");
  auto* fault = app.add_option_function<std::vector<std::string>>(
      "--simulate-fault",
      [&globals](const std::vector<std::string>& values) {
        for (const auto& value : values) {
          if (const auto added = AddSimulationFault(value, globals.bus.faults); !added.ok()) {
            throw CLI::ValidationError(added.message());
          }
        }
      },
      "With --simulate: make the simulated mouse fail as a real one can (see docs/cli.md): "
      "fail-command:N[:COUNT], fail-chunk:N[:COUNT], drop-answer:N[:COUNT], "
      "forget-chunk:N[:COUNT], unplug:N, "
      "no-response-handle, no-access; N counts the run's feature transfers from 0, COUNT how "
      "many transfers of that kind fail from there (default 1)");
  fault->type_name("KIND[:N[:COUNT]]")->needs(simulate);
  app.add_option("--trace", globals.bus.trace_file,
                 "Append one line per HID report transfer to FILE (> sent, < received, I input)")
      ->type_name("FILE");
  app.add_flag("--json", globals.json, "Print data as JSON");
  app.add_option("--lang", globals.language, "Language of names and messages: 1, 2 or 3")
      ->check(CLI::Range(1, 3).description(""))
      ->type_name("1|2|3");

  CommandRegistry registry;
  AddCoreCommands(app, registry);
  AddSettingsCommands(app, registry);
  AddEngineerCommands(app, registry);
  AddLedCommands(app, registry);
  AddPointerCommands(app, registry);
  AddKeyCommands(app, registry);
  AddMacroCommands(app, registry);
  AddDocumentCommands(app, registry);
  std::string shell;
  registry
      .AddCommand(&app, "completion",
                  "Print the completion script of SHELL (bash, zsh or fish); the package "
                  "installs all three",
                  NeedsMouse::kNo,
                  [&app, &shell](CommandContext& context) {
                    context.Out() << CompletionScript(app, *CompletionShellFromName(shell));
                    return kExitDone;
                  })
      ->add_option("SHELL", shell, "bash, zsh or fish")
      ->check(CLI::IsMember({"bash", "zsh", "fish"}))
      ->required();

  std::vector<std::string> reversed(argv.rbegin(), argv.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    // Help and the version are printed as asked; a mistake is told with the
    // program's name, a mistyped command with the one nearest to it.
    if (error.get_exit_code() == 0) {
      app.exit(error, out, err);
      return kExitDone;
    }
    if (const auto unknown = UnknownCommand(app, argv)) {
      err << "vrdkctl: " << *unknown << '\n';
    } else {
      err << "vrdkctl: " << error.what() << '\n';
    }
    err << "Run 'vrdkctl --help' for the commands and options.\n";
    return kExitUsage;
  }
  if (!registry.chosen()) return kExitUsage;
  globals.bus.simulate = simulate->count() > 0;
  globals.bus.hidraw_root = options.hidraw_root;
  Run run(globals, out, err, options);
  return run.Execute(*registry.chosen());
}

}  // namespace vrdk::cli
