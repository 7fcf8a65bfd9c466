#include "keys/menu_tree.h"

#include <array>

#include "keys/menu_entries.h"

namespace vrdk {
namespace {

using Kind = MenuItem::Kind;

constexpr MenuItem Leaf(std::string_view component, int tag, bool hidden = false) {
  return {component, Kind::kLeaf, tag, {}, {}, hidden};
}
constexpr MenuItem Submenu(std::string_view component, std::string_view caption,
                           std::string_view panel, bool hidden = false) {
  return {component, Kind::kSubmenu, 0, caption, panel, hidden};
}

constexpr std::array kMain = {
    Submenu("Key_Standard", "Str201", "Pnl_MseKey"),
    Submenu("Key_Special", "Str202", "Pnl_Special"),
    Submenu("Key_Media", "Str203", "Pnl_Media"),
    Submenu("Key_WWW", "Str204", "Pnl_WWW"),
    Submenu("Key_MyPC", "Str207", "Pnl_MyPC"),
    MenuItem{"Key_Assembly", Kind::kCombinationDialog, 0, "Str205", {}, false},
    MenuItem{"Key_Macro", Kind::kMacroList, 0, "Str206", {}, false},
};
constexpr std::array kMouseKeys = {Leaf("Key_Left", 900), Leaf("Key_Right", 901),
                                   Leaf("Key_Middle", 902), Leaf("Key_B4", 903),
                                   Leaf("Key_B5", 904)};
constexpr std::array kSpecial = {
    Submenu("Key_CPIKey", "Str220", "Pnl_CPIKey"),
    Submenu("Key_Fire", "Str230", "Pnl_FireKey"),
    Submenu("Key_ProfileKey", "Str250", "Pnl_Profile"),
    Leaf("Key_AIM", 1000),
    Leaf("Key_LEDMode", 1001),
    Leaf("Key_LEDSwitch", 1002),
    Leaf("Key_ReportRate", 1004),
    Leaf("Key_KeyOff", 1007),
    Submenu("Key_ACPIKey", "Str240", "Pnl_ACPI", true),
    Submenu("Key_MACOS", "Str267", "Pnl_MACOS", true),
    Leaf("Key_BtnEFT", 1003, true),
};
constexpr std::array kDpi = {Leaf("Key_CPI", 2000), Leaf("Key_CPII", 2001), Leaf("Key_CPID", 2002)};
constexpr std::array kFire = {Leaf("Key_Fire1", 2100), Leaf("Key_Fire2", 2101),
                              Leaf("Key_Fire3", 2102)};
constexpr std::array kProfile = {Leaf("Key_Profile1", 2300), Leaf("Key_Profile2", 2301),
                                 Leaf("Key_Profile3", 2302), Leaf("Key_Profile", 2303)};
constexpr std::array kPower = {Leaf("Key_PowerDown", 2200), Leaf("Key_Sleep", 2201),
                               Leaf("Key_WakeUp", 2202)};
constexpr std::array kMacOs = {Leaf("Key_MACOSBack", 2400), Leaf("Key_MACOSForward", 2401)};
constexpr std::array kMedia = {
    Leaf("Key_PlayPause", 1100), Leaf("Key_Stop", 1101),       Leaf("Key_PreviousTrack", 1102),
    Leaf("Key_NextTrack", 1103), Leaf("Key_VolumePlus", 1104), Leaf("Key_VolumeMinus", 1105),
    Leaf("Key_Mute", 1106),
};
constexpr std::array kWww = {
    Leaf("Key_WWWHome", 1200),      Leaf("Key_WWWSearch", 1201), Leaf("Key_WWWBack", 1202),
    Leaf("Key_WWWForward", 1203),   Leaf("Key_WWWStop", 1204),   Leaf("Key_WWWRefresh", 1205),
    Leaf("Key_WWWFavorites", 1206),
};
constexpr std::array kMyPc = {Leaf("Key_Computer", 1300), Leaf("Key_Calculator", 1301),
                              Leaf("Key_EMail", 1302), Leaf("Key_Desktop", 1303)};

const std::array<MenuPanel, 11> kPanels = {{
    {"Pnl_Main", "M_L_W", kMain},
    {"Pnl_MseKey", "O_L_W", kMouseKeys},
    {"Pnl_Special", "SP_L_W", kSpecial},
    {"Pnl_CPIKey", "O_L_W", kDpi},
    {"Pnl_FireKey", "O_L_W", kFire},
    {"Pnl_Profile", "O_L_W", kProfile},
    {"Pnl_ACPI", "O_L_W", kPower},
    {"Pnl_MACOS", "O_L_W", kMacOs},
    {"Pnl_Media", "O_L_W", kMedia},
    {"Pnl_WWW", "O_L_W", kWww},
    {"Pnl_MyPC", "O_L_W", kMyPc},
}};

std::string TextOf(const MenuItem& item, const LanguageTable& language) {
  if (item.kind != Kind::kLeaf) return language.Text(item.caption_key);
  const MenuEntry* entry = FindMenuEntry(item.tag);
  return entry == nullptr ? std::string() : language.Text(entry->caption_key);
}

}  // namespace

std::span<const MenuPanel> MenuPanels() { return kPanels; }

const MenuPanel* FindMenuPanel(std::string_view name) {
  for (const MenuPanel& panel : kPanels) {
    if (panel.name == name) return &panel;
  }
  return nullptr;
}

const MenuPanel* PanelOfItem(std::string_view component) {
  for (const MenuPanel& panel : kPanels) {
    for (const MenuItem& item : panel.items) {
      if (item.component == component) return &panel;
    }
  }
  return nullptr;
}

std::string MenuCaption(const MenuItem& item, const LanguageTable& language) {
  std::string caption(1, ' ');
  caption.append(language.Text("Str200")).append(1, ' ').append(TextOf(item, language));
  return caption;
}

MenuBox PlaceMainMenu(const MenuBox& label, int width, int height, int client_width,
                      int client_height) {
  const int centre_x = label.x + label.width / 2;
  const int centre_y = label.y + label.height / 2;
  MenuBox box{centre_x, centre_y, width, height};
  if (centre_x + width > client_width) box.x = centre_x - width;
  if (centre_y + height > client_height) box.y = centre_y - height;
  return box;
}

MenuBox PlaceSubmenu(const MenuBox& parent, const MenuBox& entry, int width, int height,
                     int client_width, int client_height, bool leftward) {
  MenuBox box{parent.x + entry.x + entry.width + 2, parent.y + entry.y, width, height};
  if (box.x + width > client_width || (leftward && parent.x - width >= 0)) box.x = parent.x - width;
  if (box.y + height > client_height) box.y = parent.y + entry.y + entry.height - height;
  return box;
}

}  // namespace vrdk
