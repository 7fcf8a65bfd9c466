#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "files/platform_file.h"

namespace vrdk::files::platform {
namespace {

namespace fs = std::filesystem;

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

}  // namespace

// Non-blocking, so that a FIFO put where a file was expected cannot hang the
// open; the descriptor blocks again once it is known to be a regular file.
int OpenForReading(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}
void MakeBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK); }
int CreateTemporary(std::string& name) { return ::mkstemp(name.data()); }

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

Result<void> LinkRefusal(const fs::path& link) {
  struct stat own {};
  struct stat folder {};
  const fs::path parent = link.has_parent_path() ? link.parent_path() : fs::path(".");
  if (::lstat(link.c_str(), &own) != 0 || !S_ISLNK(own.st_mode)) return {};
  if (::stat(parent.c_str(), &folder) != 0) return {};
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  if (!shared || own.st_uid == ::geteuid() || own.st_uid == folder.st_uid) return {};
  return Error{ErrorKind::kRefused,
               link.string() + " is a symbolic link another user made in the shared folder " +
                   parent.string() + "; it is not followed"};
}

}  // namespace vrdk::files::platform
