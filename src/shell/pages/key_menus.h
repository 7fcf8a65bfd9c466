// The key-function menus of the key page: Pnl_Main and its submenu panels
// with their entries Key_... as labels, and the list LB_Name of the mouse's
// macros. Hovering over a category opens its submenu (and closes the other
// submenus of its level); the entry under the pointer takes the skin's
// selected colours; a click on a leaf, on Key_Assembly or on a macro is
// told to the page, which assigns it.
// From the keyboard: Up and Down walk a panel's entries, Right (or Enter)
// goes into a category's submenu or the macro list, Left and Esc come back
// out of it, Esc closes Pnl_Main, and Enter or Space chooses an entry.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QRect>
#include <string>
#include <vector>

#include "keys/menu_tree.h"
#include "settings/mode_pages.h"

class QFrame;
class QLabel;
class QListWidget;
class QWidget;

namespace vrdk::shell {

class ShellServices;
class SkinLabel;

class KeyMenus : public QObject {
  Q_OBJECT
 public:
  // The panels are children of `page`, which covers the window.
  KeyMenus(ShellServices& services, QWidget* page);

  // Captions, colours and widths from the language and the skin.
  void ApplyLanguage();
  // Opens Pnl_Main for the key label lying at `label` (window coordinates),
  // with the sizes and profile list of the shown mode page.
  void Open(const QRect& label, const settings::KeyMenuSizes& sizes);
  // HideAllMenu.
  void HideAll();
  bool IsOpen() const;
  // The first entry of Pnl_Main takes the keyboard focus.
  void FocusFirst();
  // Whether an entry or the macro list has the keyboard focus.
  bool HasFocus() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 signals:
  void LeafChosen(int tag);
  void CombinationChosen();
  void MacroChosen(int item);

 private:
  struct Panel {
    const MenuPanel* menu = nullptr;
    QFrame* frame = nullptr;
    QList<SkinLabel*> entries;  // in menu order, shown or not
    int level = 0;              // Pnl_Main 0, its submenus 1, theirs 2
    bool opened_left = false;   // it lies left of the panel that opened it
  };

  void Build(const MenuPanel& menu, int level);
  void LayOut(Panel& panel);
  bool EntryShown(const MenuItem& item) const;
  int EntryTop(const MenuItem& item, int shown_before) const;
  void Entered(Panel& panel, int index);
  void Left(Panel& panel, int index);
  void Clicked(Panel& panel, int index);
  void OpenBeside(Panel& parent, int index, QWidget* submenu);
  void OpenMacroList(Panel& parent, int index);
  // The macros the mouse holds, by name; the macro entries show whether there are any.
  std::vector<std::string> DeviceMacroNames() const;
  void ShowMacroEntries();
  // Hides every panel (and the macro list) deeper than `level`.
  void HideBelow(int level);
  void Highlight(Panel& panel, int index);
  // Keyboard moves; true when the key was taken.
  bool EntryKey(Panel& panel, int index, int key);
  bool MacroListKey(int key);
  // Focuses the first shown entry of `panel` at or after `from` going by
  // `step` (wrapping round); false when none is shown.
  bool FocusEntry(Panel& panel, int from, int step);
  // Into the submenu or macro list an entry opens, and back out.
  bool GoInto(Panel& panel, int index);
  bool GoBack(const Panel& panel);
  void StyleEntry(SkinLabel* entry, bool selected);

  ShellServices& services_;
  QWidget* page_;
  QHash<QString, Panel> panels_;   // by panel name
  QListWidget* macros_ = nullptr;  // LB_Name
  QString macro_parent_;           // the panel whose entry opened LB_Name
  int macro_entry_ = -1;
  settings::KeyMenuSizes sizes_;
};

}  // namespace vrdk::shell
