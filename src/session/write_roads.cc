#include "session/write_roads.h"

#include <algorithm>

#include "image/checksum.h"
#include "image/image_assembly.h"

namespace vrdk {

bool WriteRoads::MayWrite() const { return session_.CheckAccess() == Refusal::kNone; }

bool WriteRoads::WriteLiveField(int address, std::uint8_t value) {
  if (!MayWrite()) return false;
  return session_.Link().WriteLiveBytes(address, value, 0, 0, 1);
}

bool WriteRoads::WriteLiveField(int address, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2) {
  if (!MayWrite()) return false;
  return session_.Link().WriteLiveBytes(address, d0, d1, d2, 3);
}

bool WriteRoads::WriteKeyCode(int slot, std::span<const std::uint8_t, 4> code) {
  if (!MayWrite()) return false;
  return session_.Link().WriteLiveQuad(kKeyCodeBase + 4 * slot, code[0], code[1], code[2], code[3]);
}

bool WriteRoads::WriteVendorSection() {
  if (!MayWrite()) return false;
  const Session::Operation operation(session_);
  auto vendor = image::Vendor(session_.Data());
  image::WriteSectionChecksum(vendor);
  std::array<std::uint8_t, image::kVendorSize> block;
  std::copy(vendor.begin(), vendor.end(), block.begin());
  session_.Link().WriteLiveBlock(0, 0, static_cast<int>(block.size()), block);
  return WriteProfiles();
}

bool WriteRoads::WriteProfiles() { return WriteProfilesAnd(false); }

bool WriteRoads::WriteProfilesAndIdentity() { return WriteProfilesAnd(true); }

bool WriteRoads::WriteProfilesAnd(bool identity) {
  if (!MayWrite()) return false;
  const Session::Operation operation(session_);
  DeviceLink& link = session_.Link();
  image::DataBuf& data = session_.Data();
  for (std::size_t p = 0; p < image::kProfileCount; ++p) {
    image::WriteSectionChecksum(image::Profile(data, p));
  }
  const bool i2c = *session_.Conn().device_memory_type == MemoryType::kI2C;
  bool written;
  if (i2c) {
    const auto block = image::ProfileBlock(data);
    written = link.WriteMemory(static_cast<int>(image::i2c::kProfile1),
                               static_cast<int>(block.size()), block);
  } else {
    const auto block = image::FlashPage1Block(session_.Buffers());
    written = link.WriteMemory(static_cast<int>(image::flash::kInfo),
                               static_cast<int>(block.size()), block);
  }
  if (identity) {
    const auto fire = image::Fire(data);
    const std::size_t address = i2c ? image::i2c::kFire : image::flash::kFire;
    link.WriteMemory(static_cast<int>(address), static_cast<int>(fire.size()),
                     std::span<const std::uint8_t>(fire));
  }
  session_.RefreshProfileParameter();
  link.WriteLiveBytes(static_cast<int>(kLiveUserAddress), 0x0F, 0, 0, 1);
  link.WriteLiveBytes(static_cast<int>(kLiveUserAddress), image::User(data)[0], 0, 0, 1);
  return written;
}

void WriteRoads::WriteWholeImage(bool without_macros) {
  image::ConfigBuffers& buffers = session_.Buffers();
  image::WriteAllChecksums(buffers.data_buf);
  if (without_macros) {
    buffers.macro_area.fill(0);
    buffers.macro_pages.fill(0);
  }
  image::AssembleImage(buffers, session_.Conn().image_memory_type, session_.WorkingImage());
  WriteWorkingImage();
}

void WriteRoads::WriteWorkingImage() {
  DeviceLink& link = session_.Link();
  const auto& image = session_.WorkingImage();
  for (std::size_t page = 0; page * kPageSize < image.size(); ++page) {
    const std::size_t offset = page * kPageSize;
    link.WriteMemory(static_cast<int>(offset), static_cast<int>(kPageSize),
                     std::span(image).subspan(offset, kPageSize));
  }
}

}  // namespace vrdk
