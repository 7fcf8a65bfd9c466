// gbPage5: the update page. The user picks a patch code file (Btn_LoadBIN,
// "Load File"), sees its path in lbl_LoadBIN under the caption lbl_BINPath,
// and programs it into the mouse (Btn_Program, "Update"), which restarts the
// mouse. A file the core refuses is named in a message and nothing is sent;
// the loading window shows while the patch is written.
#pragma once

#include "shell/page.h"

class QLabel;

namespace vrdk::shell {

class PictureLabel;
class SkinLabel;

class UpdatePage : public Page {
  Q_OBJECT
 public:
  UpdatePage(ShellServices& services, QWidget* parent);
  void ApplyLanguage() override;
  void ShowState() override;
  void Shown() override { ShowState(); }

  void Btn_LoadBINClick();
  void Btn_ProgramClick();

 private:
  SkinLabel* AddButton(const QString& stem);

  QLabel* path_caption_;  // lbl_BINPath
  QLabel* field_;         // the frame the path is shown in
  QLabel* loaded_;        // lbl_LoadBIN
  SkinLabel* load_;       // Btn_LoadBIN
  SkinLabel* program_;    // Btn_Program
};

}  // namespace vrdk::shell
