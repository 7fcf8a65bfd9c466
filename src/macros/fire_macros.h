// Fire-macro scripts: up to ten user-defined class-0x0B codes kept in
// "Fire Macro.bin" (40 bytes, no header; entry i at offset 4 i, free entries
// four zero bytes). Every used entry is listed, as "Fire Macro" + (i + 1)
// for entry i; the program keeps them contiguous from 0, but a file may
// have free entries between used ones, and those keep their numbers.
//
//   offset form:  0B | 0x80 + colour (0..9, 15 the user colour) | 00 | 00
//   plain form:   0B | 0x10 if the left button is kept + start (0..9) | count (1..10) | 00
//
// Whether the file exists at start-up decides, for the whole run, whether
// class-0x0B codes are named after these entries.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "files/atomic_file.h"

namespace vrdk::macros {

inline constexpr std::size_t kFireMacroSlots = 10;
inline constexpr std::size_t kFireMacroFileSize = 4 * kFireMacroSlots;
inline constexpr const char* kFireMacroFileName = "Fire Macro.bin";
inline constexpr int kUserColour = 15;

using FireMacroCode = std::array<std::uint8_t, 4>;

// The parameters an entry is built from and shown with.
struct FireMacroParameters {
  bool offset_form = true;  // cb_SOSType "Enable"
  int colour = 0;           // 0..9 ("LED Color1".."LED Colo10") or 15 ("User Color")
  bool keep_left = false;   // cb_SOSLB
  int start = 0;            // 0..9 (start position 1..10)
  int count = 1;            // 1..10
};

// The code of the parameters; nothing when one is out of range.
std::optional<FireMacroCode> BuildFireMacroCode(const FireMacroParameters& parameters);
// LB_ScriptNameClick: the parameters a code shows (values out of range keep
// the defaults).
FireMacroParameters ShowFireMacroCode(const FireMacroCode& code);

class FireMacroScripts {
 public:
  // Start-up: reads the file when it exists and tells whether it does (the
  // caller sets the naming switch by it). A missing file leaves every entry
  // free; an error means the file exists but could not be read.
  Result<bool> Load(const std::string& path);

  int Count() const;  // used entries
  const std::array<FireMacroCode, kFireMacroSlots>& Entries() const { return entries_; }
  std::string Text(int entry) const;  // 8 upper-case digits, "00000000" when free
  // The used entries in order, and their names: list item i is entry
  // Items()[i].
  std::vector<int> Items() const;
  std::vector<std::string> Names() const;

  // Adds the code in the first free entry and rewrites the file. kFull when
  // the table is full, kInvalid for a free code, kFileError when the save
  // failed (the entry is then not kept).
  Result<void> Add(const FireMacroCode& code);
  // Deletes used entry `entry`; later entries move down one. kNoSuchMacro
  // for an entry that is not used.
  Result<void> Delete(int entry);

  static std::vector<std::uint8_t> FileBytes(const std::array<FireMacroCode, kFireMacroSlots>& e);

 private:
  Result<void> Save(const std::array<FireMacroCode, kFireMacroSlots>& before);

  std::string path_;
  std::array<FireMacroCode, kFireMacroSlots> entries_{};
};

}  // namespace vrdk::macros
