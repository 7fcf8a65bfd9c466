// What the VM test packs into its initramfs: kernel modules with everything
// they need, loaded in order, and files, written as a "newc" cpio archive
// (the format the kernel unpacks into its first root file system).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vrdk::initramfs {

// "hid-generic" and "hid_generic" name the same module.
std::string ModuleName(std::string_view name);

// The modules a module needs loaded before it: the "depends=" entry of the
// .modinfo section of its 64-bit little-endian ELF file. Nothing when the
// file is not such an ELF file or has no .modinfo section; every offset and
// size in it is checked against the file first.
std::optional<std::vector<std::string>> ModuleDependencies(std::span<const std::uint8_t> elf);

// The modules built into the kernel, from the text of its modules.builtin
// ("kernel/drivers/hid/hid.ko" lines).
std::set<std::string> BuiltinModules(std::string_view modules_builtin);

// The modules to load for `wanted`, each after those it needs and each once,
// leaving out built-in ones. Nothing, with a message in *error, when a
// module's dependencies are unknown or the modules need each other in a ring.
using DependencyLookup =
    std::function<std::optional<std::vector<std::string>>(const std::string& module)>;
std::optional<std::vector<std::string>> LoadOrder(const std::vector<std::string>& wanted,
                                                  const std::set<std::string>& builtin,
                                                  const DependencyLookup& dependencies,
                                                  std::string* error);

// A "newc" cpio archive built in memory. Paths are absolute in the guest
// ("/bin/busybox"); the folders above each entry are added when missing.
class CpioArchive {
 public:
  void AddDirectory(const std::string& path);
  void AddFile(const std::string& path, std::uint32_t mode, std::span<const std::uint8_t> bytes);
  void AddSymlink(const std::string& path, const std::string& target);
  void AddCharDevice(const std::string& path, std::uint32_t mode, std::uint32_t major,
                     std::uint32_t minor);
  // The archive with its trailer.
  std::vector<std::uint8_t> Finish();

 private:
  struct Header {
    std::uint32_t mode = 0;
    std::uint32_t rdev_major = 0;
    std::uint32_t rdev_minor = 0;
  };
  void AddParents(const std::string& path);
  void Entry(const std::string& path, const Header& header, std::span<const std::uint8_t> data);

  std::vector<std::uint8_t> bytes_;
  std::set<std::string> directories_;
  std::uint32_t next_inode_ = 1;
};

}  // namespace vrdk::initramfs
