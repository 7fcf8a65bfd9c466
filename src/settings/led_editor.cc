#include "settings/led_editor.h"

#include <algorithm>
#include <cctype>

#include "image/checksum.h"
#include "session/image_writes.h"
#include "session/write_roads.h"
#include "settings/profile_switch_keys.h"

namespace vrdk::settings {
namespace {

constexpr int kLedModeAddress = image::LiveAddress(image::field::kLedModeByte);
constexpr int kButtonFlash = image::LiveAddress(image::field::kButtonFlash);

using image::LedType;

constexpr std::array<Effect, 6> kRgbEffects = {{{"Off", 0, 0},
                                                {"Random", 1, 1},
                                                {"Sequence", 2, 2},
                                                {"Fixed", 3, 3},
                                                {"Blend", 4, 4},
                                                {"CPI Breath", 5, 5}}};
constexpr std::array<Effect, 3> kSyncEffects = {
    {{"Off", 0, 0}, {"Sync Breath", 1, 1}, {"Sync No-breath", 2, 2}}};
// "NT" skips mode 3: its fourth and fifth effects are modes 4 and 5.
constexpr std::array<Effect, 5> kNtEffects = {
    {{"Off", 0, 0}, {"Random", 1, 1}, {"Blend", 2, 2}, {"Fixed", 4, 4}, {"CPI Breath", 5, 5}}};
// "MCULED" stores item i as mode i + 1; bit 0 of byte 42 is unused.
constexpr std::array<Effect, 7> kMcuLedEffects = {{{"CPI Breath", 1, 1},
                                                   {"Colorful Light", 2, 2},
                                                   {"Rainbow", 3, 3},
                                                   {"Floe Light", 4, 4},
                                                   {"Waltz Light", 5, 5},
                                                   {"4-Seasons", 6, 6},
                                                   {"Off", 7, 7}}};

// The effect each type starts with after a type change.
int StartingEffect(LedType type) {
  switch (type) {
    case LedType::kRGB:
      return 5;  // "CPI Breath"
    case LedType::kSync:
      return 2;  // "Sync No-breath"
    case LedType::kNT:
      return 3;  // "Fixed"
    default:
      return 4;  // "Waltz Light"
  }
}

constexpr int kColourUserItem = 10;
constexpr int kColourUserCode = 15;

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

int ColourCode(int item) { return item >= 0 && item <= 9 ? item : kColourUserCode; }

}  // namespace

std::optional<int> LedTypeItem(LedType type) {
  switch (type) {
    case LedType::kRGB:
      return 0;
    case LedType::kSync:
      return 1;
    case LedType::kNT:
      return 2;
    case LedType::kMCULED:
      return 3;
    case LedType::kUnknown:
      break;
  }
  return std::nullopt;
}

LedType LedTypeOfItem(int item) {
  constexpr std::array<LedType, 4> kTypes = {LedType::kRGB, LedType::kSync, LedType::kNT,
                                             LedType::kMCULED};
  return item >= 0 && item < 4 ? kTypes[static_cast<std::size_t>(item)] : LedType::kUnknown;
}

std::span<const Effect> Effects(LedType type) {
  switch (type) {
    case LedType::kRGB:
      return kRgbEffects;
    case LedType::kSync:
      return kSyncEffects;
    case LedType::kNT:
      return kNtEffects;
    case LedType::kMCULED:
      return kMcuLedEffects;
    case LedType::kUnknown:
      break;
  }
  return {};
}

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::optional<int> EffectNamed(LedType type, std::string_view name) {
  const auto effects = Effects(type);
  for (std::size_t i = 0; i < effects.size(); ++i) {
    if (SameLetters(effects[i].name, name)) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<LedType> LedTypeNamed(std::string_view name) {
  for (const LedType type : {LedType::kRGB, LedType::kSync, LedType::kNT, LedType::kMCULED}) {
    if (SameLetters(image::LedTypeName(type), name)) return type;
  }
  return std::nullopt;
}

std::optional<std::uint8_t> EncodeLedMode(LedType type, int item, int led_count_item) {
  const auto effects = Effects(type);
  if (item < 0 || item >= static_cast<int>(effects.size())) return std::nullopt;
  const int mode = effects[static_cast<std::size_t>(item)].mode;
  switch (type) {
    case LedType::kSync:
      return Byte(0x40 + mode);
    case LedType::kNT:
      return Byte(0x80 + 16 * std::clamp(led_count_item, LedEditor::kFirstNtCountItem, 7) + mode);
    case LedType::kMCULED:
      return Byte(0x80 + mode);
    default:
      return Byte(mode);
  }
}

bool StepTimeApplies(LedType type, int item) {
  const auto effects = Effects(type);
  if (item < 0 || item >= static_cast<int>(effects.size())) return false;
  return effects[static_cast<std::size_t>(item)].name != "Off";
}

int StepTimeBand(int value) { return std::clamp((value + 4) / 5, 1, kStepTimeSegments); }

std::vector<bool> LitSteps(StepStyle style, int count, int chosen) {
  std::vector<bool> lit(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 1; i <= count; ++i) {
    lit[static_cast<std::size_t>(i - 1)] = style == StepStyle::kLever ? i == chosen : i <= chosen;
  }
  return lit;
}

int McuLedSliderStep(int x) {
  for (int i = 0; i < kMcuLedSteps; ++i) {
    if (x <= -10 + 31 * (i + 1)) return i;
  }
  return kMcuLedSteps - 1;  // the slider ends at 700
}

// --- Showing ------------------------------------------------------------------

void LedEditor::ShowFromDataBuf() { ShowFrom(session_.Data()); }

bool LedEditor::TakeLiveSettings() {
  std::array<std::uint8_t, kLiveSize> live{};
  // Only a whole read is taken: a lost answer would show as 0xFF.
  if (!session_.Checked().ReadLive(0, live)) return false;
  ShowFrom(live);
  return true;
}

void LedEditor::ShowFrom(std::span<const std::uint8_t> settings) {
  PageState& pages = session_.Pages();
  LedState& led = Led();
  const int mode_byte = image::Get(settings, image::field::kLedModeByte);
  pages.led_type = image::LedTypeFromUserByte(static_cast<std::uint8_t>(mode_byte));
  session_.Keys().led_type_item = *LedTypeItem(pages.led_type);
  const auto effects = Effects(pages.led_type);
  led.effect_enabled = {};
  for (std::size_t i = 0; i < effects.size(); ++i) {
    led.effect_enabled[i] =
        (image::Get(settings, image::field::kEffectsEnabled) >> effects[i].bit & 1) != 0;
  }
  led.effect_list.clear();
  for (std::size_t i = 0; i < effects.size(); ++i) {
    led.effect_list.emplace_back(led.effect_enabled[i] ? effects[i].name : kDisabledEffect);
  }
  if (pages.led_type == LedType::kNT) {
    led.led_count_item = image::Get(settings, image::field::kNtLedCount);
  }
  SelectStoredMode(image::Get(settings, image::field::kLedMode));
  for (std::size_t field = 0; field < led.breath.size(); ++field) {
    led.breath[field] = image::BreathValue(settings, static_cast<int>(field));
  }
  led.step_time = image::Get(settings, image::field::kStepTime);
  const auto& header = session_.Buffers().patch_header;
  const std::uint8_t step = header[image::patch_header::kMcuLedStep];
  const std::uint8_t control = header[image::patch_header::kMcuLedControl];
  if (step < kMcuLedSteps) led.mcu_step_item = step;
  led.mcu_ctrl_item = control >> 7;
  if ((control & 0x0F) <= 9) led.mcu_count_item = 9 - (control & 0x0F);
  pages.button_effect_item = image::Get(settings, image::field::kButtonFlash) == 1 ? 1 : 0;
}

void LedEditor::SelectStoredMode(int mode) {
  // A mode the type's list does not know leaves the item shown before.
  const auto effects = Effects(session_.Pages().led_type);
  for (std::size_t i = 0; i < effects.size(); ++i) {
    if (effects[i].mode == mode) Led().effect_item = static_cast<int>(i);
  }
}

// --- Type and effects ------------------------------------------------------------

bool LedEditor::SetLedType(LedType type) {
  // The change ends in a whole-image write: without a mouse that may take it,
  // nothing changes.
  if (type == LedType::kUnknown || session_.CheckAccess() != Refusal::kNone) return false;
  PageState& pages = session_.Pages();
  pages.led_type = type;
  pages.package = type == LedType::kRGB ? 1 : 0;  // "RGB LED", else "A-Tech LED"
  session_.Keys().led_type_item = *LedTypeItem(type);
  LedState& led = Led();
  led.effect_enabled.fill(false);
  std::fill_n(led.effect_enabled.begin(), Effects(type).size(), true);
  // The effects, the effect in use and the whole memory written then are one
  // change: a mouse that leaves in the middle has it finished by the journal.
  const Session::Operation operation(session_);
  const Session::Change change(session_, WriteSubject::kWholeMemory);
  TLRefreshBreathMode();
  led.effect_item = StartingEffect(type);
  const auto mode = EncodeLedMode(type, led.effect_item, led.led_count_item);
  WriteRoads(session_).WriteLiveField(kLedModeAddress, *mode);
  ImageWrites(session_).TLDefaultParameter();
  return true;
}

void LedEditor::SetEffectEnabled(int index, bool enabled) {
  if (index < 0 || index >= LedState::kEffects) return;
  Led().effect_enabled[static_cast<std::size_t>(index)] = enabled;
  TLRefreshBreathMode();
}

void LedEditor::TLRefreshBreathMode() {
  if (Loading()) return;
  LedState& led = Led();
  const int remembered = led.effect_item;
  const auto effects = Effects(session_.Pages().led_type);
  std::uint8_t bits = 0;
  led.effect_list.clear();
  for (std::size_t i = 0; i < effects.size(); ++i) {
    if (led.effect_enabled[i]) {
      led.effect_list.emplace_back(effects[i].name);
      bits = static_cast<std::uint8_t>(bits | 1 << effects[i].bit);
    } else {
      led.effect_list.emplace_back(kDisabledEffect);
    }
  }
  image::Set(session_.Data(), image::field::kEffectsEnabled, bits);
  WriteRoads(session_).WriteLiveField(image::LiveAddress(image::field::kEffectsEnabled), bits);
  // Only an effect that was just disabled moves the selection.
  const auto at = static_cast<std::size_t>(remembered);
  if (at >= led.effect_list.size() || led.effect_list[at] != kDisabledEffect) return;
  const auto first = std::find_if(led.effect_list.begin(), led.effect_list.end(),
                                  [](const std::string& name) { return name != kDisabledEffect; });
  if (first != led.effect_list.end()) {
    SetEffect(static_cast<int>(first - led.effect_list.begin()));
  }
}

bool LedEditor::SetEffect(int item) {
  LedState& led = Led();
  const auto at = static_cast<std::size_t>(item);
  if (Loading() || item < 0 || at >= led.effect_list.size() ||
      led.effect_list[at] == kDisabledEffect) {
    return false;
  }
  led.effect_item = item;
  const auto mode = EncodeLedMode(session_.Pages().led_type, item, led.led_count_item);
  if (!mode) return false;
  WriteRoads(session_).WriteLiveField(kLedModeAddress, *mode);
  return true;
}

bool LedEditor::SetNtLedCountIndex(int item) {
  if (Loading() || item < kFirstNtCountItem || item > 7) return false;
  Led().led_count_item = item;
  if (session_.Pages().led_type != LedType::kNT) return true;
  const auto mode = EncodeLedMode(LedType::kNT, Led().effect_item, item);
  if (mode) WriteRoads(session_).WriteLiveField(kLedModeAddress, *mode);
  return true;
}

bool LedEditor::SetShownEffect(int index) {
  const auto effects = Effects(session_.Pages().led_type);
  const auto at = static_cast<std::size_t>(index);
  if (index < 0 || at >= effects.size() || !Led().effect_enabled[at]) return false;
  LedState& led = Led();
  led.effect_item = index;
  if (Loading()) return true;
  // The type and LED count are the page's, not what the last read left in DataBuf.
  const auto mode = EncodeLedMode(session_.Pages().led_type, led.effect_item, led.led_count_item);
  if (mode) WriteRoads(session_).WriteLiveField(kLedModeAddress, *mode);
  return true;
}

// --- Step time, breathing and colours --------------------------------------------

int LedEditor::SetStepTime(int value) {
  const int shown = std::clamp(value, 0, kStepTimeMaximum);
  Led().step_time = shown;
  if (Loading()) return shown;
  image::Set(session_.Data(), image::field::kStepTime, shown);
  WriteRoads(session_).WriteLiveField(image::LiveAddress(image::field::kStepTime), Byte(shown));
  return shown;
}

int LedEditor::SetBreathValue(int field, int value) {
  if (field < 0 || field >= 4) return 0;
  const auto at = static_cast<std::size_t>(field);
  const int shown = std::clamp(value, 0, kBreathLimits[at]);
  Led().breath[at] = shown;
  // DataBuf keeps it too: a later write of the whole Vendor section (a DPI
  // change) would otherwise put the old value back.
  if (!Loading()) image::SetBreathValue(session_.Data(), field, shown);
  if (!Loading()) WriteLiveWord(image::LiveAddress(image::field::kBreath, field, 2), shown);
  return shown;
}

bool LedEditor::WriteLiveWord(int address, int value) {
  const std::array<std::uint8_t, 2> word{Byte(value >> 8), Byte(value & 0xFF)};
  return WriteRoads(session_).WriteLiveBytes(address, word);
}

void LedEditor::SetColourComponent(int colour, int component, int value) {
  if (colour < 1 || colour > kEffectColours || component < 0 || component > 2) return;
  const int address =
      image::LiveAddress(image::field::kEffectColours, 3 * (colour - 1) + component);
  const std::uint8_t byte = Byte(std::clamp(value, 0, 255));
  session_.Data()[static_cast<std::size_t>(address)] = byte;
  if (!Loading()) WriteRoads(session_).WriteLiveField(address, byte);
}

void LedEditor::SetColour(int colour, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  if (Loading() || colour < 1 || colour > kEffectColours) return;
  const Session::Change change(session_, WriteSubject::kSettings);
  SetColourComponent(colour, 0, red);
  SetColourComponent(colour, 1, green);
  SetColourComponent(colour, 2, blue);
  WriteRoads(session_).WriteLiveField(
      image::LiveAddress(image::field::kEffectColours, colour - 1, 3), red, green, blue);
}

// --- MCU LED strip -----------------------------------------------------------------

bool LedEditor::SetMcuLed(int step_item, int control_item, int count_item) {
  if (Loading() || step_item < 0 || step_item >= kMcuLedSteps || control_item < 0 ||
      control_item > 1 || count_item < 0 || count_item > 9 || !StripStored()) {
    return false;
  }
  LedState& led = Led();
  led.mcu_step_item = step_item;
  led.mcu_ctrl_item = control_item;
  led.mcu_count_item = count_item;
  auto& header = session_.Buffers().patch_header;
  header[image::patch_header::kMcuLedStep] = Byte(step_item);
  header[image::patch_header::kMcuLedControl] = Byte(0x80 * control_item + (9 - count_item));
  image::TLCheckMCULEDSection(header);
  WriteRoads roads(session_);
  if (!roads.MayWrite()) return false;
  const Session::Operation operation(session_);
  CheckedLink& link = session_.Checked();
  session_.Events().ShowLoading(0, 1);
  // The registers take the strip's settings at once; the header keeps them.
  const bool kept = roads.WriteMemory(WriteSubject::kLedStrip, image::i2c::kPatchHeader, header);
  const bool written =
      kept &&
      link.Send(command::kWriteXData, Byte(kMcuLedStepRegister >> 8),
                Byte(kMcuLedStepRegister & 0xFF), header[image::patch_header::kMcuLedStep]) &&
      link.Send(command::kWriteXData, Byte(kMcuLedControlRegister >> 8),
                Byte(kMcuLedControlRegister & 0xFF), header[image::patch_header::kMcuLedControl]);
  if (kept && !written) session_.ReportTrouble(session_.Own(OwnText::kRegisterNotTaken));
  session_.Events().HideLoading();
  return written;
}

bool LedEditor::SetMcuLedStep(int step) {
  return SetMcuLed(step, Led().mcu_ctrl_item, Led().mcu_count_item);
}

// --- Button flash and profiles ------------------------------------------------------

void LedEditor::SetButtonFlash(int item) {
  if (item < 0 || item > 1) return;
  session_.Pages().button_effect_item = item;
  if (!Loading()) WriteRoads(session_).WriteLiveField(kButtonFlash, Byte(item));
}

void LedEditor::SetCurrentProfile(int profile_item, int colour_item) {
  if (Loading() || profile_item < 0 || profile_item > 2 || colour_item < 0 ||
      colour_item > kColourUserItem) {
    return;
  }
  PageState& pages = session_.Pages();
  Led().profile_item = profile_item;
  pages.profile_colour_item = colour_item;
  const Session::Change change(session_, WriteSubject::kSettings);
  WriteRoads roads(session_);
  const int effect = session_.Brand().button_effect ? pages.button_effect_item : 0;
  roads.WriteLiveField(kButtonFlash, Byte(effect));
  const bool second = profile_item == 1;
  const int parameters = image::LiveAddress(image::field::kProfileParameters);
  roads.WriteLiveField(parameters, second ? 15 : 0);
  roads.WriteLiveField(parameters + 1, 0);
  roads.WriteLiveField(parameters + 2, second ? Byte(session_.Keys().offset & 0xFF) : 0);
  roads.WriteLiveField(image::LiveAddress(image::field::kProfileByte),
                       static_cast<std::uint8_t>(
                           image::With(0, image::field::kCurrentProfile, profile_item) |
                           image::With(0, image::field::kProfileColour, ColourCode(colour_item))));
}

void LedEditor::SetProfileColour(int profile, int colour_item) {
  if (profile < 1 || profile > 3 || colour_item < 0 || colour_item > kColourUserItem) return;
  session_.Keys().profile_colour_items[static_cast<std::size_t>(profile - 1)] = colour_item;
  RewriteProfileSwitchKeys(session_);
  if (!Loading()) WriteRoads(session_).WriteProfiles();
}

}  // namespace vrdk::settings
