// gbPage2: the advanced page (DPI levels, polling rate, fire keys, the AIM key, the system pointer
// settings). Until its controls land it shows its title and what it will hold.
#pragma once

#include "shell/page.h"

namespace vrdk::shell {

class DpiPage : public Page {
  Q_OBJECT
 public:
  DpiPage(ShellServices& services, QWidget* parent) : Page(2, services, parent) {}
  void ApplyLanguage() override;
};

}  // namespace vrdk::shell
