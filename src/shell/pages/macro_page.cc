// The macro page's lists and what they show: the library's names, the
// mouse's names, and the lines of the macro chosen in either.

#include "shell/pages/macro_page.h"

#include <QListWidget>

#include "macros/line_editing.h"
#include "shell/edit_field.h"
#include "shell/menu_panel.h"
#include "shell/pages/macro_controls.h"
#include "shell/pages/macro_rows.h"
#include "shell/pictures.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

using macros::DelayMode;

}  // namespace

MacroPage::MacroPage(ShellServices& services, QWidget* parent) : Page(4, services, parent) {
  BuildLists();
  BuildButtons();
  BuildDelayGroup();
  BuildInsertPanel();
  BuildPanels();
  connect(PagePicture(), &PictureLabel::Pressed, this, [this] { services_.HideAllMenu(); });
  CloseInsertPanel();
}

MacroPage::~MacroPage() {
  if (capture_) capture_->Stop();
  recording_.reset();  // ends the worker before the page goes
}

QString MacroPage::Text(const char* key) const {
  return QString::fromStdString(services_.Language().Text(key));
}

void MacroPage::BuildLists() {
  const auto make = [this](const QString& name) {
    auto* list = new QListWidget(this);
    list->setObjectName(name);
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setItemDelegate(new MacroRowDelegate(
        name == QLatin1String("LB_macro") ? &services_.GetPictures() : nullptr, list));
    list->viewport()->installEventFilter(this);
    list->installEventFilter(this);  // the menu key opens the panel too
    return list;
  };
  pc_names_ = make(QStringLiteral("LB_PCMacroName"));
  device_names_ = make(QStringLiteral("LB_MacroName"));
  lines_list_ = make(QStringLiteral("LB_macro"));
  connect(pc_names_, &QListWidget::itemClicked, this, [this] { ShowLibraryMacro(); });
  connect(device_names_, &QListWidget::itemClicked, this, [this] { ShowDeviceMacro(); });
}

void MacroPage::BuildButtons() {
  Pictures& pictures = services_.GetPictures();
  const QString family = QStringLiteral("MacroBtnS");
  new_button_ =
      PictureButton(this, pictures, QStringLiteral("New"), family, [this] { Btn_NewClick(); });
  start_button_ =
      PictureButton(this, pictures, QStringLiteral("Start"), family, [this] { Btn_StartClick(); });
}

// --- Showing -------------------------------------------------------------------------------------

void MacroPage::EnsureLibrary() {
  if (library_loaded_) return;
  library_loaded_ = true;
  // CheckPCMacro: the library file in the brand's folder or the user's
  // data folder, created from the blank library when missing.
  const auto path = macros::LibraryPath(services_.GetSession().Brand().macro_folder);
  if (!path) {
    services_.ShowMessageText(QStringLiteral(
        "The macro library has no folder: set XDG_DATA_HOME or HOME. Macros are kept "
        "until the program ends."));
    return;
  }
  if (auto loaded = library_.Load(*path); !loaded.ok()) ShowOutcome(loaded);
  recording_ = std::make_unique<macros::MacroRecording>(
      library_, [this] { return tick_(); },
      [this] {
        // On the recorder's worker: the window takes the lines on its thread.
        QMetaObject::invokeMethod(
            this, [this] { TakeRecorderChanges(); }, Qt::QueuedConnection);
      });
}

macros::DeviceMacros* MacroPage::Store() const {
  return macros::FindDeviceMacros(services_.GetSession());
}

void MacroPage::ShowState() {
  EnsureLibrary();
  if (Recording()) return;  // the lists stay as the recording found them
  RefreshPCMacroName(std::nullopt);
  RefreshMacroName(std::nullopt);
  if (source_ == Source::kMouse && !SelectedDeviceMacro()) ClearEditor();
}

void MacroPage::Shown() {
  // The page shows the insert panel while lines are inserted, else the
  // delay group.
  if (inserting_) {
    ShowInsertControls();
  } else {
    CloseInsertPanel();
  }
}

void MacroPage::RefreshPCMacroName(std::optional<int> select) {
  const int keep = select.value_or(HighlightedRow(pc_names_));
  pc_names_->clear();
  for (const auto& name : library_.Names()) pc_names_->addItem(QString::fromStdU16String(name));
  if (keep >= 0 && keep < pc_names_->count()) pc_names_->setCurrentRow(keep);
  new_button_->setEnabled(!library_.Full() && !Recording());
}

void MacroPage::RefreshMacroName(std::optional<int> select) {
  const int keep = select.value_or(HighlightedRow(device_names_));
  device_names_->clear();
  if (const macros::DeviceMacros* store = Store()) {
    for (const std::string& name : store->Names()) device_names_->addItem(FromUtf8(name));
  }
  if (keep >= 0 && keep < device_names_->count()) device_names_->setCurrentRow(keep);
}

void MacroPage::ClearEditor() {
  lines_list_->clear();
  shown_.clear();
  source_ = Source::kNone;
}

void MacroPage::ShowLines(const macros::MacroText& lines, Source source) {
  lines_list_->clear();
  shown_ = lines;
  source_ = source;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    SetLine(*new QListWidgetItem(lines_list_), lines[i]);
  }
}

void MacroPage::ShowLibraryMacro() {
  HideMenus();
  device_names_->clearSelection();
  device_names_->setCurrentRow(-1);
  ClearEditor();
  const auto index = SelectedLibraryMacro();
  if (!index) return;
  source_ = Source::kLibrary;
  const auto decoded = library_.Lines(*index);
  if (!decoded || !macros::HasEvents(decoded->lines)) return;  // nothing to decode
  ShowLines(decoded->lines, Source::kLibrary);
  // The header says how the macro was recorded: its delay mode is chosen.
  SelectDelayMode(decoded->mode, false);
  if (decoded->mode == DelayMode::kFixed)
    delay_edit_->setText(QString::number(decoded->fixed_delay));
}

void MacroPage::ShowDeviceMacro() {
  HideMenus();
  pc_names_->clearSelection();
  pc_names_->setCurrentRow(-1);
  ClearEditor();
  const macros::DeviceMacros* store = Store();
  const auto item = SelectedDeviceMacro();
  if (store == nullptr || !item) return;
  source_ = Source::kMouse;
  if (const auto decoded = store->Lines(*item)) ShowLines(decoded->lines, Source::kMouse);
}

std::optional<int> MacroPage::SelectedLibraryMacro() const {
  const int row = HighlightedRow(pc_names_);
  if (row < 0 || row >= library_.Count()) return std::nullopt;
  return row;
}

std::optional<int> MacroPage::SelectedDeviceMacro() const {
  const int row = HighlightedRow(device_names_);
  if (row < 0 || row >= device_names_->count()) return std::nullopt;
  return row;
}

std::optional<int> MacroPage::SelectedLine() const {
  const int row = HighlightedRow(lines_list_);
  if (row < 0 || static_cast<std::size_t>(row) + 1 >= shown_.size()) return std::nullopt;
  return row;
}

void MacroPage::ShowOutcome(const Result<void>& outcome) {
  if (outcome.ok()) return;
  if (outcome.Is(ErrorKind::kDuplicate)) {
    services_.ShowMessageKey(macros::MacroLibrary::kDuplicateMessage);
  } else if (outcome.Is(ErrorKind::kNoRoom)) {
    services_.ShowMessageKey(macros::DeviceMacros::kNoRoomMessage);
  } else if (!outcome.message().empty()) {
    services_.ShowMessageText(FromUtf8(outcome.message()));
  }
}

}  // namespace vrdk::shell
