// The keyboard as the mouse's tables know it: a Qt key event turned into the
// Windows virtual key that the recorder, the key-combination dialog and the
// input-key dialog work with (the key names and HID usages come from there).
//
// Keys are taken by what they are on a US keyboard: a shifted punctuation
// key is its unshifted key ("!" is the 1 key, ":" the OEM_1 key), keys of the
// numeric pad are told apart by the keypad modifier. The Ctrl, Shift and Alt
// keys are their generic virtual keys (0x11, 0x10, 0x12), as Windows' raw
// input reports them; the two Windows keys are 0x5B and 0x5C.
#pragma once

#include <Qt>
#include <optional>

namespace vrdk::shell {

// The virtual key of a key, or nothing for a key the tables do not know.
std::optional<int> VirtualKeyOf(int qt_key, Qt::KeyboardModifiers modifiers);

}  // namespace vrdk::shell
