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

#include <string>

#include "session/session.h"

namespace vrdk::keys {

class Gestures {
 public:
  static constexpr int kGameItems = 7;

  explicit Gestures(Session& session) : session_(session) {}

  // cb_ChangeFireFunChange.
  void cb_ChangeFireFunChange(int item);
  // cb_ChangeLEDModeFunChange.
  void cb_ChangeLEDModeFunChange(int item);
  // IB_ComboKey1Click .. IB_ComboKey7Click (toggle 1..7): acts only when the
  // shown profile has the button the gesture needs; false otherwise.
  bool IB_ComboKeyClick(int toggle);
  // The choices as DataBuf holds them (after a read): the lighting gesture is
  // on when a Back button carries bit 0x02 and slot 2 holds the LED-mode
  // code; the game-mode gesture is found from slots 2 and 4 and the bits.
  void ShowFromDataBuf();

  // The profile-switch code a game-mode gesture triggers: "07D1F0" and
  // edt_OffSet in hex, cut to eight digits.
  std::string GameSwitchCode() const;

 private:
  void SetSlot(int slot, const std::string& code);
  void RewriteCombinationButtons();
  void WriteUnlessLoading();

  Session& session_;
};

}  // namespace vrdk::keys
