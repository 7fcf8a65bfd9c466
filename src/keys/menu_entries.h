// The entries of the key-function menus, in menu order: the standard mouse
// keys, the special keys (with their DPI, fire and profile submenus), the
// media keys, the web-browser keys and the PC functions. Two entries can
// share a name ("Backward", "Forward", "Stop"); the earlier one comes first
// here, as it does on screen.
#pragma once

#include <span>
#include <string_view>

namespace vrdk {

struct MenuEntry {
  int tag;                       // the menu tag (CodeForMenuTag)
  std::string_view caption_key;  // the language key of its caption
  std::string_view component;    // the entry's component name ("Key_Left")
  bool hidden = false;           // not shown in the shipped menus
};

std::span<const MenuEntry> MenuEntries();

// The entry with this tag, or nullptr.
const MenuEntry* FindMenuEntry(int tag);

}  // namespace vrdk
