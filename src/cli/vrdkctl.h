// vrdkctl: the command-line face over the same Session and editors as the
// window. Each run is one short session: start as the window starts, open
// and read the mouse (when the command needs it), do one command, exit.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vrdk::cli {

// Exit codes, also listed by --help and in docs/cli.md.
inline constexpr int kExitDone = 0;
inline constexpr int kExitUsage = 1;
// No mouse found, or not accepted (memory type, customer codes).
inline constexpr int kExitNoMouse = 2;
inline constexpr int kExitDeviceFailed = 3;  // a device operation failed
// A file could not be read or written, or is of the wrong kind.
inline constexpr int kExitFileError = 4;
inline constexpr int kExitRefused = 5;  // a rule of the program refused the change
// The mouse is there, but this user may not open it (on Linux: the udev rule).
inline constexpr int kExitAccessDenied = 6;

struct RunOptions {
  bool stderr_is_terminal = false;  // draw progress bars
  std::string hidraw_root;          // tests: the real bus's files under this folder
};

// args excludes the program name.
int RunVrdkctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const RunOptions& options = {});

}  // namespace vrdk::cli
