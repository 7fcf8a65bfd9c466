// Qt's key events in the key numbering the core's tables use (Windows
// virtual keys), so that a key typed into the window is named and stored as
// the tables say.
#pragma once

class QKeyEvent;

namespace vrdk::shell {

// The virtual key of a key event; 0 for a key the tables have no number for.
// Keys of the numeric pad give the pad's keys.
int VirtualKeyOf(const QKeyEvent& event);

// Virtual keys of the generic Shift, Ctrl and Alt keys.
inline constexpr int kVirtualShift = 0x10;
inline constexpr int kVirtualControl = 0x11;
inline constexpr int kVirtualAlt = 0x12;

}  // namespace vrdk::shell
