// gbPage1: the key page shared by the three mode pages (Main, Switch and
// Fixed Control): the key labels Key1 .. Key12 over their pictures
// Img_Key1 .. Img_Key12, captioned with the shown profile's function names,
// and the mode-switch options IB_ComboKey1 .. IB_ComboKey7 with their check
// pictures Img_ComboKey1 .. Img_ComboKey7 (shown; choosing them comes with
// the key menus).
#pragma once

#include <QList>

#include "shell/page.h"

namespace vrdk::shell {

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

  SkinLabel* Key(int n) const { return keys_.value(n - 1); }

 private:
  QList<PictureLabel*> pictures_;
  QList<SkinLabel*> keys_;
  QList<PictureLabel*> combo_pictures_;
  QList<SkinLabel*> combo_keys_;
};

}  // namespace vrdk::shell
