// Choosing one of the three mode pages (Main, Switch and Fixed Control)
// chooses the mouse's profile: live writes of the button-effect choice, the
// profile parameters and the current profile with its colour.
//
//   page            live 167   168  169  170  live 164              User byte 0 in DataBuf
//   Main Control    effect     0    0    0    colour x 16 + 0       0
//   Switch Control  effect     15   0    32   colour x 16 + 1       0xF1
//   Fixed Control   effect     0    0    0    colour x 16 + 2       2
//
// "effect" is the cb_BtnEFT choice when the brand offers it ("BE_Enable"),
// else 0; colour item 10 (the specified colour) sends 0xF0, 0xF1, 0xF2.
#pragma once

#include "session/session.h"

namespace vrdk::settings {

// The sizes of the key pop-up panels a mode page opens its menus with, and
// which profile switches its profile list offers (the other profiles).
struct KeyMenuSizes {
  int main_height = 170;     // Pnl_Main
  int special_height = 242;  // Pnl_Special: 266 when the brand offers the button effect
  int profile_height = 0;    // Pnl_Profile
  bool profile1_shown = false;
  int profile1_top = 1;  // Key_Profile1
  bool profile2_shown = false;
  int profile2_top = 25;  // Key_Profile2
};

// mode 1 Main, 2 Switch, 3 Fixed Control; switch_button: the skin shows the
// Switch Control button ("Btn_B2_Enable"), without which the Main Control
// page offers no profile switch.
KeyMenuSizes MenuSizesFor(int mode, bool button_effect, bool switch_button);

class ModePages {
 public:
  static constexpr std::string_view kNoMouseMessage = "Str022";

  explicit ModePages(Session& session) : session_(session) {}

  // mode 1 Main, 2 Switch, 3 Fixed Control. Without a mouse: "Str022" and
  // false. In the no-device state or while Loading: nothing, false.
  bool SelectModePage(int mode);

 private:
  Session& session_;
};

}  // namespace vrdk::settings
