// Fuzz target: bytes as a macro library file, a single-macro file and a
// fire-macro file. Reading must stay inside the bytes and writing what was
// read must give the fixed file sizes back.
#include <cstddef>
#include <cstdint>
#include <span>

#include "macros/fire_macros.h"
#include "macros/library_file.h"
#include "macros/macro_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vrdk::macros;
  const std::span<const std::uint8_t> bytes(data, size);
  LibraryRecords records{};
  ReadLibraryRecords(bytes, records);
  if (WriteLibraryRecords(records).size() != kLibraryFileSize) __builtin_trap();
  for (const auto& record : records) {
    if (DecodeMacroName(record.name).size() > kMacroNameUnits) __builtin_trap();
    if (auto length = record.ShownLength(); length && *length > kEventBytes) __builtin_trap();
  }
  const LibraryRecord single = ReadSingleMacro(bytes);
  if (WriteSingleMacro(single).size() != kLibraryRecordSize) __builtin_trap();
  if (size >= 4) {
    const FireMacroCode code{data[0], data[1], data[2], data[3]};
    const FireMacroParameters shown = ShowFireMacroCode(code);
    if (!BuildFireMacroCode(shown)) __builtin_trap();
  }
  const auto text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  if (text && Utf8ToUtf16(Utf16ToUtf8(*text)) != text) __builtin_trap();
  return 0;
}
