#include "keys/editors/gestures.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "keys/editors/fire_aim.h"
#include "keys/editors/key_assignment.h"
#include "keys/key_code.h"
#include "session/write_roads.h"

namespace vrdk::keys {
namespace {

constexpr const char* kNone = "00000000";
constexpr const char* kLedModeCode = "0E000000";
constexpr std::string_view kLedModeName = "Str261";
constexpr int kGameSlot = 4;
constexpr int kRightSlot = 2;
constexpr int kHoldBitItem = 4;   // combination-bit list item of 0x08
constexpr int kRightBitItem = 2;  // item of 0x02

// The six functions with a combination bit: their names, code prefixes and
// the game-mode item that marks them.
struct ComboButton {
  ComboFunction function;
  std::string_view name_key;
  const char* prefix;
  int game_item;
  int bit_item;
};
constexpr std::array<ComboButton, 6> kComboButtons = {{
    {ComboFunction::kMiddle, "Str212", "010400", 1, kHoldBitItem},
    {ComboFunction::kDpiLoop, "Str221", "090000", 2, kHoldBitItem},
    {ComboFunction::kDpiUp, "Str222", "090100", 3, kHoldBitItem},
    {ComboFunction::kDpiDown, "Str223", "090200", 4, kHoldBitItem},
    {ComboFunction::kBack, "Str213", "010800", 5, kRightBitItem},
    {ComboFunction::kForward, "Str214", "011000", 6, kRightBitItem},
}};

// The function each main-page toggle needs on the shown profile.
constexpr std::array<std::string_view, 7> kToggleNeeds = {"Str213", "Str212", "Str221", "Str222",
                                                          "Str223", "Str213", "Str214"};

std::string Hex2(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", CombinationBit(value) & 0xFF);
  return text;
}

}  // namespace

std::string Gestures::GameSwitchCode() const {
  char offset[8];
  std::snprintf(offset, sizeof offset, "%02X", session_.Keys().offset & 0xFFF);
  return ("07D1F0" + std::string(offset)).substr(0, 8);
}

void Gestures::SetSlot(int slot, const std::string& code) {
  const auto bytes = ParseKeyCode(code);
  if (!bytes) return;
  const auto index = static_cast<std::size_t>(slot - 1);
  std::copy(bytes->begin(), bytes->end(), image::CombinationCode(session_.Data(), index).begin());
  session_.Pages().code_texts.combinations[index] = code;
}

void Gestures::RewriteCombinationButtons() {
  auto& items = session_.Keys().combination_items;
  for (const ComboButton& button : kComboButtons) {
    const int item = items[static_cast<std::size_t>(button.function)];
    RewriteButtonsNamed(session_, session_.Language().Text(button.name_key),
                        std::string(button.prefix) + Hex2(item));
  }
}

void Gestures::WriteUnlessLoading() {
  KeyAssignment(session_).ShowFromDataBuf();
  if (!session_.Conn().loading) WriteRoads(session_).WriteVendorSection();
}

void Gestures::cb_ChangeFireFunChange(int item) {
  if (item < 0 || item >= kGameItems) return;
  PageState& pages = session_.Pages();
  const std::string x = GameSwitchCode();
  if (item == 0) {
    SetSlot(kRightSlot, kNone);
    SetSlot(kGameSlot, kNone);
  } else if (item <= 4) {
    SetSlot(kRightSlot, kNone);
    SetSlot(kGameSlot, x);
  } else {
    SetSlot(kRightSlot, x);
    SetSlot(kGameSlot, kNone);
    pages.led_gesture_item = 0;
  }
  auto& items = session_.Keys().combination_items;
  items.fill(0);
  for (const ComboButton& button : kComboButtons) {
    if (button.game_item == item)
      items[static_cast<std::size_t>(button.function)] = button.bit_item;
  }
  RewriteCombinationButtons();
  pages.game_gesture_item = item;
  WriteUnlessLoading();
}

void Gestures::cb_ChangeLEDModeFunChange(int item) {
  if (item < 0 || item > 1) return;
  PageState& pages = session_.Pages();
  SetSlot(kRightSlot, item == 1 ? kLedModeCode : kNone);
  session_.Keys().combination_items[static_cast<std::size_t>(ComboFunction::kBack)] =
      item == 1 ? kRightBitItem : 0;
  if (item == 1 && pages.game_gesture_item >= 5) pages.game_gesture_item = 0;
  RewriteButtonsNamed(session_, session_.Language().Text("Str213"),
                      item == 1 ? "01080002" : "01080000");
  pages.led_gesture_item = item;
  WriteUnlessLoading();
}

bool Gestures::IB_ComboKeyClick(int toggle) {
  if (toggle < 1 || toggle > 7) return false;
  const PageState& pages = session_.Pages();
  const std::string needed =
      session_.Language().Text(kToggleNeeds[static_cast<std::size_t>(toggle - 1)]);
  const auto& shown = pages.names[static_cast<std::size_t>(std::clamp(pages.mode_page, 1, 3) - 1)];
  if (std::find(shown.begin(), shown.end(), needed) == shown.end()) return false;
  if (toggle == 1) {
    cb_ChangeLEDModeFunChange(pages.led_gesture_item == 1 ? 0 : 1);
  } else {
    const int item = toggle - 1;
    cb_ChangeFireFunChange(pages.game_gesture_item == item ? 0 : item);
  }
  return true;
}

void Gestures::ShowFromDataBuf() {
  PageState& pages = session_.Pages();
  const auto& slots = pages.code_texts.combinations;
  // The combination bit of the first button that carries the function.
  const auto bit_of = [&](std::string_view name_key) -> int {
    const std::string name = session_.Language().Text(name_key);
    for (std::size_t p = 0; p < image::kProfileCount; ++p) {
      for (std::size_t k = 0; k < image::kKeysPerProfile; ++k) {
        if (pages.names[p][k] != name) continue;
        if (const auto bytes = ParseKeyCode(pages.code_texts.profiles[p][k])) return (*bytes)[3];
      }
    }
    return -1;
  };
  const bool led_slot =
      session_.NameForCode(slots[kRightSlot - 1]) == session_.Language().Text(kLedModeName);
  pages.led_gesture_item = bit_of("Str213") == 0x02 && led_slot ? 1 : 0;

  const bool held_switch = slots[kGameSlot - 1].rfind("07D1F0", 0) == 0;
  const bool right_switch = slots[kRightSlot - 1].rfind("07D1F0", 0) == 0;
  int game = 0;
  for (const ComboButton& button : kComboButtons) {
    const bool held = button.bit_item == kHoldBitItem && held_switch;
    const bool with_right = button.bit_item == kRightBitItem && right_switch;
    const int bit = bit_of(button.name_key);
    if ((held && bit == 0x08) || (with_right && bit == 0x02)) game = button.game_item;
  }
  pages.game_gesture_item = game;
}

}  // namespace vrdk::keys
