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

Result<bool> FireMacroScripts::Load(const std::string& path) {
  path_ = path;
  entries_ = {};
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return false;
  auto read = files::ReadFilePrefix(path, kFireMacroFileSize);
  if (!read.ok()) return read.error();
  const std::vector<std::uint8_t>& bytes = read.value();
  for (std::size_t i = 0; i < bytes.size(); ++i) entries_[i / 4][i % 4] = bytes[i];
  return true;
}

int FireMacroScripts::Count() const { return static_cast<int>(Items().size()); }

std::vector<int> FireMacroScripts::Items() const {
  std::vector<int> items;
  for (std::size_t i = 0; i < kFireMacroSlots; ++i) {
    if (!Free(entries_[i])) items.push_back(static_cast<int>(i));
  }
  return items;
}

std::string FireMacroScripts::Text(int entry) const {
  if (entry < 0 || entry >= static_cast<int>(kFireMacroSlots)) return "00000000";
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t b : entries_[static_cast<std::size_t>(entry)]) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

std::vector<std::string> FireMacroScripts::Names() const {
  std::vector<std::string> names;
  for (int entry : Items()) names.push_back("Fire Macro" + std::to_string(entry + 1));
  return names;
}

std::vector<std::uint8_t> FireMacroScripts::FileBytes(
    const std::array<FireMacroCode, kFireMacroSlots>& entries) {
  std::vector<std::uint8_t> bytes;
  for (const auto& entry : entries) bytes.insert(bytes.end(), entry.begin(), entry.end());
  return bytes;
}

Result<void> FireMacroScripts::Save(const std::array<FireMacroCode, kFireMacroSlots>& before) {
  std::error_code ec;
  const auto folder = std::filesystem::path(path_).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (auto written = files::WriteFileAtomically(path_, FileBytes(entries_)); !written.ok()) {
    entries_ = before;
    return written;
  }
  return {};
}

Result<void> FireMacroScripts::Add(const FireMacroCode& code) {
  const auto free = std::find_if(entries_.begin(), entries_.end(), Free);
  if (free == entries_.end())
    return Error{ErrorKind::kFull, "all ten fire-macro scripts are in use"};
  if (Free(code)) return Error{ErrorKind::kInvalid, "a fire-macro script cannot be 00000000"};
  const auto before = entries_;
  *free = code;
  return Save(before);
}

Result<void> FireMacroScripts::Delete(int entry) {
  if (entry < 0 || entry >= static_cast<int>(kFireMacroSlots) ||
      Free(entries_[static_cast<std::size_t>(entry)])) {
    return Error{ErrorKind::kNoSuchMacro, "no fire-macro script " + std::to_string(entry + 1)};
  }
  const auto before = entries_;
  std::move(entries_.begin() + entry + 1, entries_.end(), entries_.begin() + entry);
  entries_.back() = {};
  return Save(before);
}

}  // namespace vrdk::macros
