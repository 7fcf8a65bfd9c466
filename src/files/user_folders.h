// The folders of the user's account where this program keeps its files, as
// the XDG base directory rules place them.
#pragma once

#include <optional>
#include <string>

namespace vrdk::files {

enum class UserFolder {
  kData,    // the macro library: $XDG_DATA_HOME, else ~/.local/share
  kState,   // the simulated mouse, the write journal: $XDG_STATE_HOME, else ~/.local/state
  kConfig,  // settings: $XDG_CONFIG_HOME, else ~/.config
};

// The program's own folder of that kind ("vrdk" inside it); on Windows, where
// neither the variable nor HOME is set, in APPDATA (data, settings) or
// LOCALAPPDATA (state). Nothing when no such place is known.
std::optional<std::string> ProgramFolder(UserFolder kind);

}  // namespace vrdk::files
