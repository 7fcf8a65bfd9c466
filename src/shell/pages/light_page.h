// gbPage3: the breathing-light page (LED type, effects, steps, colours).
// Until its controls land it shows its title and what it will hold.
#pragma once

#include "shell/page.h"

namespace vrdk::shell {

class LightPage : public Page {
  Q_OBJECT
 public:
  LightPage(ShellServices& services, QWidget* parent) : Page(3, services, parent) {}
  void ApplyLanguage() override;
};

}  // namespace vrdk::shell
