#include "files/user_folders.h"

#include <cstdlib>
#include <filesystem>

namespace vrdk::files {
namespace {

const char* Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

}  // namespace

std::optional<std::string> ProgramFolder(UserFolder kind) {
  namespace fs = std::filesystem;
  struct Place {
    const char* variable;
    const char* under_home;
    const char* windows;
  };
  const Place place = kind == UserFolder::kData ? Place{"XDG_DATA_HOME", ".local/share", "APPDATA"}
                      : kind == UserFolder::kState
                          ? Place{"XDG_STATE_HOME", ".local/state", "LOCALAPPDATA"}
                          : Place{"XDG_CONFIG_HOME", ".config", "APPDATA"};
  if (const char* base = Variable(place.variable)) return (fs::path(base) / "vrdk").string();
  if (const char* home = Variable("HOME")) {
    return (fs::path(home) / place.under_home / "vrdk").string();
  }
#ifdef _WIN32
  if (const char* base = Variable(place.windows)) return (fs::path(base) / "vrdk").string();
#endif
  return std::nullopt;
}

}  // namespace vrdk::files
