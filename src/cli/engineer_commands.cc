// engineer, patch and import-base-macros: the engineer page's settings,
// programming the controller's patch code and importing a base macro set.

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>

#include "cli/commands.h"
#include "engineering/engineer_page.h"
#include "engineering/patch_code.h"

namespace vrdk::cli {
namespace {

void AddPatchCommands(CLI::App& app, CommandRegistry& registry) {
  auto file = std::make_shared<std::string>();
  registry
      .AddCommand(
          &app, "patch", "Program the patch code in FILE into the mouse and restart it",
          NeedsMouse::kYes,
          [file](CommandContext& context) {
            Session& session = context.GetSession();
            if (session.ActiveMemoryType() == MemoryType::kFlash &&
                session.Buffers().patch_locked) {
              return context.Fail(kExitRefused,
                                  "the patch area of this mouse is locked; "
                                  "nothing was written");
            }
            engineering::PatchProgrammer programmer(session);
            const Result<void> loaded = programmer.LoadBin(*file);
            if (!loaded.ok()) return ExitFor(context, loaded);
            if (const int code = ExitFor(context, programmer.Program()); code != kExitDone) {
              return code;
            }
            if (session.Conn().state == ConnectionState::kConnected) return kExitDone;
            return context.Fail(kExitDeviceFailed, "the mouse did not come back after its restart");
          })
      ->add_option("FILE", *file, "A patch file (.bin) for this mouse's memory type")
      ->required();
  registry
      .AddCommand(&app, "import-base-macros",
                  "Write the base macro set in FILE into the mouse's macro storage",
                  NeedsMouse::kYes,
                  [file](CommandContext& context) {
                    return MacroStoreResult(
                        context,
                        engineering::PatchProgrammer(context.GetSession()).ImportBaseMacros(*file));
                  })
      ->add_option("FILE", *file,
                   "\"I2C\": the 512-byte macro area; \"Flash\": 512 bytes of names and "
                   "32 slots of 256 bytes")
      ->required();
}

struct EngineerArgs {
  std::string name;
  std::string value;
  std::string number;
  ProfileSwitchOptions profile_switch;
  int profile = 1;
  int button = 1;
  bool force = false;
};

bool FourHexDigits(const std::string& text) {
  return text.size() == 4 && std::all_of(text.begin(), text.end(),
                                         [](unsigned char c) { return std::isxdigit(c) != 0; });
}

std::string ItemList(const engineering::OptionField& field) {
  std::string items;
  for (int i = 0; i < field.item_count; ++i) {
    items += (i > 0 ? ", \"" : "\"") + std::string(field.items[static_cast<std::size_t>(i)]) + "\"";
  }
  return items;
}

void AddOptionCommands(CLI::App* engineer, CommandRegistry& registry,
                       const std::shared_ptr<EngineerArgs>& args) {
  CLI::App* option = registry.AddCommand(
      engineer, "option",
      "Set a chip option list (e.g. CPIPrescaleSel) to ITEM (text or 0-based index)",
      NeedsMouse::kYes, [args](CommandContext& context) {
        const engineering::OptionField* field = engineering::FindOption(args->name);
        if (field == nullptr) {
          std::string names;
          for (const auto& f : engineering::OptionFields())
            names += " " + std::string(f.control.substr(3));
          return context.Fail(kExitUsage, "no option \"" + args->name + "\"; options:" + names);
        }
        std::optional<long> item;
        for (int i = 0; i < field->item_count; ++i) {
          if (field->items[static_cast<std::size_t>(i)] == args->value) item = i;
        }
        if (!item) item = ParseNumber(args->value, 0, field->item_count - 1);
        if (!item) return context.Fail(kExitUsage, "ITEM must be one of " + ItemList(*field));
        engineering::EngineerPage(context.GetSession()).SetOption(*field, static_cast<int>(*item));
        return kExitDone;
      });
  option->add_option("NAME", args->name, "The list, e.g. CPIPrescaleSel or cb_CPIPrescaleSel")
      ->required();
  option->add_option("ITEM", args->value, "An item text as listed, or its index")->required();
  CLI::App* sensor = registry.AddCommand(
      engineer, "sensor", "Set a sensor tuning register (e.g. MaxShut) to HEX", NeedsMouse::kYes,
      [args](CommandContext& context) {
        const engineering::SensorRegister* reg = engineering::FindSensorRegister(args->name);
        if (reg == nullptr)
          return context.Fail(kExitUsage, "no sensor register \"" + args->name + "\"");
        const auto value = ParseNumber("0x" + args->value, 0, 0xFF);
        if (!value) return context.Fail(kExitUsage, "HEX must be 00 to FF");
        engineering::EngineerPage(context.GetSession()).SetSensorRegister(*reg, args->value);
        return kExitDone;
      });
  sensor->add_option("NAME", args->name, "The register, e.g. MaxShut or edt_MaxShut")->required();
  sensor->add_option("HEX", args->value, "Two hex digits")->required();
  for (const bool vid : {true, false}) {
    registry
        .AddCommand(engineer, vid ? "vid" : "pid",
                    vid ? "Set the USB vendor id (four hex digits)"
                        : "Set the USB product id (four hex digits)",
                    NeedsMouse::kYes,
                    [args, vid](CommandContext& context) {
                      if (!FourHexDigits(args->value)) {
                        return context.Fail(kExitUsage, "give exactly four hex digits");
                      }
                      engineering::EngineerPage page(context.GetSession());
                      const bool sent = vid ? page.SetVid(args->value) : page.SetPid(args->value);
                      if (sent) return kExitDone;
                      return context.Fail(kExitDeviceFailed, "the id could not be written");
                    })
        ->add_option("HEX", args->value, "Four hex digits")
        ->required();
  }
  registry
      .AddCommand(engineer, "product-string",
                  "Set the USB product string (at most 16 characters are kept)", NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    if (!engineering::ProductStringAcceptable(args->value)) {
                      return context.Fail(kExitUsage,
                                          "the product string holds printable ASCII characters "
                                          "only (one byte each); nothing was written");
                    }
                    engineering::EngineerPage(context.GetSession()).SetProductString(args->value);
                    if (args->value.size() > engineering::kProductStringSize) {
                      context.Note("kept the first 16 characters: \"" +
                                   args->value.substr(0, engineering::kProductStringSize) + "\"");
                    }
                    return kExitDone;
                  })
      ->add_option("TEXT", args->value, "Printable ASCII characters")
      ->required();
}

void AddCodeCommands(CLI::App* engineer, CommandRegistry& registry,
                     const std::shared_ptr<EngineerArgs>& args) {
  CLI::App* codes = registry.AddCommand(
      engineer, "codes", "Set the factory vendor and product codes (0 to 255; 255 generic)",
      NeedsMouse::kYes, [args](CommandContext& context) {
        const auto vendor = ParseNumber(args->name, 0, 255);
        const auto product = ParseNumber(args->value, 0, 255);
        if (!vendor || !product) return context.Fail(kExitUsage, "codes must be 0 to 255");
        Session& session = context.GetSession();
        if (!session.CustomerCodesAccepted(static_cast<std::uint8_t>(*vendor),
                                           static_cast<std::uint8_t>(*product))) {
          const std::string lockout = "this program accepts no mouse with the codes " +
                                      std::to_string(*vendor) + ", " + std::to_string(*product) +
                                      ": after its next restart it will refuse this mouse";
          if (!args->force) {
            return context.Fail(kExitRefused, lockout + "; give --force to write them anyway");
          }
          context.Note(lockout);
        }
        engineering::EngineerPage(session).SetCustomerCodes(static_cast<int>(*vendor),
                                                            static_cast<int>(*product));
        return kExitDone;
      });
  codes->add_option("VENDOR", args->name, "Vendor code")->required();
  codes->add_option("PRODUCT", args->value, "Product code")->required();
  codes->add_flag("--force", args->force,
                  "Write codes this program does not accept (it then refuses the mouse)");
  CLI::App* profile_switch = registry.AddCommand(
      engineer, "profile-switch",
      "Set the profile-switch parameters and rewrite every profile-switch button "
      "(options not given keep the values the mouse's codes hold)",
      NeedsMouse::kYes, [args](CommandContext& context) {
        KeyCodeContext keys = context.GetSession().Keys();
        if (const int code = TakeProfileSwitchOptions(context, args->profile_switch, keys);
            code != kExitDone) {
          return code;
        }
        engineering::EngineerPage(context.GetSession())
            .SetProfileSwitch(keys.return_to_zero, keys.adjust_xy, keys.change_colour, keys.offset);
        return kExitDone;
      });
  AddProfileSwitchOptions(profile_switch, args->profile_switch);
  CLI::App* combo = registry.AddCommand(
      engineer, "combo-bits",
      "Set the combination bit of FUNCTION (middle, back, forward, cpi, cpi-up, cpi-down, gun) "
      "and rewrite its buttons",
      NeedsMouse::kYes, [args](CommandContext& context) {
        constexpr std::array<std::string_view, 7> kFunctions = {
            "middle", "back", "forward", "cpi", "cpi-up", "cpi-down", "gun"};
        const auto at = std::find(kFunctions.begin(), kFunctions.end(), args->name);
        if (at == kFunctions.end()) {
          return context.Fail(
              kExitUsage, "FUNCTION must be middle, back, forward, cpi, cpi-up, cpi-down or gun");
        }
        const auto bit = ParseNumber(args->value, 0, 0x80);
        int item = -1;
        for (int i = 0; bit && i <= 8; ++i) {
          if (CombinationBit(i) == *bit) item = i;
        }
        if (item < 0)
          return context.Fail(kExitUsage, "BIT must be 0x00, 0x01, 0x02, 0x04, ... or 0x80");
        engineering::EngineerPage page(context.GetSession());
        page.ShowComboItemsFromButtons();
        const auto index = at - kFunctions.begin();
        if (index == 6) {
          page.SetGunComboItem(item);
        } else {
          page.SetComboItem(static_cast<ComboFunction>(index), item);
        }
        return kExitDone;
      });
  combo->add_option("FUNCTION", args->name, "middle, back, forward, cpi, cpi-up, cpi-down, gun")
      ->required();
  combo->add_option("BIT", args->value, "0x00 or one bit 0x01 .. 0x80")->required();
}

void AddOffsetAndMemoryCommands(CLI::App* engineer, CommandRegistry& registry,
                                const std::shared_ptr<EngineerArgs>& args) {
  CLI::App* offset = registry.AddCommand(
      engineer, "offset", "Set recoil offset N (1 to 10) of axis x or y (-128 to 127)",
      NeedsMouse::kYes, [args](CommandContext& context) {
        if (args->name != "x" && args->name != "y")
          return context.Fail(kExitUsage, "the axis must be x or y");
        const auto n = ParseNumber(args->number, 1, 10);
        if (!n) return context.Fail(kExitUsage, "N must be 1 to 10");
        if (!ParseNumber(args->value, LONG_MIN, LONG_MAX)) {
          return context.Fail(kExitUsage, "VALUE must be a whole number, -128 to 127");
        }
        const std::string shown =
            engineering::EngineerPage(context.GetSession())
                .SetRecoilOffset(args->name == "x", static_cast<int>(*n), args->value);
        if (shown != args->value) context.Note("limited to " + shown);
        return kExitDone;
      });
  offset->add_option("AXIS", args->name, "x or y")->required();
  offset->add_option("N", args->number, "1 to 10")->required();
  offset->add_option("VALUE", args->value, "-128 to 127")->required()->allow_extra_args(false);
  registry.AddCommand(
      engineer, "defaults",
      "Restore the defaults of every section (macros cleared, patch kept) and restart the mouse",
      NeedsMouse::kYes, [](CommandContext& context) {
        context.Note(
            "restoring the defaults: every button, DPI level, lighting setting and macro of the "
            "mouse goes back to the factory image");
        const Result<void> outcome =
            engineering::EngineerPage(context.GetSession()).RestoreDefaults();
        if (!outcome.ok()) return ExitFor(context, outcome);
        if (context.GetSession().Conn().state == ConnectionState::kConnected) return kExitDone;
        return context.Fail(kExitDeviceFailed, "the mouse did not come back after its restart");
      });
  registry.AddCommand(engineer, "xdata-change",
                      "\"Changed XData\": write 01, 06, 01 to XData 0x7241..0x7243",
                      NeedsMouse::kYes, [](CommandContext& context) {
                        engineering::EngineerPage(context.GetSession()).ChangedXData();
                        return kExitDone;
                      });
}

void AddButtonCommand(CLI::App* engineer, CommandRegistry& registry,
                      const std::shared_ptr<EngineerArgs>& args) {
  CLI::App* button = registry.AddCommand(
      engineer, "button",
      "Give BUTTON of PROFILE a FUNCTION as the engineer page's buttons do: no profile needs to "
      "be shown, and the last \"Left Click\" may go",
      NeedsMouse::kYes, [args](CommandContext& context) {
        return AssignFunction(context, keys::KeyTarget::EngineerButton(args->profile, args->button),
                              args->value);
      });
  AddButtonArguments(button, args->profile, args->button, args->value);
}

}  // namespace

