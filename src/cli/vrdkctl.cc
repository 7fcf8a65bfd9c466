#include "cli/vrdkctl.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>

#include "cli/report.h"
#include "cli/sim_state.h"
#include "cli/terminal_events.h"
#include "device/hidraw_backend.h"
#include "device/image_writes.h"
#include "device/session.h"
#include "device/simulated_backend.h"
#include "device/tracing_backend.h"
#include "keys/function_codes.h"
#include "keys/menu_entries.h"
#include "shell/tables/brand_options.h"

namespace vrdk::cli {
namespace {

using nlohmann::json;

constexpr const char* kExitCodesHelp =
    "Exit codes:\n"
    "  0  done\n"
    "  1  usage error\n"
    "  2  no mouse found, or the mouse was not accepted (memory type or customer codes)\n"
    "  3  a device operation failed\n"
    "  4  a file could not be read or written, or is of the wrong kind\n"
    "  5  the change was refused by a rule of the program\n";

// Decimal or 0x-hexadecimal, within [low, high].
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
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
    return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

struct Arguments {
  bool simulate = false;
  std::string simulate_file;
  std::string trace_file;
  bool json = false;
  int language = 1;
  std::string command;  // "list", "info", ..., "memory read", "xdata write"
  std::string file;     // save, load
  int reset_image = 1;  // reset
  std::string address;  // memory, live, xdata
  std::string length;   // memory read, live read
  std::string value;    // xdata write
};

// Everything one run holds: the bus (simulated or real, traced or not), the
// clock, the face and the Session.
class Run {
 public:
  Run(const Arguments& args, std::ostream& out, std::ostream& err, const RunOptions& options)
      : args_(args), out_(out), err_(err), options_(options) {}

  int Execute();

 private:
  int Prepare();
  int Finish(int code);
  bool Connect();
  int Fail(int code, const std::string& message) {
    err_ << "vrdkctl: " << message << '\n';
    return code;
  }
  void Print(const json& data, const std::string& text) {
    if (args_.json) {
      out_ << data.dump(2) << '\n';
    } else {
      out_ << text;
    }
  }

  int List();
  int Names();
  int Info();
  int Dump();
  int Save();
  int Load();
  int Reset();
  int ReadBytes(bool live);
  int XData(bool write);
  int AfterRestart();

  const Arguments& args_;
  std::ostream& out_;
  std::ostream& err_;
  RunOptions options_;

