#include "macros/macro_library.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "resources/resources.h"

namespace vrdk::macros {
namespace {

using Kind = ErrorKind;

Error Fail(Kind kind, std::string message) { return {kind, std::move(message)}; }

// The file's bytes; a file that cannot be read (or is missing) is kFileError.
Result<std::vector<std::uint8_t>> ReadAll(const std::string& file, std::size_t max) {
  auto read = files::ReadFilePrefix(file, max);
  if (!read.ok()) return Fail(Kind::kFileError, read.message());
  return read;
}

}  // namespace

Result<void> MacroLibrary::Load(const std::string& path) {
  path_ = path;
  records_ = {};
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    const auto read = ReadAll(path, kLibraryFileSize);
    if (!read.ok()) return read.error();
    ReadLibraryRecords(read.value(), records_);
    return {};
  }
  const auto blank = resources::Find(kBlankLibraryResource);
  if (!blank) return Fail(Kind::kFileError, "the blank macro library resource is missing");
  ReadLibraryRecords(*blank, records_);
  const auto folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  return Save(records_, std::nullopt);
}

int MacroLibrary::Count() const {
  int count = 0;
  while (count < kMaxMacros && records_[static_cast<std::size_t>(count)].InUse()) ++count;
  return count;
}

std::vector<std::u16string> MacroLibrary::Names() const {
  std::vector<std::u16string> names;
  for (int i = 0; i < Count(); ++i) {
    names.push_back(DecodeMacroName(records_[static_cast<std::size_t>(i)].name));
  }
  return names;
}

std::optional<int> MacroLibrary::Find(std::u16string_view name) const {
  const auto names = Names();
  const auto it = std::find(names.begin(), names.end(), name);
  if (it == names.end()) return std::nullopt;
  return static_cast<int>(it - names.begin());
}

std::optional<int> SelectionAfterDelete(int deleted, int count) {
  if (count <= 0) return std::nullopt;
  return std::clamp(deleted - 1, 0, count - 1);
}

Result<void> MacroLibrary::CheckNewName(std::u16string_view name) const {
  if (auto checked = CheckMacroName(name); !checked.ok()) return checked;
  if (Find(name)) return Fail(Kind::kDuplicate, kDuplicateMessage);
  if (Full()) return Fail(Kind::kFull, "the library holds 100 macros already");
  return {};
}

Result<void> MacroLibrary::CheckRename(int index, std::u16string_view name) const {
  if (index < 0 || index >= Count()) return Fail(Kind::kNoSuchMacro, "no such macro");
  if (auto checked = CheckMacroName(name); !checked.ok()) return checked;
  // The macro's own name counts too: renaming to it changes nothing.
  if (Find(name)) return Fail(Kind::kDuplicate, kDuplicateMessage);
  return {};
}

Result<void> MacroLibrary::Save(const LibraryRecords& before, std::optional<int> select) {
  const files::FailAt fail_at = std::exchange(fail_next_save_, files::FailAt::kNever);
  if (auto written = files::WriteFileAtomically(path_, WriteLibraryRecords(records_), fail_at);
      !written.ok()) {
    records_ = before;
    return Fail(Kind::kFileError, written.message());
  }
  if (listener_) listener_({select});
  return {};
}

Result<void> MacroLibrary::New(std::u16string_view name) {
  if (auto check = CheckNewName(name); !check.ok()) return check;
  const int n = Count();
  const LibraryRecords before = records_;
  records_[static_cast<std::size_t>(n)] = {};
  records_[static_cast<std::size_t>(n)].name = EncodeMacroName(name);
  return Save(before, n);
}

Result<void> MacroLibrary::Rename(int index, std::u16string_view name) {
  if (auto check = CheckRename(index, name); !check.ok()) return check;
  const LibraryRecords before = records_;
  records_[static_cast<std::size_t>(index)].name = EncodeMacroName(name);
  return Save(before, index);
}

Result<void> MacroLibrary::Delete(int index) {
  if (index < 0 || index >= Count()) return Fail(Kind::kNoSuchMacro, "no such macro");
  const LibraryRecords before = records_;
  std::move(records_.begin() + index + 1, records_.end(), records_.begin() + index);
  records_.back() = {};
  return Save(before, SelectionAfterDelete(index, Count()));
}

Result<void> MacroLibrary::SetEvents(int index, std::span<const std::uint8_t> events) {
  if (index < 0 || index >= Count()) return Fail(Kind::kNoSuchMacro, "no such macro");
  if (events.size() > kEventBytes) {
    return Fail(Kind::kTooLong, "the macro would take " + std::to_string(events.size()) +
                                    " bytes; a macro holds at most 256, its end byte included");
  }
  const LibraryRecords before = records_;
  auto& record = records_[static_cast<std::size_t>(index)].events;
  record.fill(0);
  std::copy(events.begin(), events.end(), record.begin());
  return Save(before, index);
}

Result<void> MacroLibrary::SetLines(int index, const MacroText& lines) {
  const auto encoded = EncodeLinesForRecord(lines);
  if (!encoded.ok()) return encoded.error();
  return SetEvents(index, encoded.value());
}

std::optional<DecodedMacro> MacroLibrary::Lines(int index) const {
  if (index < 0 || index >= Count()) return std::nullopt;
  const auto& record = records_[static_cast<std::size_t>(index)];
  const std::size_t length = record.ShownLength().value_or(kEventBytes);
  if (length <= 1) return DecodedMacro{{HeaderLine(DelayMode::kNone, 0)}, DelayMode::kNone};
  return DecodeEvents(record.events, length);
}

Result<void> MacroLibrary::ImportOne(const std::string& file) {
  const int n = Count();
  if (n >= kImportLimit) return Fail(Kind::kFull, "the library holds 99 macros or more");
  const auto read = ReadAll(file, kLibraryRecordSize);
  if (!read.ok()) return read.error();
  const LibraryRecord record = ReadSingleMacro(read.value());
  if (!record.InUse()) return Fail(Kind::kBadName, file + " holds no macro name");
  if (auto checked = CheckMacroName(DecodeMacroName(record.name)); !checked.ok()) {
    return Fail(Kind::kBadName, file + ": " + checked.message());
  }
  for (int i = 0; i < n; ++i) {
    if (records_[static_cast<std::size_t>(i)].name == record.name) {
      return Fail(Kind::kDuplicate, kDuplicateMessage);
    }
  }
  const LibraryRecords before = records_;
  records_[static_cast<std::size_t>(n)] = record;
  return Save(before, n);
}

Result<void> MacroLibrary::ExportOne(int index, const std::string& file,
                                     files::FailAt fail_at) const {
  if (index < 0 || index >= Count()) return Fail(Kind::kNoSuchMacro, "no such macro");
  if (auto written = files::WriteFileAtomically(
          file, WriteSingleMacro(records_[static_cast<std::size_t>(index)]), fail_at);
      !written.ok()) {
    return Fail(Kind::kFileError, written.message());
  }
  return {};
}

Result<void> MacroLibrary::ImportAll(const std::string& file) {
  const auto read = ReadAll(file, kLibraryFileSize);
  if (!read.ok()) return read.error();
  const LibraryRecords before = records_;
  ReadLibraryRecords(read.value(), records_);
  return Save(before, std::nullopt);
}

Result<void> MacroLibrary::ExportAll(const std::string& file, files::FailAt fail_at) const {
  if (auto written = files::WriteFileAtomically(file, WriteLibraryRecords(records_), fail_at);
      !written.ok()) {
    return Fail(Kind::kFileError, written.message());
  }
  return {};
}

}  // namespace vrdk::macros
