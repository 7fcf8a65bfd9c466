// The macro page's three pop-up menus and what their entries do: Pnl_PCMacro
// on the library (new, rename, delete, add to the mouse, imports and
// exports), Pnl_DevMacro on the mouse's macros (delete, write, export,
// import) and Pnl_DevContent on a library macro's lines (edit, delete,
// insert). A right click or the menu key opens them.

#include "shell/pages/macro_page.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>

#include "macros/line_editing.h"
#include "shell/dialogs.h"
#include "shell/macro_dialogs.h"
#include "shell/menu_panel.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

const QString kImportFilter = QStringLiteral("LoadFile(*.bin)");
const QString kExportFilter = QStringLiteral("SaveFile(*.bin)");

}  // namespace

void MacroPage::BuildPanels() {
  pc_panel_ = new MenuPanel(QStringLiteral("Pnl_PCMacro"), this);
  pc_panel_->AddEntry(QStringLiteral("Btn_NewMacro"), MenuPanel::Key("Str432"),
                      [this] { Btn_NewClick(); });
  pc_panel_->AddEntry(QStringLiteral("Btn_NewName"), MenuPanel::Key("Str402"),
                      [this] { Btn_NewNameClick(); });
  pc_panel_->AddEntry(QStringLiteral("Btn_DelPCMacro"), MenuPanel::Key("Str433"),
                      [this] { Btn_DelPCMacroClick(); });
  pc_panel_->AddEntry(QStringLiteral("Btn_AddMacro"), MenuPanel::Key("Str434"),
                      [this] { Btn_AddMacroClick(); });
  pc_panel_->AddEntry(QStringLiteral("Btn_ImportOne"), MenuPanel::Key("Str406"),
                      [this] { Btn_ImportOneClick(); });
  pc_panel_->AddEntry(QStringLiteral("Btn_ExportOne"), MenuPanel::Key("Str404"),
                      [this] { Btn_ExportOneClick(); });
  pc_panel_->AddEntry(QStringLiteral("Btn_Import"), MenuPanel::Key("Str407"),
                      [this] { Btn_ImportClick(); });
  pc_panel_->AddEntry(QStringLiteral("Btn_Export"), MenuPanel::Key("Str405"),
                      [this] { Btn_ExportClick(); });
  device_panel_ = new MenuPanel(QStringLiteral("Pnl_DevMacro"), this);
  device_panel_->AddEntry(QStringLiteral("Btn_DelMacro"), MenuPanel::Key("Str408"),
                          [this] { Btn_DelMacroClick(); });
  // The tables have no text for writing the store again: the page's own.
  const auto save_caption = [](ShellServices& services) {
    return FromUtf8(OwnTextFor(OwnText::kWriteMacrosToMouse, services.Skin().language));
  };
  device_panel_->AddEntry(QStringLiteral("Btn_SaveMacro"), save_caption,
                          [this] { Btn_SaveMacroClick(); });
  device_panel_->AddEntry(QStringLiteral("Btn_DevExport"), MenuPanel::Key("Str405"),
                          [this] { Btn_DevExportClick(); });
  device_panel_->AddEntry(QStringLiteral("Btn_DevImport"), MenuPanel::Key("Str407"),
                          [this] { Btn_DevImportClick(); });
  content_panel_ = new MenuPanel(QStringLiteral("Pnl_DevContent"), this);
  content_panel_->AddEntry(QStringLiteral("Btn_Edit"), MenuPanel::Key("Str435"),
                           [this] { Btn_EditClick(); });
  content_panel_->AddEntry(QStringLiteral("Btn_Del"), MenuPanel::Key("Str408"),
                           [this] { Btn_DelClick(); });
  content_panel_->AddEntry(QStringLiteral("Btn_Insert"), MenuPanel::Key("Str409"),
                           [this] { Btn_InsertClick(); });
}

void MacroPage::HideMenus() {
  pc_panel_->hide();
  device_panel_->hide();
  content_panel_->hide();
}

bool MacroPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    // The menu key, or Shift+F10, opens a list's panel at its current row.
    auto* list = qobject_cast<QListWidget*>(watched);
    const auto* key = static_cast<const QKeyEvent*>(event);
    const bool menu_key = key->key() == Qt::Key_Menu ||
                          (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
    if (list == nullptr || !menu_key) return Page::eventFilter(watched, event);
    HideMenus();
    if (Recording()) return true;
    QListWidgetItem* item = list->currentItem();
    const QRect row = item != nullptr ? list->visualItemRect(item) : QRect();
    OpenPanel(list, item, list->viewport()->mapTo(this, row.isValid() ? row.center() : QPoint()),
              true);
    return true;
  }
  if (event->type() != QEvent::MouseButtonPress) return Page::eventFilter(watched, event);
  const auto* mouse = static_cast<const QMouseEvent*>(event);
  auto* list = qobject_cast<QListWidget*>(watched->parent());
  if (list == nullptr) return Page::eventFilter(watched, event);
  HideMenus();
  if (mouse->button() != Qt::RightButton || Recording()) return false;
  // The right button first selects the item under the pointer.
  QListWidgetItem* item = list->itemAt(mouse->position().toPoint());
  if (item != nullptr) list->setCurrentItem(item);
  OpenPanel(list, item, list->viewport()->mapTo(this, mouse->position().toPoint()), false);
  return true;
}

