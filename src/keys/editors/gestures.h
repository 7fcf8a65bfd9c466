// The mode-switch gestures: a button held, or Right pressed with Back or
// Forward, switches between the office and the game profile or the lighting
// mode. The vendor section's combination slots 2 and 4 hold what a gesture
// triggers; the combination bit (b3) of mouse-button and DPI codes marks the
// buttons that take part (0x02 with Right, 0x08 held).
//
// Game-mode items (cb_ChangeFireFun): 0 none, 1 hold Middle, 2 hold DPI loop,
// 3 hold DPI +, 4 hold DPI -, 5 Right + Back, 6 Right + Forward.
// Lighting items (cb_ChangeLEDModeFun): 0 none, 1 Right + Back.
#pragma once

#include <cstdint>
#include <string>

#include "keys/key_context.h"
#include "session/session.h"

namespace vrdk::keys {

class Gestures {
 public:
  static constexpr int kGameItems = 7;

  explicit Gestures(Session& session) : session_(session) {}

  // cb_ChangeFireFunChange. Slot 2 and the Back bit belong to the lighting
  // gesture while it is on: the hold gestures (items 0..4) leave them.
  void cb_ChangeFireFunChange(int item);
  // cb_ChangeLEDModeFunChange. Switching it on ends a Right + Back or
  // Right + Forward game gesture, bits included; switching it off while the
  // game gesture Right + Back holds slot 2 leaves that gesture alone.
  void cb_ChangeLEDModeFunChange(int item);
  // IB_ComboKey1Click .. IB_ComboKey7Click (toggle 1..7): acts only when the
  // shown profile has a button with the function the gesture needs (by its
  // code, not its name); false otherwise.
  bool IB_ComboKeyClick(int toggle);
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
