// The macro library "Macro.bin": the PC-side store of up to 100 macros.
//
//   file = 100 records, no header (27200 bytes)
//   record i at 272 i: name (16 bytes, as a device macro name) | events (256)
//
// A single-macro file ("Export One") is one record of 272 bytes. A record is
// in use when its first or second name byte is not 0x00; records in use are
// contiguous from 0. A file shorter than expected leaves the records it does
// not reach as they were.
//
// Every change rewrites the whole file atomically: a failed save leaves the
// previous file in place and the library in memory as it was before the
// change.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "macros/event_codec.h"
#include "macros/macro_name.h"

namespace vrdk::macros {

inline constexpr std::size_t kLibraryRecords = 100;
inline constexpr std::size_t kLibraryRecordSize = image::kMacroNameSize + kEventBytes;  // 272
inline constexpr std::size_t kLibraryFileSize = kLibraryRecords * kLibraryRecordSize;   // 27200
inline constexpr const char* kLibraryFileName = "Macro.bin";
inline constexpr const char* kBlankLibraryResource = "PCMacroData";

struct LibraryRecord {
  MacroName name{};
  EventBytes events{};
  bool InUse() const { return name[0] != 0 || name[1] != 0; }
  // The events shown: up to the first run of three 0x00 bytes, end included.
  std::optional<std::size_t> ShownLength() const { return StoredMacroLength(events); }
};

using LibraryRecords = std::array<LibraryRecord, kLibraryRecords>;

// Reads records from a file image over `records` (the ones it reaches).
void ReadLibraryRecords(std::span<const std::uint8_t> bytes, LibraryRecords& records);
std::vector<std::uint8_t> WriteLibraryRecords(const LibraryRecords& records);
LibraryRecord ReadSingleMacro(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> WriteSingleMacro(const LibraryRecord& record);

// Where "Macro.bin" lives: `folder` + "Macro.bin" when the brand names a
// folder (taken unchanged, so it must end in a separator), else the user's
// data folder ($XDG_DATA_HOME/vrdk/, else ~/.local/share/vrdk/). Nothing when
// neither variable is set.
std::optional<std::string> DataFolder();
std::optional<std::string> LibraryPath(const std::string& folder);

}  // namespace vrdk::macros
