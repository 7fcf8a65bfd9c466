// The macro page's small dialogs: the macro name (Form3), the input-key
// dialog (Form4) and the input-delay dialog (Form5). Each is borderless,
// stays on top and opens centred over the window; its title, edit field and
// buttons lie where the skin's dialog keys (MNT, MNC, MN_Cfm, MN_Clear,
// MN_Close) put them. The window runs them through ShellDialogs::Run, so
// tests can fill and confirm them.
#pragma once

#include <optional>

#include "shell/page.h"
#include "shell/small_dialog.h"

namespace vrdk::shell {

// Form3: up to 8 characters, centred.
class MacroNameDialog : public SmallDialog {
  Q_OBJECT
 public:
  MacroNameDialog(ShellServices& services, const QString& current);
  QString Name() const;
};

// Form4: the last key pressed in the field is the key; a key the tables do
// not know leaves the field as it was.
class OneKeyDialog : public SmallDialog {
  Q_OBJECT
 public:
  explicit OneKeyDialog(ShellServices& services);
  std::optional<int> VirtualKey() const { return virtual_key_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool Acceptable() override { return virtual_key_.has_value(); }

 private:
  std::optional<int> virtual_key_;
};

// Form5: digits only; what is confirmed is held between 1 and 65535.
class DelayDialog : public SmallDialog {
  Q_OBJECT
 public:
  DelayDialog(ShellServices& services, int current);
  int Delay() const;
};

}  // namespace vrdk::shell
