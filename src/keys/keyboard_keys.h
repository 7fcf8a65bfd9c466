// Keyboard keys in the three numberings the program meets: HID keyboard
// usages (what a class-0x02 code and a macro store), Windows virtual keys (what
// a key press delivers) and the names shown for both.
#pragma once

#include <cstdint>
#include <string_view>

namespace vrdk {

// UsageName: the name shown for a HID keyboard usage in a key-combination
// code or a macro line ("A", "Left Ctrl", "Media_Play_Pause"). Usages
// 0xC0..0xD1, which the keyboard page leaves unassigned, carry the media and
// browser keys. Usages without a name (0x32, 0x64, ...) give empty text.
std::string_view UsageName(int usage);

// VirtualKeyToUsage: the HID usage to store for a Windows virtual key, 0 for a
// key with none (the launch-application keys, OEM_8, anything unknown). The
// generic Shift, Ctrl and Alt keys give the left-hand usages; the browser,
// volume, media, mail and media-select keys give the usages 0xC0..0xD1.
std::uint8_t VirtualKeyToUsage(int virtual_key);

// The name of a virtual key as the macro recorder writes it ("Left Windows",
// "Browser_Back"); "None" for a key without a name and "255" for 0xFF.
std::string_view VirtualKeyName(int virtual_key);

}  // namespace vrdk
