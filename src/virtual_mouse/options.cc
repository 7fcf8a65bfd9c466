#include "virtual_mouse/options.h"

#include <charconv>

namespace vrdk {

std::string_view VirtualMouseUsage() {
  return "usage: vrdk-virtual-mouse [--image=FILE] [--memory-type=I2C|Flash] [--keyboard]\n"
         "                          [--composite] [--unplug-after=N] [--uhid=PATH]\n"
         "Puts a simulated mouse (1BCF:08B8) on the HID bus through uhid.\n"
         "  --image=FILE        its memory: 2048 bytes \"I2C\", 65536 bytes \"Flash\"; a\n"
         "                      missing file starts as factory memory; written back after\n"
         "                      writes and on exit\n"
         "  --memory-type=TYPE  the memory type of a missing image (default I2C)\n"
         "  --keyboard          also put an unrelated keyboard on the bus\n"
         "  --composite         one interface with a mouse, a consumer-control and the\n"
         "                      vendor collection, as many gaming mice have\n"
         "  --unplug-after=N    let N feature transfers through, fail the next and leave\n"
         "                      the bus for good\n"
         "  --uhid=PATH         the uhid device (default /dev/uhid)\n"
         "  --help, --version   this text; the program's version\n"
         "Signals: SIGUSR1 presses the DPI button, SIGUSR2 the profile button;\n"
         "SIGINT and SIGTERM end it.\n";
}

Result<VirtualMouseOptions> ParseVirtualMouseOptions(std::span<const std::string_view> args) {
  VirtualMouseOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (!arg.starts_with("--")) {
      return Error{ErrorKind::kInvalid, "unexpected argument: " + std::string(arg)};
    }
    std::string_view name = arg.substr(2);
    std::optional<std::string_view> value;
    if (const auto equals = name.find('='); equals != std::string_view::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    const bool is_flag =
        name == "keyboard" || name == "help" || name == "composite" || name == "version";
    if (is_flag) {
      if (value) {
        return Error{ErrorKind::kInvalid, "--" + std::string(name) + " takes no value"};
      }
      (name == "help"       ? options.help
       : name == "version"  ? options.version
       : name == "keyboard" ? options.keyboard
                            : options.composite) = true;
      continue;
    }
    if (!value) {
      if (i + 1 >= args.size()) {
        return Error{ErrorKind::kInvalid, "--" + std::string(name) + " needs a value"};
      }
      value = args[++i];
    }
    if (name == "image" && !value->empty()) {
      options.image = *value;
    } else if (name == "uhid" && !value->empty()) {
      options.uhid = *value;
    } else if (name == "memory-type") {
      options.memory_type = MemoryTypeFromName(*value);
      if (!options.memory_type) {
        return Error{ErrorKind::kInvalid,
                     "--memory-type is I2C or Flash, not " + std::string(*value)};
      }
    } else if (name == "unplug-after") {
      long count = -1;
      const auto [end, code] = std::from_chars(value->data(), value->data() + value->size(), count);
      if (code != std::errc() || end != value->data() + value->size() || count < 0) {
        return Error{ErrorKind::kInvalid,
                     "--unplug-after takes a number of transfers, not " + std::string(*value)};
      }
      options.unplug_after = count;
    } else {
      return Error{ErrorKind::kInvalid, "unknown option or empty value: " + std::string(arg)};
    }
  }
  return options;
}

}  // namespace vrdk
