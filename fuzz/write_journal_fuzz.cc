// Fuzz target: write journal records and profile files, both bytes the
// program finds on disk. A record that decodes encodes back to the same
// record, stays inside the memory of its type, and can be judged against
// any memory; a profile file's checks read no byte outside it, and a file
// they pass splits into sections that all pass their checksums.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "image/checksum.h"
#include "image/image_split.h"
#include "image/profile_file.h"
#include "session/write_journal.h"

namespace {

using namespace vrdk;

void CheckRecord(std::string_view text, std::span<const std::uint8_t> bytes) {
  const auto decoded = DecodeJournalRecord(text);
  if (!decoded.ok()) {
    if (decoded.message().empty()) __builtin_trap();
    return;
  }
  const JournalRecord* record = &decoded.value();
  const auto again = DecodeJournalRecord(EncodeJournalRecord(*record));
  if (!again.ok() || again.value() != *record) __builtin_trap();
  const std::size_t size = MemorySize(record->memory_type);
  for (const JournalRange& range : record->ranges) {
    const std::size_t limit = range.live ? kLiveSize : size;
    if (range.old_bytes.size() != range.size() || range.address + range.size() > limit) {
      __builtin_trap();
    }
  }
  std::vector<std::uint8_t> memory(size, 0xFF);
  std::copy_n(bytes.begin(), std::min(bytes.size(), memory.size()), memory.begin());
  (void)JudgeJournalRecord(*record, memory);
}

void CheckProfileFile(std::span<const std::uint8_t> bytes, MemoryType type) {
  const image::ProfileFileRules rules{type, 0x1BCF, 0x08B8, {{255, 255}}};
  const auto problems = image::CheckProfileFile(bytes, rules);
  bool refused = false;
  for (const auto& problem : problems) refused = refused || !problem.overridable();
  if (refused) return;
  if (bytes.size() != MemorySize(type)) __builtin_trap();
  // A file its checks pass needs no repair when it is split.
  image::ConfigBuffers buffers;
  const image::DefaultInputs inputs{type, image::LedType::kRGB, 0};
  const auto repaired =
      type == MemoryType::kI2C
          ? image::SplitI2CImage(
                std::span<const std::uint8_t, image::i2c::kSize>(bytes.data(), bytes.size()),
                buffers, inputs)
          : image::SplitFlashImage(
                std::span<const std::uint8_t, image::flash::kSize>(bytes.data(), bytes.size()),
                buffers, inputs);
  if (!repaired.empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  CheckRecord(std::string_view(reinterpret_cast<const char*>(data), size), bytes);
  // The same bytes as a profile file of either memory, and padded to its size
  // so that the checks past the size are reached.
  for (const MemoryType type : {MemoryType::kI2C, MemoryType::kFlash}) {
    CheckProfileFile(bytes, type);
    std::vector<std::uint8_t> padded(MemorySize(type), 0xFF);
    std::copy_n(bytes.begin(), std::min(bytes.size(), padded.size()), padded.begin());
    padded[type == MemoryType::kI2C ? 495 : 0x600B] = type == MemoryType::kI2C ? 0xE0 : 0xF0;
    CheckProfileFile(padded, type);
  }
  return 0;
}
