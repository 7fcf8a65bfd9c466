// TForm2: the key-combination dialog. Borderless, on top of the window and
// centred over it, on the "Msg" picture: the title Str500, the edit box
// Edt_Assembly that takes up to two key presses, the check boxes CB_Ctrl,
// CB_Shift, CB_Alt, CB_Win and CB_Tab, confirm (Str501), clear (Str502) and
// close. The rules of the combination are the core's (KeyCombinationDialog);
// confirming hands its code and the edit text to whoever opened the dialog.
#pragma once

#include "keys/key_combination.h"
#include "shell/small_dialog.h"

class QCheckBox;
class QLineEdit;

namespace vrdk::shell {

class ShellServices;
class SkinLabel;

class TForm2 : public SmallDialog {
  Q_OBJECT
 public:
  explicit TForm2(ShellServices& services);

  // Shows the dialog centred over the window, which takes no input meanwhile.
  void Open();
  const KeyCombinationDialog& Combination() const { return combination_; }

  // The handlers.
  void Edt_AssemblyKeyDown(QKeyEvent* event);
  void IB_ConfirmClick();
  void IB_CancelClick();
  void IB_CloseClick() { close(); }

 signals:
  // The code "02" + modifiers + key 1 + key 2 and the caption it is shown with.
  void Confirmed(const QString& code, const QString& caption);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void ConfirmClicked() override { IB_ConfirmClick(); }
  void ClearClicked() override { IB_CancelClick(); }
  void CloseClicked() override { IB_CloseClick(); }

 private:
  void CheckBoxChanged(int box, bool checked);
  void ShowText();

  KeyCombinationDialog combination_;
  QCheckBox* boxes_[5] = {};
};

}  // namespace vrdk::shell
