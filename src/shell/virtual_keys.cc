#include "shell/virtual_keys.h"

#include <array>
#include <utility>

namespace vrdk::shell {
namespace {

// Keys of the main block, keypad keys excluded.
constexpr std::array<std::pair<int, int>, 83> kKeys{{
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12},
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
    {Qt::Key_SysReq, 0x2C},
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
    {Qt::Key_MediaTogglePlayPause, 0xB3},
    {Qt::Key_MediaPlay, 0xB3},
    {Qt::Key_LaunchMail, 0xB4},
    {Qt::Key_LaunchMedia, 0xB5},
    {Qt::Key_Launch0, 0xB6},
    {Qt::Key_Launch1, 0xB7},
    // Punctuation, shifted or not, by its key on a US keyboard.
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
    // Shifted digits.
    {Qt::Key_ParenRight, 0x30},
    {Qt::Key_Exclam, 0x31},
    {Qt::Key_At, 0x32},
    {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35},
    {Qt::Key_AsciiCircum, 0x36},
    {Qt::Key_Ampersand, 0x37},
}};

// Keys of the numeric pad.
std::optional<int> KeypadKey(int qt_key) {
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return 0x60 + (qt_key - Qt::Key_0);
  switch (qt_key) {
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
    case Qt::Key_Enter:
      return 0x0D;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<int> VirtualKeyOf(int qt_key, Qt::KeyboardModifiers modifiers) {
  if (modifiers.testFlag(Qt::KeypadModifier)) {
    if (auto key = KeypadKey(qt_key)) return key;
  }
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return qt_key;  // same codes: 0x41 .. 0x5A
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return qt_key;  // 0x30 .. 0x39
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) return 0x70 + (qt_key - Qt::Key_F1);
  if (qt_key == Qt::Key_Asterisk) return 0x38;  // the 8 key, shifted
  for (const auto& [key, virtual_key] : kKeys) {
    if (key == qt_key) return virtual_key;
  }
  return std::nullopt;
}

}  // namespace vrdk::shell
