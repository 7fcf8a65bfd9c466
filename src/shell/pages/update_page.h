// gbPage5: the update page (patch code files programmed into the mouse).
// Until its controls land it shows its title and what it will hold.
#pragma once

#include "shell/page.h"

namespace vrdk::shell {

class UpdatePage : public Page {
  Q_OBJECT
 public:
  UpdatePage(ShellServices& services, QWidget* parent) : Page(5, services, parent) {}
  void ApplyLanguage() override;
};

}  // namespace vrdk::shell
