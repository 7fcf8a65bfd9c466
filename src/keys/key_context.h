// The working state that key function codes are built from and that naming a
// code writes back to: the values of the engineer-page, fire-key and AIM
// controls. The Session holds one KeyCodeContext and keeps it in step with
// those controls; CodeForMenuTag reads it and NameForCode updates it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "image/memory_type.h"

namespace vrdk {

// The functions whose codes carry a combination bit (b3 of classes 0x01 and
// 0x09), each with its engineer-page list.
enum class ComboFunction {
  kMiddle,   // cb_MidCom
  kBack,     // cb_BackCom
  kForward,  // cb_ForwardCom
  kDpiLoop,  // cb_CPICom
  kDpiUp,    // cb_CPIICom
  kDpiDown,  // cb_CPIDCom
};
inline constexpr int kComboFunctionCount = 6;

// The combination bit of a combination-bit list's item index: item 0 gives
// 0x00, item k = 1..8 gives 1 << (k - 1); any other index gives 0x00.
std::uint8_t CombinationBit(int item);

// One fire button's preset (fire buttons 1..3 are presets 0..2).
struct FirePreset {
  int count = 2;             // shots per press, 1..15
  int interval = 60;         // time between shots in milliseconds, 1..4094
  bool keep_firing = false;  // cb_FireNContinue: keep firing while the button is held
};

// Item index of a profile colour list that stands for the user colour
// (colour nibble 15); items 0..9 are colours 1..10 (nibbles 0..9).
inline constexpr int kUserColourItem = 10;
// Item of the LED type list cb_LEDMode (sync LEDs) under which every
// profile-switch code carries colour nibble 15.
inline constexpr int kSyncLedTypeItem = 1;

// The macro stores as naming class-0x0B and class-0x10 codes needs them. The
// macro stores implement it; the Session hands it to the context.
class MacroTables {
 public:
  virtual ~MacroTables() = default;
  // The address held by entry `index` of the macro address table of this
  // memory type (15 entries for "I2C", 32 for "Flash"), or nothing when no
  // macro is present there.
  virtual std::optional<std::uint16_t> PresentMacroAddress(MemoryType type, int index) const = 0;
  // Item `index` of the device macro name list; empty when there is none.
  virtual std::string DeviceMacroName(int index) const = 0;
  // The text of fire-macro script entry `index` (0..9), "00000000" when free.
  virtual std::string FireMacroCode(int index) const = 0;
};

inline constexpr int kI2CMacroEntries = 15;
inline constexpr int kFlashMacroEntries = 32;
inline constexpr int kFireMacroEntries = 10;

struct KeyCodeContext {
  // Item index (0..8) of each function's combination-bit list, by
  // ComboFunction.
  std::array<int, kComboFunctionCount> combination_items{};

  // Profile-switch parameters of the engineer page: cb_RTZ (return to zero),
  // cb_AXY (adjust XY), cb_CC (change colour), each item 0 "Disable" or 1
  // "Enable", and edt_OffSet (0..0xFFF).
  int return_to_zero = 0;
  int adjust_xy = 0;
  int change_colour = 0;
  int offset = 0;

  // cb_Profile1Color .. cb_Profile3Color: item 0..9 (colour 1..10) or
  // kUserColourItem. Naming a profile-switch code sets the target's item.
  std::array<int, 3> profile_colour_items{};
  // cb_LEDMode, the LED type list.
  int led_type_item = 0;

  // Fire buttons 1..3: counts 2, 4, 8 and intervals 60, 120, 200 by default,
  // as the default image holds them. Naming a fire code sets keep_firing of
  // the matching preset, except while program_sets_fire_flags is set (the
  // program is toggling the check boxes itself).
  std::array<FirePreset, 3> fire{{{2, 60, false}, {4, 120, false}, {8, 200, false}}};
  bool program_sets_fire_flags = false;

  // The AIM DPI step shared by all AIM keys, 1..12.
  int aim_step = 1;

  // The memory type codes are made for (tag 1005) and macro addresses are
  // looked up in.
  MemoryType memory_type = MemoryType::kI2C;

  // The fire-macro naming switch: set at start-up when "Fire Macro.bin"
  // exists; class-0x0B codes are then named "Fire Macro" + entry number.
  bool fire_macro_naming = false;

  // The macro stores; without them class-0x10 codes have empty names, and so
  // do class-0x0B codes while the naming switch is set.
  const MacroTables* macro_tables = nullptr;
};

}  // namespace vrdk
