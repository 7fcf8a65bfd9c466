#include "image/config_buffers.h"

namespace vrdk::image {

const char* SectionName(Section section) {
  switch (section) {
    case Section::kVendor:
      return "Vendor";
    case Section::kUser:
      return "User";
    case Section::kProfile1:
      return "Profile1";
    case Section::kProfile2:
      return "Profile2";
    case Section::kProfile3:
      return "Profile3";
  }
  return "";
}

std::span<std::uint8_t> SectionBytes(DataBuf& buf, Section section) {
  switch (section) {
    case Section::kVendor:
      return Vendor(buf);
    case Section::kUser:
      return User(buf);
    case Section::kProfile1:
      return Profile(buf, 0);
    case Section::kProfile2:
      return Profile(buf, 1);
    case Section::kProfile3:
      return Profile(buf, 2);
  }
  return {};
}

}  // namespace vrdk::image
