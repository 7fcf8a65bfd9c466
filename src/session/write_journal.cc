#include "session/write_journal.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>

#include "files/atomic_file.h"
#include "image/layout.h"
#include "image/regions.h"

namespace vrdk {
namespace {

constexpr std::string_view kMagic = "vrdk-write-journal 1";
// The largest record: two copies of a whole "Flash" memory in hex, and room
// for the lines around them.
constexpr std::size_t kMaxRecordFile = 4 * kFlashMemorySize + 4096;
constexpr std::size_t kMaxRanges = 64;

struct SubjectName {
  WriteSubject subject;
  std::string_view name;
};
constexpr SubjectName kSubjects[] = {
    {WriteSubject::kSettings, "settings"},
    {WriteSubject::kProfiles, "profiles"},
    {WriteSubject::kProfilesAndFire, "profiles+fire"},
    {WriteSubject::kCustomerCodes, "codes"},
    {WriteSubject::kMacros, "macros"},
    {WriteSubject::kWholeMemory, "whole-memory"},
    {WriteSubject::kPatchCode, "patch"},
    {WriteSubject::kLedStrip, "led-strip"},
};

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const std::uint8_t byte : bytes) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> FromHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(text.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    unsigned value = 0;
    const char* begin = text.data() + 2 * i;
    const auto [end, error] = std::from_chars(begin, begin + 2, value, 16);
    if (error != std::errc() || end != begin + 2) return std::nullopt;
    bytes[i] = static_cast<std::uint8_t>(value);
  }
  return bytes;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value, int base = 10) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// Splits "key rest" at the first blank.
std::pair<std::string_view, std::string_view> KeyAndRest(std::string_view line) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return {line, {}};
  return {line.substr(0, blank), line.substr(blank + 1)};
}

bool LiveChecksum(std::size_t live_address) {
  return live_address == kLiveUserAddress - 1 || live_address == kLiveSize - 1;
}

bool Skipped(MemoryType type, std::size_t address, std::span<const std::uint8_t> memory) {
  for (const image::Region& region : image::MemoryRegions(type)) {
    if (address < region.offset || address >= region.offset + region.size) continue;
    return region.live_backed || !image::RegionSound(region, memory);
  }
  return false;
}

}  // namespace

std::size_t LiveToMemory(std::size_t live_address, MemoryType type) {
  if (live_address < kLiveUserAddress) return live_address;
  const std::size_t user = type == MemoryType::kI2C ? image::i2c::kUser : image::flash::kUser;
  return user + (live_address - kLiveUserAddress);
}

std::string EncodeJournalRecord(const JournalRecord& record) {
  char ids[16];
  std::snprintf(ids, sizeof ids, "%04X:%04X", record.vendor_id, record.product_id);
  std::string text = std::string(kMagic) + "\n";
  text +=
      "mouse " + std::string(ids) + " " + std::string(MemoryTypeName(record.memory_type)) + "\n";
  for (const auto& [subject, name] : kSubjects) {
    if (subject == record.subject) text += "what " + std::string(name) + "\n";
  }
  switch (record.then) {
    case AfterWrite::kNothing:
      text += "then nothing\n";
      break;
    case AfterWrite::kReloadProfile:
      text += "then reload " + Hex(std::span(&record.profile_byte, 1)) + "\n";
      break;
    case AfterWrite::kRestart:
      text += "then restart\n";
      break;
  }
  for (const JournalRange& range : record.ranges) {
    text += std::string(range.live ? "live " : "range ") + std::to_string(range.address) + " " +
            std::to_string(range.size()) + "\n";
    text += "old " + Hex(range.old_bytes) + "\n";
    text += "new " + Hex(range.new_bytes) + "\n";
  }
  return text;
}

Result<JournalRecord> DecodeJournalRecord(std::string_view text) {
  auto fail = [](std::string reason) -> Result<JournalRecord> {
    return Error{ErrorKind::kInvalid, std::move(reason)};
  };
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  if (lines.size() < 4 || lines[0] != kMagic) return fail("not a write journal record");
  JournalRecord record;
  {
    const auto [key, rest] = KeyAndRest(lines[1]);
    const auto [ids, type] = KeyAndRest(rest);
    const auto memory = MemoryTypeFromName(type);
    if (key != "mouse" || ids.size() != 9 || ids[4] != ':' || !memory ||
        !ParseNumber(ids.substr(0, 4), record.vendor_id, 16) ||
        !ParseNumber(ids.substr(5, 4), record.product_id, 16)) {
      return fail("line 2 does not name the mouse");
    }
    record.memory_type = *memory;
  }
  {
    const auto [key, name] = KeyAndRest(lines[2]);
    bool known = false;
    for (const auto& [subject, subject_name] : kSubjects) {
      if (key == "what" && name == subject_name) {
        record.subject = subject;
        known = true;
      }
    }
    if (!known) return fail("line 3 does not say what was written");
  }
  {
    const auto [key, rest] = KeyAndRest(lines[3]);
    const auto [then, byte] = KeyAndRest(rest);
    if (key != "then") return fail("line 4 does not say what follows the write");
    if (then == "nothing" && byte.empty()) {
      record.then = AfterWrite::kNothing;
    } else if (then == "restart" && byte.empty()) {
      record.then = AfterWrite::kRestart;
    } else if (then == "reload" && byte.size() == 2 && ParseNumber(byte, record.profile_byte, 16)) {
      record.then = AfterWrite::kReloadProfile;
    } else {
      return fail("line 4 does not say what follows the write");
    }
  }
  const std::size_t memory_size = MemorySize(record.memory_type);
  std::size_t at = 4;
  for (; at < lines.size() && !lines[at].empty(); at += 3) {
    if (at + 2 >= lines.size() || record.ranges.size() == kMaxRanges) {
      return fail("a range is not whole");
    }
    const auto [key, rest] = KeyAndRest(lines[at]);
    const auto [address_text, length_text] = KeyAndRest(rest);
    JournalRange range;
    range.live = key == "live";
    // Live addresses are one byte; a run of them stays inside the live settings.
    const std::size_t limit = range.live ? kLiveSize : memory_size;
    std::size_t length = 0;
    if ((key != "range" && key != "live") || !ParseNumber(address_text, range.address) ||
        !ParseNumber(length_text, length) || length == 0 || range.address >= limit ||
        length > limit - range.address) {
      return fail("line " + std::to_string(at + 1) + " is not a range inside the memory");
    }
    const auto [old_key, old_hex] = KeyAndRest(lines[at + 1]);
    const auto [new_key, new_hex] = KeyAndRest(lines[at + 2]);
    auto old_bytes = FromHex(old_hex);
    auto new_bytes = FromHex(new_hex);
    if (old_key != "old" || new_key != "new" || !old_bytes || !new_bytes ||
        old_bytes->size() != length || new_bytes->size() != length) {
      return fail("the bytes of the range at line " + std::to_string(at + 1) + " are not whole");
    }
    range.old_bytes = std::move(*old_bytes);
    range.new_bytes = std::move(*new_bytes);
    record.ranges.push_back(std::move(range));
  }
  for (; at < lines.size(); ++at) {
    if (!lines[at].empty()) return fail("text follows the last range");
  }
  if (record.ranges.empty()) return fail("the record holds no range");
  return record;
}

