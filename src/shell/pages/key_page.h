// gbPage1: the key page shared by the three mode pages (Main, Switch and
// Fixed Control): the key labels Key1 .. Key12 over their pictures
// Img_Key1 .. Img_Key12, captioned with the shown profile's function names,
// and the mode-switch options IB_ComboKey1 .. IB_ComboKey7 with their check
// pictures Img_ComboKey1 .. Img_ComboKey7.
//
// A click on a key opens the key-function menus beside it (its picture shows
// the selected look until they close); a menu entry, a macro of the mouse or
// a combination from the key-combination dialog then becomes the key's
// function through the key assignment editor, which writes the profiles.
#pragma once

#include <QList>
#include <QPointer>

#include "shell/page.h"
#include "shell/pages/key_combination_dialog.h"

namespace vrdk::shell {

class KeyMenus;
class PictureLabel;
class SkinLabel;

class KeyPage : public Page {
  Q_OBJECT
 public:
  static constexpr int kKeys = 12;
  static constexpr int kComboKeys = 7;

  KeyPage(ShellServices& services, QWidget* parent);
  void ShowState() override;
  void ApplyLanguage() override;
  void HideMenus() override;

  SkinLabel* Key(int n) const { return keys_.value(n - 1); }
  // The key-combination dialog while it is open.
  TForm2* CombinationDialog() const { return dialog_; }

  // The handlers.
  void ShowPnlMain_OnClick(int key);
  void KeyStatusOnClick(int tag);
  void Key_AssemblyClick();
  void LB_NameClick(int item);
  // IB_ComboKey1Click .. IB_ComboKey7Click: gesture option 1..7.
  void IB_ComboKeyClick(int toggle);

 private:
  void KeyEntered(int key);
  void KeyLeft(int key);
  void CombinationConfirmed(const QString& code, const QString& caption);
  // The key's picture at rest: selected while its menus are open.
  void ShowKeyPicture(int key, const char* picture);

  QList<PictureLabel*> pictures_;
  QList<SkinLabel*> keys_;
  QList<PictureLabel*> combo_pictures_;
  QList<SkinLabel*> combo_keys_;
  KeyMenus* menus_ = nullptr;
  int edited_ = 0;  // the key the menus were opened for, 1..12; 0 before any
  QPointer<TForm2> dialog_;
};

}  // namespace vrdk::shell
