// pointer: the system's pointer speed, double-click speed, wheel scrolling
// and their two switches, on the 11-step scales of the pointer page. These
// are settings of the desktop, not of the mouse; no mouse is needed.

#include <memory>

#include "cli/commands.h"
#include "settings/pointer_settings.h"

namespace vrdk::cli {
namespace {

struct PointerArgs {
  std::string value;
};

// Runs `change` on the pointer page freshly read from the system. A setting
// the desktop did not answer for in time is named; the kept value stands in
// for it. A change the system did not take fails with what was not taken
// and where the value was kept.
CommandRun WithPointer(std::function<int(CommandContext&, settings::PointerSettings&)> change) {
  return [change](CommandContext& context) {
    auto platform = settings::SystemPointerPlatform();
    settings::PointerSettings pointer(context.GetSession(), *platform);
    pointer.Refresh();
    if (const auto unread = platform->ReadProblem()) {
      context.Note(settings::PointerReadText(*unread, context.GetSession().CurrentLanguage()));
    }
    const int code = change(context, pointer);
    if (code != kExitDone || pointer.LastApply().taken) return code;
    return context.Fail(
        kExitDeviceFailed,
        settings::PointerApplyText(pointer.LastApply(), context.GetSession().CurrentLanguage()));
  };
}

std::optional<bool> OnOff(const std::string& text) {
  if (text == "on") return true;
  if (text == "off") return false;
  return std::nullopt;
}

}  // namespace

void AddPointerCommands(CLI::App& app, CommandRegistry& registry) {
  auto args = std::make_shared<PointerArgs>();
  CLI::App* pointer = registry.AddGroup(
      &app, "pointer", "The system's pointer speed, double-click speed and wheel scrolling");
  registry.AddCommand(
      pointer, "show", "The steps (1 to 11) and switches as the pointer page shows them",
      NeedsMouse::kNo, WithPointer([](CommandContext& context, settings::PointerSettings& page) {
        const PointerState& state = context.GetSession().Pages().pointer;
        const settings::PointerWrite values = page.Values();
        const std::string text = "speed " + std::to_string(state.speed_step) + "\ndouble-click " +
                                 std::to_string(state.double_click_step) + "\nwheel " +
                                 std::to_string(state.wheel_step) + "\nacceleration " +
                                 (state.acceleration ? "on" : "off") + "\nwhole-screen " +
                                 (state.whole_screen ? "on" : "off") + "\n";
        context.Print({{"speed", state.speed_step},
                       {"double_click", state.double_click_step},
                       {"wheel", state.wheel_step},
                       {"acceleration", state.acceleration},
                       {"whole_screen", state.whole_screen},
                       {"mouse_sensitivity", values.mouse_sensitivity},
                       {"double_click_ms", values.double_click_ms},
                       {"wheel_lines", values.wheel_lines}},
                      text);
        return kExitDone;
      }));
  using Step = bool (settings::PointerSettings::*)(int);
  struct StepCommand {
    const char* name;
    const char* help;
    Step step;
  };
  const StepCommand steps[] = {
      {"speed", "Pointer speed step 1 to 11", &settings::PointerSettings::SetSpeedStep},
      {"double-click", "Double-click speed step 1 (slow, 900 ms) to 11 (fast, 200 ms)",
       &settings::PointerSettings::SetDoubleClickStep},
      {"wheel", "Wheel scroll lines 1 to 11", &settings::PointerSettings::SetWheelStep},
  };
  for (const StepCommand& command : steps) {
    const Step step = command.step;
    registry
        .AddCommand(
            pointer, command.name, command.help, NeedsMouse::kNo,
            WithPointer([args, step](CommandContext& context, settings::PointerSettings& page) {
              const auto n = ParseNumber(args->value, 1, settings::kPointerSteps);
              if (!n) return context.Fail(kExitUsage, "STEP must be 1 to 11");
              if (!(page.*step)(static_cast<int>(*n))) {
                return context.Fail(kExitRefused,
                                    "whole-screen scrolling is on; switch it off first");
              }
              return kExitDone;
            }))
        ->add_option("STEP", args->value, "1 to 11")
        ->required();
  }
  for (const bool acceleration : {true, false}) {
    registry
        .AddCommand(pointer, acceleration ? "acceleration" : "whole-screen",
                    acceleration ? "Pointer acceleration on or off"
                                 : "Scroll a whole screen a wheel notch, on or off",
                    NeedsMouse::kNo,
                    WithPointer([args, acceleration](CommandContext& context,
                                                     settings::PointerSettings& page) {
                      const auto on = OnOff(args->value);
                      if (!on) return context.Fail(kExitUsage, "give 'on' or 'off'");
                      if (acceleration) {
                        page.SetAcceleration(*on);
                      } else {
                        page.SetWholeScreen(*on);
                      }
                      return kExitDone;
                    }))
        ->add_option("ON_OFF", args->value, "on or off")
        ->required();
  }
}

}  // namespace vrdk::cli
