#include "keys/key_code.h"

namespace vrdk {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string FormatKeyCode(const KeyCodeBytes& bytes) {
  std::string text;
  text.reserve(8);
  for (const std::uint8_t byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
  }
  return text;
}

std::optional<KeyCodeBytes> ParseKeyCode(std::string_view text) {
  if (text.size() != 8) return std::nullopt;
  KeyCodeBytes bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int high = DigitValue(text[2 * i]);
    const int low = DigitValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
  }
  return bytes;
}

}  // namespace vrdk
