// One program at a time on a simulated mouse's memory file. Each program
// reads the file at start and writes it back at exit, so two at once would
// lose one's changes; the second one waits a moment, then refuses.
//
// The lock is an advisory one on FILE.lock beside the memory file (the
// memory file itself is replaced at every save), which the kernel drops with
// the process: a holder that crashed never blocks the file. The lock file
// names its holder, "vrdkctl (process 1234)", for the refusal's message.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "base/result.h"

namespace vrdk {

class SimulationLock {
 public:
  ~SimulationLock();
  SimulationLock(const SimulationLock&) = delete;
  SimulationLock& operator=(const SimulationLock&) = delete;

  // Locks `memory_file` for `program`, waiting up to `patience` for another
  // holder. kBusy, naming the file and its holder, when it stays taken;
  // kFileError, saying why, when the lock file cannot be used.
  static Result<std::unique_ptr<SimulationLock>> Take(const std::string& memory_file,
                                                      const std::string& program,
                                                      std::chrono::milliseconds patience);

  static constexpr std::chrono::milliseconds kPatience{3000};

 private:
  SimulationLock() = default;
#if defined(_WIN32)
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace vrdk
