// The mode-switch gestures: a button held, or Right pressed with Back or
// Forward, switches between the office and the game profile or the lighting
// mode. The vendor section's combination slots 2 and 4 hold what a gesture
// triggers; the combination bit (b3) of mouse-button and DPI codes marks the
// buttons that take part (0x02 with Right, 0x08 held).
//
// The game-mode gesture is one of GameGesture; the lighting gesture (Right +
// Back switches the lighting mode) is on or off. The page state keeps them as
// numbers: game_gesture_item is the GameGesture's value, led_gesture_item 1
// for on.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "keys/key_context.h"
#include "session/session.h"

namespace vrdk::keys {

// The game-mode gestures, in the order the engineer page lists them.
enum class GameGesture {
  kNone,
  kHoldMiddle,
  kHoldDpiLoop,
  kHoldDpiUp,
  kHoldDpiDown,
  kRightBack,
  kRightForward,
};
inline constexpr int kGameGestureCount = 7;

// The words vrdkctl takes for the game-mode gestures, in GameGesture order.
inline constexpr std::array<std::string_view, kGameGestureCount> kGameGestureWords = {
    "none", "middle", "dpi", "dpi+", "dpi-", "right+back", "right+forward"};
std::string_view GameGestureWord(GameGesture gesture);
std::optional<GameGesture> GameGestureFromWord(std::string_view word);
// The game gesture with this page-state number (0..6), if any.
std::optional<GameGesture> GameGestureFromNumber(int number);

// The function a mouse button must carry for a gesture to be switched from
// the main page: Back for the lighting gesture, the held or pressed button
// for a game gesture (none for kNone).
std::optional<ComboFunction> ButtonFunctionNeeded(GameGesture gesture);
inline constexpr ComboFunction kLightingGestureButton = ComboFunction::kBack;
// The English name of such a button function ("DPI Loop").
std::string_view ComboFunctionName(ComboFunction function);

class Gestures {
 public:
  static constexpr int kGameItems = kGameGestureCount;

  explicit Gestures(Session& session) : session_(session) {}

  // The game-mode gesture (the engineer page's list). Slot 2 and the Back
  // bit belong to the lighting gesture while it is on: the hold gestures
  // leave them.
  void SetGameGesture(GameGesture gesture);
  // The lighting gesture. Switching it on ends a Right + Back or Right +
  // Forward game gesture, bits included; switching it off while the game
  // gesture Right + Back holds slot 2 leaves that gesture alone.
  void SetLightingGesture(bool on);
  // The main page's toggles: switch a gesture on, or off when it is the one
  // on. They act only when the shown profile has a button with the function
  // the gesture needs (by its code, not its name); false otherwise (and for
  // kNone).
  bool ToggleGameGesture(GameGesture gesture);
  bool ToggleLightingGesture();

  // The choices as DataBuf holds them (after a read): the lighting gesture is
  // on when a Back button carries bit 0x02 and slot 2 holds the LED-mode
  // code; the game-mode gesture is found from slots 2 and 4 and the bits.
  void ShowFromDataBuf();

  // The profile-switch code a game-mode gesture triggers: a switch to
  // Profile 2 with b1 0xD1, colour nibble 15 and edt_OffSet.
  std::string GameSwitchCode() const;
  // Whether a code is such a game-mode switch (any offset).
  static bool IsGameSwitchCode(const std::string& code);

 private:
  bool ShownProfileHas(ComboFunction function) const;
  void SetSlot(int slot, const std::string& code);
  void SetBit(ComboFunction function, int item);
  void WriteUnlessLoading();

  Session& session_;
};

// Gives every button of every profile whose code carries `function` (by its
// class and b1) the combination bit `bit` in b3, in DataBuf and the code
// list; other buttons keep theirs. Returns how many were rewritten.
int RewriteCombinationBit(Session& session, ComboFunction function, std::uint8_t bit);

}  // namespace vrdk::keys
