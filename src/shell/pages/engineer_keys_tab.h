// The engineer page's key tab (ts_Operator): the twelve buttons of each
// profile (btn_Key101 .. btn_Key312 in gbProfile1 .. gbProfile3), the nine
// combination-key slots (btn_ComboKey001 .. btn_ComboKey009 in gbComboKey),
// the profile-switch parameters, the combination bits, the DPI lists and the
// LED type list.
//
// A click on a key or slot button asks for the key menu through one hook;
// the menu hands its choice back to the key assignment editor (see
// EngineerPage). A right click on a key button opens LB_Script, the list of
// fire-macro scripts, whose click assigns the script to that key.
#pragma once

#include <QList>
#include <QWidget>
#include <functional>
#include <optional>

#include "keys/editors/key_assignment.h"
#include "session/session_events.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vrdk::shell {

class NumberField;
class ShellServices;

// The engineer target a button's name stands for: btn_Key205 is profile 2,
// button 5; btn_ComboKey003 is combination slot 3.
std::optional<keys::KeyTarget> EngineerTargetOfName(const QString& name);
QString EngineerButtonName(const keys::KeyTarget& target);

class EngineerKeysTab : public QWidget {
  Q_OBJECT
 public:
  using KeyMenuHook = std::function<void(const keys::KeyTarget& target, const QPoint& global_at)>;

  // LB_Script is a pop-up over `popup_parent` (the page).
  EngineerKeysTab(ShellServices& services, QWidget* popup_parent, QWidget* parent);
  void ShowState();
  // The key and slot buttons' captions (after an assignment or a rewrite).
  void ShowCaptions();
  void SetKeyMenuHook(KeyMenuHook hook) { key_menu_ = std::move(hook); }
  void HideMenus();
  // The mouse's DPI and profile buttons tick the test boxes.
  void ShowButtonTests(const ButtonTests& tests);

  // TLShowPnlMain_OnClick: a key or slot button was clicked.
  void KeyButtonClicked(const keys::KeyTarget& target, const QPoint& global_at);
  // LB_Script for engineer key 101..312 at a point of the screen; nothing
  // opens while there are no scripts.
  void ShowScriptMenu(int key, const QPoint& global_at);
  void LB_ScriptClick(int item);

 private:
  QWidget* BuildProfile(int profile);
  QWidget* BuildComboKeys();
  QWidget* BuildProfileSetting();
  QWidget* BuildComboEnable();
  QWidget* BuildCpi();
  QWidget* BuildLedType();
  QWidget* BuildEffectColours();
  QPushButton* KeyButton(QWidget* parent, const keys::KeyTarget& target);
  void ProfileSettingChanged();
  void ShowCpi();

  ShellServices& services_;
  QWidget* popup_parent_;
  KeyMenuHook key_menu_;
  QList<QPushButton*> key_buttons_;    // btn_Key101 .. btn_Key312, profile by profile
  QList<QLabel*> key_labels_;          // their captions "Key 1" ..
  QList<QPushButton*> combo_buttons_;  // btn_ComboKey001 .. 009
  QList<QComboBox*> combo_bits_;       // cb_MidCom .. cb_CPIDCom by function, then cb_GunCom
  QComboBox* rtz_ = nullptr;
  QComboBox* axy_ = nullptr;
  QComboBox* cc_ = nullptr;
  NumberField* offset_ = nullptr;
  QComboBox* cpi_steps_ = nullptr;
  QComboBox* current_cpi_ = nullptr;
  QList<QComboBox*> cpi_values_;  // cb_CPI1 .. cb_CPI8
  QComboBox* report_rate_ = nullptr;
  QList<QCheckBox*> tests_;  // cb_CPITest, cb_CPIITest, cb_CPIDTest, cb_ProfileTest
  QComboBox* led_type_ = nullptr;
  QList<QComboBox*> profile_colours_;     // cb_Profile1Color .. cb_Profile3Color
  QComboBox* current_profile_ = nullptr;  // cb_Profile
  QComboBox* current_colour_ = nullptr;   // cb_ProfileColor
  QComboBox* button_flash_ = nullptr;     // cb_BtnEFT
  QList<NumberField*> effect_colours_;    // edt_Col1R .. edt_Col10B
  QListWidget* scripts_ = nullptr;        // LB_Script
  int script_key_ = 0;
};

}  // namespace vrdk::shell
