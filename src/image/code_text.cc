#include "image/code_text.h"

#include <cstdio>

namespace vrdk::image {

std::string CodeText(std::span<const std::uint8_t, kCodeSize> code) {
  char text[12];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X", code[0], code[1], code[2], code[3]);
  return text;
}

CodeTexts BuildCodeTexts(const DataBuf& buf) {
  CodeTexts texts;
  for (std::size_t p = 0; p < kProfileCount; ++p) {
    const auto profile = Profile(buf, p);
    for (std::size_t k = 0; k < kKeysPerProfile; ++k) {
      texts.profiles[p][k] = CodeText(profile.subspan(k * kCodeSize).first<kCodeSize>());
    }
  }
  const auto vendor = Vendor(buf);
  for (std::size_t s = 0; s < kCombinationSlots; ++s) {
    texts.combinations[s] =
        CodeText(vendor.subspan(kCombinationOffset + s * kCodeSize).first<kCodeSize>());
  }
  return texts;
}

std::span<std::uint8_t, kCodeSize> KeyCode(DataBuf& buf, std::size_t profile, std::size_t key) {
  return Profile(buf, profile).subspan(key * kCodeSize).first<kCodeSize>();
}

std::span<std::uint8_t, kCodeSize> CombinationCode(DataBuf& buf, std::size_t slot) {
  return Vendor(buf).subspan(kCombinationOffset + slot * kCodeSize).first<kCodeSize>();
}

}  // namespace vrdk::image
