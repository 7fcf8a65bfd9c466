#include "keys/menu_entries.h"

#include <array>

namespace vrdk {
namespace {

constexpr std::array<MenuEntry, 44> kEntries = {{
    // Pnl_MseKey
    {900, "Str210", "Key_Left"},
    {901, "Str211", "Key_Right"},
    {902, "Str212", "Key_Middle"},
    {903, "Str214", "Key_B4"},
    {904, "Str213", "Key_B5"},
    // Pnl_Special and its submenus Pnl_CPIKey, Pnl_FireKey, Pnl_Profile
    {2000, "Str221", "Key_CPI"},
    {2001, "Str222", "Key_CPII"},
    {2002, "Str223", "Key_CPID"},
    {2100, "Str231", "Key_Fire1"},
    {2101, "Str232", "Key_Fire2"},
    {2102, "Str233", "Key_Fire3"},
    {2300, "Str251", "Key_Profile1"},
    {2301, "Str252", "Key_Profile2"},
    {2302, "Str253", "Key_Profile3"},
    {2303, "Str254", "Key_Profile"},
    {1000, "Str260", "Key_AIM"},
    {1001, "Str261", "Key_LEDMode"},
    {1002, "Str262", "Key_LEDSwitch"},
    {1004, "Str264", "Key_ReportRate"},
    {1007, "Str277", "Key_KeyOff"},
    {2200, "Str241", "Key_PowerDown", true},
    {2201, "Str242", "Key_Sleep", true},
    {2202, "Str243", "Key_WakeUp", true},
    {2400, "Str268", "Key_MACOSBack", true},
    {2401, "Str269", "Key_MACOSForward", true},
    {1003, "Str263", "Key_BtnEFT", true},
    // Pnl_Media
    {1100, "Str270", "Key_PlayPause"},
    {1101, "Str271", "Key_Stop"},
    {1102, "Str272", "Key_PreviousTrack"},
    {1103, "Str273", "Key_NextTrack"},
    {1104, "Str274", "Key_VolumePlus"},
    {1105, "Str275", "Key_VolumeMinus"},
    {1106, "Str276", "Key_Mute"},
    // Pnl_WWW
    {1200, "Str280", "Key_WWWHome"},
    {1201, "Str281", "Key_WWWSearch"},
    {1202, "Str282", "Key_WWWBack"},
    {1203, "Str283", "Key_WWWForward"},
    {1204, "Str284", "Key_WWWStop"},
    {1205, "Str285", "Key_WWWRefresh"},
    {1206, "Str286", "Key_WWWFavorites"},
    // Pnl_MyPC
    {1300, "Str290", "Key_Computer"},
    {1301, "Str291", "Key_Calculator"},
    {1302, "Str292", "Key_EMail"},
    {1303, "Str293", "Key_Desktop"},
}};

}  // namespace

std::span<const MenuEntry> MenuEntries() { return kEntries; }

const MenuEntry* FindMenuEntry(int tag) {
  for (const MenuEntry& entry : kEntries) {
    if (entry.tag == tag) return &entry;
  }
  return nullptr;
}

}  // namespace vrdk
