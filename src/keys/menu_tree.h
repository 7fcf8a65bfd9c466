// The cascading key-function menus: the top panel Pnl_Main, its submenu
// panels and their entries from the top down, and where a panel opens.
//
// Every entry is a label captioned " " + Str200 + " " + its text. A leaf
// carries a menu tag (its code comes from CodeForMenuTag); a category opens
// a submenu panel when the pointer enters it; Key_Assembly opens the
// key-combination dialog when clicked and Key_Macro the list of the mouse's
// macros LB_Name (only while the mouse holds macros).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tables/language_table.h"

namespace vrdk {

struct MenuItem {
  enum class Kind { kLeaf, kSubmenu, kCombinationDialog, kMacroList };
  std::string_view component;  // "Key_Left", "Key_Special"
  Kind kind = Kind::kLeaf;
  int tag = 0;                   // leaves: the menu tag
  std::string_view caption_key;  // the language key of its text
  std::string_view submenu;      // submenus: the panel it opens
  // Entries the shipped menus do not show unless the skin says so: the skin
  // key component + "_Enable" shows them (Key_BtnEFT follows "BE_Enable").
  bool hidden_by_default = false;
};

struct MenuPanel {
  std::string_view name;       // "Pnl_Main"
  std::string_view width_key;  // the skin key of its width: "M_L_W", "SP_L_W", "O_L_W"
  std::span<const MenuItem> items;
};

// Every panel; the first is Pnl_Main.
std::span<const MenuPanel> MenuPanels();
const MenuPanel* FindMenuPanel(std::string_view name);
// The panel that holds an entry, or nullptr.
const MenuPanel* PanelOfItem(std::string_view component);

// The caption of an entry: a blank, the Str200 text, a blank and its text.
std::string MenuCaption(const MenuItem& item, const LanguageTable& language);

// Entries are this many pixels high and 4 pixels narrower than their panel,
// whose border is one pixel.
inline constexpr int kMenuItemHeight = 24;
inline constexpr int kMenuItemInset = 4;
inline constexpr int kMenuBorder = 1;

struct MenuBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const MenuBox&, const MenuBox&) = default;
};

// Where Pnl_Main opens for a key label: its left edge at the label's
// horizontal centre when it fits the window's client width, else its right
// edge there; its top at the label's vertical centre when it fits the client
// height, else its bottom there.
MenuBox PlaceMainMenu(const MenuBox& label, int width, int height, int client_width,
                      int client_height);

// Where a submenu opens beside an entry (entry relative to its panel): to
// the right of the entry with a 2-pixel gap, or flush to the left of the
// parent panel when it would leave the window; its top level with the entry,
// or its bottom level with the entry's bottom when it would leave the window.
// leftward: the parent itself opened to the left of its own parent; the
// submenu then keeps going left while there is room, so that it does not
// cover the panel the pointer came from.
MenuBox PlaceSubmenu(const MenuBox& parent, const MenuBox& entry, int width, int height,
                     int client_width, int client_height, bool leftward = false);

}  // namespace vrdk
