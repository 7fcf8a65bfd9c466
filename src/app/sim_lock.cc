#include "app/sim_lock.h"

#include <string_view>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace vrdk {
namespace {

constexpr std::chrono::milliseconds kPoll{50};
constexpr std::size_t kHolderMax = 200;

std::string InUse(const std::string& memory_file, std::string holder) {
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\r')) holder.pop_back();
  if (holder.empty()) holder = "another program";
  return "the simulated mouse " + memory_file + " is in use by " + holder +
         "; try again when it has finished";
}

std::string HolderText(const std::string& program) {
#if defined(_WIN32)
  const unsigned long id = GetCurrentProcessId();
#else
  const long id = static_cast<long>(getpid());
#endif
  return program + " (process " + std::to_string(id) + ")\n";
}

}  // namespace

#if defined(_WIN32)

// Windows locks byte ranges and keeps other programs from reading a locked
// range, so the lock lies far beyond the holder's name.
constexpr DWORD kLockOffset = 1u << 30;

SimulationLock::~SimulationLock() {
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
}

Result<std::unique_ptr<SimulationLock>> SimulationLock::Take(const std::string& memory_file,
                                                             const std::string& program,
                                                             std::chrono::milliseconds patience) {
  const std::string path = memory_file + ".lock";
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return Error{ErrorKind::kFileError, "cannot use the lock file " + path};
  }
  std::unique_ptr<SimulationLock> lock(new SimulationLock);
  lock->handle_ = handle;
  const auto give_up = std::chrono::steady_clock::now() + patience;
  for (;;) {
    OVERLAPPED at{};
    at.Offset = kLockOffset;
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
      break;
    if (std::chrono::steady_clock::now() >= give_up) {
      char text[kHolderMax] = {};
      DWORD read = 0;
      SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
      ReadFile(handle, text, sizeof text - 1, &read, nullptr);
      return Error{ErrorKind::kBusy, InUse(memory_file, std::string(text, read))};
    }
    std::this_thread::sleep_for(kPoll);
  }
  const std::string holder = HolderText(program);
  DWORD written = 0;
  SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
  WriteFile(handle, holder.data(), static_cast<DWORD>(holder.size()), &written, nullptr);
  SetEndOfFile(handle);
  return lock;
}

#else

SimulationLock::~SimulationLock() {
  if (fd_ >= 0) close(fd_);
}

Result<std::unique_ptr<SimulationLock>> SimulationLock::Take(const std::string& memory_file,
                                                             const std::string& program,
                                                             std::chrono::milliseconds patience) {
  const std::string path = memory_file + ".lock";
  // Not through a link, and never blocking on a FIFO put in its place.
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (fd < 0) {
    return Error{ErrorKind::kFileError,
                 "cannot use the lock file " + path + ": " + std::strerror(errno)};
  }
  std::unique_ptr<SimulationLock> lock(new SimulationLock);
  lock->fd_ = fd;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    return Error{ErrorKind::kFileError, "the lock file " + path + " is not a regular file"};
  }
  const auto give_up = std::chrono::steady_clock::now() + patience;
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      return Error{ErrorKind::kFileError, "cannot lock " + path + ": " + std::strerror(errno)};
    }
    if (std::chrono::steady_clock::now() >= give_up) {
      char text[kHolderMax] = {};
      const ssize_t read = pread(fd, text, sizeof text - 1, 0);
      return Error{
          ErrorKind::kBusy,
          InUse(memory_file, std::string(text, read > 0 ? static_cast<std::size_t>(read) : 0))};
    }
    std::this_thread::sleep_for(kPoll);
  }
  const std::string holder = HolderText(program);
  if (ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t written = pwrite(fd, holder.data(), holder.size(), 0);
  }
  return lock;
}

#endif

}  // namespace vrdk
