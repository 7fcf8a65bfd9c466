// CheckedLink: the transfers of DeviceLink made whole or called failed.
//
// The mouse's protocol has no acknowledgement: a block transfer goes on past
// a lost report and leaves 0xFF where an answer never came, or memory where a
// data report never arrived. Over it this class keeps three promises:
// - A read is whole or fails. A read whose command failed or that lost an
//   answer is read again from its start (reads change nothing).
// - A write is whole or retried whole. A failed command report, or a failed
//   data report inside a memory write, starts that whole write again, command
//   and all its data reports; a lone data report is never sent again, since
//   the mouse might count it twice.
// - What was written is read back. A range that differs is read again after a
//   short settle (an EEPROM may still be storing it) and written again only
//   when it still differs. Live writes are read back where the live settings
//   can be read (addresses below 192).
// A fault-free transfer sends exactly the reports DeviceLink sends, followed by
// the read-back.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "hid/clock.h"
#include "hid/device_link.h"

namespace vrdk {

struct TransferPolicy {
  int attempts = 3;               // tries of one read or write, the first included
  Milliseconds retry_pause{50};   // before each try after the first
  Milliseconds settle_pause{20};  // before reading again a range that differed
  bool verify = true;             // read back what was written
};

// How a checked write ended.
struct WriteCheck {
  bool whole = false;  // the mouse holds exactly what was written
  // What the mouse holds in the range after the last try, when a read of it
  // arrived whole; nothing when it could not be read.
  std::optional<std::vector<std::uint8_t>> held;
};

class CheckedLink {
 public:
  CheckedLink(DeviceLink& link, Clock& clock) : link_(link), clock_(clock) {}

  void SetPolicy(const TransferPolicy& policy) { policy_ = policy; }
  const TransferPolicy& Policy() const { return policy_; }

  // Persistent memory from address into out (its size, at most 0xFFFF).
  // True only when every answer arrived; out holds 0xFF where none did.
  bool ReadMemory(int address, std::span<std::uint8_t> out, bool show_progress = false);
  // Live settings (1..255 bytes).
  bool ReadLive(int address, std::span<std::uint8_t> out);
  // One answer to a one-answer command (device information, an XData read):
  // true when the command went and the answer came.
  bool Ask(std::uint8_t code, std::uint8_t p1 = 0, std::uint8_t p2 = 0, std::uint8_t p3 = 0,
           std::uint8_t p4 = 0);

  // A command with nothing to follow (an XData write), sent again when its
  // report fails.
  bool Send(std::uint8_t code, std::uint8_t p1 = 0, std::uint8_t p2 = 0, std::uint8_t p3 = 0,
            std::uint8_t p4 = 0);

  // Command 0x07 and its data reports, then the read-back.
  WriteCheck WriteMemory(int address, std::span<const std::uint8_t> bytes);
  // 1 to 3 bytes at a live address (command 0x05 sub 0), then the read-back.
  WriteCheck WriteLive(int address, std::span<const std::uint8_t> bytes);
  // Four bytes at a live address (command 0x05 sub 1), then the read-back.
  WriteCheck WriteLiveQuad(int address, std::span<const std::uint8_t, 4> bytes);
  // A run of sub-0 live writes of three bytes each from start, then the read-back.
  WriteCheck WriteLiveBlock(int start, std::span<const std::uint8_t> bytes);
  // A live write that makes the mouse act rather than store (the 0x0F of the
  // profile reload): retried when its report fails, not read back.
  bool WriteLiveTrigger(int address, std::uint8_t value);

  DeviceLink& Link() { return link_; }

 private:
  template <typename Attempt>
  bool Retried(Attempt send);
  // After a write was sent whole: read the range back until it matches or a
  // settle and a second read still differ. held takes what was read.
  bool Matches(bool live, int address, std::span<const std::uint8_t> bytes,
               std::optional<std::vector<std::uint8_t>>& held);
  template <typename Attempt>
  WriteCheck Checked(bool live, int address, std::span<const std::uint8_t> bytes, Attempt send);
  void Pause(Milliseconds pause);

  DeviceLink& link_;
  Clock& clock_;
  TransferPolicy policy_;
};

}  // namespace vrdk
