// library, macro and firemacro: the macro library file, the macros in the
// mouse, and the fire-macro scripts, through the same stores as the window.

#include <algorithm>
#include <memory>
#include <sstream>

#include "cli/commands.h"
#include "files/atomic_file.h"
#include "keys/editors/key_assignment.h"
#include "macros/editors/device_macros.h"
#include "macros/macro_library.h"

namespace vrdk::cli {
namespace {

using nlohmann::json;

struct MacroArgs {
  std::string library_file;  // --library
  std::string name;
  std::string other;
  std::string file;
  std::string colour;
  bool offset = false;
  bool plain = false;
  bool keep_left = false;
  std::string start;
  std::string count;
};

std::optional<std::u16string> Name(CommandContext& context, const std::string& text, int* code) {
  auto name = macros::Utf8ToUtf16(text);
  if (!name) *code = context.Fail(kExitUsage, "the macro name is not valid UTF-8");
  return name;
}

int LibraryFailure(CommandContext& context, const Result<void>& outcome) {
  if (outcome.ok()) return kExitDone;
  using Kind = ErrorKind;
  switch (outcome.error().kind) {
    case Kind::kDuplicate:
      return context.Fail(kExitRefused, context.GetSession().Language().Text(
                                            macros::MacroLibrary::kDuplicateMessage));
    case Kind::kFull:
    case Kind::kTooLong:
    case Kind::kBusy:
      return context.Fail(kExitRefused, outcome.message());
    case Kind::kFileError:
      return context.Fail(kExitFileError, outcome.message());
    case Kind::kNoSuchMacro:
    case Kind::kBadName:
    case Kind::kInvalid:
      return context.Fail(kExitUsage, outcome.message());
    default:
      break;
  }
  return kExitUsage;
}

int StoreFailure(CommandContext& context, const Result<void>& outcome) {
  if (outcome.ok()) return kExitDone;
  using Kind = ErrorKind;
  switch (outcome.error().kind) {
    case Kind::kNoRoom:
      // The store has shown "Str103" already.
      return kExitRefused;
    case Kind::kFull:
    case Kind::kRefused:
      return context.Fail(kExitRefused, outcome.message());
    case Kind::kNoSuchMacro:
      return context.Fail(kExitUsage, outcome.message());
    case Kind::kDeviceFailed:
      return outcome.error().shown ? kExitDeviceFailed
                                   : context.Fail(kExitDeviceFailed, outcome.message());
    case Kind::kFileError:
      return context.Fail(kExitFileError, outcome.message());
    default:
      break;
  }
  return kExitUsage;
}

// Opens the library named by --library, or "Macro.bin" in the brand's folder
// or the user's data folder.
std::optional<macros::MacroLibrary> OpenLibrary(CommandContext& context, const MacroArgs& args,
                                                int* code) {
  std::optional<std::string> path = args.library_file;
  if (path->empty()) path = macros::LibraryPath(context.GetSession().Brand().macro_folder);
  if (!path) {
    *code = context.Fail(kExitFileError,
                         "no data folder: set XDG_DATA_HOME or HOME, or give --library=FILE");
    return std::nullopt;
  }
  macros::MacroLibrary library;
  if (auto loaded = library.Load(*path); !loaded.ok()) {
    *code = LibraryFailure(context, loaded);
    return std::nullopt;
  }
  return library;
}

std::optional<int> LibraryIndex(CommandContext& context, const macros::MacroLibrary& library,
                                const std::string& text, int* code) {
  auto name = Name(context, text, code);
  if (!name) return std::nullopt;
  auto index = library.Find(*name);
  if (!index) *code = context.Fail(kExitUsage, "no macro named \"" + text + "\" in the library");
  return index;
}

void PrintLines(CommandContext& context, const macros::MacroText& lines) {
  std::string text;
  for (const auto& line : lines) text += line + '\n';
  context.Print({{"lines", lines}}, text);
}

// Library commands: each opens the library, then does one thing.
using LibraryRun = std::function<int(CommandContext&, macros::MacroLibrary&, const MacroArgs&)>;

CommandRun WithLibrary(std::shared_ptr<MacroArgs> args, LibraryRun run) {
  return [args, run](CommandContext& context) {
    int code = kExitDone;
    auto library = OpenLibrary(context, *args, &code);
    if (!library) return code;
    return run(context, *library, *args);
  };
}

int ReadLinesFile(CommandContext& context, const std::string& file, macros::MacroText* lines) {
  // 1024 lines of event text fit well within this; more is not a lines file.
  constexpr std::size_t kMaxBytes = 256 * 1024;
  const auto read = files::ReadFilePrefix(file, kMaxBytes + 1);
  if (!read.ok()) return context.Fail(kExitFileError, read.message());
  const std::vector<std::uint8_t>& bytes = read.value();
  if (bytes.size() > kMaxBytes) {
    return context.Fail(kExitFileError, file + " is larger than a lines file can be (" +
                                            std::to_string(kMaxBytes / 1024) + " KiB)");
  }
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    lines->push_back(line);
    if (lines->size() > 1024) return context.Fail(kExitUsage, file + " holds too many lines");
  }
  if (lines->empty())
    return context.Fail(kExitUsage, file + " is empty: the header line comes first");
  return kExitDone;
}

void AddLibraryCommands(CLI::App& app, CommandRegistry& registry, std::shared_ptr<MacroArgs> args) {
  CLI::App* library = registry.AddGroup(&app, "library", "The macro library file (Macro.bin)");
  registry.AddCommand(
      library, "list", "List the library's macros", NeedsMouse::kNo,
      WithLibrary(args, [](CommandContext& context, macros::MacroLibrary& lib, const MacroArgs&) {
        json names = json::array();
        std::string text;
        for (const auto& name : lib.Names()) {
          names.push_back(macros::Utf16ToUtf8(name));
          text += macros::Utf16ToUtf8(name) + '\n';
        }
        context.Print({{"names", names}}, text);
        return kExitDone;
      }));
  registry
      .AddCommand(
          library, "show", "Print a macro's event lines, header line first", NeedsMouse::kNo,
          WithLibrary(args,
                      [](CommandContext& context, macros::MacroLibrary& lib, const MacroArgs& a) {
                        int code = kExitDone;
                        const auto index = LibraryIndex(context, lib, a.name, &code);
                        if (!index) return code;
                        PrintLines(context, lib.Lines(*index)->lines);
                        return kExitDone;
                      }))
      ->add_option("NAME", args->name)
      ->required();
  registry
      .AddCommand(
          library, "new", "Add an empty macro named NAME (at most 8 characters)", NeedsMouse::kNo,
          WithLibrary(args,
                      [](CommandContext& context, macros::MacroLibrary& lib, const MacroArgs& a) {
                        int code = kExitDone;
                        const auto name = Name(context, a.name, &code);
                        if (!name) return code;
                        return LibraryFailure(context, lib.New(*name));
                      }))
      ->add_option("NAME", args->name)
      ->required();
  CLI::App* rename = registry.AddCommand(
      library, "rename", "Rename macro OLD to NEW", NeedsMouse::kNo,
      WithLibrary(args, [](CommandContext& context, macros::MacroLibrary& lib, const MacroArgs& a) {
        int code = kExitDone;
        const auto index = LibraryIndex(context, lib, a.name, &code);
        if (!index) return code;
        const auto name = Name(context, a.other, &code);
        if (!name) return code;
        return LibraryFailure(context, lib.Rename(*index, *name));
      }));
  rename->add_option("OLD", args->name)->required();
  rename->add_option("NEW", args->other)->required();
  registry
      .AddCommand(
          library, "delete", "Delete a macro; the later ones move up", NeedsMouse::kNo,
          WithLibrary(args,
                      [](CommandContext& context, macros::MacroLibrary& lib, const MacroArgs& a) {
                        int code = kExitDone;
                        const auto index = LibraryIndex(context, lib, a.name, &code);
                        if (!index) return code;
                        return LibraryFailure(context, lib.Delete(*index));
                      }))
      ->add_option("NAME", args->name)
      ->required();
  CLI::App* set = registry.AddCommand(
      library, "set", "Replace a macro's events by the event lines in FILE (as 'show' prints them)",
      NeedsMouse::kNo,
      WithLibrary(args, [](CommandContext& context, macros::MacroLibrary& lib, const MacroArgs& a) {
        int code = kExitDone;
        const auto index = LibraryIndex(context, lib, a.name, &code);
        if (!index) return code;
        macros::MacroText lines;
        if (code = ReadLinesFile(context, a.file, &lines); code != kExitDone) return code;
        return LibraryFailure(context, lib.SetLines(*index, lines));
      }));
  set->add_option("NAME", args->name)->required();
  set->add_option("FILE", args->file)->required();
  registry
      .AddCommand(
          library, "import-one", "Add the macro of a single-macro file (272 bytes)",
          NeedsMouse::kNo,
          WithLibrary(args,
                      [](CommandContext& context, macros::MacroLibrary& lib, const MacroArgs& a) {
                        return LibraryFailure(context, lib.ImportOne(a.file));
                      }))
      ->add_option("FILE", args->file)
      ->required();
  CLI::App* export_one = registry.AddCommand(
      library, "export-one", "Write one macro to a single-macro file", NeedsMouse::kNo,
      WithLibrary(args, [](CommandContext& context, macros::MacroLibrary& lib, const MacroArgs& a) {
        int code = kExitDone;
        const auto index = LibraryIndex(context, lib, a.name, &code);
        if (!index) return code;
        return LibraryFailure(context, lib.ExportOne(*index, a.file));
      }));
  export_one->add_option("NAME", args->name)->required();
  export_one->add_option("FILE", args->file)->required();
  registry
      .AddCommand(
          library, "import", "Replace the whole library by a library file (27200 bytes)",
          NeedsMouse::kNo,
          WithLibrary(args,
                      [](CommandContext& context, macros::MacroLibrary& lib, const MacroArgs& a) {
                        return LibraryFailure(context, lib.ImportAll(a.file));
                      }))
      ->add_option("FILE", args->file)
      ->required();
  registry
      .AddCommand(
          library, "export", "Write the whole library to FILE", NeedsMouse::kNo,
          WithLibrary(args,
                      [](CommandContext& context, macros::MacroLibrary& lib, const MacroArgs& a) {
                        return LibraryFailure(context, lib.ExportAll(a.file));
                      }))
      ->add_option("FILE", args->file)
      ->required();
}

macros::DeviceMacros& Store(CommandContext& context) {
  return *macros::FindDeviceMacros(context.GetSession());
}

std::optional<int> DeviceIndex(CommandContext& context, const std::string& name, int* code) {
  auto index = Store(context).Find(name);
  if (!index) *code = context.Fail(kExitUsage, "no macro named \"" + name + "\" in the mouse");
  return index;
}

void AddDeviceCommands(CLI::App& app, CommandRegistry& registry, std::shared_ptr<MacroArgs> args) {
  CLI::App* macro = registry.AddGroup(&app, "macro", "The macros stored in the mouse");
  registry.AddCommand(macro, "list", "List the mouse's macros and their addresses",
                      NeedsMouse::kYes, [](CommandContext& context) {
                        auto& store = Store(context);
                        json list = json::array();
                        std::string text;
                        const auto names = store.Names();
                        for (std::size_t i = 0; i < names.size(); ++i) {
                          char address[8];
                          std::snprintf(address, sizeof address, "0x%04X",
                                        *store.Address(static_cast<int>(i)));
                          list.push_back({{"name", names[i]}, {"address", address}});
                          text += names[i] + "  " + address + '\n';
                        }
                        context.Print({{"macros", list}}, text);
                        return kExitDone;
                      });
  registry
      .AddCommand(macro, "show", "Print a mouse macro's event lines", NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    int code = kExitDone;
                    const auto index = DeviceIndex(context, args->name, &code);
                    if (!index) return code;
                    PrintLines(context, Store(context).Lines(*index)->lines);
                    return kExitDone;
                  })
      ->add_option("NAME", args->name)
      ->required();
  registry
      .AddCommand(macro, "add", "Copy a library macro into the mouse", NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    int code = kExitDone;
                    auto library = OpenLibrary(context, *args, &code);
                    if (!library) return code;
                    const auto index = LibraryIndex(context, *library, args->name, &code);
                    if (!index) return code;
                    return StoreFailure(
                        context,
                        Store(context).Add(library->Records()[static_cast<std::size_t>(*index)]));
                  })
      ->add_option("LIBRARY_NAME", args->name)
      ->required();
  registry
      .AddCommand(macro, "delete",
                  "Delete a mouse macro; buttons that played it get their fallback function",
                  NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    int code = kExitDone;
                    const auto index = DeviceIndex(context, args->name, &code);
                    if (!index) return code;
                    return StoreFailure(context, Store(context).Delete(*index));
                  })
      ->add_option("NAME", args->name)
      ->required();
  registry.AddCommand(
      macro, "save", "Write the macros and the profiles to the mouse again", NeedsMouse::kYes,
      [](CommandContext& context) { return StoreFailure(context, Store(context).Save()); });
  registry
      .AddCommand(macro, "export", "Write the mouse's macros to FILE (512 or 8704 bytes)",
                  NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    return StoreFailure(context, Store(context).Export(args->file));
                  })
      ->add_option("FILE", args->file)
      ->required();
  registry
      .AddCommand(macro, "import", "Replace the mouse's macros by an export file", NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    return StoreFailure(context, Store(context).Import(args->file));
                  })
      ->add_option("FILE", args->file)
      ->required();
}

