// gbPage4: the macro page (the recorder, the macro library and the mouse's macros).
// Until its controls land it shows its title and what it will hold.
#pragma once

#include "shell/page.h"

namespace vrdk::shell {

class MacroPage : public Page {
  Q_OBJECT
 public:
  MacroPage(ShellServices& services, QWidget* parent) : Page(4, services, parent) {}
  void ApplyLanguage() override;
};

}  // namespace vrdk::shell
