// list, names, info, dump, save, load, reset, and the raw reads and writes.

#include <cstdio>
#include <memory>

#include "cli/commands.h"
#include "cli/report.h"
#include "cli/settings_document.h"
#include "engineering/engineer_page.h"
#include "hid/tracing_backend.h"
#include "session/image_writes.h"

namespace vrdk::cli {
namespace {

using nlohmann::json;

int List(CommandContext& context) {
  Session& session = context.GetSession();
  HidBackend& backend = session.Link().Backend();
  const auto target = session.Conn().target;
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
    char vid[8];
    char pid[8];
    std::snprintf(vid, sizeof vid, "%04X", ids.vendor_id);
    std::snprintf(pid, sizeof pid, "%04X", ids.product_id);
    const auto length = [&](std::uint16_t HidCaps::*field) {
      return caps ? json((*caps).*field) : json(nullptr);
    };
    list.push_back({{"path", path},
                    {"vendor_id", vid},
                    {"product_id", pid},
                    {"feature_report_length", length(&HidCaps::feature_report_byte_length)},
                    {"input_report_length", length(&HidCaps::input_report_byte_length)},
                    {"target", match}});
    text += std::string(match ? "* " : "  ") + path + "  " + vid + ":" + pid + "  feature " +
            (caps ? std::to_string(caps->feature_report_byte_length) : "?") + "  input " +
            (caps ? std::to_string(caps->input_report_byte_length) : "?") + '\n';
  }
  if (list.empty()) text = "no HID interfaces\n";
  context.Print({{"interfaces", list}}, text);
  return kExitDone;
}

// With a mouse there, its fire presets, AIM step and combination bits make
// the codes; without one, the defaults do.
int Names(CommandContext& context) {
  Session& session = context.GetSession();
  session.ReFindDev();
  const json names = NamesReport(session, session.Conn().state == ConnectionState::kConnected);
  context.Print(names, NamesText(names));
  return kExitDone;
}

int AfterRestart(CommandContext& context) {
  if (context.GetSession().Conn().state == ConnectionState::kConnected) return kExitDone;
  return context.Fail(kExitDeviceFailed, "the mouse did not come back after its restart");
}

int ReadBytes(CommandContext& context, bool live, const std::string& address_text,
              const std::string& length_text) {
  Session& session = context.GetSession();
  const long max_length = live ? 255 : static_cast<long>(session.WorkingImage().size());
  const auto address = ParseNumber(address_text, 0, live ? 255 : 0xFFFF);
  const auto length = ParseNumber(length_text, 1, max_length);
  if (!address) {
    return context.Fail(
        kExitUsage, std::string("ADDR must be a number from 0 to ") + (live ? "255" : "0xFFFF"));
  }
  if (!length) {
    return context.Fail(kExitUsage, "LEN must be a number from 1 to " + std::to_string(max_length));
  }
  // The mouse answers past the end with bytes from the start: reads stop at the end.
  const long end = live ? 256 : static_cast<long>(session.WorkingImage().size());
  if (*address + *length > end) {
    return context.Fail(kExitUsage, "ADDR + LEN passes the end of the " +
                                        std::string(live ? "live settings" : "memory") + " (" +
                                        std::to_string(end) + " bytes)");
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*length));
  CheckedLink& link = session.Checked();
  const int at = static_cast<int>(*address);
  // Read again when an answer was lost; printed only when whole.
  const bool ok = live ? link.ReadLive(at, bytes) : link.ReadMemory(at, bytes);
  if (!ok) {
    const std::string reason = session.Link().Backend().LastError();
    return context.Fail(kExitDeviceFailed,
                        "the read failed: the mouse did not answer every report" +
                            (reason.empty() ? std::string() : " (" + reason + ")"));
  }
  std::string text;
  for (std::size_t row = 0; row < bytes.size(); row += 16) {
    char label[16];
    std::snprintf(label, sizeof label, "%04llX: ",
                  static_cast<unsigned long long>(*address) + static_cast<unsigned long long>(row));
    const auto line = std::span(bytes).subspan(row, std::min<std::size_t>(16, bytes.size() - row));
    text += label + TracingBackend::HexBytes(line) + '\n';
  }
  context.Print({{"address", *address}, {"bytes", TracingBackend::HexBytes(bytes)}}, text);
  return kExitDone;
}

int XData(CommandContext& context, const std::string& address_text,
          const std::optional<std::string>& value_text) {
  const auto address = ParseNumber(address_text, 0, 0xFFFF);
  if (!address) return context.Fail(kExitUsage, "ADDR must be a number from 0 to 0xFFFF");
  Session& session = context.GetSession();
  engineering::EngineerPage page(session);
  const auto at = static_cast<std::uint16_t>(*address);
  if (value_text) {
    const auto value = ParseNumber(*value_text, 0, 255);
    if (!value) return context.Fail(kExitUsage, "VALUE must be a number from 0 to 255");
    if (!page.WriteXData(at, static_cast<std::uint8_t>(*value))) {
      return context.Fail(kExitDeviceFailed,
                          "the XData write failed: " + session.Link().Backend().LastError());
    }
    return kExitDone;
  }
  const auto value = page.ReadXData(at);
  if (!value) {
    return context.Fail(kExitDeviceFailed,
                        "the XData read failed: " + session.Link().Backend().LastError());
  }
  char text[16];
  std::snprintf(text, sizeof text, "%02X\n", *value);
  context.Print({{"address", *address}, {"value", *value}}, text);
  return kExitDone;
}

}  // namespace

