// vrdkctl: the command-line face over the same Session and editors as the
// window. Each run is one short session: start as the window starts, open
// and read the mouse (when the command needs it), do one command, exit.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vrdk::cli {

// Exit codes, also listed by --help and in docs/cli.md.
enum ExitCode {
  kExitDone = 0,
  kExitUsage = 1,
  kExitNoMouse = 2,       // no mouse found, or not accepted (memory type, customer codes)
  kExitDeviceFailed = 3,  // a device operation failed
  kExitFileError = 4,     // a file could not be read or written, or is of the wrong kind
  kExitRefused = 5,       // a rule of the program refused the change
};

struct RunOptions {
  bool stderr_is_terminal = false;  // draw progress bars
};

// args excludes the program name.
int RunVrdkctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const RunOptions& options = {});

}  // namespace vrdk::cli