void MacroPage::OpenPanel(QListWidget* list, QListWidgetItem* item, QPoint at, bool keyboard) {
  MenuPanel* panel = nullptr;
  if (list == pc_names_) {
    if (item != nullptr) ShowLibraryMacro();
    panel = pc_panel_;
  } else if (list == device_names_) {
    if (item != nullptr) ShowDeviceMacro();
    panel = device_panel_;
  } else if (source_ == Source::kLibrary && SelectedLibraryMacro() && !inserting_) {
    panel = content_panel_;
  }
  if (panel == nullptr) return;
  panel->OpenAt(at);
  if (keyboard) panel->FocusFirst(list);
}

// --- Library -------------------------------------------------------------------------------------

void MacroPage::Btn_NewClick() {
  HideMenus();
  if (Recording() || library_.Full()) return;
  ClearEditor();
  MacroNameDialog dialog(services_, QString());
  if (!services_.Dialogs().Run(dialog) || dialog.Name().isEmpty()) return;
  const auto added = library_.New(dialog.Name().toStdU16String());
  if (!added.ok()) {
    ShowOutcome(added);
    return;
  }
  RefreshPCMacroName(library_.Count() - 1);
  ShowLibraryMacro();
}

void MacroPage::Btn_NewNameClick() {
  HideMenus();
  const auto index = SelectedLibraryMacro();
  if (!index || Recording()) return;
  MacroNameDialog dialog(services_, pc_names_->currentItem()->text());
  if (!services_.Dialogs().Run(dialog) || dialog.Name().isEmpty()) return;
  const auto renamed = library_.Rename(*index, dialog.Name().toStdU16String());
  if (!renamed.ok()) {
    ShowOutcome(renamed);
    return;
  }
  RefreshPCMacroName(*index);
}

void MacroPage::Btn_DelPCMacroClick() {
  HideMenus();
  const auto index = SelectedLibraryMacro();
  if (!index || Recording()) return;
  ClearEditor();
  const auto deleted = library_.Delete(*index);
  if (!deleted.ok()) {
    ShowOutcome(deleted);
    return;
  }
  RefreshPCMacroName(macros::SelectionAfterDelete(*index, library_.Count()).value_or(-1));
  if (SelectedLibraryMacro()) ShowLibraryMacro();
}

QString MacroPage::ImportFile() { return services_.Dialogs().OpenFileName(this, kImportFilter); }

QString MacroPage::ExportFile() {
  const QString chosen = services_.Dialogs().SaveFileName(this, kExportFilter);
  if (chosen.isEmpty()) return {};
  // ".bin" is always appended; the question is about the file really written.
  const QString path = chosen + QStringLiteral(".bin");
  if (QFileInfo::exists(path) && !services_.Dialogs().ConfirmReplace(this, path)) return {};
  return path;
}

void MacroPage::Btn_ImportOneClick() {
  HideMenus();
  if (Recording()) return;
  const QString path = ImportFile();
  if (path.isEmpty()) return;
  ClearEditor();
  const auto imported = library_.ImportOne(path.toStdString());
  if (!imported.ok()) {
    ShowOutcome(imported);
    return;
  }
  RefreshPCMacroName(library_.Count() - 1);
  ShowLibraryMacro();
}

void MacroPage::Btn_ImportClick() {
  HideMenus();
  if (Recording()) return;
  const QString path = ImportFile();
  if (path.isEmpty()) return;
  ClearEditor();
  if (const auto imported = library_.ImportAll(path.toStdString()); !imported.ok()) {
    ShowOutcome(imported);
  }
  RefreshPCMacroName(-1);
}

void MacroPage::Btn_ExportOneClick() {
  HideMenus();
  const auto index = SelectedLibraryMacro();
  if (!index) return;
  const QString path = ExportFile();
  if (path.isEmpty()) return;
  if (const auto saved = library_.ExportOne(*index, path.toStdString()); !saved.ok()) {
    ShowOutcome(saved);
  }
}

