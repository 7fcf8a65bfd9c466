#include "tools/initramfs.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vrdk::initramfs {
namespace {

// Little-endian reads that fail instead of reading past the end.
template <typename T>
std::optional<T> Read(std::span<const std::uint8_t> bytes, std::uint64_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return std::nullopt;
  T value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    value = static_cast<T>(value | static_cast<T>(bytes[offset + i]) << (8 * i));
  }
  return value;
}

// Offsets in the ELF64 file and section headers.
constexpr std::uint64_t kSectionTableOffset = 0x28;  // e_shoff
constexpr std::uint64_t kSectionEntrySize = 0x3A;    // e_shentsize
constexpr std::uint64_t kSectionCount = 0x3C;        // e_shnum
constexpr std::uint64_t kSectionNamesIndex = 0x3E;   // e_shstrndx
constexpr std::uint64_t kSectionName = 0x00;         // sh_name
constexpr std::uint64_t kSectionOffset = 0x18;       // sh_offset
constexpr std::uint64_t kSectionSize = 0x20;         // sh_size
constexpr std::uint16_t kMinSectionEntry = 0x40;

struct Section {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::uint32_t name = 0;
};

std::optional<Section> SectionAt(std::span<const std::uint8_t> elf, std::uint64_t header) {
  const auto name = Read<std::uint32_t>(elf, header + kSectionName);
  const auto offset = Read<std::uint64_t>(elf, header + kSectionOffset);
  const auto size = Read<std::uint64_t>(elf, header + kSectionSize);
  if (!name || !offset || !size || *offset > elf.size() || elf.size() - *offset < *size) {
    return std::nullopt;
  }
  return Section{*offset, *size, *name};
}

