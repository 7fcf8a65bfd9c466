// led: the lighting settings, through the same editor as the lighting and
// engineer pages. Type, effect and breathing values live only in the mouse's
// live settings, so every command first takes them from there.

#include <algorithm>
#include <cctype>
#include <memory>

#include "cli/commands.h"
#include "settings/led_editor.h"

namespace vrdk::cli {
namespace {

struct LedArgs {
  std::string name;
  std::vector<std::string> names;
  std::string value;
  std::string number;
  int leds = 0;
  int step = -1;
  int scan = 0;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string EffectNames(image::LedType type) {
  std::string names;
  for (const settings::Effect& effect : settings::Effects(type)) {
    names += (names.empty() ? "\"" : ", \"") + std::string(effect.name) + "\"";
  }
  return names;
}

// Runs `change` on an editor that shows the live settings.
CommandRun WithLive(std::function<int(CommandContext&, settings::LedEditor&)> change) {
  return [change](CommandContext& context) {
    settings::LedEditor editor(context.GetSession());
    if (!editor.TakeLiveSettings()) {
      return context.Fail(kExitDeviceFailed,
                          "the live settings could not be read whole; nothing was changed");
    }
    return change(context, editor);
  };
}

std::optional<std::array<std::uint8_t, 3>> ParseRgb(const std::string& text) {
  const auto rgb = text.size() == 6 ? ParseNumber("0x" + text, 0, 0xFFFFFF) : std::nullopt;
  if (!rgb) return std::nullopt;
  return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(*rgb >> 16),
                                     static_cast<std::uint8_t>(*rgb >> 8),
                                     static_cast<std::uint8_t>(*rgb)};
}

void AddTypeAndEffects(CLI::App* led, CommandRegistry& registry,
                       const std::shared_ptr<LedArgs>& args) {
  registry
      .AddCommand(
          led, "type",
          "Set the LED hardware type; restores every default for it (buttons, DPI, lighting, "
          "macros) and restarts the mouse",
          NeedsMouse::kYes, WithLive([args](CommandContext& context, auto& editor) {
            const auto type = settings::LedTypeNamed(args->name);
            if (!type) return context.Fail(kExitUsage, "TYPE must be RGB, Sync, NT or MCULED");
            context.Note(
                "changing the LED type restores the defaults for it: every button, DPI level, "
                "lighting setting and macro of the mouse goes back to the factory image");
            editor.SetLedType(*type);
            if (context.GetSession().Conn().state == ConnectionState::kConnected) {
              return kExitDone;
            }
            return context.Fail(kExitDeviceFailed, "the mouse did not come back after its restart");
          }))
      ->add_option("TYPE", args->name, "RGB, Sync, NT or MCULED")
      ->required();
  registry
      .AddCommand(led, "effects",
                  "Let the mouse cycle through exactly the named effects ('none' for none)",
                  NeedsMouse::kYes, WithLive([args](CommandContext& context, auto& editor) {
                    const image::LedType type = context.GetSession().Pages().led_type;
                    std::array<bool, LedState::kEffects> enabled{};
                    for (const std::string& name : args->names) {
                      if (Lower(name) == "none") continue;
                      const auto item = settings::EffectNamed(type, name);
                      if (!item) {
                        return context.Fail(kExitUsage, "\"" + name + "\" is not an effect of " +
                                                            std::string(LedTypeName(type)) +
                                                            " LEDs: " + EffectNames(type));
                      }
                      enabled[static_cast<std::size_t>(*item)] = true;
                    }
                    context.GetSession().Pages().led.effect_enabled = enabled;
                    editor.TLRefreshBreathMode();
                    return kExitDone;
                  }))
      ->add_option("EFFECT", args->names, "Effect names of the mouse's LED type")
      ->required();
  CLI::App* mode = registry.AddCommand(
      led, "mode", "Choose the lighting effect in use", NeedsMouse::kYes,
      WithLive([args](CommandContext& context, auto& editor) {
        Session& session = context.GetSession();
        const image::LedType type = session.Pages().led_type;
        const auto item = settings::EffectNamed(type, args->name);
        if (!item) {
          return context.Fail(kExitUsage, "\"" + args->name + "\" is not an effect of " +
                                              std::string(LedTypeName(type)) +
                                              " LEDs: " + EffectNames(type));
        }
        if (args->leds != 0) {
          if (type != image::LedType::kNT) {
            return context.Fail(kExitRefused, "--leds applies only to NT LEDs");
          }
          if (args->leds - 1 < settings::LedEditor::kFirstNtCountItem) {
            return context.Fail(kExitUsage, session.Own(OwnText::kNtOneLed));
          }
          session.Pages().led.led_count_item = args->leds - 1;
        }
        if (!editor.SetEffect(*item)) {
          return context.Fail(
              kExitRefused, "\"" + args->name + "\" is switched off; enable it with 'led effects'");
        }
        return kExitDone;
      }));
  mode->add_option("EFFECT", args->name, "An effect name of the mouse's LED type")->required();
  mode->add_option("--leds", args->leds, "NT LEDs only: how many LEDs, 2 to 8")
      ->check(CLI::Range(1, 8));
}

void AddTimingAndColours(CLI::App* led, CommandRegistry& registry,
                         const std::shared_ptr<LedArgs>& args) {
  registry
      .AddCommand(led, "step-time", "Set the step delay of the effects (0 to 255)",
                  NeedsMouse::kYes, WithLive([args](CommandContext& context, auto& editor) {
                    const auto value = ParseNumber(args->value, 0, 255);
                    if (!value) return context.Fail(kExitUsage, "VALUE must be 0 to 255");
                    editor.SetStepTime(static_cast<int>(*value));
                    return kExitDone;
                  }))
      ->add_option("VALUE", args->value, "0 to 255")
      ->required();
  CLI::App* breath = registry.AddCommand(
      led, "breath", "Set a breathing bound or time", NeedsMouse::kYes,
      WithLive([args](CommandContext& context, auto& editor) {
        constexpr std::array<std::string_view, 4> kFields = {"lower", "upper", "lower-time",
                                                             "upper-time"};
        const auto at = std::find(kFields.begin(), kFields.end(), args->name);
        if (at == kFields.end()) {
          return context.Fail(kExitUsage, "FIELD must be lower, upper, lower-time or upper-time");
        }
        const int field = static_cast<int>(at - kFields.begin());
        const long limit = field == 2 ? 4094 : 65535;
        const auto value = ParseNumber(args->value, 0, limit);
        if (!value) {
          return context.Fail(kExitUsage, "VALUE must be 0 to " + std::to_string(limit));
        }
        editor.SetBreathValue(field, static_cast<int>(*value));
        return kExitDone;
      }));
  breath->add_option("FIELD", args->name, "lower, upper, lower-time or upper-time")->required();
  breath->add_option("VALUE", args->value, "0 to 65535 (lower-time: 0 to 4094)")->required();
  CLI::App* colour = registry.AddCommand(
      led, "color", "Set effect colour K (1 to 10) to RRGGBB", NeedsMouse::kYes,
      [args](CommandContext& context) {
        const auto k = ParseNumber(args->number, 1, settings::kEffectColours);
        if (!k) return context.Fail(kExitUsage, "K must be 1 to 10");
        const auto rgb = ParseRgb(args->value);
        if (!rgb) return context.Fail(kExitUsage, "the colour must be six hex digits RRGGBB");
        settings::LedEditor(context.GetSession())
            .SetColour(static_cast<int>(*k), (*rgb)[0], (*rgb)[1], (*rgb)[2]);
        return kExitDone;
      });
  colour->add_option("K", args->number, "Colour 1 to 10")->required();
  colour->add_option("RRGGBB", args->value, "Red, green and blue as hex")->required();
}

void AddProfilesAndStrip(CLI::App* led, CommandRegistry& registry,
                         const std::shared_ptr<LedArgs>& args) {
  CLI::App* profile_colour = registry.AddCommand(
      led, "profile-color",
      "Set the colour of profile P (1 to 3): 1 to 10, or 'fixed' for the specified colour; "
      "rewrites the profile-switch buttons",
      NeedsMouse::kYes, [args](CommandContext& context) {
        const auto p = ParseNumber(args->number, 1, 3);
        if (!p) return context.Fail(kExitUsage, "P must be 1, 2 or 3");
        const auto colour = Lower(args->value) == "fixed" ? std::optional<long>(11)
                                                          : ParseNumber(args->value, 1, 10);
        if (!colour) return context.Fail(kExitUsage, "COLOR must be 1 to 10 or 'fixed'");
        settings::LedEditor(context.GetSession())
            .SetProfileColour(static_cast<int>(*p), static_cast<int>(*colour) - 1);
        return kExitDone;
      });
  profile_colour->add_option("P", args->number, "Profile 1 to 3")->required();
  profile_colour->add_option("COLOR", args->value, "1 to 10, or 'fixed'")->required();
  CLI::App* mcu = registry.AddCommand(
      led, "mcu", "Set the MCU LED strip (\"I2C\" mice only): step, scan variant, LED count",
      NeedsMouse::kYes, [args](CommandContext& context) {
        Session& session = context.GetSession();
        if (session.ActiveMemoryType() != MemoryType::kI2C) {
          return context.Fail(kExitRefused,
                              "a \"Flash\" mouse keeps no MCU LED settings; nothing was written");
        }
        const LedState& strip = session.Pages().led;
        const int step = args->step >= 0 ? args->step : strip.mcu_step_item;
        const int scan = args->scan == 0 ? strip.mcu_ctrl_item : args->scan == 3 ? 1 : 0;
        const int count = args->leds == 0 ? strip.mcu_count_item : args->leds - 4;
        if (!settings::LedEditor(session).SetMcuLed(step, scan, count)) {
          return context.Fail(kExitDeviceFailed, "the MCU LED settings could not be written");
        }
        return kExitDone;
      });
  mcu->add_option("--step", args->step, "Step 0 to 7")->check(CLI::Range(0, 7));
  mcu->add_option("--scan", args->scan, "6 (6-Step Scan) or 3 (3-Step Scan)")
      ->check(CLI::IsMember({3, 6}));
  mcu->add_option("--leds", args->leds, "4 to 13 LEDs")->check(CLI::Range(4, 13));
  registry
      .AddCommand(led, "button-flash", "Switch the button flash on or off", NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    const std::string value = Lower(args->value);
                    if (value != "on" && value != "off") {
                      return context.Fail(kExitUsage, "give 'on' or 'off'");
                    }
                    settings::LedEditor(context.GetSession()).SetButtonFlash(value == "on");
                    return kExitDone;
                  })
      ->add_option("ON_OFF", args->value, "on or off")
      ->required();
}

}  // namespace

void AddLedCommands(CLI::App& app, CommandRegistry& registry) {
  auto args = std::make_shared<LedArgs>();
  CLI::App* led = registry.AddGroup(&app, "led",
                                    "Lighting: LED type, effects, timing, colours, "
                                    "profile colours and the MCU LED strip");
  AddTypeAndEffects(led, registry, args);
  AddTimingAndColours(led, registry, args);
  AddProfilesAndStrip(led, registry, args);
}

}  // namespace vrdk::cli
