#include "engineering/patch_code.h"

#include <algorithm>
#include <array>

#include "files/atomic_file.h"
#include "image/image_assembly.h"
#include "image/image_split.h"

namespace vrdk::engineering {
namespace {

std::uint8_t High(std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); }
std::uint8_t Low(std::uint16_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

Result<void> FileError(std::string detail) {
  return Error{ErrorKind::kFileError, std::move(detail)};
}
Result<void> WrongKind(std::string detail) {
  return Error{ErrorKind::kWrongKind, std::move(detail)};
}

std::string Bytes(std::size_t n) { return std::to_string(n) + " bytes"; }

Result<void> LoadI2CPatch(const std::string& path, image::ConfigBuffers& buffers) {
  const auto file = files::ReadFilePrefix(path, kPatchFileCodeOffset + image::kPatchCodeSize + 1);
  if (!file.ok()) return FileError(file.message());
  const std::vector<std::uint8_t>& bytes = file.value();
  if (bytes.size() < image::kPatchHeaderSize) {
    return WrongKind(path + " is too short for a patch code header (" + Bytes(bytes.size()) + ")");
  }
  std::array<std::uint8_t, image::kPatchHeaderSize> header{};
  std::copy_n(bytes.begin(), header.size(), header.begin());
  const auto length = static_cast<std::size_t>(image::PatchLengthOf(header));
  if (length > image::kPatchCodeSize) {
    return WrongKind(path + ": the header claims a patch of " + Bytes(length) +
                     ", more than the 1024-byte patch area; nothing was loaded");
  }
  if (bytes.size() < kPatchFileCodeOffset + length) {
    return WrongKind(path + ": the header claims a patch of " + Bytes(length) +
                     " but the file holds only " + Bytes(bytes.size() - kPatchFileCodeOffset) +
                     "; nothing was loaded");
  }
  buffers.patch_header = header;
  image::TakePatchHeader(buffers);
  std::copy_n(bytes.begin() + kPatchFileCodeOffset, length, buffers.patch_code.begin());
  return {};
}

Result<void> LoadFlashPatch(const std::string& path, image::ConfigBuffers& buffers) {
  const auto file = files::ReadFilePrefix(path, kFlashPatchFileOffset + image::kPatchCodeSize);
  if (!file.ok()) return FileError(file.message());
  const std::vector<std::uint8_t>& bytes = file.value();
  if (bytes.size() <= kFlashPatchFileOffset) {
    return WrongKind(path + " ends before the patch code at offset 0x8000 (" + Bytes(bytes.size()) +
                     "); nothing was loaded");
  }
  // A file that ends inside the patch leaves the rest of the patch held.
  std::copy(bytes.begin() + kFlashPatchFileOffset, bytes.end(), buffers.flash_patch_code.begin());
  return {};
}

}  // namespace

std::uint16_t PatchChecksum(std::span<const std::uint8_t> code) {
  std::uint16_t sum = 0;
  for (const std::uint8_t byte : code) sum = static_cast<std::uint16_t>(sum + byte);
  return static_cast<std::uint16_t>(sum ^ kPatchChecksumMask);
}

void CheckEEPatchCodeSection(image::ConfigBuffers& buffers) {
  auto& header = buffers.patch_header;
  const auto length = std::min<std::size_t>(static_cast<std::size_t>(image::PatchLengthOf(header)),
                                            image::kPatchCodeSize);
  const std::uint16_t checksum = PatchChecksum(std::span(buffers.patch_code).first(length));
  header[0] = 0x04;
  header[1] = 0x00;
  header[4] = 0x00;
  header[5] = 0x1A;
  header[6] = High(checksum);
  header[7] = Low(checksum);
}

void CheckPatchCodeSection(image::ConfigBuffers& buffers) {
  const std::uint16_t checksum = PatchChecksum(buffers.flash_patch_code);
  const auto length = static_cast<std::uint16_t>(image::kPatchCodeSize);
  const std::array<std::uint8_t, 8> described = {0xC0, 0x00, High(length),   Low(length),
                                                 0x00, 0x1A, High(checksum), Low(checksum)};
  std::copy(described.begin(), described.end(), buffers.flash_info.begin() + 8);
}

Result<void> LoadPatchFile(const std::string& path, MemoryType type,
                           image::ConfigBuffers& buffers) {
  return type == MemoryType::kI2C ? LoadI2CPatch(path, buffers) : LoadFlashPatch(path, buffers);
}

Result<void> PatchProgrammer::LoadBin(const std::string& path) {
  // Read into a copy: nothing of the file reaches the mouse's buffers, and
  // so the mouse, before it is programmed.
  const MemoryType type = session_.ActiveMemoryType();
  image::ConfigBuffers staged = session_.Buffers();
  Result<void> outcome = LoadPatchFile(path, type, staged);
  if (!outcome.ok()) return outcome;
  PageState& pages = session_.Pages();
  pages.loaded_patch_file = path;
  pages.loaded_patch =
      PageState::LoadedPatch{type, staged.patch_header, staged.patch_code, staged.flash_patch_code};
  return outcome;
}

void PatchProgrammer::OpenUpdatePage() { session_.Pages().ForgetLoadedPatch(); }

bool PatchProgrammer::WritePatch() {
  image::ConfigBuffers& buffers = session_.Buffers();
  std::vector<WriteTarget> ranges;
  std::array<std::uint8_t, image::flash::kPage1BlockSize> block{};
  if (session_.ActiveMemoryType() == MemoryType::kI2C) {
    CheckEEPatchCodeSection(buffers);
    const auto length = static_cast<std::size_t>(
        std::clamp(buffers.patch_length, 0, static_cast<int>(image::kPatchCodeSize)));
    ranges.push_back({false, static_cast<int>(image::i2c::kPatchHeader), buffers.patch_header});
    if (length > 0) {
      ranges.push_back({false, static_cast<int>(image::i2c::kPatchCode),
                        std::span(buffers.patch_code).first(length)});
    }
  } else {
    if (buffers.patch_locked) return false;
    CheckPatchCodeSection(buffers);
    block = image::FlashPage1Block(buffers);
    ranges.push_back({false, static_cast<int>(image::flash::kPatchCode), buffers.flash_patch_code});
    ranges.push_back({false, static_cast<int>(image::flash::kInfo), block});
  }
  // The mouse runs the new patch once it has restarted.
  session_.SetAfterWrite(AfterWrite::kRestart);
  session_.WriteTargets(ranges, WriteSubject::kPatchCode);
  session_.FlushChange();
  return true;
}

Result<void> PatchProgrammer::Program() {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return RefusedOutcome(refusal);
  }
  const auto& loaded = session_.Pages().loaded_patch;
  if (!loaded) return Error{ErrorKind::kFileError, "no patch file is loaded"};
  if (loaded->type != session_.ActiveMemoryType()) {
    return Error{ErrorKind::kWrongKind,
                 "the patch file was loaded for a mouse of the other memory type; load it again"};
  }
  image::ConfigBuffers& buffers = session_.Buffers();
  if (loaded->type == MemoryType::kI2C) {
    buffers.patch_header = loaded->header;
    image::TakePatchHeader(buffers);
    buffers.patch_code = loaded->code;
  } else {
    buffers.flash_patch_code = loaded->flash_code;
  }
  const Session::Operation operation(session_);
  session_.StopDevTimer();
  session_.Events().ShowPageCovers(true);
  return WriteAndRestart();
}

Result<void> PatchProgrammer::WriteAndRestart() {
  const Session::Change change(session_, WriteSubject::kPatchCode);
  session_.Events().ShowLoading(0, 1);
  const bool unlocked = WritePatch();
  session_.Events().HideLoading();
  session_.RestartDevice();
  if (!unlocked) return Error{ErrorKind::kWrongKind, "the patch area of this mouse is locked"};
  if (!change.ok()) {
    const auto& troubles = session_.Troubles();
    return Error{ErrorKind::kDeviceFailed, troubles.empty() ? "" : troubles.back(), true};
  }
  return {};
}

Result<void> PatchProgrammer::ProgramFile(const std::string& path) {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return RefusedOutcome(refusal);
  }
  Result<void> outcome = LoadPatchFile(path, session_.ActiveMemoryType(), session_.Buffers());
  if (!outcome.ok()) return outcome;
  const Session::Operation operation(session_);
  return WriteAndRestart();
}

Result<void> PatchProgrammer::ImportBaseMacros(const std::string& path) {
  macros::DeviceMacros* store = macros::FindDeviceMacros(session_);
  if (store == nullptr) return Error{ErrorKind::kDeviceFailed, "no macro store is installed"};
  return store->Import(path);
}

}  // namespace vrdk::engineering
