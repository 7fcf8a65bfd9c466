// gbPage7: the engineer page (1256 x 680, its own size) with the page
// control Pg_Parameter and its tabs ts_Engineer (chip options, sensor
// registers, USB identity, XData), ts_Gun (fire-macro scripts, recoil
// offsets) and ts_Operator (the key grid, combination slots and bits,
// profile-switch parameters, DPI and LED type lists), its own Main Control,
// save and load buttons (Btn_Main_6, Btn_Save_6, Btn_Load_6), the hidden
// Btn_Default, Btn_ImportBaseMacro and Btn_PatchCode, and the close button
// Btn_Close. Its captions come from the engineering term table in the
// system's language; the language buttons do not change them.
//
// The hidden access: double-clicks on the logo Img_Logo4 count, every fifth
// asks for the code in dlgPass; one code unlocks, the other unlocks and
// reveals ts_Gun, ts_Engineer, Btn_Default, Btn_ImportBaseMacro,
// Btn_PatchCode and enables lbl_LEDMode and cb_LEDMode; a double-click while
// unlocked locks and hides them again.
//
// The key menu: a click on btn_Key101 .. btn_Key312 or btn_ComboKey001 ..
// 009 calls the key-menu hook with the button's engineer target and the
// point under it. The menu then hands the chosen leaf (or a code of the
// key-combination dialog) to AssignMenuEntry / AssignCode, which assign it
// through the key assignment editor, without the left-click guard, and show
// the new captions.
#pragma once

#include <optional>

#include <functional>
#include <string>

#include "keys/editors/key_assignment.h"
#include "shell/page.h"

class QTabWidget;

namespace vrdk::shell {

class KeyMenus;

class EngineerChipTab;
class EngineerGunTab;
class EngineerKeysTab;

class EngineerPage : public Page {
  Q_OBJECT
 public:
  // "Key menu wanted for engineer target T at this point of the screen."
  using KeyMenuHook = std::function<void(const keys::KeyTarget& target, const QPoint& global_at)>;

  EngineerPage(ShellServices& services, QWidget* parent);
  void ApplyLanguage() override;
  void ShowState() override;
  void Shown() override;
  void HideMenus() override;
  void ShowButtonTests(const ButtonTests& tests) override;

  void SetKeyMenuHook(KeyMenuHook hook);
  // The key menu's choice for an engineer target: a leaf by its menu tag, or
  // a code made by the key-combination dialog with the caption it showed.
  keys::AssignResult AssignMenuEntry(const keys::KeyTarget& target, int tag);
  keys::AssignResult AssignCode(const keys::KeyTarget& target, const std::string& code,
                                const std::string& caption);

  // Img_LogoDblClick.
  void LogoDoubleClicked();
  // dlgPass at once, as the fifth double-click would (vrdk-mouse --engineer).
  void AskAccessCode();

  void Btn_DefaultClick();
  void Btn_ImportBaseMacroClick();
  void Btn_PatchCodeClick();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Makes the tabs' controls in place of their stand-ins, once.
  void Build();
  void ShowRevealed(bool revealed);
  // The key menus, shared with the key page, opened for an engineer key.
  void OpenKeyMenus(const keys::KeyTarget& target, const QPoint& global_at);
  void AssignMacro(int item);
  void OpenCombinationDialog();

  QTabWidget* tabs_;
  KeyMenus* menus_ = nullptr;
  std::optional<keys::KeyTarget> menu_target_;
  KeyMenuHook key_menu_hook_;  // set from outside; else the key menus open
  EngineerChipTab* chip_ = nullptr;
  EngineerGunTab* gun_ = nullptr;
  EngineerKeysTab* keys_ = nullptr;  // set once built
};

}  // namespace vrdk::shell
