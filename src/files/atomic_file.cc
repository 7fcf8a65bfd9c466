#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>

namespace vrdk::files {
namespace {

namespace fs = std::filesystem;

std::string Reason(const std::string& what, const std::string& path, int error) {
  return "cannot " + what + " " + path + ": " + std::strerror(error);
}

// The few calls that differ between the platforms.
#ifdef _WIN32
constexpr int kReadFlags = _O_RDONLY | _O_BINARY;
int OpenForReading(const std::string& path) { return ::_wopen(fs::path(path).c_str(), kReadFlags); }
void MakeBlocking(int /*fd*/) {}

// A new file of that name pattern ("XXXXXX" replaced), opened for writing.
int CreateTemporary(std::string& name) {
  std::random_device random;
  const std::string stem = name.substr(0, name.size() - 6);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = stem;
    for (int i = 0; i < 6; ++i) name += "abcdefghijklmnopqrstuvwxyz0123456789"[random() % 36];
    const int fd = ::_wopen(fs::path(name).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                            _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Windows keeps no permission bits beyond read-only: the new file is as any.
int KeepMode(int /*fd*/, const fs::path& /*target*/) { return 0; }
int SyncFile(int fd) { return ::_commit(fd) == 0 ? 0 : errno; }

// Replaces target, which may exist, and waits until that is on the disk.
int ReplaceWith(const std::string& temp, const fs::path& target) {
  if (MoveFileExW(fs::path(temp).c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return 0;
  }
  return GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
}

// MOVEFILE_WRITE_THROUGH has made the rename durable already.
int SyncFolder(const fs::path& /*folder*/) { return 0; }
#else
// Non-blocking, so that a FIFO put where a file was expected cannot hang the
// open; the descriptor blocks again once it is known to be a regular file.
constexpr int kReadFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
int OpenForReading(const std::string& path) { return ::open(path.c_str(), kReadFlags); }
void MakeBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK); }
int CreateTemporary(std::string& name) { return ::mkstemp(name.data()); }

// The process's umask, read without changing it (no other thread can see a
// changed one then); the umask() dance where /proc is missing.
mode_t CurrentUmask() {
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr) {
      found = std::sscanf(line, "Umask: %o", &mask) == 1;
    }
    std::fclose(status);
    if (found) return static_cast<mode_t>(mask);
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

// Keep the permissions an existing file had; a new file gets what the umask
// gives (mkstemp's own 0600 would hide it from everyone else).
int KeepMode(int fd, const fs::path& target) {
  struct stat existing {};
  const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777)
                                                             : (0666 & ~CurrentUmask());
  return ::fchmod(fd, mode) == 0 ? 0 : errno;
}

int SyncFile(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

int ReplaceWith(const std::string& temp, const fs::path& target) {
  return ::rename(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
}

// Makes a rename in folder survive a power loss.
int SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int result = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return result;
}
#endif

// Why the symbolic link at `link` is not followed, or nothing. The kernel's
// own rule for links in shared folders (fs.protected_symlinks): in a folder
// that is sticky and writable by everyone, a link is followed only when this
// user or the folder's owner owns it; another user's link there may point at
// this user's files.
std::optional<std::string> LinkRefusal(const fs::path& link) {
#ifdef _WIN32
  (void)link;
  return std::nullopt;
#else
  struct stat own {};
  struct stat folder {};
  const fs::path parent = link.has_parent_path() ? link.parent_path() : fs::path(".");
  if (::lstat(link.c_str(), &own) != 0 || !S_ISLNK(own.st_mode)) return std::nullopt;
  if (::stat(parent.c_str(), &folder) != 0) return std::nullopt;
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  if (!shared || own.st_uid == ::geteuid() || own.st_uid == folder.st_uid) return std::nullopt;
  return link.string() + " is a symbolic link another user made in the shared folder " +
         parent.string() + "; it is not followed";
#endif
}

// The file a write to path replaces: path itself, or the file a symbolic
// link (or a chain of them) points to, so the link stays a link. Nothing,
// with *refusal set, when a link on the way may not be followed.
std::optional<fs::path> WriteTarget(const std::string& path, std::string* refusal) {
  fs::path target(path);
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(target, error)) break;
    if (auto refused = LinkRefusal(target)) {
      *refusal = *refused;
      return std::nullopt;
    }
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

std::optional<std::string> WriteFileAtomically(const std::string& path,
                                               std::span<const std::uint8_t> bytes,
                                               FailAt fail_at) {
  std::string refusal;
  const std::optional<fs::path> followed = WriteTarget(path, &refusal);
  if (!followed) return "cannot write " + path + ": " + refusal;
  const fs::path target = *followed;
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
  const int fd = CreateTemporary(temp);
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
  if (const int error = KeepMode(fd, target); error != 0) return fail("write", error);
  if (fail_at == FailAt::kSync) return fail("write", EIO);
  if (const int error = SyncFile(fd); error != 0) return fail("write", error);
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    return Reason("write", path, error);
  }
  const int replaced = fail_at == FailAt::kRename ? EIO : ReplaceWith(temp, target);
  if (replaced != 0) {
    const int error = replaced;
    ::unlink(temp.c_str());
    return Reason("replace", path, error);
  }
  if (const int error = SyncFolder(folder); error != 0) return Reason("write", path, error);
  return std::nullopt;
}

std::optional<std::string> RefusedFile(const std::string& path) {
  std::string refusal;
  const std::optional<fs::path> target = WriteTarget(path, &refusal);
  if (!target) return "cannot use " + path + ": " + refusal;
  std::error_code error;
  const fs::file_status status = fs::status(*target, error);
  if (!fs::exists(status) || fs::is_regular_file(status)) return std::nullopt;
  return "cannot use " + path + ": it is not a regular file";
}

ReadResult ReadFilePrefix(const std::string& path, std::size_t max_bytes) {
  ReadResult result;
  std::string refusal;
  if (!WriteTarget(path, &refusal)) {
    result.error = "cannot read " + path + ": " + refusal;
    return result;
  }
  const int fd = OpenForReading(path);
  if (fd < 0) {
    result.missing = errno == ENOENT;
    result.error = Reason("read", path, errno);
    return result;
  }
  // Only a regular file is read: a folder, a FIFO, a device or a socket says so.
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const bool folder = S_ISDIR(info.st_mode);
    ::close(fd);
    result.error = folder ? Reason("read", path, EISDIR)
                          : "cannot read " + path + ": it is not a regular file";
    return result;
  }
  MakeBlocking(fd);
  result.bytes.resize(max_bytes);
  std::size_t got = 0;
  while (got < max_bytes) {
    const auto n = ::read(fd, result.bytes.data() + got,
                          static_cast<unsigned>(std::min<std::size_t>(max_bytes - got, 1u << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.error = Reason("read", path, errno);
      break;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  result.bytes.resize(result.error.empty() ? got : 0);
  return result;
}

}  // namespace vrdk::files
