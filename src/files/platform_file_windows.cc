#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <random>

#include "files/platform_file.h"

namespace vrdk::files::platform {

namespace fs = std::filesystem;

int OpenForReading(const std::string& path) {
  return ::_wopen(fs::path(path).c_str(), _O_RDONLY | _O_BINARY);
}
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

// Windows has no sticky shared folders of this kind: every link is followed.
Result<void> LinkRefusal(const fs::path& /*link*/) { return {}; }

}  // namespace vrdk::files::platform
