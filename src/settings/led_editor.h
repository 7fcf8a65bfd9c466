// The lighting settings: LED type, the effects the mouse may cycle through
// and the one in use, step time, breathing bounds and times, effect colours,
// the MCU LED strip ("I2C" patch code header), button flash, the current
// profile and its colour, and the per-profile colours in the profile-switch
// codes.
//
// User byte 1 holds type, effect and (for "NT") the LED count:
//   "RGB"    0x00 + mode         "Sync"   0x40 + mode
//   "NT"     0x80 + 16 x count index (1..7 for 2..8 LEDs) + mode
//   "MCULED" 0x80 + mode, bits 6..4 clear
// An "NT" with one LED (index 0) would read back as "MCULED", so an "NT"
// light has 2 to 8 LEDs. Vendor byte 42 holds one enable bit per effect.
//
// Every edit goes to the mouse at once; nothing is sent while Loading is set.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "image/fields.h"
#include "session/session.h"
#include "tables/brand_options.h"

namespace vrdk::settings {

inline constexpr int kEffectColours = 10;
inline constexpr int kStepTimeSegments = 10;
inline constexpr int kMcuLedSteps = 8;
inline constexpr std::uint16_t kMcuLedStepRegister = 0x07C4;
inline constexpr std::uint16_t kMcuLedControlRegister = 0x07C5;
inline constexpr std::string_view kDisabledEffect = "------";
// The largest step time, and the largest value of each breathing field
// (lower, upper, lower time, upper time); the smallest is 0.
inline constexpr int kStepTimeMaximum = 255;
inline constexpr std::array<int, 4> kBreathLimits = {65535, 65535, 4094, 65535};

// One effect of a type: its name, its enable bit in Vendor byte 42 and the
// mode stored in User byte 1.
struct Effect {
  std::string_view name;
  int bit;
  int mode;
};

// cb_LEDMode item of a type: "RGB" 0, "Sync" 1, "NT" 2, "MCULED" 3.
std::optional<int> LedTypeItem(image::LedType type);
image::LedType LedTypeOfItem(int item);
// The type's effects in list order (empty for an unknown type).
std::span<const Effect> Effects(image::LedType type);
// The list item of the type's effect with this name, in any case.
std::optional<int> EffectNamed(image::LedType type, std::string_view name);
// The LED type with this name ("RGB", "Sync", "NT", "MCULED"), in any case.
std::optional<image::LedType> LedTypeNamed(std::string_view name);
// User byte 1 for effect item `item` of the type.
std::optional<std::uint8_t> EncodeLedMode(image::LedType type, int item, int led_count_item);

// Whether the step time means anything for effect list item `item` of the
// type: not while the lights are off.
bool StepTimeApplies(image::LedType type, int item);
// The step-time bar band of a value: 1 up to 5, 2 for 6..10, ... 10 above 45.
int StepTimeBand(int value);
// Which of `count` step pictures show "on" for step `chosen` (1-based).
std::vector<bool> LitSteps(StepStyle style, int count, int chosen);
// The MCU LED slider: the step (0..7) a release at x pixels snaps to.
int McuLedSliderStep(int x);

class LedEditor {
 public:
  explicit LedEditor(Session& session) : session_(session) {}

  // TLRefreshLEDTypeMode, TLRefreshBreathParameter: shows DataBuf.
  void ShowFromDataBuf();
  // The same from the mouse's live settings (type, effect and breathing
  // values live only there). False when they could not be read.
  bool TakeLiveSettings();

  // The LED type; ends in restore defaults (whole image written, mouse
  // restarted). False for an unknown type or while Loading.
  bool SetLedType(image::LedType type);
  // cb_Mode0 .. cb_Mode6: enables or disables effect `index` of the type,
  // then rebuilds the list and writes byte 42 (TLRefreshBreathMode).
  void SetEffectEnabled(int index, bool enabled);
  void TLRefreshBreathMode();
  // The effect in use: `index` into the type's Effects(). False for a
  // disabled ("------") or unknown effect, or while Loading.
  bool SetEffect(int index);
  // The lowest "NT" LED count index: one LED would read back as "MCULED".
  static constexpr int kFirstNtCountItem = 1;
  // The "NT" LED count index (0..7 for 1..8 LEDs). False, changing nothing,
  // for index 0 (see kFirstNtCountItem) or while loading.
  bool SetNtLedCountIndex(int index);
  // The effect chosen on the lighting page's labels (`index` into the
  // type's Effects(), enabled ones only); while Loading it is shown but not
  // sent.
  bool SetShownEffect(int index);

  // The step time, 0..255 (more is taken as 255). Returns the value shown.
  int SetStepTime(int value);
  // edt_Lower, edt_Upper, edt_LowerTime, edt_UpperTime (field 0..3): the
  // value shown after limiting (65535, 65535, 4094, 65535).
  int SetBreathValue(int field, int value);
  // Effect colour k (1..10): one component from its edit (0 R, 1 G, 2 B), or
  // all three from the colour dialog.
  void SetColourComponent(int colour, int component, int value);
  void SetColour(int colour, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

  // cb_MCULEDNumChange: step 0..7, scan variant 0..1, count item 0..9 (4..13
  // LEDs). "I2C" only: a "Flash" mouse stores them nowhere (false, and the
  // page keeps what it showed).
  bool SetMcuLed(int step_item, int control_item, int count_item);
  // Whether the mouse keeps the strip's settings (the "I2C" patch header).
  bool StripStored() const { return session_.ActiveMemoryType() == MemoryType::kI2C; }
  // The strip's step 0..7, its scan and count kept.
  bool SetMcuLedStep(int step);

  // cb_BtnEFT: button flash off (0) or on (1).
  void SetButtonFlash(int item);
  // The current profile (0..2) and its colour item (0..10).
  void SetCurrentProfile(int profile_item, int colour_item);
  // cb_Profile1Color .. cb_Profile3Color: profile 1..3, colour item 0..10;
  // rewrites the profile-switch buttons and writes the profiles.
  void SetProfileColour(int profile, int colour_item);

 private:
  bool Loading() const { return session_.Conn().loading; }
  LedState& Led() { return session_.Pages().led; }
  // From settings bytes: DataBuf or the live settings.
  void ShowFrom(std::span<const std::uint8_t> settings);
  void SelectStoredMode(int mode);
  bool WriteLiveWord(int address, int value);

  Session& session_;
};

}  // namespace vrdk::settings
