#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDERR_FILENO 2
#else
#include <unistd.h>
#endif

#include <iostream>

#include "cli/vrdkctl.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vrdk::cli::RunOptions options;
  options.stderr_is_terminal = ::isatty(STDERR_FILENO) == 1;
  return vrdk::cli::RunVrdkctl(args, std::cout, std::cerr, options);
}
