// The roads by which a change reaches the mouse, all branching on the mouse's
// memory type:
// - live writes of single fields into the working copy of the Vendor and User
//   sections (they take effect at once);
// - writes of the three Profile sections (with the Fire section for fire-key
//   settings) into persistent memory, followed by a profile reload;
// - whole-image writes, after which the mouse is restarted and read again.
// Every road goes through the Session's changes: a write is retried whole when
// a report fails, read back, and journalled first when it writes memory or
// more than one live field; one the mouse does not take whole is told.
#pragma once

#include <cstdint>
#include <span>

#include "session/session.h"

namespace vrdk {

class WriteRoads {
 public:
  static constexpr int kKeyCodeBase = 123;  // live address of combination slot 0

  explicit WriteRoads(Session& session) : session_(session) {}

  // Editors may write: not while Loading is set or another transfer runs,
  // and only to a mouse that was identified and read as this build's (a
  // rejected or foreign mouse gets nothing). See Session::CheckAccess.
  bool MayWrite() const;

  // One byte at a live address (Vendor offset n at n, User offset n at 164 + n).
  bool WriteLiveField(int address, std::uint8_t value);
  // A three-byte field (a colour) at a live address.
  bool WriteLiveField(int address, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2);
  // One to three bytes at a live address, as one write.
  bool WriteLiveBytes(int address, std::span<const std::uint8_t> bytes);
  // A combination-key code into the live settings: slot s lands at 123 + 4 s.
  bool WriteKeyCode(int slot, std::span<const std::uint8_t, 4> code);
  // The whole Vendor section as a live block (with a fresh checksum), then the
  // Profile sections.
  bool WriteVendorSection();
  // The three Profile sections (with fresh checksums) to persistent memory,
  // the User section read back, and the profile reload (164 <- 0x0F, then
  // User byte 0).
  bool WriteProfiles();
  // WriteProfiles with the Fire section written after the profiles.
  bool WriteProfilesAndIdentity();

  // Ranges of persistent memory, in order, as one change about `subject`.
  struct MemoryRange {
    std::size_t address;
    std::span<const std::uint8_t> bytes;
  };
  bool WriteMemory(WriteSubject subject, std::span<const MemoryRange> ranges);
  bool WriteMemory(WriteSubject subject, std::size_t address, std::span<const std::uint8_t> bytes) {
    const MemoryRange range{address, bytes};
    return WriteMemory(subject, std::span(&range, 1));
  }

  // Assembles the working image from DataBuf and the side buffers (checksums
  // rewritten) and writes it whole. without_macros: the macro area ("I2C") or
  // the four macro banks ("Flash") are zeroed first.
  bool WriteWholeImage(bool without_macros);
  // Writes the working image as it stands: one 2048-byte write ("I2C") or 32
  // page writes ("Flash"). The caller restarts the mouse, which ends the
  // change (see Session::RestartDevice).
  bool WriteWorkingImage();

 private:
  bool WriteProfilesAnd(bool identity);
  bool WriteLive(int address, std::span<const std::uint8_t> bytes);

  Session& session_;
};

}  // namespace vrdk
