// The mouse's HID protocol: 8-byte feature reports, report ids and the
// command codes. Multi-byte addresses and lengths travel high byte first.
//
//   CommandReport  (host -> device, feature 0x40): 40 CC P1 P2 P3 P4 P5 P6
//   ResponseReport (device -> host, feature 0x41): 41 R0 R1 R2 R3 R4 R5 R6
//   Data report    (host -> device, feature 0x41): 41 D0 D1 D2 D3 D4 D5 D6
//   Input report   (device -> host, input 0x42):   42 .. .. TT ...  (TT: ButtonTest)
#pragma once

#include <cstddef>
#include <cstdint>

namespace vrdk {

inline constexpr std::size_t kReportLength = 8;      // every feature report
inline constexpr std::size_t kReportDataLength = 7;  // bytes 1..7 of a report
inline constexpr std::uint8_t kCommandReportId = 0x40;
inline constexpr std::uint8_t kResponseReportId = 0x41;
inline constexpr std::uint8_t kInputReportId = 0x42;

namespace command {
inline constexpr std::uint8_t kWriteXData = 0x01;   // 40 01 AH AL VV 00 00 00
inline constexpr std::uint8_t kReadXData = 0x02;    // 40 02 AH AL 00 01 00 00
inline constexpr std::uint8_t kWriteLive = 0x05;    // sub 0: 40 05 00 AA D0 D1 D2 NN
                                                    // sub 1: 40 05 01 AA D0 D1 D2 D3
inline constexpr std::uint8_t kReadLive = 0x06;     // 40 06 AH AL 00 LL 00 00
inline constexpr std::uint8_t kWriteMemory = 0x07;  // 40 07 AH AL LH LL 00 00
inline constexpr std::uint8_t kReadMemory = 0x09;   // 40 09 AH AL LH LL 00 00
inline constexpr std::uint8_t kDeviceInfo = 0x0D;   // 40 0D 00 00 00 00 00 00
inline constexpr std::uint8_t kRestart = 0x0E;      // 40 0E 00 00 00 00 00 00
}  // namespace command

// Byte 3 of an input report: what the mouse's button test saw.
enum class ButtonTest : std::uint8_t {
  kReleased = 0,
  kDpi = 1,
  kDpiUp = 2,
  kDpiDown = 4,
  kProfile = 8,
};

// The device information answer (command 0x0D): byte 0 is kDeviceInfoMinimum
// or more and byte 1 is kDeviceInfoMarker in a valid answer; byte 2 names the
// memory type.
inline constexpr std::uint8_t kDeviceInfoMarker = 0x3A;
inline constexpr std::uint8_t kDeviceInfoMinimum = 0x40;

}  // namespace vrdk
