// A pop-up panel of text entries (Pnl_PCMacro, Pnl_DevMacro, Pnl_DevContent):
// a bordered list in the key menus' colours whose entry under the pointer
// takes the selected colours; a click on an entry closes the panel and runs
// the entry's action. From the keyboard: Up and Down walk the entries, Enter
// or Space chooses one, Esc closes the panel and gives the focus back.
#pragma once

#include <QFrame>
#include <QPointer>
#include <functional>

#include "shell/page.h"

namespace vrdk::shell {

class SkinLabel;

class MenuPanel : public QFrame {
  Q_OBJECT
 public:
  MenuPanel(const QString& name, QWidget* parent);
  // An entry's text in the language shown.
  using Caption = std::function<QString(ShellServices&)>;
  static Caption Key(const char* language_key);
  // An entry named `name` with its caption.
  void AddEntry(const QString& name, Caption caption, std::function<void()> action);
  // Captions and colours again (after a language switch).
  void Restyle(ShellServices& services);
  // Opens at `at` (in the parent's coordinates), moved up by its own height
  // when it would leave the parent at the bottom, and left at the right.
  void OpenAt(QPoint at);
  // The first entry takes the focus; it goes back to `back` on closing.
  void FocusFirst(QWidget* back);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Entry {
    SkinLabel* label;
    Caption caption;
  };
  QList<Entry> entries_;
  QPointer<QWidget> back_;
};

}  // namespace vrdk::shell
