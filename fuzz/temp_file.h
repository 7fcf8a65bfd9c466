// The fuzz input as a file, for the readers that take a path: a name of its
// own in the temporary folder, written for one input and removed after it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <system_error>

namespace vrdk::fuzz {

class TempFile {
 public:
  // `what` tells the targets' files apart; the random part, the processes.
  TempFile(const std::string& what, std::span<const std::uint8_t> bytes)
      : path_(Folder() / ("vrdk-fuzz-" + what + "-" + Tag())) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) __builtin_trap();  // the reader would see another file than the input
  }
  ~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  std::string Path() const { return path_.string(); }

 private:
  static const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = std::filesystem::temp_directory_path();
    return folder;
  }
  static const std::string& Tag() {
    static const std::string tag = std::to_string(std::random_device{}());
    return tag;
  }

  std::filesystem::path path_;
};

}  // namespace vrdk::fuzz
