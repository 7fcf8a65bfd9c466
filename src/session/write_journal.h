// The write journal: before the program writes the mouse's persistent memory
// it records, atomically, what it is about to change (the mouse's ids and
// memory type, each range with its old and new bytes), and removes the record
// once the write is verified. A write cut short (the mouse unplugged in the
// middle) leaves the record, and the next connection finishes the write when
// the memory still holds old or new bytes where the record says.
//
// Record file (UTF-8 text, one item a line, bytes as upper-case hex):
//   vrdk-write-journal 1
//   mouse 1BCF:08B8 I2C
//   what profiles
//   then reload 01          (nothing | reload XX | restart; XX: User byte 0)
//   range 192 147           (memory: address and length, decimal)
//   old 0101...             (the range's bytes before the write)
//   new 0101...             (the range's bytes after it)
// one range, old and new group a range, as many as the write has, in the
// order they are written. A range of the live settings reads "live 167 1";
// it is written as the mouse takes live writes: 1 to 3 bytes at once, 4 as
// one quad, more as a run of three-byte writes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "image/memory_type.h"

namespace vrdk {

// What a journalled write changes, for the messages about it.
enum class WriteSubject {
  kSettings,
  kProfiles,
  kProfilesAndFire,
  kCustomerCodes,
  kMacros,
  kWholeMemory,
  kPatchCode,
  kLedStrip,
};

// What the mouse needs after the write before it uses what was written.
enum class AfterWrite {
  kNothing,
  kReloadProfile,  // the live pair 164 <- 0x0F, then User byte 0
  kRestart,        // command 0x0E
};

struct JournalRange {
  bool live = false;  // an address of the live settings, not of the memory
  std::uint32_t address = 0;
  std::vector<std::uint8_t> old_bytes;
  std::vector<std::uint8_t> new_bytes;  // as long as old_bytes
  std::size_t size() const { return new_bytes.size(); }
  friend bool operator==(const JournalRange&, const JournalRange&) = default;
};

// Where the byte at a live address is kept in the memory of `type`: the
// Vendor section at the same address, the User section at its map's place.
std::size_t LiveToMemory(std::size_t live_address, MemoryType type);

struct JournalRecord {
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  MemoryType memory_type = MemoryType::kI2C;
  WriteSubject subject = WriteSubject::kProfiles;
  AfterWrite then = AfterWrite::kNothing;
  std::uint8_t profile_byte = 0;  // what kReloadProfile puts back at 164
  std::vector<JournalRange> ranges;
  friend bool operator==(const JournalRecord&, const JournalRecord&) = default;
};

std::string EncodeJournalRecord(const JournalRecord& record);
// The record in text; kInvalid, with the reason, for text that is not a
// whole record (every range inside the memory of its type, old and new of
// one length).
Result<JournalRecord> DecodeJournalRecord(std::string_view text);

// What the next connection does with a record, given the memory it read.
enum class JournalVerdict {
  kFinish,   // every byte holds what it held or what a range wrote: write the ranges
  kForeign,  // the memory changed otherwise since: leave the mouse alone
};
// Bytes the mouse may have changed by itself are not compared: in a memory
// range those of the parts it keeps a live copy of (Vendor, User) and those
// of a checked part whose checksum no longer holds (a write cut short inside
// it); in a live range, which is judged by the memory it is kept in, the
// checksum bytes, which the mouse computes itself.
JournalVerdict JudgeJournalRecord(const JournalRecord& record,
                                  std::span<const std::uint8_t> memory);

// The record files of one folder, one per mouse (ids and memory type).
class WriteJournal {
 public:
  // No folder: nothing is recorded (a Session without a state folder).
  WriteJournal() = default;
  // Records live in folder, named prefix + "1BCF-08B8-I2C.journal".
  WriteJournal(std::string folder, std::string prefix)
      : folder_(std::move(folder)), prefix_(std::move(prefix)) {}

  bool Enabled() const { return !folder_.empty(); }
  std::string PathFor(std::uint16_t vendor_id, std::uint16_t product_id, MemoryType type) const;

  // Writes the record atomically (the folder is made when missing); a
  // failure (kFileError) gives the reason.
  Result<void> Save(const JournalRecord& record) const;
  // Removes the mouse's record; false when one stays behind.
  bool Remove(std::uint16_t vendor_id, std::uint16_t product_id, MemoryType type) const;

  struct Loaded {
    bool present = false;  // a record file is there
    // The record, or why a present file is not one.
    Result<JournalRecord> record = Error{ErrorKind::kMissing, {}};
  };
  Loaded Load(std::uint16_t vendor_id, std::uint16_t product_id, MemoryType type) const;
  // Renames the mouse's record aside (".kept-N" added) so that it no longer
  // counts; returns the new path, empty when the rename failed.
  std::string KeepAside(std::uint16_t vendor_id, std::uint16_t product_id, MemoryType type) const;

 private:
  std::string folder_;
  std::string prefix_;
};

}  // namespace vrdk
