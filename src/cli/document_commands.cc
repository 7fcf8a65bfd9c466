// export and apply: the mouse's settings as a document to keep, share,
// review and apply (see settings_document.h).

#include <iostream>
#include <iterator>
#include <memory>
#include <variant>

#include "cli/commands.h"
#include "cli/settings_document.h"
#include "files/atomic_file.h"

namespace vrdk::cli {
namespace {

using nlohmann::json;

// A settings document is a few kilobytes; anything far larger is no such document.
constexpr std::size_t kLargestDocument = 1 << 20;

struct DocumentArgs {
  std::string file = "-";
  bool dry_run = false;
  bool engineer = false;
};

int LiveSettingsFailed(CommandContext& context) {
  return context.Fail(kExitDeviceFailed,
                      "the live settings could not be read whole; nothing was changed");
}

// The document in FILE ("-": standard input), or the exit code of why not.
std::variant<json, int> ReadDocument(CommandContext& context, const std::string& file) {
  std::string text;
  if (file == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    const auto read = files::ReadFilePrefix(file, kLargestDocument + 1);
    if (!read.ok()) return context.Fail(kExitFileError, read.message());
    text.assign(read.value().begin(), read.value().end());
  }
  if (text.size() > kLargestDocument) {
    return context.Fail(kExitFileError, file + " is larger than a settings document can be");
  }
  try {
    return json::parse(text);
  } catch (const json::parse_error& error) {
    return context.Fail(kExitFileError, file + " is no JSON document: " + error.what());
  }
}

json ChangesJson(const std::vector<SettingChange>& changes) {
  json list = json::array();
  for (const SettingChange& change : changes) {
    list.push_back({{"path", change.path}, {"before", change.before}, {"after", change.after}});
  }
  return list;
}

std::string ChangesText(const std::vector<SettingChange>& changes, const char* lead,
                        bool whole = true) {
  if (changes.empty()) {
    return whole ? "nothing to change: the mouse holds the document's settings\n"
                 : "no change was made\n";
  }
  std::string text;
  for (const SettingChange& change : changes) text += lead + ChangeLine(change) + '\n';
  return text;
}

int Apply(CommandContext& context, const DocumentArgs& args) {
  const auto read = ReadDocument(context, args.file);
  if (const int* code = std::get_if<int>(&read)) return *code;
  const json& document = std::get<json>(read);
  Session& session = context.GetSession();
  if (!TakeLiveSettings(session)) return LiveSettingsFailed(context);
  ApplyPlan plan = PlanSettings(session, document, args.engineer);
  if (!plan.problems.empty()) {
    const std::string where = args.file == "-" ? "the document" : args.file;
    for (const DocumentProblem& problem : plan.problems) {
      context.Note(where + ": " + problem.path + ": " + problem.message);
    }
    return context.Fail(kExitUsage, "nothing was sent");
  }
  if (!plan.engineer_left.empty()) {
    context.Note(std::to_string(plan.engineer_left.size()) +
                 " engineer settings of the document differ from the mouse and were left "
                 "alone; give --engineer to apply them");
  }
  if (args.dry_run) {
    context.Print({{"dry_run", true}, {"changes", ChangesJson(plan.changes)}},
                  ChangesText(plan.changes, "would change "));
    return kExitDone;
  }
  // Each change is made whole or the apply stops there: a change the mouse
  // did not take is a failed write the session has told already.
  std::vector<SettingChange> made;
  int failed = kExitDone;
  const auto make = [&](const SettingChange& change) {
    const std::size_t troubles = session.Troubles().size();
    const auto outcome = change.make(session);
    if (!outcome.ok()) {
      failed = ExitFor(context, outcome);
    } else if (session.Troubles().size() != troubles) {
      failed = kExitDeviceFailed;
    } else {
      made.push_back(change);
    }
    return failed == kExitDone;
  };
  const auto report = [&] {
    const bool whole = failed == kExitDone;
    context.Print({{"dry_run", false}, {"changes", ChangesJson(made)}, {"whole", whole}},
                  ChangesText(made, "changed ", whole) +
                      (whole ? "" : "the other changes of the document were not made\n"));
    return failed;
  };
  // A new LED type restores the factory settings of the type: the rest of
  // the document is planned again against them.
  if (!plan.changes.empty() && plan.changes.front().stage == ChangeStage::kLedType) {
    if (!make(plan.changes.front())) return report();
    if (!TakeLiveSettings(session)) {
      failed = LiveSettingsFailed(context);
      return report();
    }
    plan = PlanSettings(session, document, args.engineer);
  }
  for (const SettingChange& change : plan.changes) {
    if (change.stage == ChangeStage::kLedType) continue;
    if (!make(change)) return report();
  }
  return report();
}

}  // namespace

void AddDocumentCommands(CLI::App& app, CommandRegistry& registry) {
  auto args = std::make_shared<DocumentArgs>();
  registry
      .AddCommand(&app, "export",
                  "Write the mouse's settings as a JSON document (buttons, DPI, polling rate, "
                  "lighting, fire and AIM keys, gestures, macros, the engineer page) to FILE, or "
                  "to standard output",
                  NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    Session& session = context.GetSession();
                    if (!TakeLiveSettings(session)) return LiveSettingsFailed(context);
                    const std::string text = ExportSettings(session).dump(2) + '\n';
                    if (args->file == "-") {
                      context.Out() << text;
                      return kExitDone;
                    }
                    const auto written = files::WriteFileAtomically(
                        args->file,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
                    if (!written.ok()) return context.Fail(kExitFileError, written.message());
                    return kExitDone;
                  })
      ->add_option("FILE", args->file, "The document to write; - or none: standard output");
  CLI::App* apply = registry.AddCommand(
      &app, "apply",
      "Apply a settings document (whole or in part): every key is checked first, and only what "
      "differs from the mouse is sent",
      NeedsMouse::kYes, [args](CommandContext& context) { return Apply(context, *args); });
  apply->add_option("FILE", args->file, "The document; - for standard input")->required();
  apply->add_flag("--dry-run", args->dry_run, "Print the changes, one line each, and send nothing");
  apply->add_flag("--engineer", args->engineer,
                  "Also apply the engineer object: the USB identity, the customer codes, the "
                  "chip options, the sensor registers and the recoil offsets");
}

}  // namespace vrdk::cli
