#include "keys/function_codes.h"

#include <algorithm>
#include <array>

#include "keys/keyboard_keys.h"
#include "tables/own_texts.h"

namespace vrdk {
namespace {

// Menu entries whose code does not depend on the working state, with the
// number of the text that names the code ("Str" + number).
struct FixedCode {
  int tag;
  std::string_view code;
  int name;
};

constexpr FixedCode kFixedCodes[] = {
    {menu_tag::kLeft, "01010000", 210},
    {menu_tag::kRight, "01020000", 211},
    {menu_tag::kLedMode, "0E000000", 261},
    {menu_tag::kLedSwitch, "08000000", 262},
    {menu_tag::kButtonEffect, "08010000", 263},
    {menu_tag::kReportRate, "0C000000", 264},
    {menu_tag::kFixedFireMacro, "0B8F0000", 266},
    {menu_tag::kKeyOff, "00000000", 277},
    {1100, "0300CD00", 270},                // play / pause
    {1101, "0300B700", 271},                // stop
    {1102, "0300B600", 272},                // previous track
    {1103, "0300B500", 273},                // next track
    {1104, "0300E900", 274},                // volume up
    {1105, "0300EA00", 275},                // volume down
    {1106, "0300E200", 276},                // mute
    {1200, "03022300", 280},                // browser home
    {1201, "03022100", 281},                // search
    {1202, "03022400", 282},                // back
    {1203, "03022500", 283},                // forward
    {1204, "03022600", 284},                // stop
    {1205, "03022700", 285},                // refresh
    {1206, "03022A00", 286},                // bookmarks
    {1300, "03019400", 290},                // my computer
    {1301, "03019200", 291},                // calculator
    {1302, "03018A00", 292},                // e-mail
    {menu_tag::kDesktop, "02080700", 293},  // Win + D
    {2200, "04010000", 241},                // power down
    {2201, "04020000", 242},                // sleep
    {menu_tag::kWakeUp, "04030000", 243},
    {menu_tag::kProfileLoop, "07000000", 254},
    {menu_tag::kMacOsBack, "02085000", 268},     // Win + Left Arrow
    {menu_tag::kMacOsForward, "02084F00", 269},  // Win + Right Arrow
};

// The fixed macro that tag 1005 makes, per memory type; both are named
// Str265.
constexpr std::string_view kI2CFixedMacro = "100710FF";
constexpr std::string_view kFlashFixedMacro = "107000FF";
constexpr int kFixedMacroName = 265;

// Names of the built-in fire patterns, by the first six digits of the code.
struct FirePattern {
  std::string_view prefix;
  int name;
};
constexpr FirePattern kFirePatterns[] = {
    {"0B0001", 600}, {"0B1001", 600}, {"0B0101", 601}, {"0B1101", 601}, {"0B0201", 602},
    {"0B1201", 602}, {"0B0301", 603}, {"0B1301", 603}, {"0B0401", 604}, {"0B1401", 604},
    {"0B0501", 605}, {"0B1501", 605}, {"0B0502", 605}, {"0B1502", 605}, {"0B0701", 606},
    {"0B1701", 606}, {"0B0702", 606}, {"0B1702", 606}, {"0B0703", 606}, {"0B1703", 606},
};

constexpr int kMouseButtonNames[][2] = {{0x04, 212}, {0x08, 213}, {0x10, 214}};
constexpr int kFirstDpiName = 221;      // DPI loop, up, down: 221..223
constexpr int kFirstFireName = 231;     // fire buttons 1..3: 231..233
constexpr int kFirstProfileName = 251;  // profiles 1..3: 251..253
constexpr int kProfileLoopName = 254;
constexpr int kAimName = 260;
constexpr int kEmptyComboName = 205;
constexpr std::string_view kFireMacroName = "Fire Macro";
// A built-in fire pattern the language has no text for (the shipped tables
// have none) is called "Fire Pattern 1" .. "Fire Pattern 7" in the window's
// own words.
constexpr int kFirstFirePatternName = 600;

constexpr std::array<std::string_view, 4> kModifierNames = {"Ctrl", "Shift", "Alt", "Win"};

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

std::uint8_t ComboBit(const KeyCodeContext& context, ComboFunction function) {
  return CombinationBit(context.combination_items[static_cast<int>(function)]);
}

int ColourNibble(int item) { return item >= 0 && item <= 9 ? item : 15; }

// The profile switch of profile index 0..2 in its extended form.
KeyCodeBytes ExtendedProfileSwitch(int profile, const KeyCodeContext& context) {
  const auto flag = [](int item) { return std::clamp(item, 0, 1); };
  const int offset = std::clamp(context.offset, 0, 0xFFF);
  const int nibble = context.led_type_item == kSyncLedTypeItem
                         ? 15
                         : ColourNibble(context.profile_colour_items[profile]);
  const int flags = 0x40 * flag(context.return_to_zero) + 0x20 * flag(context.adjust_xy) +
                    0x10 * flag(context.change_colour);
  return {key_class::kProfileSwitch, Byte(0x80 + profile + flags), Byte(16 * nibble + offset / 256),
          Byte(offset % 256)};
}

KeyCodeBytes FireCode(const FirePreset& preset) {
  const int count = std::clamp(preset.count, 1, 15);
  const int interval = std::clamp(preset.interval, 0, 0xFFFF);
  return {key_class::kFire, Byte(count + (preset.keep_firing ? 0x8F : 0x0F)), Byte(interval >> 8),
          Byte(interval & 0xFF)};
}

std::optional<KeyCodeBytes> ParameterisedCode(int tag, const KeyCodeContext& context,
                                              MenuOrigin origin) {
  using key_class::kDpi;
  using key_class::kMouseButton;
  switch (tag) {
    case menu_tag::kMiddle:
      return KeyCodeBytes{kMouseButton, 0x04, 0, ComboBit(context, ComboFunction::kMiddle)};
    case menu_tag::kForward:
      return KeyCodeBytes{kMouseButton, 0x10, 0, ComboBit(context, ComboFunction::kForward)};
    case menu_tag::kBackward:
      return KeyCodeBytes{kMouseButton, 0x08, 0, ComboBit(context, ComboFunction::kBack)};
    case menu_tag::kDpiLoop:
      return KeyCodeBytes{kDpi, 0, 0, ComboBit(context, ComboFunction::kDpiLoop)};
    case menu_tag::kDpiUp:
      return KeyCodeBytes{kDpi, 1, 0, ComboBit(context, ComboFunction::kDpiUp)};
    case menu_tag::kDpiDown:
      return KeyCodeBytes{kDpi, 2, 0, ComboBit(context, ComboFunction::kDpiDown)};
    case menu_tag::kAim:
      return KeyCodeBytes{key_class::kAim, Byte(std::clamp(context.aim_step, 1, 12) - 1), 0, 0};
    default:
      break;
  }
  if (tag >= menu_tag::kFire1 && tag <= menu_tag::kFire3) {
    return FireCode(context.fire[tag - menu_tag::kFire1]);
  }
  if (tag >= menu_tag::kProfile1 && tag <= menu_tag::kProfile3) {
    const int profile = tag - menu_tag::kProfile1;
    if (origin == MenuOrigin::kCombinationSlot) return ExtendedProfileSwitch(profile, context);
    return KeyCodeBytes{key_class::kProfileSwitch, Byte(0x80 + profile), 0, 0};
  }
  return std::nullopt;
}

// Keyboard naming: modifiers in the order Ctrl, Shift, Alt, Win, then the
// names of the two usages, joined by "+"; a usage without a name still
// brings its "+".
std::string KeyboardName(const KeyCodeBytes& bytes, const LanguageTable& language) {
  std::string name;
  const auto append = [&name](std::string_view part) {
    if (!name.empty()) name += '+';
    name += part;
  };
  for (std::size_t bit = 0; bit < kModifierNames.size(); ++bit) {
    if (bytes[1] & (1u << bit)) append(kModifierNames[bit]);
  }
  for (const std::uint8_t usage : {bytes[2], bytes[3]}) {
    if (usage != 0) append(UsageName(usage));
  }
  return name.empty() ? language.Text(kEmptyComboName) : name;
}

// The built-in fire pattern of a code's first six digits; empty for none.
std::string FirePatternName(const std::string& prefix, const LanguageTable& language) {
  for (const auto& pattern : kFirePatterns) {
    if (pattern.prefix != prefix) continue;
    // An empty name would show a button that fires as one with no function.
    std::string name = language.Text(pattern.name);
    if (name.empty()) {
      name = OwnTextFor(OwnText::kFirePattern, language.Number(),
                        {std::to_string(pattern.name - kFirstFirePatternName + 1)});
    }
    return name;
  }
  return {};
}

std::string FireMacroName(const KeyCodeBytes& bytes, const LanguageTable& language,
                          const KeyCodeContext& context) {
  const std::string prefix = FormatKeyCode(bytes).substr(0, 6);
  if (!context.fire_macro_naming) return FirePatternName(prefix, language);
  int number = 0;
  if (context.macro_tables != nullptr) {
    for (int i = 0; i < kFireMacroEntries; ++i) {
      const auto entry = ParseKeyCode(context.macro_tables->FireMacroCode(i));
      if (entry && FormatKeyCode(*entry).substr(0, 6) == prefix) number = i + 1;
    }
  }
  // A built-in pattern no script stands for keeps its own name.
  if (number == 0) return FirePatternName(prefix, language);
  return std::string(kFireMacroName) + std::to_string(number);
}

std::string MacroName(const KeyCodeBytes& bytes, const KeyCodeContext& context) {
  if (context.macro_tables == nullptr) return {};
  const std::uint16_t address = static_cast<std::uint16_t>(bytes[1] << 8 | bytes[2]);
  const int entries =
      context.memory_type == MemoryType::kI2C ? kI2CMacroEntries : kFlashMacroEntries;
  int found = -1;
  for (int i = 0; i < entries; ++i) {
    if (context.macro_tables->PresentMacroAddress(context.memory_type, i) == address) found = i;
  }
  return found < 0 ? std::string() : context.macro_tables->DeviceMacroName(found);
}

// Fire code: the first preset with this count and interval names it and takes
// its keep-firing flag.
std::string FireName(const KeyCodeBytes& bytes, const LanguageTable& language,
                     KeyCodeContext& context) {
  const int count = (bytes[1] & 0x0F) + 1;
  const int interval = bytes[2] << 8 | bytes[3];
  for (int n = 0; n < 3; ++n) {
    FirePreset& preset = context.fire[n];
    if (preset.count != count || preset.interval != interval) continue;
    if (!context.program_sets_fire_flags) preset.keep_firing = (bytes[1] & 0x80) != 0;
    return language.Text(kFirstFireName + n);
  }
  return {};
}

std::string ProfileSwitchName(const KeyCodeBytes& bytes, const LanguageTable& language,
                              KeyCodeContext& context) {
  if (bytes[1] == 0) return language.Text(kProfileLoopName);
  const int target = bytes[1] & 0x87;
  if (target < 0x80 || target > 0x82) return {};
  const int profile = target - 0x80;
  const int nibble = bytes[2] >> 4;
  if (nibble <= 9) {
    context.profile_colour_items[profile] = nibble;
  } else if (nibble == 15) {
    context.profile_colour_items[profile] = kUserColourItem;
  }
  return language.Text(kFirstProfileName + profile);
}

}  // namespace

std::uint8_t CombinationBit(int item) { return item >= 1 && item <= 8 ? Byte(1 << (item - 1)) : 0; }

std::string CodeForMenuTag(int tag, const KeyCodeContext& context, MenuOrigin origin) {
  if (tag == menu_tag::kNone) return "00000000";
  if (tag == menu_tag::kFixedMacro) {
    return std::string(context.memory_type == MemoryType::kI2C ? kI2CFixedMacro : kFlashFixedMacro);
  }
  for (const auto& entry : kFixedCodes) {
    if (entry.tag == tag) return std::string(entry.code);
  }
  if (const auto bytes = ParameterisedCode(tag, context, origin)) return FormatKeyCode(*bytes);
  return {};
}

std::string NameForCode(std::string_view code, const LanguageTable& language,
                        KeyCodeContext& context) {
  const auto bytes = ParseKeyCode(code);
  if (!bytes) return {};
  const std::string text = FormatKeyCode(*bytes);
  for (const auto& entry : kFixedCodes) {
    if (entry.code == text) return language.Text(entry.name);
  }
  if (text == kI2CFixedMacro || text == kFlashFixedMacro) return language.Text(kFixedMacroName);
  const std::uint8_t b1 = (*bytes)[1];
  switch ((*bytes)[0]) {
    case key_class::kMouseButton:
      for (const auto& [bit, name] : kMouseButtonNames) {
        if (b1 == bit) return language.Text(name);
      }
      return {};
    case key_class::kKeyboard:
      return KeyboardName(*bytes, language);
    case key_class::kAim:
      return language.Text(kAimName);
    case key_class::kFire:
      return FireName(*bytes, language, context);
    case key_class::kProfileSwitch:
      return ProfileSwitchName(*bytes, language, context);
    case key_class::kDpi:
      return b1 <= 2 ? language.Text(kFirstDpiName + b1) : std::string();
    case key_class::kFireMacro:
      return FireMacroName(*bytes, language, context);
    case key_class::kMacro:
      return MacroName(*bytes, context);
    default:
      return {};
  }
}

std::string NameForSlotCode(std::string_view code, const LanguageTable& language,
                            const KeyCodeContext& context) {
  KeyCodeContext scratch = context;
  return NameForCode(code, language, scratch);
}

std::optional<ComboFunction> ComboFunctionOfCode(const KeyCodeBytes& code) {
  if (code[0] == key_class::kMouseButton) {
    if (code[1] == 0x04) return ComboFunction::kMiddle;
    if (code[1] == 0x08) return ComboFunction::kBack;
    if (code[1] == 0x10) return ComboFunction::kForward;
  } else if (code[0] == key_class::kDpi) {
    if (code[1] == 0) return ComboFunction::kDpiLoop;
    if (code[1] == 1) return ComboFunction::kDpiUp;
    if (code[1] == 2) return ComboFunction::kDpiDown;
  }
  return std::nullopt;
}

std::optional<ProfileSwitchParameters> ExtendedProfileSwitchParameters(const KeyCodeBytes& code) {
  if (code[0] != key_class::kProfileSwitch || (code[1] & 0x80) == 0) return std::nullopt;
  const int target = code[1] & 0x87;
  if (target < 0x80 || target > 0x82) return std::nullopt;
  if ((code[1] & 0x70) == 0 && code[2] == 0 && code[3] == 0) return std::nullopt;
  return ProfileSwitchParameters{(code[1] >> 6) & 1, (code[1] >> 5) & 1, (code[1] >> 4) & 1,
                                 (code[2] & 0x0F) << 8 | code[3]};
}

}  // namespace vrdk
