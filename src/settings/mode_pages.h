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
