// Whole-file reads and writes for the program's data files. A write never
// leaves a damaged or half-written file where a good one stood: the bytes go
// to a temporary file in the same folder, are flushed to disk, and only then
// renamed over the target, and the folder is flushed after. An existing file
// keeps its permissions, a new one gets what the umask gives; a write to a
// symbolic link replaces the file it points to and leaves the link.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"

namespace vrdk::files {

// Where a write can be made to fail, so tests can prove nothing half-done is
// reported as done.
enum class FailAt { kNever, kWrite, kSync, kRename };

// A failure is kFileError, its message naming the file and the reason.
Result<void> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                                 FailAt fail_at = FailAt::kNever);

// Reads at most max_bytes of the file (a longer file is read up to there).
// Only a regular file is read, and a symbolic link another user made in a
// shared sticky folder (as /tmp) is not followed, for reads and writes alike.
// A failure names the file and the reason; it is kMissing when the file does
// not exist, else kFileError.
Result<std::vector<std::uint8_t>> ReadFilePrefix(const std::string& path, std::size_t max_bytes);

// For files opened otherwise (a trace appended to): fails (kFileError, with
// why) when `path` may not be used: a link that may not be followed, or
// something there that is not a regular file (a FIFO, a device, a socket, a
// folder); nothing there yet is fine.
Result<void> RefusedFile(const std::string& path);

}  // namespace vrdk::files
