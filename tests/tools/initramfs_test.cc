// The pieces of the VM test's initramfs: which modules a module needs (read
// from its ELF file), the order to load them in, and the cpio archive as the
// kernel will unpack it.

#include "tools/initramfs.h"

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace vrdk::initramfs {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

template <typename T>
void Put(Bytes& bytes, std::size_t offset, T value) {
  for (std::size_t i = 0; i < sizeof(T); ++i)
    bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

// A 64-bit little-endian ELF file holding these sections, a section-name
// table last, and the section headers at the end.
Bytes Elf(const std::vector<std::pair<std::string, Bytes>>& sections) {
  Bytes file(64, 0);
  const Bytes magic = {0x7F, 'E', 'L', 'F', 2, 1, 1};
  std::copy(magic.begin(), magic.end(), file.begin());
  std::string names(1, '\0');
  struct Placed {
    std::uint32_t name;
    std::uint64_t offset, size;
  };
  std::vector<Placed> placed = {{0, 0, 0}};
  auto place = [&](const std::string& name, const Bytes& data) {
    placed.push_back({static_cast<std::uint32_t>(names.size()), file.size(), data.size()});
    names += name + '\0';
    file.insert(file.end(), data.begin(), data.end());
  };
  for (const auto& [name, data] : sections) place(name, data);
  const std::string table_name = ".shstrtab";
  placed.push_back({static_cast<std::uint32_t>(names.size()), file.size(), 0});
  names += table_name + '\0';
  placed.back().size = names.size();
  file.insert(file.end(), names.begin(), names.end());
  while (file.size() % 8 != 0) file.push_back(0);

  const std::size_t table = file.size();
  file.resize(table + placed.size() * 64, 0);
  for (std::size_t i = 0; i < placed.size(); ++i) {
    Put<std::uint32_t>(file, table + i * 64, placed[i].name);
    Put<std::uint64_t>(file, table + i * 64 + 0x18, placed[i].offset);
    Put<std::uint64_t>(file, table + i * 64 + 0x20, placed[i].size);
  }
  Put<std::uint64_t>(file, 0x28, table);
  Put<std::uint16_t>(file, 0x3A, 64);
  Put<std::uint16_t>(file, 0x3C, static_cast<std::uint16_t>(placed.size()));
  Put<std::uint16_t>(file, 0x3E, static_cast<std::uint16_t>(placed.size() - 1));
  return file;
}

Bytes Module(std::string_view modinfo) {
  return Elf({{".text", Bytes(40, 0xC3)}, {".modinfo", Text(modinfo)}, {".data", Bytes(8, 1)}});
}

TEST(ModuleDependencies, ComeFromTheModinfoSection) {
  const std::string_view info("license=GPL\0depends=hid,usb-common\0intree=Y\0", 43);
  EXPECT_THAT(ModuleDependencies(Module(info)).value(), ElementsAre("hid", "usb_common"));
  EXPECT_THAT(ModuleDependencies(Module(std::string_view("depends=\0", 9))).value(), ElementsAre());
  EXPECT_THAT(ModuleDependencies(Module(std::string_view("license=GPL\0", 12))).value(),
              ElementsAre());
  // The last entry need not end in a zero.
  EXPECT_THAT(ModuleDependencies(Module("depends=uhid")).value(), ElementsAre("uhid"));
}

TEST(ModuleDependencies, NothingFromAFileThatIsNoModule) {
  EXPECT_FALSE(ModuleDependencies(Text("#!/bin/sh\necho this is no module\n")).has_value());
  EXPECT_FALSE(ModuleDependencies(Elf({{".text", Bytes(4, 0)}})).has_value()) << "no .modinfo";
  Bytes elf32 = Module("depends=hid");
  elf32[4] = 1;
  EXPECT_FALSE(ModuleDependencies(elf32).has_value());
}

TEST(ModuleDependencies, DamagedFilesAreReadOnlyWithinTheirBounds) {
  const Bytes module = Module(std::string_view("depends=hid\0", 12));
  // Every prefix of the file: the section table is the last thing in it, so
  // a prefix that cuts into the fields read of its last entry (name, offset,
  // size: the first 0x28 bytes) gives nothing, and a longer one the answer.
  const std::size_t needed = module.size() - 64 + 0x28;
  for (std::size_t size = 0; size < module.size(); ++size) {
    EXPECT_EQ(ModuleDependencies(std::span(module).first(size)).has_value(), size >= needed)
        << size;
  }
  Bytes damaged = module;
  Put<std::uint64_t>(damaged, 0x28, ~std::uint64_t{0} - 8);  // section table far away
  EXPECT_FALSE(ModuleDependencies(damaged).has_value());
  damaged = module;
  Put<std::uint16_t>(damaged, 0x3E, 200);  // name table past the section count
  EXPECT_FALSE(ModuleDependencies(damaged).has_value());
  damaged = module;
  const std::size_t table = module.size() - 5 * 64;
  Put<std::uint64_t>(damaged, table + 2 * 64 + 0x20, 1u << 30);  // .modinfo runs past the end
  EXPECT_FALSE(ModuleDependencies(damaged).has_value());
}

TEST(BuiltinModules, NamesEachKoLine) {
  EXPECT_THAT(BuiltinModules("kernel/drivers/hid/hid.ko\nkernel/drivers/hid/hid-generic.ko\n"
                             "kernel/fs/ext4/ext4.ko\nnot a module\n"),
              ElementsAre("ext4", "hid", "hid_generic"));
}

class LoadOrderTest : public ::testing::Test {
 protected:
  std::optional<std::vector<std::string>> Order(const std::vector<std::string>& wanted,
                                                const std::set<std::string>& builtin = {}) {
    return LoadOrder(
        wanted, builtin,
        [this](const std::string& module) {
          const auto it = needs_.find(module);
          return it == needs_.end() ? std::nullopt
                                    : std::optional<std::vector<std::string>>(it->second);
        },
        &error_);
  }

  std::map<std::string, std::vector<std::string>> needs_ = {
      {"hid", {}},
      {"uhid", {"hid"}},
      {"hid_generic", {"hid"}},
      {"usbhid", {"hid", "usbcore"}},
      {"usbcore", {"usb_common"}},
      {"usb_common", {}},
  };
  std::string error_;
};

TEST_F(LoadOrderTest, PutsEachModuleAfterWhatItNeedsAndOnlyOnce) {
  EXPECT_THAT(Order({"uhid", "hid-generic", "hid"}).value(),
              ElementsAre("hid", "uhid", "hid_generic"));
  EXPECT_THAT(Order({"usbhid", "uhid"}).value(),
              ElementsAre("hid", "usb_common", "usbcore", "usbhid", "uhid"));
}

TEST_F(LoadOrderTest, LeavesOutBuiltInModules) {
  EXPECT_THAT(Order({"uhid", "hid_generic", "hid"}, {"hid", "hid_generic"}).value(),
              ElementsAre("uhid"));
}

TEST_F(LoadOrderTest, FailsOnAMissingModuleOrARing) {
  EXPECT_FALSE(Order({"uhid", "hidp"}).has_value());
  EXPECT_THAT(error_, HasSubstr("hidp"));
  needs_["hid"] = {"uhid"};
  EXPECT_FALSE(Order({"uhid"}).has_value());
  EXPECT_THAT(error_, HasSubstr("ring"));
}

// The entries of a newc archive, read back the way the kernel reads it.
struct Entry {
  std::string name;
  std::uint32_t mode, rdev_major, rdev_minor;
  std::string data;
};

std::vector<Entry> Unpack(const Bytes& archive) {
  std::vector<Entry> entries;
  std::size_t at = 0;
  auto field = [&](int index) {
    return static_cast<std::uint32_t>(std::stoul(
        std::string(archive.begin() + at + 6 + index * 8, archive.begin() + at + 14 + index * 8),
        nullptr, 16));
  };
  auto align = [](std::size_t n) { return (n + 3) / 4 * 4; };
  while (at + 110 <= archive.size()) {
    EXPECT_EQ(std::string(archive.begin() + at, archive.begin() + at + 6), "070701");
    const std::uint32_t size = field(6);
    const std::uint32_t name_size = field(11);
    Entry entry{std::string(archive.begin() + at + 110, archive.begin() + at + 110 + name_size - 1),
                field(1), field(9), field(10), ""};
    const std::size_t data = align(at + 110 + name_size);
    entry.data.assign(archive.begin() + data, archive.begin() + data + size);
    at = align(data + size);
    entries.push_back(entry);
    if (entry.name == "TRAILER!!!") break;
  }
  EXPECT_EQ(at, archive.size()) << "nothing after the trailer";
  return entries;
}

TEST(CpioArchive, HoldsEntriesAsTheKernelReadsThem) {
  CpioArchive archive;
  archive.AddCharDevice("/dev/console", 0600, 5, 1);
  archive.AddFile("/bin/tool", 0100755, Text("#!/bin/sh\n"));
  archive.AddFile("/lib/modules/hid.ko", 0644, Text("ELF"));
  archive.AddSymlink("/bin/sh", "busybox");
  archive.AddDirectory("/lib");
  const auto entries = Unpack(archive.Finish());
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  // Each folder once, before what it holds; the trailer last.
  EXPECT_THAT(names, ElementsAre("dev", "dev/console", "bin", "bin/tool", "lib", "lib/modules",
                                 "lib/modules/hid.ko", "bin/sh", "TRAILER!!!"));
  EXPECT_EQ(entries[0].mode, static_cast<std::uint32_t>(S_IFDIR | 0755));
  EXPECT_EQ(entries[1].mode, static_cast<std::uint32_t>(S_IFCHR | 0600));
  EXPECT_EQ(entries[1].rdev_major, 5u);
  EXPECT_EQ(entries[1].rdev_minor, 1u);
  EXPECT_EQ(entries[3].mode, static_cast<std::uint32_t>(S_IFREG | 0755));
  EXPECT_EQ(entries[3].data, "#!/bin/sh\n");
  EXPECT_EQ(entries[6].data, "ELF");
  EXPECT_EQ(entries[7].mode, static_cast<std::uint32_t>(S_IFLNK | 0777));
  EXPECT_EQ(entries[7].data, "busybox");
}

}  // namespace
}  // namespace vrdk::initramfs
