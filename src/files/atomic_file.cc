#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>  // close, read
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>

#include "files/platform_file.h"

namespace vrdk::files {
namespace {

namespace fs = std::filesystem;

Error Reason(const std::string& what, const std::string& path, int error) {
  return {ErrorKind::kFileError, "cannot " + what + " " + path + ": " + std::strerror(error)};
}

Error Refused(const std::string& what, const std::string& path, const std::string& why) {
  return {ErrorKind::kFileError, "cannot " + what + " " + path + ": " + why};
}

// The file a write to path replaces: path itself, or the file a symbolic
// link (or a chain of them) points to, so the link stays a link. kRefused,
// saying why, when a link on the way may not be followed.
Result<fs::path> WriteTarget(const std::string& path) {
  fs::path target(path);
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(target, error)) break;
    if (auto followed = platform::LinkRefusal(target); !followed.ok()) return followed.error();
    const fs::path next = fs::read_symlink(target, error);
    if (error) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

// A save that crashed left its hidden temporary ".NAME.XXXXXX" beside the
// target; the next save of that file removes those older than a minute (a
// younger one may be another program's save under way).
void RemoveLeftovers(const fs::path& folder, const std::string& temp_prefix) {
  std::error_code error;
  const auto now = fs::file_time_type::clock::now();
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() != temp_prefix.size() + 6 || name.rfind(temp_prefix, 0) != 0) continue;
    std::error_code status;
    if (entry.is_symlink(status) || !entry.is_regular_file(status)) continue;
    const auto changed = entry.last_write_time(status);
    if (!status && now - changed > std::chrono::minutes(1)) fs::remove(entry.path(), status);
  }
}

}  // namespace

Result<void> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                                 FailAt fail_at) {
  const Result<fs::path> followed = WriteTarget(path);
  if (!followed.ok()) return Refused("write", path, followed.message());
  const fs::path target = followed.value();
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  // A hidden temporary beside the target: ".NAME.XXXXXX". Built by appending
  // rather than with "." + name, which g++ 12 at -O3 flags with a false
  // -Wrestrict inside std::string.
  std::string temp_prefix(1, '.');
  temp_prefix.append(target.filename().string()).append(".");
  RemoveLeftovers(folder, temp_prefix);
  std::string temp_name = temp_prefix;
  temp_name.append("XXXXXX");
  std::string temp = (folder / temp_name).string();
  const int fd = platform::CreateTemporary(temp);
  if (fd < 0) return Reason("write", path, errno);

  auto fail = [&](const std::string& what, int error) {
    ::close(fd);
    ::unlink(temp.c_str());
    return Reason(what, path, error);
  };
  // A failure injected at kWrite stops halfway, as a full disk would.
  const std::size_t limit = fail_at == FailAt::kWrite ? bytes.size() / 2 : bytes.size();
  std::size_t written = 0;
  while (written < limit) {
    const auto n = ::write(fd, bytes.data() + written,
                           static_cast<unsigned>(std::min<std::size_t>(limit - written, 1u << 20)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail("write", n < 0 ? errno : EIO);
    written += static_cast<std::size_t>(n);
  }
  if (fail_at == FailAt::kWrite) return fail("write", ENOSPC);
  if (const int error = platform::KeepMode(fd, target); error != 0) return fail("write", error);
  if (fail_at == FailAt::kSync) return fail("write", EIO);
  if (const int error = platform::SyncFile(fd); error != 0) return fail("write", error);
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    return Reason("write", path, error);
  }
  const int replaced = fail_at == FailAt::kRename ? EIO : platform::ReplaceWith(temp, target);
  if (replaced != 0) {
    const int error = replaced;
    ::unlink(temp.c_str());
    return Reason("replace", path, error);
  }
  if (const int error = platform::SyncFolder(folder); error != 0)
    return Reason("write", path, error);
  return {};
}

Result<void> RefusedFile(const std::string& path) {
  const Result<fs::path> target = WriteTarget(path);
  if (!target.ok()) return Refused("use", path, target.message());
  std::error_code error;
  const fs::file_status status = fs::status(target.value(), error);
  if (!fs::exists(status) || fs::is_regular_file(status)) return {};
  return Refused("use", path, "it is not a regular file");
}

Result<std::vector<std::uint8_t>> ReadFilePrefix(const std::string& path, std::size_t max_bytes) {
  if (const auto target = WriteTarget(path); !target.ok()) {
    return Refused("read", path, target.message());
  }
  const int fd = platform::OpenForReading(path);
  if (fd < 0) {
    const int error = errno;
    Error failed = Reason("read", path, error);
    if (error == ENOENT) failed.kind = ErrorKind::kMissing;
    return failed;
  }
  // Only a regular file is read: a folder, a FIFO, a device or a socket says so.
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const bool folder = S_ISDIR(info.st_mode);
    ::close(fd);
    return folder ? Reason("read", path, EISDIR)
                  : Refused("read", path, "it is not a regular file");
  }
  platform::MakeBlocking(fd);
  std::vector<std::uint8_t> bytes(max_bytes);
  std::size_t got = 0;
  while (got < max_bytes) {
    const auto n = ::read(fd, bytes.data() + got,
                          static_cast<unsigned>(std::min<std::size_t>(max_bytes - got, 1u << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      return Reason("read", path, error);
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  return bytes;
}

}  // namespace vrdk::files
