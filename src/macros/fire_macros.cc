#include "macros/fire_macros.h"

#include <algorithm>
#include <filesystem>

namespace vrdk::macros {
namespace {

constexpr std::uint8_t kFireClass = 0x0B;
constexpr std::uint8_t kOffsetFormBit = 0x80;
constexpr std::uint8_t kKeepLeftBit = 0x10;

bool Free(const FireMacroCode& code) {
  return std::all_of(code.begin(), code.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace

std::optional<FireMacroCode> BuildFireMacroCode(const FireMacroParameters& p) {
  if (p.offset_form) {
    if ((p.colour < 0 || p.colour > 9) && p.colour != kUserColour) return std::nullopt;
    return FireMacroCode{kFireClass, static_cast<std::uint8_t>(kOffsetFormBit + p.colour), 0, 0};
  }
  if (p.start < 0 || p.start > 9 || p.count < 1 || p.count > 10) return std::nullopt;
  const auto flags = static_cast<std::uint8_t>((p.keep_left ? kKeepLeftBit : 0) + p.start);
  return FireMacroCode{kFireClass, flags, static_cast<std::uint8_t>(p.count), 0};
}

FireMacroParameters ShowFireMacroCode(const FireMacroCode& code) {
  FireMacroParameters p;
  const std::uint8_t flags = code[1];
  p.offset_form = (flags & kOffsetFormBit) != 0;
  const int nibble = flags & 0x0F;
  if (p.offset_form) {
    if (nibble <= 9 || nibble == kUserColour) p.colour = nibble;
  } else {
    p.keep_left = (flags & kKeepLeftBit) != 0;
    if (nibble <= 9) p.start = nibble;
    if (code[2] >= 1 && code[2] <= 10) p.count = code[2];
  }
  return p;
}

FireMacroScripts::LoadResult FireMacroScripts::Load(const std::string& path) {
  path_ = path;
  entries_ = {};
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return {};
  auto read = files::ReadFilePrefix(path, kFireMacroFileSize);
  if (!read.ok()) return {true, read.error};
  for (std::size_t i = 0; i < read.bytes.size(); ++i) entries_[i / 4][i % 4] = read.bytes[i];
  return {true, {}};
}

int FireMacroScripts::Count() const {
  int count = 0;
  while (count < static_cast<int>(kFireMacroSlots) &&
         !Free(entries_[static_cast<std::size_t>(count)])) {
    ++count;
  }
  return count;
}

std::string FireMacroScripts::Text(int index) const {
  if (index < 0 || index >= static_cast<int>(kFireMacroSlots)) return "00000000";
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t b : entries_[static_cast<std::size_t>(index)]) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

std::vector<std::string> FireMacroScripts::Names() const {
  std::vector<std::string> names;
  for (int i = 0; i < Count(); ++i) names.push_back("Fire Macro" + std::to_string(i + 1));
  return names;
}

std::vector<std::uint8_t> FireMacroScripts::FileBytes(
    const std::array<FireMacroCode, kFireMacroSlots>& entries) {
  std::vector<std::uint8_t> bytes;
  for (const auto& entry : entries) bytes.insert(bytes.end(), entry.begin(), entry.end());
  return bytes;
}

std::optional<std::string> FireMacroScripts::Save(
    const std::array<FireMacroCode, kFireMacroSlots>& before) {
  std::error_code ec;
  const auto folder = std::filesystem::path(path_).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (auto error = files::WriteFileAtomically(path_, FileBytes(entries_))) {
    entries_ = before;
    return error;
  }
  return std::nullopt;
}

std::optional<std::string> FireMacroScripts::Add(const FireMacroCode& code) {
  const int n = Count();
  if (n >= static_cast<int>(kFireMacroSlots)) return "all ten fire-macro scripts are in use";
  if (Free(code)) return "a fire-macro script cannot be 00000000";
  const auto before = entries_;
  entries_[static_cast<std::size_t>(n)] = code;
  return Save(before);
}

std::optional<std::string> FireMacroScripts::Delete(int index) {
  if (index < 0 || index >= Count()) return "no fire-macro script " + std::to_string(index + 1);
  const auto before = entries_;
  std::move(entries_.begin() + index + 1, entries_.end(), entries_.begin() + index);
  entries_.back() = {};
  return Save(before);
}

}  // namespace vrdk::macros
