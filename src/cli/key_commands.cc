// button, combo-slot, fire, aim and gesture: what the main page's button
// menus, the fire and AIM boxes and the gesture toggles do.

#include <algorithm>
#include <memory>

#include "cli/commands.h"
#include "image/fields.h"
#include "keys/editors/fire_aim.h"
#include "keys/editors/gestures.h"
#include "keys/editors/key_assignment.h"
#include "keys/function_codes.h"
#include "keys/key_code.h"
#include "keys/keyboard_keys.h"
#include "keys/menu_entries.h"

namespace vrdk::cli {
namespace {

// "Ctrl+Shift+A" as the key-combination dialog builds it: the modifiers
// Ctrl, Shift, Alt and Win wherever they stand, and at most two keys named as
// the key-name table names them. A modifier key is no key of its own ("Left
// Shift", "Right Alt"), and modifiers alone, or nothing at all (""), make a
// combination too. `error` says what is wrong with a text that is none.
std::optional<Function> KeyCombination(Session& session, const std::string& text,
                                       std::string& error) {
  static constexpr const char* kModifiers[] = {"Ctrl", "Shift", "Alt", "Win"};
  constexpr int kFirstModifierKey = 0xE0;
  int modifiers = 0;
  std::vector<int> keys;
  for (std::size_t start = 0; !text.empty() && start <= text.size();) {
    const std::size_t end = std::min(text.find('+', start), text.size());
    const std::string part = text.substr(start, end - start);
    start = end + 1;
    const auto modifier = std::find(std::begin(kModifiers), std::end(kModifiers), part);
    if (modifier != std::end(kModifiers)) {
      modifiers |= 1 << (modifier - std::begin(kModifiers));
      continue;
    }
    int usage = 0;
    for (int u = 1; u < 256 && usage == 0 && !part.empty(); ++u) {
      if (UsageName(u) == part) usage = u;
    }
    if (usage >= kFirstModifierKey) {
      error =
          "\"" + part + "\" is a modifier key, not a key of its own: give Ctrl, Shift, Alt or Win";
      return std::nullopt;
    }
    if (usage == 0) return std::nullopt;
    if (keys.size() == 2) {
      error = "a key combination holds at most two keys besides Ctrl, Shift, Alt and Win";
      return std::nullopt;
    }
    keys.push_back(usage);
  }
  KeyCodeBytes bytes{key_class::kKeyboard, static_cast<std::uint8_t>(modifiers), 0, 0};
  for (std::size_t i = 0; i < keys.size(); ++i) bytes[2 + i] = static_cast<std::uint8_t>(keys[i]);
  const std::string code = FormatKeyCode(bytes);
  return Function{code, session.NameForCode(code)};
}

}  // namespace

std::optional<Function> ParseFunction(Session& session, const std::string& text,
                                      keys::KeyTarget target, std::string& error) {
  const MenuOrigin origin = target.kind == keys::KeyTarget::Kind::kCombinationSlot
                                ? MenuOrigin::kCombinationSlot
                                : MenuOrigin::kButton;
  const auto entry_function = [&](const MenuEntry& entry) {
    return Function{CodeForMenuTag(entry.tag, session.Keys(), origin),
                    session.Language().Text(entry.caption_key)};
  };
  if (text.rfind("tag:", 0) == 0) {
    const auto tag = ParseNumber(text.substr(4), 0, 99999);
    const MenuEntry* entry = tag ? FindMenuEntry(static_cast<int>(*tag)) : nullptr;
    if (entry == nullptr) return std::nullopt;
    return entry_function(*entry);
  }
  if (text.rfind("code:", 0) == 0) {
    const auto bytes = ParseKeyCode(text.substr(5));
    if (!bytes) return std::nullopt;
    const std::string code = FormatKeyCode(*bytes);
    return Function{code, target.kind == keys::KeyTarget::Kind::kCombinationSlot
                              ? NameForSlotCode(code, session.Language(), session.Keys())
                              : session.NameForCode(code)};
  }
  for (const MenuEntry& entry : MenuEntries()) {
    if (session.Language().Text(entry.caption_key) == text) return entry_function(entry);
  }
  return KeyCombination(session, text, error);
}

int AssignFunction(CommandContext& context, keys::KeyTarget target, const std::string& text) {
  Session& session = context.GetSession();
  std::string error;
  const auto function = ParseFunction(session, text, target, error);
  if (!function && !error.empty()) return context.Fail(kExitUsage, error);
  if (!function) {
    return context.Fail(kExitUsage, "unknown function \"" + text +
                                        "\": give a name from 'vrdkctl names', tag:NNNN, "
                                        "code:XXXXXXXX or a key combination such as Ctrl+Shift+A");
  }
  const auto assigned =
      keys::KeyAssignment(session).AssignCode(target, function->code, function->caption);
  if (assigned.ok()) return kExitDone;
  if (assigned.Is(ErrorKind::kRefused)) {
    return context.Fail(kExitRefused, "the last \"" + keys::KeyAssignment(session).LeftClickName() +
                                          "\" button of this profile must stay");
  }
  return context.Fail(kExitUsage, "no such button");
}

void AddButtonArguments(CLI::App* command, int& profile, int& button, std::string& function) {
  command->add_option("PROFILE", profile, "Profile 1 to 3")->required()->check(CLI::Range(1, 3));
  command->add_option("BUTTON", button, "Button 1 to 12")->required()->check(CLI::Range(1, 12));
  command->add_option("FUNCTION", function, "The function")->required();
}

namespace {

struct KeyArgs {
  int profile = 1;
  int number = 1;
  std::string function;
  int count = 1;
  int interval = 1;
  bool hold = false;
  bool no_hold = false;
  std::string step;
  std::string choice;
  int shown_profile = 0;
  ProfileSwitchOptions profile_switch;
};

}  // namespace

void AddKeyCommands(CLI::App& app, CommandRegistry& registry) {
  auto args = std::make_shared<KeyArgs>();
  CLI::App* button = registry.AddCommand(
      &app, "button",
      "Give BUTTON of PROFILE a FUNCTION: a name as the menus show it (\"Play / Pause\"), a key "
      "combination (\"Ctrl+Shift+A\"), tag:NNNN, code:XXXXXXXX or macro:NAME (a macro in the "
      "mouse)",
      NeedsMouse::kYes, [args](CommandContext& context) {
        Session& session = context.GetSession();
        if (args->function.rfind("macro:", 0) == 0) {
          return AssignMacroButton(context, args->profile, args->number, args->function.substr(6));
        }
        // The main page with PROFILE shown (nothing is sent for showing it).
        session.Pages().mode_page = args->profile;
        keys::KeyAssignment(session).RefreshProfileKeys(args->profile);
        keys::AimKey(session).RefreshAIMKey();  // "DPI Lock" takes the step P shows
        return AssignFunction(context, keys::KeyTarget::MainButton(args->number), args->function);
      });
  AddButtonArguments(button, args->profile, args->number, args->function);

  CLI::App* slot = registry.AddCommand(
      &app, "combo-slot",
      "Give combination slot SLOT a FUNCTION, as the engineer page does; a profile switch takes "
      "the extended form, with the profile-switch settings the mouse holds unless given",
      NeedsMouse::kYes, [args](CommandContext& context) {
        KeyCodeContext& keys = context.GetSession().Keys();
        const KeyCodeContext held = keys;
        if (const int code = TakeProfileSwitchOptions(context, args->profile_switch, keys);
            code != kExitDone) {
          return code;
        }
        const int code =
            AssignFunction(context, keys::KeyTarget::CombinationSlot(args->number), args->function);
        // The options shape this slot's code only.
        keys.return_to_zero = held.return_to_zero;
        keys.adjust_xy = held.adjust_xy;
        keys.change_colour = held.change_colour;
        keys.offset = held.offset;
        return code;
      });
  slot->add_option("SLOT", args->number, "Slot 1 to 9")->required()->check(CLI::Range(1, 9));
  AddProfileSwitchOptions(slot, args->profile_switch);
  slot->add_option("FUNCTION", args->function, "The function")->required();

  CLI::App* fire = registry.AddCommand(
      &app, "fire", "Set fire button N to COUNT shots INTERVAL ms apart", NeedsMouse::kYes,
      [args](CommandContext& context) {
        Session& session = context.GetSession();
        FirePreset& preset = session.Keys().fire[static_cast<std::size_t>(args->number - 1)];
        if (args->hold) preset.keep_firing = true;
        if (args->no_hold) preset.keep_firing = false;
        keys::FireKeys(session).SetPreset(args->number, args->count, args->interval);
        return kExitDone;
      });
  fire->add_option("N", args->number, "Fire button 1 to 3")->required()->check(CLI::Range(1, 3));
  fire->add_option("COUNT", args->count, "Shots, 1 to 15")->required()->check(CLI::Range(1, 15));
  fire->add_option("INTERVAL", args->interval, "Milliseconds between shots, 1 to 4094")
      ->required()
      ->check(CLI::Range(1, 4094));
  auto* hold = fire->add_flag("--hold", args->hold, "Keep firing while the button is held");
  fire->add_flag("--no-hold", args->no_hold, "Fire COUNT shots only")->excludes(hold);

  registry
      .AddCommand(&app, "aim", "Set the AIM key's DPI: STEP 1 to 12, or the DPI text such as 1600",
                  NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    Session& session = context.GetSession();
                    auto step = ParseNumber(args->step, 1, keys::AimKey::kSteps);
                    for (int n = 1; n <= keys::AimKey::kSteps && !step; ++n) {
                      if (session.Language().DpiText(n) == args->step) step = n;
                    }
                    if (!step)
                      return context.Fail(kExitUsage, "STEP must be 1 to 12 or a DPI value");
                    if (!keys::AimKey(session).SetAimStep(static_cast<int>(*step))) {
                      return context.Fail(kExitRefused,
                                          "no button is an AIM key; give one the "
                                          "function first");
                    }
                    return kExitDone;
                  })
      ->add_option("STEP", args->step, "The step or its DPI value")
      ->required();

