// The engineer page's gun tab (ts_Gun): the fire-macro scripts
// (LB_ScriptName with their parameters, add and delete, kept in
// "Fire Macro.bin") and the recoil offsets edt_XOffset1 .. edt_YOffset10.
#pragma once

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace vrdk::macros {
class FireMacroScripts;
struct FireMacroParameters;
}  // namespace vrdk::macros

namespace vrdk::shell {

class NumberField;
class ShellServices;

class EngineerGunTab : public QWidget {
  Q_OBJECT
 public:
  EngineerGunTab(ShellServices& services, QWidget* parent);
  void ShowState();

  void btn_AddScriptClick();
  void btn_DelScriptClick();
  void LB_ScriptNameClick(int item);
  void cb_SOSTypeChange();

 private:
  QWidget* BuildScripts();
  QWidget* BuildOffsets();
  QWidget* BuildFireKeys();
  void FireKeyEdited(int n);
  macros::FireMacroScripts* Scripts();
  macros::FireMacroParameters Parameters() const;
  void ShowScripts(int select);

  ShellServices& services_;
  QListWidget* names_ = nullptr;  // LB_ScriptName
  QComboBox* type_ = nullptr;     // cb_SOSType: 0 "Disable" (plain form), 1 "Enable" (offset form)
  QComboBox* colour_ = nullptr;   // cb_SOSColor
  QComboBox* keep_left_ = nullptr;
  QComboBox* count_ = nullptr;
  QComboBox* start_ = nullptr;
  QList<QWidget*> plain_form_;   // shown for "Disable"
  QList<QWidget*> offset_form_;  // shown for "Enable"
  QList<NumberField*> x_offsets_;
  QList<NumberField*> y_offsets_;
  QList<QComboBox*> fire_counts_;      // cb_Fire1Count .. cb_Fire3Count: count 1..15
  QList<NumberField*> fire_times_;     // edt_Fire1Time .. edt_Fire3Time
  QList<QCheckBox*> fire_continue_;    // cb_Fire1Continue .. cb_Fire3Continue
  QComboBox* aim_ = nullptr;           // cb_AIM
  QComboBox* game_gesture_ = nullptr;  // cb_ChangeFireFun
};

}  // namespace vrdk::shell