void AddProfileSwitchOptions(CLI::App* command, ProfileSwitchOptions& options) {
  command->add_option("--rtz", options.rtz, "Return to zero: 0 or 1")->check(CLI::Range(0, 1));
  command->add_option("--axy", options.axy, "Adjust XY: 0 or 1")->check(CLI::Range(0, 1));
  command->add_option("--cc", options.cc, "Change colour: 0 or 1")->check(CLI::Range(0, 1));
  command->add_option("--offset", options.offset, "Offset, hex 0 to FFF");
}

int TakeProfileSwitchOptions(CommandContext& context, const ProfileSwitchOptions& options,
                             KeyCodeContext& keys) {
  if (!options.offset.empty()) {
    const auto offset = ParseNumber("0x" + options.offset, 0, engineering::kMaxProfileOffset);
    if (!offset) return context.Fail(kExitUsage, "the offset must be hex 0 to FFF");
    keys.offset = static_cast<int>(*offset);
  }
  if (options.rtz >= 0) keys.return_to_zero = options.rtz;
  if (options.axy >= 0) keys.adjust_xy = options.axy;
  if (options.cc >= 0) keys.change_colour = options.cc;
  return kExitDone;
}

void AddEngineerCommands(CLI::App& app, CommandRegistry& registry) {
  AddPatchCommands(app, registry);
  auto args = std::make_shared<EngineerArgs>();
  CLI::App* engineer =
      registry.AddGroup(&app, "engineer",
                        "The engineer page: chip options, sensor registers, USB identity, "
                        "button codes, recoil offsets, XData");
  AddOptionCommands(engineer, registry, args);
  AddCodeCommands(engineer, registry, args);
  AddOffsetAndMemoryCommands(engineer, registry, args);
  AddButtonCommand(engineer, registry, args);
}

}  // namespace vrdk::cli