void AddCoreCommands(CLI::App& app, CommandRegistry& registry) {
  registry.AddCommand(&app, "list", "List the HID interfaces of this machine, marking the mouse's",
                      NeedsMouse::kNo, List);
  registry.AddCommand(&app, "names",
                      "Every function a button can be given, with its menu tag and code (the "
                      "mouse's settings when one is there)",
                      NeedsMouse::kNo, Names);
  registry.AddCommand(&app, "info",
                      "Memory type, ids, customer codes, product string, patch checksum, profile, "
                      "polling rate, LED type and repaired sections",
                      NeedsMouse::kYes, [](CommandContext& context) {
                        const json info = InfoReport(context.GetSession());
                        context.Print(info, InfoText(info));
                        return kExitDone;
                      });
  registry.AddCommand(&app, "dump", "Everything the mouse holds, decoded", NeedsMouse::kYes,
                      [](CommandContext& context) {
                        Session& session = context.GetSession();
                        json dump = DumpReport(session, session.Language());
                        // The same values under the names export and apply use.
                        dump["settings"] = ExportSettings(session);
                        context.Print(dump, DumpText(dump));
                        return kExitDone;
                      });

  auto file = std::make_shared<std::string>();
  registry
      .AddCommand(
          &app, "save", "Read the whole mouse and save its memory to FILE", NeedsMouse::kYes,
          [file](CommandContext& context) {
            return ExitFor(context, ImageWrites(context.GetSession()).SaveProfileFile(*file));
          })
      ->add_option("FILE", *file, "The profile file to write")
      ->required();
  auto force = std::make_shared<bool>(false);
  CLI::App* load = registry.AddCommand(
      &app, "load", "Write the memory image in FILE into the mouse and restart it",
      NeedsMouse::kYes, [file, force](CommandContext& context) {
        const Result<void> outcome =
            ImageWrites(context.GetSession()).LoadProfileFile(*file, *force);
        return outcome.ok() ? AfterRestart(context) : ExitFor(context, outcome);
      });
  load->add_option("FILE", *file, "A profile file saved from a mouse of the same kind")->required();
  load->add_flag("--force", *force,
                 "Load a sound file even when the mouse would then carry USB ids or customer "
                 "codes this program does not look for or accept");

  auto image = std::make_shared<int>(1);
  registry
      .AddCommand(&app, "reset", "Restore a factory configuration (the confirm buttons 1, 2, 3)",
                  NeedsMouse::kYes,
                  [image](CommandContext& context) {
                    const Result<void> outcome =
                        ImageWrites(context.GetSession()).ConfirmClick(*image);
                    return outcome.ok() ? AfterRestart(context) : ExitFor(context, outcome);
                  })
      ->add_option("IMAGE", *image, "Which default image: 1 (default), 2 or 3")
      ->check(CLI::Range(1, 3));

  auto address = std::make_shared<std::string>();
  auto length = std::make_shared<std::string>();
  for (const bool live : {false, true}) {
    CLI::App* group = registry.AddGroup(
        &app, live ? "live" : "memory",
        live ? "Raw bytes of the live settings" : "Raw bytes of the persistent memory");
    CLI::App* read = registry.AddCommand(
        group, "read", "Print LEN bytes from ADDR as hex (numbers: decimal or 0x-hex)",
        NeedsMouse::kYes, [live, address, length](CommandContext& context) {
          return ReadBytes(context, live, *address, *length);
        });
    read->add_option("ADDR", *address, "Address")->required();
    read->add_option("LEN", *length, "Number of bytes")->required();
  }

  auto value = std::make_shared<std::string>();
  CLI::App* xdata = registry.AddGroup(&app, "xdata", "The controller's XData memory (engineering)");
  registry
      .AddCommand(
          xdata, "read", "Print the byte at ADDR", NeedsMouse::kYes,
          [address](CommandContext& context) { return XData(context, *address, std::nullopt); })
      ->add_option("ADDR", *address, "Address (decimal or 0x-hex)")
      ->required();
  CLI::App* write = registry.AddCommand(
      xdata, "write", "Write VALUE to the byte at ADDR", NeedsMouse::kYes,
      [address, value](CommandContext& context) { return XData(context, *address, *value); });
  write->add_option("ADDR", *address, "Address (decimal or 0x-hex)")->required();
  write->add_option("VALUE", *value, "Byte value (decimal or 0x-hex)")->required();
}

}  // namespace vrdk::cli