// The scripts' own checks come first, so what is left is a file error.
int FireMacroFailure(CommandContext& context, const Result<void>& done) {
  return done.ok() ? kExitDone : context.Fail(kExitFileError, done.message());
}

void AddFireMacroCommands(CLI::App& app, CommandRegistry& registry,
                          std::shared_ptr<MacroArgs> args) {
  CLI::App* fire = registry.AddGroup(&app, "firemacro", "The fire-macro scripts (Fire Macro.bin)");
  registry.AddCommand(fire, "list", "List the scripts and their codes", NeedsMouse::kNo,
                      [](CommandContext& context) {
                        auto& scripts = Store(context).FireMacros();
                        json list = json::array();
                        std::string text;
                        const auto names = scripts.Names();
                        const auto entries = scripts.Items();
                        for (std::size_t i = 0; i < names.size(); ++i) {
                          const std::string code = scripts.Text(entries[i]);
                          list.push_back({{"name", names[i]}, {"code", code}});
                          text += names[i] + "  " + code + '\n';
                        }
                        context.Print({{"scripts", list}}, text);
                        return kExitDone;
                      });
  CLI::App* add = registry.AddCommand(
      fire, "add",
      "Add a script: --offset COLOR (1 to 10, or user) or --plain [--keep-left] START COUNT",
      NeedsMouse::kNo, [args](CommandContext& context) {
        macros::FireMacroParameters parameters;
        args->offset = !args->colour.empty();
        auto& scripts = Store(context).FireMacros();
        if (scripts.Count() >= static_cast<int>(macros::kFireMacroSlots)) {
          return context.Fail(kExitRefused, "all ten fire-macro scripts are in use");
        }
        if (args->offset == args->plain) {
          return context.Fail(kExitUsage, "give either --offset COLOR or --plain START COUNT");
        }
        if (args->offset) {
          const auto colour =
              args->colour == "user" ? std::optional<long>(16) : ParseNumber(args->colour, 1, 10);
          if (!colour) return context.Fail(kExitUsage, "COLOR must be 1 to 10 or user");
          parameters.colour = static_cast<int>(*colour) - 1;
        } else {
          const auto start = ParseNumber(args->start, 1, 10);
          const auto count = ParseNumber(args->count, 1, 10);
          if (!start || !count) return context.Fail(kExitUsage, "START and COUNT must be 1 to 10");
          parameters = {false, 0, args->keep_left, static_cast<int>(*start) - 1,
                        static_cast<int>(*count)};
        }
        const auto code = macros::BuildFireMacroCode(parameters);
        return FireMacroFailure(context, scripts.Add(*code));
      });
  add->add_option("--offset", args->colour, "Offset form with LED colour 1..10 or user")
      ->type_name("COLOR");
  add->add_flag("--plain", args->plain, "Plain form: START position and COUNT, 1 to 10 each");
  add->add_flag("--keep-left", args->keep_left, "Plain form: the gun key keeps the left button");
  add->add_option("START", args->start);
  add->add_option("COUNT", args->count);
  registry
      .AddCommand(fire, "delete", "Delete script N (Fire MacroN); the later ones are renumbered",
                  NeedsMouse::kNo,
                  [args](CommandContext& context) {
                    auto& scripts = Store(context).FireMacros();
                    const auto entries = scripts.Items();
                    const auto n = ParseNumber(args->start, 1, 10);
                    if (!n || std::find(entries.begin(), entries.end(), *n - 1) == entries.end()) {
                      return context.Fail(kExitUsage,
                                          "N must be the number of a script in "
                                          "'firemacro list'");
                    }
                    return FireMacroFailure(context, scripts.Delete(static_cast<int>(*n) - 1));
                  })
      ->add_option("N", args->start)
      ->required();
}

}  // namespace

int MacroStoreResult(CommandContext& context, const Result<void>& outcome) {
  return StoreFailure(context, outcome);
}

int AssignMacroButton(CommandContext& context, int profile, int button, const std::string& name) {
  Session& session = context.GetSession();
  if (profile < 1 || profile > 3) return context.Fail(kExitUsage, "PROFILE must be 1, 2 or 3");
  int code = kExitDone;
  const auto index = DeviceIndex(context, name, &code);
  if (!index) return code;
  session.Pages().mode_page = profile;
  keys::KeyAssignment(session).RefreshProfileKeys(profile);
  return StoreFailure(context, Store(context).AssignToButton(button, *index));
}

void AddMacroCommands(CLI::App& app, CommandRegistry& registry) {
  auto args = std::make_shared<MacroArgs>();
  app.add_option("--library", args->library_file,
                 "The macro library file (default: Macro.bin in $XDG_DATA_HOME/vrdk/)")
      ->type_name("FILE");
  AddLibraryCommands(app, registry, args);
  AddDeviceCommands(app, registry, args);
  AddFireMacroCommands(app, registry, args);
}

}  // namespace vrdk::cli
