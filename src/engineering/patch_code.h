// Patch code: the firmware extension the mouse's controller runs, kept in its
// configuration memory, and the base macro set the engineer page imports.
//
//   "I2C":   patch code header (16 bytes) at 1008, patch code (PatchLength
//            bytes, at most 1024) at 1024.
//   "Flash": 1024 bytes of patch code at 0xC000, described by bytes 8..15 of
//            the Flash info block at 0x1000.
//
// Header bytes: 0 = 0x04, 1 = 0x00, 2..3 = PatchLength (high byte first),
// 4 = 0x00, 5 = 0x1A, 6..7 = patch checksum, 8..15 = the MCU LED section,
// passed through unchanged.
//
// Patch files (".bin"): for "I2C" the header at offset 0 and PatchLength
// bytes of code from offset 16; for "Flash" the 1024 bytes of code at offset
// 0x8000 (the rest of the file is not read).
//
// A wrong patch can leave a mouse that no longer starts, so a file is taken
// only when it is whole: an "I2C" header that claims more than the 1024-byte
// patch area, or a file shorter than the code its header claims, is refused
// and nothing is changed or written.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "macros/editors/device_macros.h"
#include "session/image_writes.h"
#include "session/session.h"

namespace vrdk::engineering {

inline constexpr std::size_t kPatchFileCodeOffset = 16;       // "I2C" files
inline constexpr std::size_t kFlashPatchFileOffset = 0x8000;  // "Flash" files
inline constexpr std::uint16_t kPatchChecksumMask = 0x015A;

// The patch checksum: the 16-bit wrapping sum of the bytes, XOR 0x015A.
std::uint16_t PatchChecksum(std::span<const std::uint8_t> code);

// CheckEEPatchCodeSection: rewrites the fixed bytes and the checksum (over
// PatchLength bytes of patch_code, at most 1024) of the "I2C" header; the
// length and the MCU LED section stay.
void CheckEEPatchCodeSection(image::ConfigBuffers& buffers);
// CheckPatchCodeSection: rewrites bytes 8..15 of the Flash info block for the
// 1024 bytes of flash_patch_code.
void CheckPatchCodeSection(image::ConfigBuffers& buffers);

// Reads a patch file of this memory type into the buffers (header, length,
// PatchFitsImage1 and code for "I2C"; the code for "Flash"). A file that is
// refused leaves the buffers as they were. A "Flash" file that ends inside
// the patch keeps the missing bytes as they were; one that ends before the
// patch begins holds no patch and is refused.
Result<void> LoadPatchFile(const std::string& path, MemoryType type, image::ConfigBuffers& buffers);

class PatchProgrammer {
 public:
  explicit PatchProgrammer(Session& session) : session_(session) {}

  // Btn_LoadBINClick: loads the file and remembers it for Program.
  Result<void> LoadBin(const std::string& path);
  // Btn_Update_0Click: opening the Update page forgets the loaded file.
  void OpenUpdatePage();
  // Btn_ProgramClick: with the mouse open and a file loaded, programs the
  // patch held and restarts the mouse; otherwise nothing happens.
  Result<void> Program();
  // Btn_PatchCodeClick (engineer page): loads the file and programs it at
  // once, then restarts the mouse.
  Result<void> ProgramFile(const std::string& path);
  // Btn_ImportBaseMacroClick: the base macro set of the file into the mouse,
  // through the device macro store's import (the same road as its own
  // import); no restart.
  Result<void> ImportBaseMacros(const std::string& path);

 private:
  // The writes of a programming, for the mouse's memory type. False when a
  // "Flash" mouse's patch area is locked (nothing is written).
  bool WritePatch();
  // WritePatch with the loading window shown, then the restart.
  Result<void> WriteAndRestart();

  Session& session_;
};

}  // namespace vrdk::engineering
