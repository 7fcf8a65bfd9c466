#include "keys/editors/gestures.h"

#include <algorithm>
#include <array>

#include "image/code_text.h"
#include "keys/editors/key_assignment.h"
#include "keys/function_codes.h"
#include "keys/key_code.h"
#include "session/write_roads.h"

namespace vrdk::keys {
namespace {

constexpr const char* kNone = "00000000";
constexpr const char* kLedModeCode = "0E000000";
constexpr int kGameSlot = 4;
constexpr int kRightSlot = 2;
constexpr int kHoldBitItem = 4;   // combination-bit list item of 0x08
constexpr int kRightBitItem = 2;  // item of 0x02
constexpr int kRightBackItem = 5;
constexpr int kRightForwardItem = 6;

// The six functions with a combination bit and the game-mode item that
// marks them.
struct ComboButton {
  ComboFunction function;
  int game_item;
  int bit_item;
};
constexpr std::array<ComboButton, 6> kComboButtons = {{
    {ComboFunction::kMiddle, 1, kHoldBitItem},
    {ComboFunction::kDpiLoop, 2, kHoldBitItem},
    {ComboFunction::kDpiUp, 3, kHoldBitItem},
    {ComboFunction::kDpiDown, 4, kHoldBitItem},
    {ComboFunction::kBack, kRightBackItem, kRightBitItem},
    {ComboFunction::kForward, kRightForwardItem, kRightBitItem},
}};

std::optional<ComboFunction> FunctionOf(const std::string& code) {
  const auto bytes = ParseKeyCode(code);
  return bytes ? ComboFunctionOfCode(*bytes) : std::nullopt;
}

}  // namespace

std::string_view GameGestureWord(GameGesture gesture) {
  const auto index = static_cast<std::size_t>(gesture);
  return index < kGameGestureWords.size() ? kGameGestureWords[index] : std::string_view();
}

std::optional<GameGesture> GameGestureFromWord(std::string_view word) {
  const auto at = std::find(kGameGestureWords.begin(), kGameGestureWords.end(), word);
  if (at == kGameGestureWords.end()) return std::nullopt;
  return static_cast<GameGesture>(at - kGameGestureWords.begin());
}

std::optional<GameGesture> GameGestureFromNumber(int number) {
  if (number < 0 || number >= kGameGestureCount) return std::nullopt;
  return static_cast<GameGesture>(number);
}

std::optional<ComboFunction> ButtonFunctionNeeded(GameGesture gesture) {
  for (const ComboButton& button : kComboButtons) {
    if (button.game_item == static_cast<int>(gesture)) return button.function;
  }
  return std::nullopt;
}

std::string_view ComboFunctionName(ComboFunction function) {
  switch (function) {
    case ComboFunction::kMiddle:
      return "Middle";
    case ComboFunction::kBack:
      return "Back";
    case ComboFunction::kForward:
      return "Forward";
    case ComboFunction::kDpiLoop:
      return "DPI Loop";
    case ComboFunction::kDpiUp:
      return "DPI +";
    case ComboFunction::kDpiDown:
      return "DPI -";
  }
  return {};
}

int RewriteCombinationBit(Session& session, ComboFunction function, std::uint8_t bit) {
  PageState& pages = session.Pages();
  int rewritten = 0;
  for (std::size_t p = 0; p < image::kProfileCount; ++p) {
    for (std::size_t k = 0; k < image::kKeysPerProfile; ++k) {
      auto code = image::KeyCode(session.Data(), p, k);
      if (ComboFunctionOfCode({code[0], code[1], code[2], code[3]}) != function) continue;
      code[3] = bit;
      pages.code_texts.profiles[p][k] = image::CodeText(code);
      ++rewritten;
    }
  }
  return rewritten;
}

std::string Gestures::GameSwitchCode() const {
  const int offset = std::clamp(session_.Keys().offset, 0, 0xFFF);
  return FormatKeyCode({key_class::kProfileSwitch, 0xD1,
                        static_cast<std::uint8_t>(0xF0 | offset >> 8),
                        static_cast<std::uint8_t>(offset & 0xFF)});
}

bool Gestures::IsGameSwitchCode(const std::string& code) {
  const auto bytes = ParseKeyCode(code);
  return bytes && (*bytes)[0] == key_class::kProfileSwitch && (*bytes)[1] == 0xD1 &&
         ((*bytes)[2] & 0xF0) == 0xF0;
}

void Gestures::SetSlot(int slot, const std::string& code) {
  const auto bytes = ParseKeyCode(code);
  if (!bytes) return;
  const auto index = static_cast<std::size_t>(slot - 1);
  std::copy(bytes->begin(), bytes->end(), image::CombinationCode(session_.Data(), index).begin());
  session_.Pages().code_texts.combinations[index] = code;
}

void Gestures::SetBit(ComboFunction function, int item) {
  session_.Keys().combination_items[static_cast<std::size_t>(function)] = item;
  RewriteCombinationBit(session_, function, CombinationBit(item));
}

void Gestures::WriteUnlessLoading() {
  KeyAssignment(session_).ShowFromDataBuf();
  if (!session_.Conn().loading) WriteRoads(session_).WriteVendorSection();
}

void Gestures::SetGameGesture(GameGesture gesture) {
  const int item = static_cast<int>(gesture);
  if (item < 0 || item >= kGameGestureCount) return;
  PageState& pages = session_.Pages();
  const bool lighting_kept = pages.led_gesture_item == 1 && item < kRightBackItem;
  const std::string x = GameSwitchCode();
  if (!lighting_kept) SetSlot(kRightSlot, item >= kRightBackItem ? x : kNone);
  SetSlot(kGameSlot, item >= 1 && item < kRightBackItem ? x : kNone);
  if (item >= kRightBackItem) pages.led_gesture_item = 0;
  for (const ComboButton& button : kComboButtons) {
    if (lighting_kept && button.function == ComboFunction::kBack) continue;
    SetBit(button.function, button.game_item == item ? button.bit_item : 0);
  }
  pages.game_gesture_item = item;
  WriteUnlessLoading();
}

void Gestures::SetLightingGesture(bool on) {
  PageState& pages = session_.Pages();
  if (on) {
    SetSlot(kRightSlot, kLedModeCode);
    SetBit(ComboFunction::kBack, kRightBitItem);
    if (pages.game_gesture_item == kRightForwardItem) SetBit(ComboFunction::kForward, 0);
    if (pages.game_gesture_item >= kRightBackItem) pages.game_gesture_item = 0;
  } else if (pages.game_gesture_item != kRightBackItem) {
    SetSlot(kRightSlot, kNone);
    SetBit(ComboFunction::kBack, 0);
  }
  pages.led_gesture_item = on ? 1 : 0;
  WriteUnlessLoading();
}

bool Gestures::ShownProfileHas(ComboFunction function) const {
  const PageState& pages = session_.Pages();
  const auto& shown =
      pages.code_texts.profiles[static_cast<std::size_t>(std::clamp(pages.mode_page, 1, 3) - 1)];
  return std::any_of(shown.begin(), shown.end(),
                     [function](const std::string& code) { return FunctionOf(code) == function; });
}

bool Gestures::ToggleGameGesture(GameGesture gesture) {
  const auto needed = ButtonFunctionNeeded(gesture);
  if (!needed || !ShownProfileHas(*needed)) return false;
  const bool on = session_.Pages().game_gesture_item == static_cast<int>(gesture);
  SetGameGesture(on ? GameGesture::kNone : gesture);
  return true;
}

bool Gestures::ToggleLightingGesture() {
  if (!ShownProfileHas(kLightingGestureButton)) return false;
  SetLightingGesture(session_.Pages().led_gesture_item != 1);
  return true;
}

void Gestures::ShowFromDataBuf() {
  PageState& pages = session_.Pages();
  const auto& slots = pages.code_texts.combinations;
  // The combination bit of the first button that carries the function.
  const auto bit_of = [&](ComboFunction function) -> int {
    for (const auto& profile : pages.code_texts.profiles) {
      for (const std::string& code : profile) {
        if (FunctionOf(code) == function) return (*ParseKeyCode(code))[3];
      }
    }
    return -1;
  };
  const bool led_slot = slots[kRightSlot - 1] == kLedModeCode;
  pages.led_gesture_item = bit_of(ComboFunction::kBack) == 0x02 && led_slot ? 1 : 0;

  const bool held_switch = IsGameSwitchCode(slots[kGameSlot - 1]);
  const bool right_switch = IsGameSwitchCode(slots[kRightSlot - 1]);
  int game = 0;
  for (const ComboButton& button : kComboButtons) {
    const bool held = button.bit_item == kHoldBitItem && held_switch;
    const bool with_right = button.bit_item == kRightBitItem && right_switch;
    const int bit = bit_of(button.function);
    if ((held && bit == 0x08) || (with_right && bit == 0x02)) game = button.game_item;
  }
  pages.game_gesture_item = game;
}

}  // namespace vrdk::keys