JournalVerdict JudgeJournalRecord(const JournalRecord& record,
                                  std::span<const std::uint8_t> memory) {
  // The ranges are written in order, so a byte may hold what it held before
  // the write or what any range that covers it wrote.
  std::map<std::size_t, std::vector<std::uint8_t>> allowed;
  std::map<std::size_t, bool> skipped;
  for (const JournalRange& range : record.ranges) {
    for (std::size_t i = 0; i < range.size(); ++i) {
      const std::size_t at = range.address + i;
      const std::size_t address = range.live ? LiveToMemory(at, record.memory_type) : at;
      if (address >= memory.size()) return JournalVerdict::kForeign;
      auto [values, first] = allowed.try_emplace(address);
      if (first) values->second.push_back(range.old_bytes[i]);
      values->second.push_back(range.new_bytes[i]);
      bool& skip = skipped[address];
      skip = skip || (range.live ? LiveChecksum(at) : Skipped(record.memory_type, address, memory));
    }
  }
  for (const auto& [address, values] : allowed) {
    const bool held = std::find(values.begin(), values.end(), memory[address]) != values.end();
    if (!held && !skipped[address]) return JournalVerdict::kForeign;
  }
  return JournalVerdict::kFinish;
}

std::string WriteJournal::PathFor(std::uint16_t vendor_id, std::uint16_t product_id,
                                  MemoryType type) const {
  char name[32];
  std::snprintf(name, sizeof name, "%04X-%04X-%s.journal", vendor_id, product_id,
                std::string(MemoryTypeName(type)).c_str());
  return (std::filesystem::path(folder_) / (prefix_ + name)).string();
}

Result<void> WriteJournal::Save(const JournalRecord& record) const {
  if (!Enabled()) return {};
  std::error_code code;
  std::filesystem::create_directories(folder_, code);
  if (code) {
    return Error{ErrorKind::kFileError,
                 "cannot make the folder " + folder_ + ": " + code.message()};
  }
  const std::string text = EncodeJournalRecord(record);
  return files::WriteFileAtomically(
      PathFor(record.vendor_id, record.product_id, record.memory_type),
      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool WriteJournal::Remove(std::uint16_t vendor_id, std::uint16_t product_id,
                          MemoryType type) const {
  if (!Enabled()) return true;
  std::error_code code;
  std::filesystem::remove(PathFor(vendor_id, product_id, type), code);
  return !code;
}

WriteJournal::Loaded WriteJournal::Load(std::uint16_t vendor_id, std::uint16_t product_id,
                                        MemoryType type) const {
  Loaded loaded;
  if (!Enabled()) return loaded;
  const std::string path = PathFor(vendor_id, product_id, type);
  std::error_code code;
  if (!std::filesystem::exists(path, code)) return loaded;
  const auto file = files::ReadFilePrefix(path, kMaxRecordFile + 1);
  if (file.Is(ErrorKind::kMissing)) return loaded;
  loaded.present = true;
  if (!file.ok()) {
    loaded.record = file.error();
    return loaded;
  }
  const std::vector<std::uint8_t>& bytes = file.value();
  if (bytes.size() > kMaxRecordFile) {
    loaded.record = Error{ErrorKind::kInvalid, "the record is larger than any this program writes"};
    return loaded;
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  loaded.record = DecodeJournalRecord(text);
  if (loaded.record.ok() && (loaded.record.value().vendor_id != vendor_id ||
                             loaded.record.value().product_id != product_id ||
                             loaded.record.value().memory_type != type)) {
    loaded.record = Error{ErrorKind::kWrongKind, "the record names another mouse"};
  }
  return loaded;
}

std::string WriteJournal::KeepAside(std::uint16_t vendor_id, std::uint16_t product_id,
                                    MemoryType type) const {
  const std::string path = PathFor(vendor_id, product_id, type);
  for (int n = 1; n < 1000; ++n) {
    const std::string kept = path + ".kept-" + std::to_string(n);
    std::error_code code;
    if (std::filesystem::exists(kept, code)) continue;
    std::filesystem::rename(path, kept, code);
    return code ? std::string() : kept;
  }
  return {};
}

}  // namespace vrdk
