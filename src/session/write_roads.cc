#include "session/write_roads.h"

#include <algorithm>
#include <vector>

#include "image/checksum.h"
#include "image/fields.h"
#include "image/image_assembly.h"

namespace vrdk {

bool WriteRoads::MayWrite() const { return session_.CheckAccess() == Refusal::kNone; }

bool WriteRoads::WriteLive(int address, std::span<const std::uint8_t> bytes) {
  if (!MayWrite()) return false;
  const WriteTarget target{true, address, bytes};
  return session_.WriteTargets(std::span(&target, 1));
}

bool WriteRoads::WriteLiveField(int address, std::uint8_t value) {
  const std::array<std::uint8_t, 1> bytes{value};
  return WriteLive(address, bytes);
}

bool WriteRoads::WriteLiveField(int address, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2) {
  const std::array<std::uint8_t, 3> bytes{d0, d1, d2};
  return WriteLive(address, bytes);
}

bool WriteRoads::WriteLiveBytes(int address, std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > 3) return false;
  return WriteLive(address, bytes);
}

bool WriteRoads::WriteKeyCode(int slot, std::span<const std::uint8_t, 4> code) {
  return WriteLive(kKeyCodeBase + 4 * slot, code);
}

bool WriteRoads::WriteVendorSection() {
  if (!MayWrite()) return false;
  const Session::Operation operation(session_);
  const Session::Change change(session_, WriteSubject::kProfiles);
  auto vendor = image::Vendor(session_.Data());
  image::WriteSectionChecksum(vendor);
  std::array<std::uint8_t, image::kVendorSize> block;
  std::copy(vendor.begin(), vendor.end(), block.begin());
  const WriteTarget target{true, 0, block};
  if (!session_.WriteTargets(std::span(&target, 1))) return false;
  return WriteProfiles();
}

bool WriteRoads::WriteProfiles() { return WriteProfilesAnd(false); }

bool WriteRoads::WriteProfilesAndIdentity() { return WriteProfilesAnd(true); }

bool WriteRoads::WriteProfilesAnd(bool identity) {
  if (!MayWrite()) return false;
  const Session::Operation operation(session_);
  const Session::Change change(session_,
                               identity ? WriteSubject::kProfilesAndFire : WriteSubject::kProfiles);
  image::DataBuf& data = session_.Data();
  for (std::size_t p = 0; p < image::kProfileCount; ++p) {
    image::WriteSectionChecksum(image::Profile(data, p));
  }
  const bool i2c = *session_.Conn().device_memory_type == MemoryType::kI2C;
  const auto profiles = image::ProfileBlock(data);
  const auto page1 = image::FlashPage1Block(session_.Buffers());
  const auto fire = image::Fire(data);
  std::vector<WriteTarget> targets;
  if (i2c) {
    targets.push_back({false, static_cast<int>(image::i2c::kProfile1), profiles});
  } else {
    targets.push_back({false, static_cast<int>(image::flash::kInfo), page1});
  }
  if (identity) {
    targets.push_back(
        {false, static_cast<int>(i2c ? image::i2c::kFire : image::flash::kFire), fire});
  }
  // Should the mouse leave before the reload, the journal finishes it with
  // the profile byte the mouse holds.
  session_.SetAfterWrite(AfterWrite::kReloadProfile,
                         static_cast<std::uint8_t>(image::Get(data, image::field::kProfileByte)));
  if (!session_.WriteTargets(targets) || !session_.FlushChange()) return false;
  session_.RefreshProfileParameter();
  const auto profile = static_cast<std::uint8_t>(image::Get(data, image::field::kProfileByte));
  const int profile_address = image::LiveAddress(image::field::kProfileByte);
  session_.SetAfterWrite(AfterWrite::kReloadProfile, profile);
  // The reload pair never leaves 0x0F behind: the profile byte goes back
  // even when the trigger was not taken.
  const bool trigger = session_.Checked().WriteLiveTrigger(profile_address, 0x0F);
  const std::array<std::uint8_t, 1> back{profile};
  const bool restored = session_.WriteOne({true, profile_address, back}).whole;
  if (!trigger || !restored) {
    session_.FailChange(OwnText::kReloadNotTaken);
    return false;
  }
  return change.ok();
}

bool WriteRoads::WriteMemory(WriteSubject subject, std::span<const MemoryRange> ranges) {
  if (!MayWrite()) return false;
  const Session::Operation operation(session_);
  std::vector<WriteTarget> targets;
  for (const MemoryRange& range : ranges) {
    targets.push_back({false, static_cast<int>(range.address), range.bytes});
  }
  return session_.WriteTargets(targets, subject);
}

bool WriteRoads::WriteWholeImage(bool without_macros) {
  image::ConfigBuffers& buffers = session_.Buffers();
  image::WriteAllChecksums(buffers.data_buf);
  if (without_macros) {
    buffers.macro_area.fill(0);
    buffers.macro_pages.fill(0);
  }
  image::AssembleImage(buffers, session_.Conn().image_memory_type, session_.WorkingImage());
  return WriteWorkingImage();
}

bool WriteRoads::WriteWorkingImage() {
  const auto& image = session_.WorkingImage();
  std::vector<WriteTarget> pages;
  for (std::size_t offset = 0; offset < image.size(); offset += kPageSize) {
    pages.push_back({false, static_cast<int>(offset), std::span(image).subspan(offset, kPageSize)});
  }
  session_.SetAfterWrite(AfterWrite::kRestart);
  return session_.WriteTargets(pages, WriteSubject::kWholeMemory);
}

}  // namespace vrdk
