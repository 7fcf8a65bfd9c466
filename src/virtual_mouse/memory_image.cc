#include "virtual_mouse/memory_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "device/simulated_mouse.h"

namespace vrdk {
namespace {

std::string Reason(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

// Reads exactly bytes.size() bytes; false on an error or a short file.
bool ReadAll(int fd, std::span<std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put == 0) errno = EIO;
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

std::optional<MemoryType> TypeOfSize(off_t size) {
  if (size == static_cast<off_t>(kI2CMemorySize)) return MemoryType::kI2C;
  if (size == static_cast<off_t>(kFlashMemorySize)) return MemoryType::kFlash;
  return std::nullopt;
}

}  // namespace

std::optional<MemoryImage> LoadMemoryImage(const std::string& path, std::optional<MemoryType> type,
                                           std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) {
    const MemoryType factory_type = type.value_or(MemoryType::kI2C);
    return MemoryImage{factory_type, SimulatedMouse::FactoryMemory(factory_type), false};
  }
  if (fd < 0) {
    *error = Reason("open " + path, errno);
    return std::nullopt;
  }
  struct stat info {};
  std::optional<MemoryImage> image;
  if (::fstat(fd, &info) != 0) {
    *error = Reason("stat " + path, errno);
  } else if (!S_ISREG(info.st_mode) || !TypeOfSize(info.st_size)) {
    *error = path + ": not a memory image (an \"I2C\" image has " + std::to_string(kI2CMemorySize) +
             " bytes, a \"Flash\" image " + std::to_string(kFlashMemorySize) + ")";
  } else if (type && *type != *TypeOfSize(info.st_size)) {
    *error = path + ": a \"" + std::string(MemoryTypeName(*TypeOfSize(info.st_size))) +
             "\" image, not \"" + std::string(MemoryTypeName(*type)) + "\"";
  } else {
    MemoryImage loaded{*TypeOfSize(info.st_size),
                       std::vector<std::uint8_t>(static_cast<std::size_t>(info.st_size)), true};
    if (ReadAll(fd, loaded.bytes)) {
      image = std::move(loaded);
    } else {
      *error = "read " + path + ": the file changed while it was read";
    }
  }
  ::close(fd);
  return image;
}

bool SaveMemoryImage(const std::string& path, std::span<const std::uint8_t> bytes,
                     std::string* error) {
  const std::string temporary = path + ".saving";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    *error = Reason("create " + temporary, errno);
    return false;
  }
  bool ok = WriteAll(fd, bytes);
  if (!ok) *error = Reason("write " + temporary, errno);
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    *error = Reason("sync " + temporary, errno);
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    *error = Reason("close " + temporary, errno);
  }
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    *error = Reason("rename " + temporary + " to " + path, errno);
  }
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace vrdk