void MacroPage::Btn_ExportClick() {
  HideMenus();
  const QString path = ExportFile();
  if (path.isEmpty()) return;
  if (const auto saved = library_.ExportAll(path.toStdString()); !saved.ok()) ShowOutcome(saved);
}

// --- The mouse's macros --------------------------------------------------------------------------

void MacroPage::Btn_AddMacroClick() {
  HideMenus();
  macros::DeviceMacros* store = Store();
  const auto index = SelectedLibraryMacro();
  if (store == nullptr || !index || Recording()) return;
  ClearEditor();
  const auto added = store->Add(library_.Records()[static_cast<std::size_t>(*index)]);
  RefreshMacroName(device_names_->count() > 0 && added.ok()
                       ? std::optional<int>(static_cast<int>(store->Names().size()) - 1)
                       : std::nullopt);
  device_names_->scrollToBottom();
  ShowOutcome(added);
  if (added.ok()) services_.GetSession().Events().RefreshPages();
}

void MacroPage::Btn_DelMacroClick() {
  HideMenus();
  macros::DeviceMacros* store = Store();
  const auto item = SelectedDeviceMacro();
  if (store == nullptr || !item || Recording()) return;
  ClearEditor();
  const auto deleted = store->Delete(*item);
  const int count = static_cast<int>(store->Names().size());
  RefreshMacroName(deleted.ok() ? macros::SelectionAfterDelete(*item, count).value_or(-1) : *item);
  ShowOutcome(deleted);
  // The buttons that played a macro were re-pointed: their captions change.
  services_.GetSession().Events().RefreshPages();
}

void MacroPage::Btn_SaveMacroClick() {
  HideMenus();
  if (macros::DeviceMacros* store = Store()) ShowOutcome(store->Save());
}

void MacroPage::Btn_DevExportClick() {
  HideMenus();
  macros::DeviceMacros* store = Store();
  if (store == nullptr) return;
  const QString path = ExportFile();
  if (path.isEmpty()) return;
  ShowOutcome(store->Export(path.toStdString()));
}

void MacroPage::Btn_DevImportClick() {
  HideMenus();
  macros::DeviceMacros* store = Store();
  if (store == nullptr || Recording()) return;
  const QString path = ImportFile();
  if (path.isEmpty()) return;
  ClearEditor();
  ShowOutcome(store->Import(path.toStdString()));
  RefreshMacroName(-1);
  services_.GetSession().Events().RefreshPages();
}

// --- Line editing --------------------------------------------------------------------------------

bool MacroPage::StoreLines(const macros::MacroText& lines, std::optional<int> select_row) {
  const auto index = SelectedLibraryMacro();
  if (!index) return false;
  const auto stored = library_.SetLines(*index, lines);
  const int top = lines_list_->verticalScrollBar()->value();
  ShowLibraryMacro();
  lines_list_->verticalScrollBar()->setValue(top);
  if (!stored.ok()) {
    ShowOutcome(stored);
    return false;
  }
  if (select_row && lines_list_->count() > 0) {
    lines_list_->setCurrentRow(std::clamp(*select_row, 0, lines_list_->count() - 1));
  }
  return true;
}

void MacroPage::Btn_EditClick() {
  HideMenus();
  const auto row = SelectedLine();
  if (!row || source_ != Source::kLibrary || Recording()) return;
  const std::size_t line = static_cast<std::size_t>(*row) + 1;
  macros::MacroText lines = shown_;
  switch (macros::ChangeOf(lines, line)) {
    case macros::LineChange::kDelay: {
      DelayDialog dialog(services_, macros::DelayOf(lines[line]));
      if (!services_.Dialogs().Run(dialog)) return;
      macros::EditDelayLine(lines, line, dialog.Delay());
      break;
    }
    case macros::LineChange::kKey: {
      OneKeyDialog dialog(services_);
      if (!services_.Dialogs().Run(dialog) || !dialog.VirtualKey()) return;
      macros::EditKeyLine(lines, line, *dialog.VirtualKey());
      break;
    }
    case macros::LineChange::kNone:
      return;
  }
  StoreLines(lines, *row);
}

void MacroPage::Btn_DelClick() {
  HideMenus();
  const auto row = SelectedLine();
  if (!row || source_ != Source::kLibrary || Recording()) return;
  macros::MacroText lines = shown_;
  const auto deleted = macros::DeleteLine(lines, static_cast<std::size_t>(*row) + 1);
  if (deleted.ok()) {
    StoreLines(lines, std::max(0, *row - 1));
  } else if (!deleted.message().empty()) {
    services_.ShowMessageText(FromUtf8(deleted.message()));
  }
}

}  // namespace vrdk::shell
