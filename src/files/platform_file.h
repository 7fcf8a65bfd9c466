// The calls of the file functions that differ between the platforms; one of
// platform_file_posix.cc and platform_file_windows.cc defines them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "base/result.h"

namespace vrdk::files::platform {

// Opens path for reading without blocking on a FIFO (POSIX); -1 and errno
// when it cannot.
int OpenForReading(const std::string& path);
// The descriptor blocks again, once it is known to be a regular file.
void MakeBlocking(int fd);
// A new file of the name pattern (its last six characters "XXXXXX", replaced
// in name), opened for writing; -1 and errno when none can be made.
int CreateTemporary(std::string& name);
// Gives fd the permissions target has, or a new file's (0 or an errno).
int KeepMode(int fd, const std::filesystem::path& target);
// Waits until fd's data is on the disk (0 or an errno).
int SyncFile(int fd);
// Renames temp over target, which may exist (0 or an errno).
int ReplaceWith(const std::string& temp, const std::filesystem::path& target);
// Makes a rename in folder survive a power loss (0 or an errno).
int SyncFolder(const std::filesystem::path& folder);
// Whether the symbolic link at `link` may be followed: kRefused, saying why,
// when it may not. The kernel's
// own rule for links in shared folders (fs.protected_symlinks): in a folder
// that is sticky and writable by everyone, a link is followed only when this
// user or the folder's owner owns it; another user's link there may point at
// this user's files.
Result<void> LinkRefusal(const std::filesystem::path& link);

}  // namespace vrdk::files::platform