  CLI::App* gesture = registry.AddGroup(&app, "gesture", "The mode-switch gestures");
  std::vector<std::string> game_words(keys::kGameGestureWords.begin(),
                                      keys::kGameGestureWords.end());
  std::string game_choices;
  for (const std::string& word : game_words) {
    game_choices += (game_choices.empty() ? "" : "|") + word;
  }
  registry
      .AddCommand(gesture, "game", "The gesture that switches the game profile", NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    // CHOICE is one of the words (checked before this runs).
                    const auto chosen = keys::GameGestureFromWord(args->choice);
                    if (!chosen) return context.Fail(kExitUsage, "unknown gesture");
                    keys::Gestures(context.GetSession()).SetGameGesture(*chosen);
                    return kExitDone;
                  })
      ->add_option("CHOICE", args->choice, game_choices)
      ->required()
      ->check(CLI::IsMember(game_words));
  registry
      .AddCommand(gesture, "led", "Right + Back switches the lighting mode: on or off",
                  NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    keys::Gestures(context.GetSession()).SetLightingGesture(args->choice == "on");
                    return kExitDone;
                  })
      ->add_option("CHOICE", args->choice, "on|off")
      ->required()
      ->check(CLI::IsMember({"on", "off"}));
  CLI::App* toggle = registry.AddCommand(
      gesture, "toggle",
      "Click main-page toggle N (1 Right + Back LED mode; 2..5 hold Middle, DPI loop, DPI +, "
      "DPI -; 6, 7 Right + Back, Right + Forward game mode) with a profile shown",
      NeedsMouse::kYes, [args](CommandContext& context) {
        Session& session = context.GetSession();
        const int current = image::Get(session.Data(), image::field::kCurrentProfile) + 1;
        session.Pages().mode_page =
            args->shown_profile != 0 ? args->shown_profile : std::clamp(current, 1, 3);
        // Toggle 1 is the lighting gesture, toggles 2..7 the game gestures.
        keys::Gestures gestures(session);
        const auto game = keys::GameGestureFromNumber(args->number - 1);
        const bool lighting = args->number == 1;
        if (lighting ? gestures.ToggleLightingGesture() : gestures.ToggleGameGesture(*game)) {
          return kExitDone;
        }
        const ComboFunction needed =
            lighting ? keys::kLightingGestureButton : *keys::ButtonFunctionNeeded(*game);
        return context.Fail(kExitRefused, "profile " + std::to_string(session.Pages().mode_page) +
                                              " has no " +
                                              std::string(keys::ComboFunctionName(needed)) +
                                              " mouse button, which toggle " +
                                              std::to_string(args->number) + " needs");
      });
  toggle->add_option("N", args->number, "Toggle 1 to 7")->required()->check(CLI::Range(1, 7));
  toggle
      ->add_option("--profile", args->shown_profile,
                   "The profile shown (1..3); default: the one the mouse uses now")
      ->check(CLI::Range(1, 3));
}

}  // namespace vrdk::cli
