// dpi, rate and profile: the DPI levels, the polling rate and the profile the
// mouse uses, through the same editors as the window's pages.

#include <memory>

#include "cli/commands.h"
#include "settings/dpi_editor.h"
#include "settings/mode_pages.h"

namespace vrdk::cli {
namespace {

// A level number 1..8 of the levels the mouse has.
std::optional<int> Level(CommandContext& context, const std::string& text, int* code) {
  const int count = context.GetSession().Pages().dpi.count;
  const auto level = ParseNumber(text, 1, DpiState::kLevels);
  if (!level) {
    *code = context.Fail(kExitUsage, "LEVEL must be a number from 1 to 8");
    return std::nullopt;
  }
  if (*level > count) {
    *code = context.Fail(kExitRefused, "the mouse has " + std::to_string(count) +
                                           " DPI levels; add levels with 'dpi levels' first");
    return std::nullopt;
  }
  return static_cast<int>(*level);
}

// The live settings hold what the mouse uses now; a mouse that keeps DPI
// settings only in RAM has them nowhere else.
int TakeLive(CommandContext& context, settings::DpiEditor& editor) {
  if (editor.TakeLiveLevels()) return kExitDone;
  return context.Fail(kExitDeviceFailed,
                      "the live settings could not be read whole; nothing was changed");
}

struct DpiArgs {
  std::string level;
  std::string value;
};

}  // namespace

void AddSettingsCommands(CLI::App& app, CommandRegistry& registry) {
  auto args = std::make_shared<DpiArgs>();
  CLI::App* dpi = registry.AddGroup(&app, "dpi",
                                    "The DPI levels: how many, their values, "
                                    "colours and the current one");
  registry
      .AddCommand(dpi, "levels", "Use N DPI levels (1 to 8)", NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    const auto count = ParseNumber(args->level, 1, DpiState::kLevels);
                    if (!count) return context.Fail(kExitUsage, "N must be a number from 1 to 8");
                    settings::DpiEditor editor(context.GetSession());
                    if (const int code = TakeLive(context, editor); code != kExitDone) return code;
                    editor.SetLevelCount(static_cast<int>(*count));
                    return kExitDone;
                  })
      ->add_option("N", args->level, "Number of levels")
      ->required();
  CLI::App* value =
      registry.AddCommand(dpi, "value", "Set LEVEL to DPI (one of the twelve values, 200 to 6400)",
                          NeedsMouse::kYes, [args](CommandContext& context) {
                            Session& session = context.GetSession();
                            settings::DpiEditor editor(session);
                            if (const int code = TakeLive(context, editor); code != kExitDone)
                              return code;
                            int code = kExitDone;
                            const auto level = Level(context, args->level, &code);
                            if (!level) return code;
                            std::string values;
                            for (int n = 1; n <= DpiState::kValues; ++n) {
                              const std::string text = session.Language().DpiText(n);
                              if (text == args->value) {
                                editor.SetLevelValue(*level, n - 1);
                                return kExitDone;
                              }
                              values += (n > 1 ? ", " : "") + text;
                            }
                            return context.Fail(kExitUsage, "DPI must be one of " + values);
                          });
  value->add_option("LEVEL", args->level, "Level 1 to 8")->required();
  value->add_option("DPI", args->value, "The DPI value as the page shows it")->required();
  registry
      .AddCommand(dpi, "current", "Make LEVEL the current DPI level", NeedsMouse::kYes,
                  [args](CommandContext& context) {
                    settings::DpiEditor editor(context.GetSession());
                    if (const int code = TakeLive(context, editor); code != kExitDone) return code;
                    int code = kExitDone;
                    const auto level = Level(context, args->level, &code);
                    if (!level) return code;
                    editor.SetCurrentLevel(*level - 1);
                    return kExitDone;
                  })
      ->add_option("LEVEL", args->level, "Level 1 to 8")
      ->required();
  CLI::App* colour = registry.AddCommand(
      dpi, "color", "Set the colour the mouse shows for LEVEL (RRGGBB)", NeedsMouse::kYes,
      [args](CommandContext& context) {
        int code = kExitDone;
        const auto level = ParseNumber(args->level, 1, DpiState::kLevels);
        if (!level) return context.Fail(kExitUsage, "LEVEL must be a number from 1 to 8");
        const auto rgb =
            args->value.size() == 6 ? ParseNumber("0x" + args->value, 0, 0xFFFFFF) : std::nullopt;
        if (!rgb) return context.Fail(kExitUsage, "the colour must be six hex digits RRGGBB");
        settings::DpiEditor(context.GetSession())
            .SetColour(static_cast<int>(*level), static_cast<std::uint8_t>(*rgb >> 16),
                       static_cast<std::uint8_t>(*rgb >> 8), static_cast<std::uint8_t>(*rgb));
        return code;
      });
  colour->add_option("LEVEL", args->level, "Level 1 to 8")->required();
  colour->add_option("RRGGBB", args->value, "Red, green and blue as hex")->required();

  auto rate = std::make_shared<int>(1000);
  registry
      .AddCommand(&app, "rate", "Set the USB polling rate; the mouse restarts when it changes",
                  NeedsMouse::kYes,
                  [rate](CommandContext& context) {
                    settings::DpiEditor(context.GetSession()).SetPollingRate(*rate);
                    if (context.GetSession().Conn().state == ConnectionState::kConnected) {
                      return kExitDone;
                    }
                    return context.Fail(kExitDeviceFailed,
                                        "the mouse did not come back after its restart");
                  })
      ->add_option("HZ", *rate, "125, 250, 500 or 1000")
      ->required()
      ->check(CLI::IsMember({125, 250, 500, 1000}));

  auto profile = std::make_shared<int>(1);
  auto colour_item = std::make_shared<int>(0);
  CLI::App* choose = registry.AddCommand(
      &app, "profile", "Switch the mouse to profile N, as the mode pages do", NeedsMouse::kYes,
      [profile, colour_item](CommandContext& context) {
        Session& session = context.GetSession();
        if (*colour_item > 0) session.Pages().profile_colour_item = *colour_item - 1;
        if (!settings::ModePages(session).SelectModePage(*profile)) {
          return context.Fail(kExitDeviceFailed, "the profile could not be chosen");
        }
        return kExitDone;
      });
  choose->add_option("N", *profile, "1 Main, 2 Switch, 3 Fixed Control")
      ->required()
      ->check(CLI::Range(1, 3));
  choose
      ->add_option("--color", *colour_item,
                   "Profile colour 1 to 10, or 11 for the specified colour")
      ->check(CLI::Range(1, 11));
}

}  // namespace vrdk::cli
