// Fuzz target: patch code files as a user may pick them. The bytes are read
// as an "I2C" file, and as a "Flash" file twice: as they are, and behind
// filler so that from their byte 16 on they are the code at offset 0x8000.
// A refused file leaves the buffers exactly as they were; an accepted one
// changes only what it carries: for "I2C" the header (whose length is at
// most the 1024-byte patch area), the length taken from it and that many
// bytes of code, for "Flash" the code the file holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "buffers_before.h"
#include "engineering/patch_code.h"
#include "temp_file.h"

namespace {

using namespace vrdk;
using fuzz::BuffersBefore;
using fuzz::kBefore;
using fuzz::Same;

bool Holds(std::span<const std::uint8_t> held, std::span<const std::uint8_t> file) {
  return std::equal(held.begin(), held.end(), file.begin(), file.end());
}

bool UntouchedFrom(std::span<const std::uint8_t> bytes, std::size_t from) {
  return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(),
                     [](std::uint8_t b) { return b == kBefore; });
}

void AsI2CFile(std::span<const std::uint8_t> file) {
  const fuzz::TempFile temp("patch-i2c", file);
  image::ConfigBuffers buffers = BuffersBefore();
  const Result<void> outcome = engineering::LoadPatchFile(temp.Path(), MemoryType::kI2C, buffers);
  const std::size_t claimed =
      file.size() >= 4 ? static_cast<std::size_t>(file[2] << 8 | file[3]) : 0;
  const bool whole = file.size() >= image::kPatchHeaderSize && claimed <= image::kPatchCodeSize &&
                     file.size() >= engineering::kPatchFileCodeOffset + claimed;
  if (outcome.ok() != whole) __builtin_trap();
  if (!outcome.ok()) {
    if (outcome.message().empty() || !Same(buffers, BuffersBefore())) __builtin_trap();
    return;
  }
  const auto code = file.subspan(engineering::kPatchFileCodeOffset, claimed);
  if (buffers.patch_length < 0 || buffers.patch_length > static_cast<int>(image::kPatchCodeSize) ||
      static_cast<std::size_t>(image::PatchLengthOf(buffers.patch_header)) != claimed ||
      static_cast<std::size_t>(buffers.patch_length) != claimed ||
      buffers.patch_fits_image1 != (claimed <= image::kPatchFitsImage1Max) ||
      !Holds(buffers.patch_header, file.first(image::kPatchHeaderSize)) ||
      !Holds(std::span(buffers.patch_code).first(claimed), code) ||
      !UntouchedFrom(buffers.patch_code, claimed)) {
    __builtin_trap();
  }
  // Nothing else changed.
  image::ConfigBuffers rest = buffers;
  const image::ConfigBuffers before = BuffersBefore();
  rest.patch_header = before.patch_header;
  rest.patch_code = before.patch_code;
  rest.patch_length = before.patch_length;
  rest.patch_fits_image1 = before.patch_fits_image1;
  if (!Same(rest, before)) __builtin_trap();
}

void AsFlashFile(std::span<const std::uint8_t> file) {
  const fuzz::TempFile temp("patch-flash", file);
  image::ConfigBuffers buffers = BuffersBefore();
  const Result<void> outcome = engineering::LoadPatchFile(temp.Path(), MemoryType::kFlash, buffers);
  const std::size_t offset = engineering::kFlashPatchFileOffset;
  if (outcome.ok() != (file.size() > offset)) __builtin_trap();
  if (!outcome.ok()) {
    if (outcome.message().empty() || !Same(buffers, BuffersBefore())) __builtin_trap();
    return;
  }
  const std::size_t held = std::min(file.size() - offset, image::kPatchCodeSize);
  if (!Holds(std::span(buffers.flash_patch_code).first(held), file.subspan(offset, held)) ||
      !UntouchedFrom(buffers.flash_patch_code, held)) {
    __builtin_trap();
  }
  image::ConfigBuffers rest = buffers;
  const image::ConfigBuffers before = BuffersBefore();
  rest.flash_patch_code = before.flash_patch_code;
  if (!Same(rest, before)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  AsI2CFile(bytes);
  AsFlashFile(bytes);
  // The same bytes where a "Flash" file keeps its code: bytes 16.. of the
  // input are the code, as they are in an "I2C" file.
  std::vector<std::uint8_t> flash(engineering::kFlashPatchFileOffset - image::kPatchHeaderSize,
                                  0xFF);
  flash.insert(flash.end(), bytes.begin(), bytes.end());
  AsFlashFile(flash);
  return 0;
}
