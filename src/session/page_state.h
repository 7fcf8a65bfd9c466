// The working state of the pages: what each page shows from DataBuf and the
// logic reads back, and the values that reach the mouse but not DataBuf,
// kept here until the next read.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "image/code_text.h"
#include "image/image_split.h"
#include "image/layout.h"
#include "image/led_type.h"
#include "image/memory_type.h"
#include "session/session_events.h"

namespace vrdk {

// The DPI levels as the DPI page and the engineer page hold them. The count,
// the values and the current level are written to the mouse but not back
// into DataBuf; they live here until the next read.
struct DpiState {
  static constexpr int kLevels = 8;
  static constexpr int kValues = 12;       // value indexes 0..11
  static constexpr int kHidden = 15;       // a level that is not shown
  int count = 1;                           // levels enabled, 1..8 (levels 1..count)
  std::array<int, kLevels> values{};       // the working array: value index per level
  std::array<int, kLevels> combo_items{};  // cb_CPI1 .. cb_CPI8 (engineer page)
  int current = 0;                         // cb_CurrentCPI: the current level, 0-based
  int selected = 0;                        // the level whose radio rb_DPIn is checked
};

// The lighting controls. User byte 1, the breathing values and the MCU LED
// items reach the mouse but not DataBuf; they live here until the next read.
struct LedState {
  static constexpr int kEffects = 7;
  std::array<bool, kEffects> effect_enabled{};  // cb_Mode0 .. cb_Mode6
  std::vector<std::string> effect_list;         // cb_BreMode items; "------" for a disabled one
  int effect_item = 0;                          // cb_BreMode
  int led_count_item = 0;                       // cb_LEDNum: 1..8 LEDs ("NT")
  int step_time = 0;                            // edt_StepTime
  // edt_Lower, edt_Upper, edt_LowerTime, edt_UpperTime.
  std::array<int, 4> breath{};
  int mcu_step_item = 0;   // cb_MCULEDStep: 0..7
  int mcu_ctrl_item = 0;   // cb_MCULEDCtrl: 0 "6-Step Scan", 1 "3-Step Scan"
  int mcu_count_item = 0;  // cb_MCULEDNum: 4..13 LEDs
  int profile_item = 0;    // cb_Profile
};

// The engineer page's own controls: cb_GunCom and the hidden access.
struct EngineerState {
  int gun_combination_item = 0;  // cb_GunCom: 0..8
  int unlock_clicks = 0;         // UnlockClicks
  bool unlocked = false;         // EngineerUnlocked
  bool revealed = false;         // the hidden tabs and buttons are shown
  // The page was open when the mouse left (its own restarts: "Default", a
  // patch, an LED type change): the next read shows it again.
  bool shown_again = false;
};

// The system pointer settings page: the steps shown (1..11) and switches.
struct PointerState {
  int speed_step = 11;
  int double_click_step = 7;
  int wheel_step = 3;
  int remembered_wheel_step = 3;  // the last wheel choice, for whole-screen off
  bool acceleration = false;      // cb_IsControl
  bool whole_screen = false;      // cb_IsScreen
};

// Working state that the pages show from DataBuf and the logic reads back.
struct PageState {
  image::LedType led_type = image::LedType::kUnknown;  // LED type shown
  std::optional<int> package;                          // cb_Package index
  std::string patch_checksum_text;                     // edt_PatCodeCk
  // lbl_LoadBIN: the patch file loaded on the Update page; empty while none
  // is (BinLoaded clear).
  std::string loaded_patch_file;
  // That file's patch, held apart from the mouse's buffers until it is
  // programmed: until then the mouse's own header goes with every write of
  // the patch header (the MCU LED section lies in it).
  struct LoadedPatch {
    MemoryType type = MemoryType::kI2C;
    std::array<std::uint8_t, image::kPatchHeaderSize> header{};    // "I2C"
    std::array<std::uint8_t, image::kPatchCodeSize> code{};        // "I2C"
    std::array<std::uint8_t, image::kPatchCodeSize> flash_code{};  // "Flash"
  };
  std::optional<LoadedPatch> loaded_patch;
  void ForgetLoadedPatch() {
    loaded_patch_file.clear();
    loaded_patch.reset();
  }
  image::CodeTexts code_texts;  // button code display strings
  // The display name of every button (NameForCode in the current language);
  // editors find buttons by these names.
  std::array<std::array<std::string, image::kKeysPerProfile>, image::kProfileCount> names;
  // Captions of the main page's Key1 .. Key12 (the shown profile), of the
  // engineer page's btn_Key101 .. btn_Key312, and of its nine combination
  // slots btn_ComboKey001 .. btn_ComboKey009.
  std::array<std::string, image::kKeysPerProfile> key_captions;
  std::array<std::array<std::string, image::kKeysPerProfile>, image::kProfileCount>
      engineer_captions;
  std::array<std::string, image::kCombinationSlots> combination_captions;
  bool no_device_shown = true;  // NoDeviceShown
  int mode_page = 1;            // rb_1 Main, rb_2 Switch, rb_3 Fixed Control
  int shown_page = 1;           // gbPage shown
  ButtonTests button_tests;     // the button-test check boxes
  // The polling rate remembered (Hz) and whether it changed since shown.
  std::optional<int> last_polling_rate_sent;
  bool polling_rate_changed = false;
  DpiState dpi;
  int profile_colour_item = 0;  // cb_ProfileColor: 0..9 colours 1..10, 10 the specified colour
  int game_gesture_item = 0;    // cb_ChangeFireFun: 0 none .. 6 Right + Forward
  int led_gesture_item = 0;     // cb_ChangeLEDModeFun: 0 none, 1 Right + Back
  int button_effect_item = 0;   // cb_BtnEFT: 0 off, 1 on
  LedState led;
  EngineerState engineer;
  PointerState pointer;
  image::RepairedSections repaired;  // sections the last fill repaired
  // Moves on whenever DataBuf is filled anew (a read, a reset, the defaults):
  // every box then shows the new values, also one the user was typing in.
  std::uint64_t filled = 0;
};

}  // namespace vrdk
