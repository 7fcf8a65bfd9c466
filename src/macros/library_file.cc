#include "macros/library_file.h"

#include <algorithm>

#include "files/user_folders.h"

namespace vrdk::macros {
namespace {

// Copies what the bytes reach of one record at `offset`.
void ReadRecord(std::span<const std::uint8_t> bytes, std::size_t offset, LibraryRecord& record) {
  if (offset >= bytes.size()) return;
  const auto part = bytes.subspan(offset, std::min(kLibraryRecordSize, bytes.size() - offset));
  const std::size_t name = std::min(part.size(), image::kMacroNameSize);
  std::copy_n(part.begin(), name, record.name.begin());
  if (part.size() > image::kMacroNameSize) {
    std::copy(part.begin() + image::kMacroNameSize, part.end(), record.events.begin());
  }
}

void AppendRecord(const LibraryRecord& record, std::vector<std::uint8_t>& out) {
  out.insert(out.end(), record.name.begin(), record.name.end());
  out.insert(out.end(), record.events.begin(), record.events.end());
}

}  // namespace

void ReadLibraryRecords(std::span<const std::uint8_t> bytes, LibraryRecords& records) {
  for (std::size_t i = 0; i < kLibraryRecords; ++i) {
    ReadRecord(bytes, i * kLibraryRecordSize, records[i]);
  }
}

std::vector<std::uint8_t> WriteLibraryRecords(const LibraryRecords& records) {
  std::vector<std::uint8_t> out;
  out.reserve(kLibraryFileSize);
  for (const auto& record : records) AppendRecord(record, out);
  return out;
}

LibraryRecord ReadSingleMacro(std::span<const std::uint8_t> bytes) {
  LibraryRecord record;
  ReadRecord(bytes, 0, record);
  return record;
}

std::vector<std::uint8_t> WriteSingleMacro(const LibraryRecord& record) {
  std::vector<std::uint8_t> out;
  AppendRecord(record, out);
  return out;
}

std::optional<std::string> DataFolder() {
  auto folder = files::ProgramFolder(files::UserFolder::kData);
  if (folder) *folder += '/';
  return folder;
}

std::optional<std::string> LibraryPath(const std::string& folder) {
  if (!folder.empty()) return folder + kLibraryFileName;
  auto data = DataFolder();
  if (!data) return std::nullopt;
  return *data + kLibraryFileName;
}

}  // namespace vrdk::macros
