// gbPage7: the engineer page (1256 x 680, its own size) with the page
// control Pg_Parameter and its tabs ts_Engineer, ts_Gun and ts_Operator, its
// own Main Control, save and load buttons (Btn_Main_6, Btn_Save_6,
// Btn_Load_6) and the close button Btn_Close.
//
// The hidden access: double-clicks on the logo Img_Logo4 count, every fifth
// asks for the code in dlgPass; one code unlocks, the other unlocks and
// reveals ts_Gun, ts_Engineer, Btn_Default, Btn_ImportBaseMacro,
// Btn_PatchCode and enables lbl_LEDMode and cb_LEDMode; a double-click while
// unlocked locks and hides them again.
#pragma once

#include "shell/page.h"

class QTabWidget;

namespace vrdk::shell {

class EngineerPage : public Page {
  Q_OBJECT
 public:
  EngineerPage(ShellServices& services, QWidget* parent);
  void ApplyLanguage() override;
  void ShowState() override;

  // Img_LogoDblClick.
  void LogoDoubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ShowRevealed(bool revealed);

  QTabWidget* tabs_;
};

}  // namespace vrdk::shell
