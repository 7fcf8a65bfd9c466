// The macro library as the program keeps it: 100 records loaded once from
// "Macro.bin" (created from the blank library when missing) and written back
// whole after every change. A change whose save fails is undone in memory, so
// the library stays what the file holds.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "files/atomic_file.h"
#include "macros/event_lines.h"
#include "macros/library_file.h"

namespace vrdk::macros {

// The library's operations (and MacroRecording's) fail with these kinds:
//   kDuplicate    a macro of this name exists already (the message is "Str106")
//   kFull         no room for another macro
//   kNoSuchMacro  no macro (or event line) at that place
//   kBadName      empty, more than 8 characters, or not a name
//   kTooLong      the events would not fit a record
//   kInvalid      an event line that cannot be encoded
//   kFileError    the file could not be read or written
//   kBusy         a recording is running, or none is

// After a change to a list of macros (the library's or the mouse's): the
// item the list selects — the new or changed macro; after a delete the one
// before the deleted one (item 0 when it was the first) — or nothing when the
// list is empty or keeps its selection.
struct MacroListChange {
  std::optional<int> select;
};
using MacroListListener = std::function<void(const MacroListChange&)>;

// The item selected after item `deleted` of a list now `count` long went.
std::optional<int> SelectionAfterDelete(int deleted, int count);

class MacroLibrary {
 public:
  static constexpr const char* kDuplicateMessage = "Str106";
  static constexpr int kMaxMacros = 100;
  static constexpr int kImportLimit = 99;  // Import One needs fewer macros than this

  // CheckPCMacro: loads the file at path, or creates it from the blank
  // library. The outcome tells when either failed (the library is then blank).
  Result<void> Load(const std::string& path);
  const std::string& Path() const { return path_; }

  const LibraryRecords& Records() const { return records_; }
  int Count() const;  // records in use, contiguous from 0
  // No room for another macro: New is refused.
  bool Full() const { return Count() >= kMaxMacros; }
  std::vector<std::u16string> Names() const;
  std::optional<int> Find(std::u16string_view name) const;

  // The name dialog's checks before it submits: what New or Rename would
  // refuse the name for (kBadName, kDuplicate, kFull), or kDone.
  Result<void> CheckNewName(std::u16string_view name) const;
  Result<void> CheckRename(int index, std::u16string_view name) const;
  // Told after every change that was saved.
  void SetChangeListener(MacroListListener listener) { listener_ = std::move(listener); }

  // Btn_NewMacroClick and the name dialog: appends an empty macro.
  Result<void> New(std::u16string_view name);
  Result<void> Rename(int index, std::u16string_view name);
  Result<void> Delete(int index);
  // Replaces a macro's events by the encoded lines (the encoder's record
  // write); refused with kTooLong when they pass 256 bytes, the last good
  // bytes kept.
  Result<void> SetLines(int index, const MacroText& lines);
  Result<void> SetEvents(int index, std::span<const std::uint8_t> events);
  // The macro's event lines (LB_PCMacroNameClick); empty when it has none.
  std::optional<DecodedMacro> Lines(int index) const;

  Result<void> ImportOne(const std::string& file);
  Result<void> ExportOne(int index, const std::string& file,
                         files::FailAt fail_at = files::FailAt::kNever) const;
  Result<void> ImportAll(const std::string& file);
  Result<void> ExportAll(const std::string& file,
                         files::FailAt fail_at = files::FailAt::kNever) const;

  // Tests make the next save fail at this step.
  void FailNextSaveAt(files::FailAt fail_at) { fail_next_save_ = fail_at; }

 private:
  // RefreshPCMacro: the whole file; on failure the records go back to
  // `before`. The listener hears of a saved change with `select`.
  Result<void> Save(const LibraryRecords& before, std::optional<int> select);

  std::string path_;
  LibraryRecords records_{};
  files::FailAt fail_next_save_ = files::FailAt::kNever;
  MacroListListener listener_;
};

}  // namespace vrdk::macros