std::string_view Text(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::vector<std::string> SplitCommas(std::string_view list) {
  std::vector<std::string> names;
  while (!list.empty()) {
    const auto comma = list.find(',');
    if (comma != 0) names.push_back(ModuleName(list.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return names;
}

}  // namespace

std::string ModuleName(std::string_view name) {
  std::string normal(name);
  std::replace(normal.begin(), normal.end(), '-', '_');
  return normal;
}

std::optional<std::vector<std::string>> ModuleDependencies(std::span<const std::uint8_t> elf) {
  constexpr std::uint8_t kMagic[] = {0x7F, 'E', 'L', 'F', 2 /* 64-bit */, 1 /* little-endian */};
  if (elf.size() < 0x40 || !std::equal(std::begin(kMagic), std::end(kMagic), elf.begin())) {
    return std::nullopt;
  }
  const auto table = Read<std::uint64_t>(elf, kSectionTableOffset);
  const auto entry = Read<std::uint16_t>(elf, kSectionEntrySize);
  const auto count = Read<std::uint16_t>(elf, kSectionCount);
  const auto names_index = Read<std::uint16_t>(elf, kSectionNamesIndex);
  if (!table || !entry || !count || !names_index || *entry < kMinSectionEntry ||
      *names_index >= *count) {
    return std::nullopt;
  }
  const auto names = SectionAt(elf, *table + std::uint64_t{*names_index} * *entry);
  if (!names) return std::nullopt;
  const auto name_table = elf.subspan(names->offset, names->size);
  for (std::uint16_t i = 0; i < *count; ++i) {
    const auto section = SectionAt(elf, *table + std::uint64_t{i} * *entry);
    if (!section || section->name >= name_table.size()) continue;
    const std::string_view name = Text(name_table.subspan(section->name));
    if (name.substr(0, name.find('\0')) != ".modinfo") continue;
    std::string_view info = Text(elf.subspan(section->offset, section->size));
    while (!info.empty()) {
      const auto end = info.find('\0');
      const std::string_view item = info.substr(0, end);
      if (item.starts_with("depends=")) return SplitCommas(item.substr(8));
      if (end == std::string_view::npos) break;
      info.remove_prefix(end + 1);
    }
    return std::vector<std::string>{};  // no entry: needs nothing
  }
  return std::nullopt;
}

std::set<std::string> BuiltinModules(std::string_view modules_builtin) {
  std::set<std::string> names;
  while (!modules_builtin.empty()) {
    const auto end = modules_builtin.find('\n');
    std::string_view line = modules_builtin.substr(0, end);
    modules_builtin = end == std::string_view::npos ? "" : modules_builtin.substr(end + 1);
    if (const auto slash = line.rfind('/'); slash != std::string_view::npos) {
      line.remove_prefix(slash + 1);
    }
    if (line.ends_with(".ko")) names.insert(ModuleName(line.substr(0, line.size() - 3)));
  }
  return names;
}

std::optional<std::vector<std::string>> LoadOrder(const std::vector<std::string>& wanted,
                                                  const std::set<std::string>& builtin,
                                                  const DependencyLookup& dependencies,
                                                  std::string* error) {
  std::vector<std::string> order;
  std::set<std::string> placed;
  std::set<std::string> visiting;
  std::function<bool(const std::string&)> place = [&](const std::string& module) {
    if (builtin.contains(module) || placed.contains(module)) return true;
    if (!visiting.insert(module).second) {
      *error = "modules need each other in a ring: " + module;
      return false;
    }
    const auto needs = dependencies(module);
    if (!needs) {
      *error = "module not found or not readable: " + module;
      return false;
    }
    for (const auto& need : *needs) {
      if (!place(need)) return false;
    }
    visiting.erase(module);
    placed.insert(module);
    order.push_back(module);
    return true;
  };
  for (const auto& module : wanted) {
    if (!place(ModuleName(module))) return std::nullopt;
  }
  return order;
}

void CpioArchive::AddParents(const std::string& path) {
  for (auto slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    AddDirectory(path.substr(0, slash));
  }
}

void CpioArchive::AddDirectory(const std::string& path) {
  if (path.empty() || path == "/" || directories_.contains(path)) return;
  AddParents(path);
  directories_.insert(path);
  Entry(path, {S_IFDIR | 0755}, {});
}

void CpioArchive::AddFile(const std::string& path, std::uint32_t mode,
                          std::span<const std::uint8_t> bytes) {
  AddParents(path);
  Entry(path, {S_IFREG | (mode & 07777)}, bytes);
}

void CpioArchive::AddSymlink(const std::string& path, const std::string& target) {
  AddParents(path);
  Entry(path, {S_IFLNK | 0777},
        std::span(reinterpret_cast<const std::uint8_t*>(target.data()), target.size()));
}

void CpioArchive::AddCharDevice(const std::string& path, std::uint32_t mode, std::uint32_t major,
                                std::uint32_t minor) {
  AddParents(path);
  Entry(path, {S_IFCHR | (mode & 07777), major, minor}, {});
}

void CpioArchive::Entry(const std::string& path, const Header& header,
                        std::span<const std::uint8_t> data) {
  const std::string name = path.starts_with('/') ? path.substr(1) : path;
  const bool trailer = name == "TRAILER!!!";
  const std::uint32_t fields[13] = {
      trailer ? 0 : next_inode_++,                  // inode
      header.mode,                                  // mode
      0,                                            // uid
      0,                                            // gid
      S_ISDIR(header.mode) ? 2u : 1u,               // links
      0,                                            // mtime
      static_cast<std::uint32_t>(data.size()),      // file size
      0,                                            // device major
      0,                                            // device minor
      header.rdev_major,                            // rdev major
      header.rdev_minor,                            // rdev minor
      static_cast<std::uint32_t>(name.size() + 1),  // name size with its NUL
      0,                                            // check
  };
  char text[6 + 13 * 8 + 1];
  int at = std::snprintf(text, sizeof text, "070701");
  for (const std::uint32_t field : fields) {
    at += std::snprintf(text + at, sizeof text - static_cast<std::size_t>(at), "%08X", field);
  }
  auto pad = [this] {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  };
  bytes_.insert(bytes_.end(), text, text + at);
  bytes_.insert(bytes_.end(), name.begin(), name.end());
  bytes_.push_back(0);
  pad();
  bytes_.insert(bytes_.end(), data.begin(), data.end());
  pad();
}

std::vector<std::uint8_t> CpioArchive::Finish() {
  Entry("TRAILER!!!", {}, {});
  return std::move(bytes_);
}

}  // namespace vrdk::initramfs
