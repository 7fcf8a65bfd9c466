#include "shell/virtual_keys.h"

#include <QHash>
#include <QKeyEvent>

namespace vrdk::shell {
namespace {

// Keys that are not part of a run (letters, digits, function keys).
const QHash<int, int>& KeyTable() {
  static const QHash<int, int> table = {
      {Qt::Key_Backspace, 0x08},
      {Qt::Key_Tab, 0x09},
      {Qt::Key_Backtab, 0x09},
      {Qt::Key_Clear, 0x0C},
      {Qt::Key_Return, 0x0D},
      {Qt::Key_Enter, 0x0D},
      {Qt::Key_Shift, kVirtualShift},
      {Qt::Key_Control, kVirtualControl},
      {Qt::Key_Alt, kVirtualAlt},
      {Qt::Key_AltGr, kVirtualAlt},
      {Qt::Key_Pause, 0x13},
      {Qt::Key_CapsLock, 0x14},
      {Qt::Key_Escape, 0x1B},
      {Qt::Key_Space, 0x20},
      {Qt::Key_PageUp, 0x21},
      {Qt::Key_PageDown, 0x22},
      {Qt::Key_End, 0x23},
      {Qt::Key_Home, 0x24},
      {Qt::Key_Left, 0x25},
      {Qt::Key_Up, 0x26},
      {Qt::Key_Right, 0x27},
      {Qt::Key_Down, 0x28},
      {Qt::Key_Select, 0x29},
      {Qt::Key_Print, 0x2C},
      {Qt::Key_Insert, 0x2D},
      {Qt::Key_Delete, 0x2E},
      {Qt::Key_Help, 0x2F},
      {Qt::Key_Meta, 0x5B},
      {Qt::Key_Super_L, 0x5B},
      {Qt::Key_Super_R, 0x5C},
      {Qt::Key_Menu, 0x5D},
      {Qt::Key_NumLock, 0x90},
      {Qt::Key_ScrollLock, 0x91},
      {Qt::Key_Back, 0xA6},
      {Qt::Key_Forward, 0xA7},
      {Qt::Key_Refresh, 0xA8},
      {Qt::Key_Stop, 0xA9},
      {Qt::Key_Search, 0xAA},
      {Qt::Key_Favorites, 0xAB},
      {Qt::Key_HomePage, 0xAC},
      {Qt::Key_VolumeMute, 0xAD},
      {Qt::Key_VolumeDown, 0xAE},
      {Qt::Key_VolumeUp, 0xAF},
      {Qt::Key_MediaNext, 0xB0},
      {Qt::Key_MediaPrevious, 0xB1},
      {Qt::Key_MediaStop, 0xB2},
      {Qt::Key_MediaPlay, 0xB3},
      {Qt::Key_MediaTogglePlayPause, 0xB3},
      {Qt::Key_LaunchMail, 0xB4},
      {Qt::Key_LaunchMedia, 0xB5},
      {Qt::Key_Launch0, 0xB6},
      {Qt::Key_Launch1, 0xB7},
      // The OEM keys, by the character they carry unshifted and shifted.
      {Qt::Key_Semicolon, 0xBA},
      {Qt::Key_Colon, 0xBA},
      {Qt::Key_Equal, 0xBB},
      {Qt::Key_Plus, 0xBB},
      {Qt::Key_Comma, 0xBC},
      {Qt::Key_Less, 0xBC},
      {Qt::Key_Minus, 0xBD},
      {Qt::Key_Underscore, 0xBD},
      {Qt::Key_Period, 0xBE},
      {Qt::Key_Greater, 0xBE},
      {Qt::Key_Slash, 0xBF},
      {Qt::Key_Question, 0xBF},
      {Qt::Key_QuoteLeft, 0xC0},
      {Qt::Key_AsciiTilde, 0xC0},
      {Qt::Key_BracketLeft, 0xDB},
      {Qt::Key_BraceLeft, 0xDB},
      {Qt::Key_Backslash, 0xDC},
      {Qt::Key_Bar, 0xDC},
      {Qt::Key_BracketRight, 0xDD},
      {Qt::Key_BraceRight, 0xDD},
      {Qt::Key_Apostrophe, 0xDE},
      {Qt::Key_QuoteDbl, 0xDE},
  };
  return table;
}

// The numeric pad: digits, operators and the decimal key.
int PadKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk:
      return 0x6A;
    case Qt::Key_Plus:
      return 0x6B;
    case Qt::Key_Minus:
      return 0x6D;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return 0x6E;
    case Qt::Key_Slash:
      return 0x6F;
    default:
      return 0;
  }
}

}  // namespace

int VirtualKeyOf(const QKeyEvent& event) {
  const int key = event.key();
  if (event.modifiers().testFlag(Qt::KeypadModifier)) {
    if (const int pad = PadKey(key)) return pad;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 0x41 + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x30 + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
  return KeyTable().value(key, 0);
}

}  // namespace vrdk::shell