  std::unique_ptr<Clock> clock_;
  std::unique_ptr<SimulatedMouse> mouse_;
  std::unique_ptr<HidBackend> bus_;
  std::unique_ptr<TracingBackend> tracing_;
  std::ofstream trace_;
  std::string simulation_path_;
  std::unique_ptr<TerminalEvents> events_;
  std::unique_ptr<Session> session_;
};

int Run::Prepare() {
  auto defaults = DefaultImageSet::FromResources();
  if (!defaults) return Fail(kExitFileError, "the program's default images are missing");

  if (args_.simulate) {
    auto path = args_.simulate_file.empty() ? DefaultSimulationFile() : args_.simulate_file;
    if (!path)
      return Fail(kExitFileError,
                  "no state folder: set XDG_STATE_HOME or HOME, or give --simulate=FILE");
    simulation_path_ = *path;
    auto load = LoadSimulationFile(simulation_path_, defaults->WorkingImage(1));
    if (!load.memory) return Fail(kExitFileError, load.error);
    auto clock = std::make_unique<CountingClock>();
    clock->SetRecording(false);
    SimulatedMouseConfig config;
    config.memory_type = load.memory->type;
    config.memory = std::move(load.memory->bytes);
    mouse_ = std::make_unique<SimulatedMouse>(*clock, std::move(config));
    mouse_->SetRecording(false);
    bus_ = std::make_unique<SimulatedBackend>(mouse_.get());
    clock_ = std::move(clock);
  } else {
    clock_ = std::make_unique<SystemClock>();
    bus_ = std::make_unique<HidrawBackend>();
  }
  HidBackend* backend = bus_.get();
  if (!args_.trace_file.empty()) {
    trace_.open(args_.trace_file, std::ios::app);
    if (!trace_) return Fail(kExitFileError, "cannot write the trace file " + args_.trace_file);
    tracing_ = std::make_unique<TracingBackend>(
        *bus_, [this](std::string_view line) { trace_ << line << '\n'; });
    backend = tracing_.get();
  }
  events_ = std::make_unique<TerminalEvents>(err_, options_.stderr_is_terminal);
  session_ = std::make_unique<Session>(*backend, *clock_, *events_, std::move(*defaults));
  events_->SetLanguage(&session_->Language());
  const auto brand = LoadBrandOptions();
  for (const auto& error : brand.errors) err_ << "vrdkctl: " << error.Message() << '\n';
  session_->SetBrandOptions(brand.options);
  session_->SetCurrentLanguage(args_.language);
  events_->SetLanguage(&session_->Language());
  session_->StartUp();
  return kExitDone;
}

int Run::Finish(int code) {
  session_.reset();  // closes the handles
  if (trace_.is_open()) {
    trace_.flush();
    if (!trace_ && code == kExitDone)
      code = Fail(kExitFileError, "cannot write the trace file " + args_.trace_file);
  }
  if (mouse_) {
    if (auto error = SaveSimulationFile(simulation_path_, mouse_->Memory())) {
      const int failed = Fail(kExitFileError, *error);
      if (code == kExitDone) code = failed;
    }
  }
  return code;
}

bool Run::Connect() {
  session_->ReFindDev();
  if (session_->Conn().state == ConnectionState::kConnected) return true;
  if (events_->Messages().empty()) {
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

int Run::Execute() {
  if (const int code = Prepare(); code != kExitDone) return code;
  int code = kExitDone;
  const std::string& command = args_.command;
  if (command == "list") {
    code = List();
  } else if (command == "names") {
    code = Names();
  } else if (!Connect()) {
    code = kExitNoMouse;
  } else if (command == "info") {
    code = Info();
  } else if (command == "dump") {
    code = Dump();
  } else if (command == "save") {
    code = Save();
  } else if (command == "load") {
    code = Load();
  } else if (command == "reset") {
    code = Reset();
  } else if (command == "memory read") {
    code = ReadBytes(false);
  } else if (command == "live read") {
    code = ReadBytes(true);
  } else if (command == "xdata read") {
    code = XData(false);
  } else if (command == "xdata write") {
    code = XData(true);
  }
  return Finish(code);
}

int Run::List() {
  HidBackend& backend = session_->Link().Backend();
  const auto target = session_->Conn().target;
  json list = json::array();
  std::string text;
  for (const auto& path : backend.ListInterfaces()) {
    const HidHandle handle = backend.Open(path, HidAccess::kNone);
    if (handle == kInvalidHandle) continue;
    const auto attributes = backend.GetAttributes(handle);
    const auto caps = backend.GetCaps(handle);
    backend.Close(handle);
    const HidAttributes ids = attributes.value_or(HidAttributes{});
    const bool match =
        attributes && ids.vendor_id == target.vendor_id && ids.product_id == target.product_id;
    char line[64];
    std::snprintf(line, sizeof line, "%04X:%04X", ids.vendor_id, ids.product_id);
    json entry = {
        {"path", path},
        {"vendor_id", std::string(line, 4)},
        {"product_id", std::string(line + 5, 4)},
        {"feature_report_length", caps ? json(caps->feature_report_byte_length) : json(nullptr)},
        {"input_report_length", caps ? json(caps->input_report_byte_length) : json(nullptr)},
        {"target", match}};
    list.push_back(entry);
    text += std::string(match ? "* " : "  ") + path + "  " + line + "  feature " +
            (caps ? std::to_string(caps->feature_report_byte_length) : "?") + "  input " +
            (caps ? std::to_string(caps->input_report_byte_length) : "?") + '\n';
  }
  if (list.empty()) text = "no HID interfaces\n";
  Print(list, text);
  return kExitDone;
}

int Run::Names() {
  json list = json::array();
  std::string text;
  for (const MenuEntry& entry : MenuEntries()) {
    const std::string code = CodeForMenuTag(entry.tag, session_->Keys());
    const std::string name = session_->Language().Text(entry.caption_key);
    list.push_back({{"tag", entry.tag}, {"code", code}, {"name", name}});
    char line[32];
    std::snprintf(line, sizeof line, "%5d  %s  ", entry.tag, code.c_str());
    text += line + name + '\n';
  }
  Print(list, text);
  return kExitDone;
}

int Run::Info() {
  const json info = InfoReport(*session_);
  Print(info, InfoText(info));
  return kExitDone;
}

int Run::Dump() {
  const json dump = DumpReport(*session_, session_->Language());
  Print(dump, DumpText(dump));
  return kExitDone;
}

int Run::AfterRestart() {
  if (session_->Conn().state == ConnectionState::kConnected) return kExitDone;
  return Fail(kExitDeviceFailed, "the mouse did not come back after its restart");
}

int Run::Save() {
  const Outcome outcome = ImageWrites(*session_).SaveProfileFile(args_.file);
  if (outcome.kind == Outcome::Kind::kFileError) return Fail(kExitFileError, outcome.detail);
  if (!outcome.ok()) return kExitNoMouse;
  return kExitDone;
}

int Run::Load() {
  const Outcome outcome = ImageWrites(*session_).LoadProfileFile(args_.file);
  switch (outcome.kind) {
    case Outcome::Kind::kDone:
      return AfterRestart();
    case Outcome::Kind::kNoMouse:
      return kExitNoMouse;
    case Outcome::Kind::kFileError:
      return Fail(kExitFileError, outcome.detail);
    case Outcome::Kind::kWrongKind:
      return kExitFileError;  // the message is already shown
  }
  return kExitDone;
}

int Run::Reset() {
  const Outcome outcome = ImageWrites(*session_).ConfirmClick(args_.reset_image);
  if (!outcome.ok()) return kExitNoMouse;
  return AfterRestart();
}

int Run::ReadBytes(bool live) {
  const long max_length = live ? 255 : static_cast<long>(session_->WorkingImage().size());
  const auto address = ParseNumber(args_.address, 0, live ? 255 : 0xFFFF);
  const auto length = ParseNumber(args_.length, 1, max_length);
  if (!address)
    return Fail(kExitUsage,
                "ADDR must be a number from 0 to " + std::string(live ? "255" : "0xFFFF"));
  if (!length)
    return Fail(kExitUsage, "LEN must be a number from 1 to " + std::to_string(max_length));
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*length));
  DeviceLink& link = session_->Link();
  const bool ok =
      live ? link.ReadLive(static_cast<int>(*address), static_cast<int>(*length), bytes)
           : link.ReadMemory(static_cast<int>(*address), static_cast<int>(*length), bytes);
  if (!ok) return Fail(kExitDeviceFailed, "the read command failed: " + link.Backend().LastError());
  json data = {{"address", *address}, {"bytes", TracingBackend::HexBytes(bytes)}};
  std::string text;
  for (std::size_t row = 0; row < bytes.size(); row += 16) {
    char label[16];
    std::snprintf(label, sizeof label, "%04lX: ", static_cast<unsigned long>(*address) + row);
    text += label +
            TracingBackend::HexBytes(
                std::span(bytes).subspan(row, std::min<std::size_t>(16, bytes.size() - row))) +
            '\n';
  }
  Print(data, text);
  return kExitDone;
}

int Run::XData(bool write) {
  const auto address = ParseNumber(args_.address, 0, 0xFFFF);
  if (!address) return Fail(kExitUsage, "ADDR must be a number from 0 to 0xFFFF");
  const auto high = static_cast<std::uint8_t>(*address >> 8);
  const auto low = static_cast<std::uint8_t>(*address & 0xFF);
  DeviceLink& link = session_->Link();
  if (write) {
    const auto value = ParseNumber(args_.value, 0, 255);
    if (!value) return Fail(kExitUsage, "VALUE must be a number from 0 to 255");
    if (!link.SendCommand(command::kWriteXData, high, low, static_cast<std::uint8_t>(*value))) {
      return Fail(kExitDeviceFailed, "the XData write failed: " + link.Backend().LastError());
    }
    return kExitDone;
  }
  if (!link.SendCommand(command::kReadXData, high, low, 0, 1)) {
    return Fail(kExitDeviceFailed, "the XData read failed: " + link.Backend().LastError());
  }
  link.ReadResponse();
  const std::uint8_t value = link.ResponseData()[0];
  char text[16];
  std::snprintf(text, sizeof text, "%02X\n", value);
  Print({{"address", *address}, {"value", value}}, text);
  return kExitDone;
}

}  // namespace

int RunVrdkctl(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err,
               const RunOptions& options) {
  Arguments args;
  CLI::App app{"vrdkctl: inspect and configure a VRDK2280 gaming mouse, or its simulated twin.",
               "vrdkctl"};
  app.footer(kExitCodesHelp);
  app.require_subcommand(1);
  auto* simulate =
      app.add_option("--simulate", args.simulate_file,
                     "Use the built-in simulated mouse. FILE is its memory (2048 bytes: "
                     "I2C, 65536: Flash), created from default image 1 when missing, "
                     "written back at exit; default: $XDG_STATE_HOME/vrdk/mouse.bin")
          ->expected(0, 1)
          ->type_name("[=FILE]");
  app.add_option("--trace", args.trace_file,
                 "Append one line per HID report transfer to FILE (> sent, < received, I input)")
      ->type_name("FILE");
  app.add_flag("--json", args.json, "Print data as JSON");
  app.add_option("--lang", args.language, "Language of names and messages: 1, 2 or 3")
      ->check(CLI::Range(1, 3));

  auto command = [&](CLI::App* parent, const std::string& name, const std::string& help,
                     const std::string& full) {
    CLI::App* sub = parent->add_subcommand(name, help);
    sub->footer(kExitCodesHelp);
    sub->callback([&args, full] { args.command = full; });
    return sub;
  };
  command(&app, "list", "List the HID interfaces of this machine, marking the mouse's", "list");
  command(&app, "info",
          "Memory type, ids, customer codes, product string, patch checksum, profile, "
          "polling rate, LED type and repaired sections",
          "info");
  command(&app, "dump", "Everything the mouse holds, decoded", "dump");
  command(&app, "names", "Every function a button can be given, with its menu tag and code",
          "names");
  command(&app, "save", "Read the whole mouse and save its memory to FILE", "save")
      ->add_option("FILE", args.file, "The profile file to write")
      ->required();
  command(&app, "load", "Write the memory image in FILE into the mouse and restart it", "load")
      ->add_option("FILE", args.file, "A profile file saved from a mouse of the same kind")
      ->required();
  command(&app, "reset", "Restore a factory configuration (the confirm buttons 1, 2, 3)", "reset")
      ->add_option("IMAGE", args.reset_image, "Which default image: 1 (default), 2 or 3")
      ->check(CLI::Range(1, 3));
  for (const char* area : {"memory", "live"}) {
    CLI::App* group = app.add_subcommand(
        area, std::string("Raw bytes of the ") +
                  (area == std::string("memory") ? "persistent memory" : "live settings"));
    group->require_subcommand(1);
    CLI::App* read =
        command(group, "read", "Print LEN bytes from ADDR as hex (numbers: decimal or 0x-hex)",
                std::string(area) + " read");
    read->add_option("ADDR", args.address, "Address")->required();
    read->add_option("LEN", args.length, "Number of bytes")->required();
  }
  CLI::App* xdata = app.add_subcommand("xdata", "The controller's XData memory (engineering)");
  xdata->require_subcommand(1);
  command(xdata, "read", "Print the byte at ADDR", "xdata read")
      ->add_option("ADDR", args.address, "Address (decimal or 0x-hex)")
      ->required();
  CLI::App* xwrite = command(xdata, "write", "Write VALUE to the byte at ADDR", "xdata write");
  xwrite->add_option("ADDR", args.address, "Address (decimal or 0x-hex)")->required();
  xwrite->add_option("VALUE", args.value, "Byte value (decimal or 0x-hex)")->required();

  std::vector<std::string> reversed(argv.rbegin(), argv.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error, out, err);
    return code == 0 ? kExitDone : kExitUsage;
  }
  args.simulate = simulate->count() > 0;
  Run run(args, out, err, options);
  return run.Execute();
}

}  // namespace vrdk::cli
