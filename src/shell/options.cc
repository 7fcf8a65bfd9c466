#include "shell/options.h"

namespace vrdk::shell {
namespace {

// "--name=value" or "--name value": the value, advancing `i` past it.
Result<std::string> ValueOf(const std::vector<std::string>& args, std::size_t& i,
                            const std::string& name) {
  const std::string& arg = args[i];
  if (arg.size() > name.size() && arg[name.size()] == '=') return arg.substr(name.size() + 1);
  if (i + 1 < args.size()) return args[++i];
  return Error{ErrorKind::kInvalid, name + " needs a value"};
}

Error Wrong(std::string message) { return Error{ErrorKind::kInvalid, std::move(message)}; }

bool Matches(const std::string& arg, const std::string& name) {
  return arg == name || (arg.rfind(name + "=", 0) == 0);
}

}  // namespace

Result<ShellOptions> ParseShellOptions(const std::vector<std::string>& args) {
  ShellOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--engineer") {
      options.engineer = true;
    } else if (arg == "--simulate") {
      options.simulate = true;
    } else if (arg.rfind("--simulate=", 0) == 0) {
      options.simulate = true;
      options.simulate_file = arg.substr(std::string("--simulate=").size());
      if (options.simulate_file.empty()) return Wrong("--simulate= needs a FILE");
    } else if (Matches(arg, "--memory-type")) {
      const auto value = ValueOf(args, i, "--memory-type");
      if (!value.ok()) return value.error();
      options.memory_type = MemoryTypeFromName(value.value());
      if (!options.memory_type) {
        return Wrong("--memory-type is I2C or Flash, not \"" + value.value() + "\"");
      }
    } else if (Matches(arg, "--simulate-fault")) {
      const auto value = ValueOf(args, i, "--simulate-fault");
      if (!value.ok()) return value.error();
      if (auto added = AddSimulationFault(value.value(), options.faults); !added.ok()) {
        return added.error();
      }
    } else if (Matches(arg, "--trace") || Matches(arg, "--layout-report") ||
               Matches(arg, "--screenshots")) {
      const std::string name = arg.substr(0, arg.find('='));
      const auto value = ValueOf(args, i, name);
      if (!value.ok()) return value.error();
      std::string& field = name == "--trace"           ? options.trace_file
                           : name == "--layout-report" ? options.layout_report
                                                       : options.screenshots;
      field = value.value();
    } else {
      return Wrong("unknown option \"" + arg + "\" (see --help)");
    }
  }
  const bool faults = options.faults.no_access || options.faults.no_response_handle ||
                      options.faults.mouse.fail_command_from >= 0 ||
                      options.faults.mouse.fail_data_report_from >= 0 ||
                      options.faults.mouse.drop_answer_from >= 0 ||
                      options.faults.mouse.unplug_at_transfer >= 0;
  if (faults && !options.simulate) return Wrong("--simulate-fault needs --simulate");
  return options;
}

std::string ShellUsage() {
  return "Usage: vrdk-mouse [OPTIONS]\n"
         "The configuration window of a VRDK2280 gaming mouse, or of its simulated twin.\n"
         "\n"
         "  --simulate[=FILE]          use the built-in simulated mouse; FILE is its memory\n"
         "                             (2048 bytes: I2C, 65536: Flash), created from default\n"
         "                             image 1 when missing and written back at exit\n"
         "                             (default: $XDG_STATE_HOME/vrdk/mouse.bin)\n"
         "  --memory-type=I2C|Flash    the memory the program expects (default I2C, or the\n"
         "                             simulated mouse's own)\n"
         "  --simulate-fault=KIND[:N]  with --simulate: fail-command:N, fail-chunk:N,\n"
         "                             drop-answer:N, unplug:N, no-response-handle, no-access\n"
         "  --trace=FILE               append one line per HID report transfer to FILE\n"
         "  --layout-report=FILE       keep FILE the window's layout as JSON (for skin authors)\n"
         "  --screenshots=DIR          render every page in every language into DIR and end\n"
         "  --engineer                 open the engineer page once the mouse is read (it\n"
         "                             asks for the access code first)\n"
         "  --help, --version\n";
}

}  // namespace vrdk::shell
