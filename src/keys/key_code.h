// KeyFunctionCode: the four bytes b0..b3 that give a button its function,
// stored in this order at increasing addresses. The program handles a code as
// text of exactly eight upper-case hexadecimal digits, two per byte, b0
// first ("0300CD00"), and compares codes as texts.
//
// b0 is the function class; what b1..b3 mean depends on it:
//   00 disabled ("00000000")        01 mouse button: b1 button bit, b3 combination bit
//   02 keyboard: b1 modifiers (bit 0 Ctrl, 1 Shift, 2 Alt, 3 Win), b2 b3 HID usages
//   03 consumer control: b1 b2 the 16-bit HID consumer usage
//   04 power: b1 1 power down, 2 sleep, 3 wake up
//   05 AIM key: b1 the 0-based AIM DPI step
//   06 fire key: b1 0x0F + shots (+ 0x80 keep firing while held), b2 b3 interval
//   07 profile switch: b1 0x80 + profile index, or 0 to step through; extended
//      form: b1 + 0x40 return to zero + 0x20 adjust XY + 0x10 change colour,
//      b2 16 x colour nibble + offset div 256, b3 offset mod 256
//   08 LED (b1 0) or button-effect (b1 1) toggle   09 DPI: b1 0 loop, 1 up, 2 down; b3 combination
//   bit 0B fire macro   0C polling rate   0E LED mode   10 macro: b1 b2 the macro's address
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vrdk {

using KeyCodeBytes = std::array<std::uint8_t, 4>;

namespace key_class {
inline constexpr std::uint8_t kDisabled = 0x00;
inline constexpr std::uint8_t kMouseButton = 0x01;
inline constexpr std::uint8_t kKeyboard = 0x02;
inline constexpr std::uint8_t kConsumer = 0x03;
inline constexpr std::uint8_t kPower = 0x04;
inline constexpr std::uint8_t kAim = 0x05;
inline constexpr std::uint8_t kFire = 0x06;
inline constexpr std::uint8_t kProfileSwitch = 0x07;
inline constexpr std::uint8_t kLedToggle = 0x08;
inline constexpr std::uint8_t kDpi = 0x09;
inline constexpr std::uint8_t kFireMacro = 0x0B;
inline constexpr std::uint8_t kPollingRate = 0x0C;
inline constexpr std::uint8_t kLedMode = 0x0E;
inline constexpr std::uint8_t kMacro = 0x10;
}  // namespace key_class

// Eight upper-case hexadecimal digits, b0 first.
std::string FormatKeyCode(const KeyCodeBytes& bytes);

// The bytes of a code text; nothing unless the text is exactly eight
// hexadecimal digits.
std::optional<KeyCodeBytes> ParseKeyCode(std::string_view text);

}  // namespace vrdk
