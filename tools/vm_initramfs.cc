// vrdk-vm-initramfs: packs the initramfs of the VM test.
//
//   vrdk-vm-initramfs --output=FILE [--modules=DIR] [--module=NAME]...
//                     [--file=GUEST_PATH=HOST_PATH]... [--link=GUEST_PATH=TARGET]...
//
// DIR is a kernel's /lib/modules/VERSION folder. Each module named, and every
// module it needs, lands in /lib/modules/NAME.ko, and /lib/modules/load-order
// lists them in the order to load them (built-in ones left out). Files keep
// their permission bits. /dev/console is always there, so the kernel can give
// the first program its console.

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tools/initramfs.h"

namespace {

namespace fs = std::filesystem;
using vrdk::initramfs::CpioArchive;

std::optional<std::vector<std::uint8_t>> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Module name -> its file, for every uncompressed module below dir.
std::map<std::string, fs::path> IndexModules(const fs::path& dir) {
  std::map<std::string, fs::path> index;
  std::error_code error;
  for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end;
       it.increment(error)) {
    const auto& path = it->path();
    if (path.extension() == ".ko") {
      index.emplace(vrdk::initramfs::ModuleName(path.stem().string()), path);
    }
  }
  return index;
}

bool Fail(const std::string& message) {
  std::fprintf(stderr, "vrdk-vm-initramfs: %s\n", message.c_str());
  return false;
}

bool AddModules(CpioArchive& archive, const fs::path& dir, const std::vector<std::string>& wanted) {
  const auto index = IndexModules(dir);
  const auto builtin_text = ReadFile(dir / "modules.builtin").value_or(std::vector<std::uint8_t>{});
  const auto builtin = vrdk::initramfs::BuiltinModules(
      std::string_view(reinterpret_cast<const char*>(builtin_text.data()), builtin_text.size()));
  std::map<std::string, std::vector<std::uint8_t>> files;
  std::string error;
  const auto order = vrdk::initramfs::LoadOrder(
      wanted, builtin,
      [&](const std::string& module) -> std::optional<std::vector<std::string>> {
        const auto found = index.find(module);
        if (found == index.end()) return std::nullopt;
        auto bytes = ReadFile(found->second);
        if (!bytes) return std::nullopt;
        auto needs = vrdk::initramfs::ModuleDependencies(*bytes);
        files[module] = std::move(*bytes);
        return needs;
      },
      &error);
  if (!order) return Fail(error + " (in " + dir.string() + ")");
  std::string list;
  for (const auto& module : *order) {
    archive.AddFile("/lib/modules/" + module + ".ko", 0644, files[module]);
    list += module + "\n";
    std::printf("module %s\n", module.c_str());
  }
  for (const auto& module : wanted) {
    if (builtin.contains(vrdk::initramfs::ModuleName(module))) {
      std::printf("built in %s\n", module.c_str());
    }
  }
  archive.AddFile("/lib/modules/load-order", 0644,
                  std::span(reinterpret_cast<const std::uint8_t*>(list.data()), list.size()));
  return true;
}

bool Run(const std::vector<std::string>& args) {
  std::string output;
  fs::path modules;
  std::vector<std::string> wanted;
  std::vector<std::pair<std::string, std::string>> files;
  std::vector<std::pair<std::string, std::string>> links;
  for (const auto& arg : args) {
    const auto equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : arg.substr(equals + 1);
    const auto second = value.find('=');
    if (name == "--output") {
      output = value;
    } else if (name == "--modules") {
      modules = value;
    } else if (name == "--module" && !value.empty()) {
      wanted.push_back(value);
    } else if ((name == "--file" || name == "--link") && second != std::string::npos &&
               value.starts_with('/')) {
      (name == "--file" ? files : links)
          .emplace_back(value.substr(0, second), value.substr(second + 1));
    } else {
      return Fail("bad argument: " + arg);
    }
  }
  if (output.empty()) return Fail("no --output");
  if (!wanted.empty() && modules.empty()) return Fail("--module needs --modules");

  CpioArchive archive;
  archive.AddCharDevice("/dev/console", 0600, 5, 1);
  if (!wanted.empty() && !AddModules(archive, modules, wanted)) return false;
  for (const auto& [guest, host] : files) {
    const auto bytes = ReadFile(host);
    struct stat info {};
    if (!bytes || ::stat(host.c_str(), &info) != 0) return Fail("cannot read " + host);
    archive.AddFile(guest, info.st_mode, *bytes);
  }
  for (const auto& [guest, target] : links) archive.AddSymlink(guest, target);

  const auto bytes = archive.Finish();
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return Fail("cannot write " + output);
  return true;
}

}  // namespace

int main(int argc, char** argv) { return Run({argv + 1, argv + argc}) ? 0 : 1; }
