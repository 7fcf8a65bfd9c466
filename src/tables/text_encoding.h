// Text decoding for the program's tables. Everything the tables hand out is
// valid UTF-8: bytes that are not text in the expected encoding become
// U+FFFD REPLACEMENT CHARACTER, so one damaged character never takes its
// neighbours with it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vrdk {

// UTF-16 little-endian code units to UTF-8. An odd trailing byte is dropped;
// an unpaired surrogate becomes U+FFFD. The text ends at the first zero unit
// (tables padded with zeros end there).
std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes);

// 8-bit text to UTF-8: valid UTF-8 stays as it is, every byte of an invalid
// or truncated sequence becomes U+FFFD.
std::string SanitizeUtf8(std::string_view text);

// Windows-1252 text to UTF-8: each byte is one character; the five bytes the
// code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+FFFD.
std::string Windows1252ToUtf8(std::string_view text);

// Appends the UTF-8 form of one code point (U+FFFD for a surrogate or a value
// beyond U+10FFFF).
void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace vrdk
