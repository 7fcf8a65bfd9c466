#include "shell/pages/macro_page.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "macros/library_file.h"
#include "shell/dialogs.h"
#include "shell/edit_field.h"
#include "shell/macro_dialogs.h"
#include "shell/menu_panel.h"
#include "shell/pictures.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

// The highlighted row, or -1. A list given the focus gets a current row
// that is not highlighted: nothing may act on it, as the user chose nothing.
int HighlightedRow(const QListWidget* list) {
  const QListWidgetItem* item = list->currentItem();
  return item != nullptr && item->isSelected() ? list->currentRow() : -1;
}

using macros::DelayMode;
using macros::InsertItem;

const QString kImportFilter = QStringLiteral("LoadFile(*.bin)");
const QString kExportFilter = QStringLiteral("SaveFile(*.bin)");
constexpr int kTextLeft = 35;  // where a line's text starts in LB_macro
constexpr int kNameLeft = 8;   // and a name in the name lists
constexpr int kLineRole = Qt::UserRole;

// The rows of the macro lists: the skin's item height; LB_macro's rows draw
// the icon of the line's kind in a square as high as the row and the line's
// text 35 pixels from the left.
class MacroRowDelegate : public QStyledItemDelegate {
 public:
  MacroRowDelegate(Pictures* pictures, QObject* parent)
      : QStyledItemDelegate(parent), pictures_(pictures) {}
  void SetHeight(int height) { height_ = height; }
  void SetColours(QColor text, QColor disabled_text, QColor selected_text, QColor selected_back) {
    text_ = text;
    disabled_text_ = disabled_text;
    selected_text_ = selected_text;
    selected_back_ = selected_back;
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(height_);
    return size;
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QVariant line = index.data(kLineRole);
    painter->save();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    if (selected) painter->fillRect(option.rect, selected_back_);
    const bool enabled = option.state.testFlag(QStyle::State_Enabled);
    if (pictures_ == nullptr || !line.isValid()) {
      // A macro's name.
      painter->setPen(selected ? selected_text_ : (enabled ? text_ : disabled_text_));
      painter->setFont(option.font);
      painter->drawText(option.rect.adjusted(kNameLeft, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                        index.data(Qt::DisplayRole).toString());
      painter->restore();
      return;
    }
    const std::string text = line.toString().toStdString();
    const QString kind = text.empty() ? QString() : QString(QChar::fromLatin1(text[0]));
    const QRect square(option.rect.left() + 4, option.rect.top(), option.rect.height(),
                       option.rect.height());
    const QPixmap& icon = pictures_->Get(QStringLiteral("MacroEvent") + kind);
    painter->drawPixmap(
        QRect(square.center() - QPoint(icon.width() / 2, icon.height() / 2), icon.size()), icon);
    painter->setPen(selected ? selected_text_ : text_);
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(kTextLeft, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                      FromUtf8(macros::LineDisplayText(text)));
    painter->restore();
  }

 private:
  Pictures* pictures_;
  int height_ = 22;
  QColor text_ = Qt::white;
  QColor disabled_text_ = Qt::gray;
  QColor selected_text_ = Qt::white;
  QColor selected_back_ = Qt::darkRed;
};

// A picture with its label, as the record buttons are: the hover and
// pressed pictures of its family.
SkinLabel* PictureButton(QWidget* page, Pictures& pictures, const QString& stem,
                         const QString& family, std::function<void()> action) {
  auto* image = new PictureLabel(QStringLiteral("Img_") + stem, page);
  auto* label = new SkinLabel(QStringLiteral("Btn_") + stem, page);
  WireHoverPictures(*label, *image, pictures, family);
  QObject::connect(label, &SkinLabel::Clicked, image,
                   [&pictures, image, family, action = std::move(action)] {
                     image->SetPicture(pictures.Get(family + QStringLiteral("_03")));
                     action();
                   });
  return label;
}

// A number box of the page; corrected to its limits when it is left (an
// emptied one reads `empty` then, or stays empty).
NumberField* Field(QWidget* page, const QString& name, long low, long high, const QString& start,
                   std::optional<long> empty) {
  auto* edit =
      new NumberField(name,
                      {low, high, 10, 0, false,
                       [low, high, empty](std::optional<long> typed) -> std::optional<long> {
                         if (!typed) return empty;
                         return std::clamp(*typed, low, high);
                       }},
                      page);
  edit->setText(start);
  edit->setFixedSize(70, 24);
  edit->setAlignment(Qt::AlignCenter);
  return edit;
}

int NumberIn(const QLineEdit* edit, int fallback) {
  bool ok = false;
  const int value = edit->text().toInt(&ok);
  return ok ? value : fallback;
}

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

void MacroPage::BuildDelayGroup() {
  delay_group_ = new QWidget(this);
  delay_group_->setObjectName(QStringLiteral("Gb_Delay"));
  delay_group_->setAttribute(Qt::WA_TransparentForMouseEvents);
  auto* title = new QLabel(this);
  title->setObjectName(QStringLiteral("lbl_DelayTime"));
  delay_controls_ << title;
  const std::pair<const char*, DelayMode> modes[] = {{"RecDelay", DelayMode::kRecorded},
                                                     {"DelayTime", DelayMode::kFixed},
                                                     {"NoDelay", DelayMode::kNone}};
  for (const bool insert : {false, true}) {
    for (const auto& [stem, mode] : modes) {
      const QString name = (insert ? QStringLiteral("Insert") : QString()) + QLatin1String(stem);
      auto* image = new PictureLabel(QStringLiteral("Img_") + name, this);
      auto* caption = new SkinLabel(QStringLiteral("IB_") + name, this);
      caption->SetRole(ControlRole::kRadioButton);
      caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      const auto choose = [this, mode = mode, insert] { SelectDelayMode(mode, insert); };
      connect(caption, &SkinLabel::Clicked, this, choose);
      connect(image, &PictureLabel::Pressed, this, choose);
      (insert ? insert_controls_ : delay_controls_) << image << caption;
    }
  }
  delay_edit_ = Field(this, QStringLiteral("Edt_Delay"), 1, macros::kMaxDelay,
                      QString::number(macros::kDefaultDelay), std::nullopt);
  auto* unit = new QLabel(this);
  unit->setObjectName(QStringLiteral("lbl_DelayUnit"));
  delay_controls_ << delay_edit_ << unit;
}

void MacroPage::BuildInsertPanel() {
  insert_group_ = new QWidget(this);
  insert_group_->setObjectName(QStringLiteral("Gb_Insert"));
  insert_group_->setAttribute(Qt::WA_TransparentForMouseEvents);
  insert_base_ = new PictureLabel(QStringLiteral("Img_InsertBase"), this);
  insert_list_ = new QComboBox(this);
  insert_list_->setObjectName(QStringLiteral("CB_Insert"));
  insert_list_->setFixedWidth(236);
  connect(insert_list_, &QComboBox::currentIndexChanged, this, [this] { ShowInsertControls(); });
  insert_delay_ = Field(this, QStringLiteral("Edt_InsertDelay"), 1, macros::kMaxDelay,
                        QString::number(macros::kDefaultDelay), std::nullopt);
  x_edit_ = Field(this, QStringLiteral("edt_XAxisValue"), -128, 127, QStringLiteral("0"), 0);
  y_edit_ = Field(this, QStringLiteral("edt_YAxisValue"), -128, 127, QStringLiteral("0"), 0);
  repeat_edit_ =
      Field(this, QStringLiteral("edt_Repeat"), 0, 255, QStringLiteral("10"), std::nullopt);
  insert_controls_ << insert_base_ << insert_list_ << insert_delay_ << x_edit_ << y_edit_
                   << repeat_edit_;
  for (const char* name :
       {"lbl_InsertDelay", "lbl_InsertDelayUnit", "lbl_XAxis", "lbl_YAxis", "lbl_Repeat"}) {
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    insert_controls_ << label;
  }
  Pictures& pictures = services_.GetPictures();
  const QString family = QStringLiteral("MacroS");
  insert_start_ = PictureButton(this, pictures, QStringLiteral("InsertStart"), family,
                                [this] { Btn_InsertStartClick(); });
  auto* ok = PictureButton(this, pictures, QStringLiteral("OK"), family, [this] { Btn_OKClick(); });
  auto* cancel = PictureButton(this, pictures, QStringLiteral("Cancel"), family,
                               [this] { Btn_CancelClick(); });
  for (SkinLabel* label : {insert_start_, ok, cancel}) {
    insert_controls_ << findChild<PictureLabel*>(QStringLiteral("Img_") +
                                                 label->objectName().mid(4))
                     << label;
  }
}

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
    return services.Skin().language == 2 ? QStringLiteral("寫入滑鼠")
                                         : QStringLiteral("Write to Mouse");
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

// --- Showing ------------------------------------------------------------------------------------

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

void MacroPage::HideMenus() {
  pc_panel_->hide();
  device_panel_->hide();
  content_panel_->hide();
}

void MacroPage::RefreshPCMacroName(std::optional<int> select) {
  const int keep = select.value_or(HighlightedRow(pc_names_));
  pc_names_->clear();
  for (const auto& name : library_.Names()) pc_names_->addItem(QString::fromStdU16String(name));
  if (keep >= 0 && keep < pc_names_->count()) pc_names_->setCurrentRow(keep);
  const bool room = library_.Count() < macros::MacroLibrary::kMaxMacros;
  new_button_->setEnabled(room && !Recording());
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
    auto* item = new QListWidgetItem(lines_list_);
    item->setData(kLineRole, FromUtf8(lines[i]));
    item->setData(Qt::AccessibleTextRole, FromUtf8(macros::LineDisplayText(lines[i])));
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
  if (!decoded || decoded->lines.size() <= 1) return;  // no events: nothing to decode
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

// --- The pop-up panels
// ----------------------------------------------------------------------------

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

// --- Recording ----------------------------------------------------------------------------------

bool MacroPage::Recording() const { return recording_ && recording_->Recorder().Recording(); }

void MacroPage::StartCapture() {
  if (!capture_) {
    capture_ = MakeRecorderCapture(window(), [](const QWidget* widget) {
      for (; widget != nullptr; widget = widget->parentWidget()) {
        const QString name = widget->objectName();
        if (name == QLatin1String("Btn_Start") || name == QLatin1String("Btn_New") ||
            name == QLatin1String("Btn_InsertStart")) {
          return true;
        }
      }
      return false;
    });
  }
  capture_->Start(*this);
}

void MacroPage::StopCapture() {
  if (capture_) capture_->Stop();
}

void MacroPage::SetRecordingLook(bool recording) {
  start_button_->setText(Text(recording && !inserting_ ? "Str401" : "Str400"));
  insert_start_->setText(Text(recording && inserting_ ? "Str401" : "Str400"));
  pc_names_->setEnabled(!recording);
  device_names_->setEnabled(!recording && !inserting_);
  lines_list_->setEnabled(!recording);
  new_button_->setEnabled(!recording && !inserting_ &&
                          library_.Count() < macros::MacroLibrary::kMaxMacros);
  start_button_->setEnabled(!inserting_);
}

void MacroPage::Btn_StartClick() {
  HideMenus();
  if (!recording_ || inserting_) return;
  if (Recording()) {
    StopCapture();
    const auto stored = recording_->Stop();
    SetRecordingLook(false);
    if (!stored.ok()) ShowOutcome(stored);
    const int row = lines_list_->currentRow();
    ShowLibraryMacro();
    lines_list_->setCurrentRow(std::min(row, lines_list_->count() - 1));
    return;
  }
  const auto index = SelectedLibraryMacro();
  if (!index) return;
  // A new recording replaces the macro's events: asked first when it has any.
  if (const auto held = library_.Lines(*index); held && held->lines.size() > 1) {
    if (!services_.Dialogs().Confirm(services_.Window(), Text("Str430"), services_.TableFont(11))) {
      return;
    }
  }
  const auto started = recording_->Start(*index, Mode(false), FixedDelay(false));
  if (!started.ok()) {
    ShowOutcome(started);
    return;
  }
  ClearEditor();
  source_ = Source::kLibrary;
  shown_ = {macros::HeaderLine(Mode(false), FixedDelay(false))};
  SetRecordingLook(true);
  StartCapture();
  lines_list_->setFocus();
}

void MacroPage::RecordKey(int virtual_key, macros::KeyEventType type) {
  if (!Recording()) return;
  recording_->Recorder().KeyEvent(virtual_key, type, tick_());
  TakeRecorderChanges();
}

void MacroPage::RecordButton(macros::MouseNote note, bool over_record_button) {
  if (Recording()) recording_->Recorder().Note(note, over_record_button);
}

void MacroPage::TakeRecorderChanges() {
  if (!recording_) return;
  bool full = false;
  for (const auto& change : recording_->Recorder().TakeChanges()) {
    if (change.kind == macros::RecorderChange::Kind::kFull) {
      full = true;
      continue;
    }
    if (change.line == 0) continue;
    const auto at = std::min(change.line, shown_.size());
    shown_.insert(shown_.begin() + static_cast<std::ptrdiff_t>(at), change.text);
    auto* item = new QListWidgetItem();
    item->setData(kLineRole, FromUtf8(change.text));
    item->setData(Qt::AccessibleTextRole, FromUtf8(macros::LineDisplayText(change.text)));
    lines_list_->insertItem(static_cast<int>(at) - 1, item);
    lines_list_->setCurrentItem(item);
  }
  if (!full && !recording_->Recorder().StopRequested()) return;
  // The budget is used up: the recording stops as its button would stop it.
  if (Recording()) {
    if (inserting_) {
      Btn_InsertStartClick();
    } else {
      Btn_StartClick();
    }
  }
  if (full) services_.ShowMessageText(FromUtf8(macros::MacroRecorder::kFullText));
}

// --- Delay modes --------------------------------------------------------------------------------

void MacroPage::SelectDelayMode(DelayMode mode, bool insert) {
  if (Recording()) return;
  (insert ? insert_mode_ : delay_mode_) = mode;
  const QString prefix = insert ? QStringLiteral("Img_Insert") : QStringLiteral("Img_");
  const std::pair<const char*, DelayMode> modes[] = {{"RecDelay", DelayMode::kRecorded},
                                                     {"DelayTime", DelayMode::kFixed},
                                                     {"NoDelay", DelayMode::kNone}};
  for (const auto& [stem, each] : modes) {
    if (auto* image = findChild<PictureLabel*>(prefix + QLatin1String(stem))) {
      image->SetPicture(services_.GetPictures().Get(each == mode ? QStringLiteral("RdS_E")
                                                                 : QStringLiteral("RdS_D")));
    }
    const QString caption =
        (insert ? QStringLiteral("IB_Insert") : QStringLiteral("IB_")) + QLatin1String(stem);
    if (auto* label = findChild<SkinLabel*>(caption)) label->SetChecked(each == mode);
  }
  // The fixed delay's field takes typing only in its own mode.
  if (!insert) delay_edit_->setReadOnly(mode != DelayMode::kFixed);
}

int MacroPage::FixedDelay(bool insert) const {
  const int value = NumberIn(insert ? insert_delay_ : delay_edit_, macros::kDefaultDelay);
  return std::clamp(value, 1, macros::kMaxDelay);
}

// --- Library ------------------------------------------------------------------------------------

void MacroPage::Btn_NewClick() {
  HideMenus();
  if (Recording() || library_.Count() >= macros::MacroLibrary::kMaxMacros) return;
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

// --- The mouse's macros -------------------------------------------------------------------------

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

// --- Line editing -------------------------------------------------------------------------------

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
  const char kind = lines[line].empty() ? ' ' : lines[line][0];
  if (kind == '0') {
    DelayDialog dialog(services_, QString::fromStdString(lines[line].substr(2)).toInt());
    if (!services_.Dialogs().Run(dialog)) return;
    macros::EditDelayLine(lines, line, dialog.Delay());
  } else if (kind == '1' || kind == '2') {
    OneKeyDialog dialog(services_);
    if (!services_.Dialogs().Run(dialog) || !dialog.VirtualKey()) return;
    macros::EditKeyLine(lines, line, *dialog.VirtualKey());
  } else {
    return;  // other lines cannot be changed
  }
  StoreLines(lines, *row);
}

void MacroPage::Btn_DelClick() {
  HideMenus();
  const auto row = SelectedLine();
  if (!row || source_ != Source::kLibrary || Recording()) return;
  macros::MacroText lines = shown_;
  switch (macros::DeleteLine(lines, static_cast<std::size_t>(*row) + 1)) {
    case macros::DeleteResult::kContentError:
      services_.ShowMessageText(FromUtf8(macros::kContentErrorText));
      return;
    case macros::DeleteResult::kNotDeletable:
      return;
    case macros::DeleteResult::kDeleted:
      StoreLines(lines, std::max(0, *row - 1));
      return;
  }
}

void MacroPage::Btn_InsertClick() {
  HideMenus();
  const auto row = SelectedLine();
  if (!row || source_ != Source::kLibrary || Recording()) return;
  inserting_ = true;
  insert_top_ = lines_list_->verticalScrollBar()->value();
  insert_row_ = *row;
  insert_list_->setCurrentIndex(0);
  device_names_->setEnabled(false);
  new_button_->setEnabled(false);
  start_button_->setEnabled(false);
  for (QWidget* widget : delay_controls_) widget->hide();
  delay_group_->hide();
  insert_group_->show();
  ShowInsertControls();
}

void MacroPage::ShowInsertControls() {
  if (!inserting_) return;
  const int item = insert_list_->currentIndex();
  const bool delay = item == 0 || item == 1;
  const bool keys = item == 2 || item == 3;
  const bool axis = item == 4 || item == 5;
  const bool repeat = item == 6;
  for (QWidget* widget : insert_controls_) {
    const QString name = widget->objectName();
    bool shown = true;
    if (name.contains(QLatin1String("InsertRecDelay")) ||
        name.contains(QLatin1String("InsertDelayTime")) ||
        name.contains(QLatin1String("InsertNoDelay")) ||
        name.endsWith(QLatin1String("InsertStart"))) {
      shown = keys;
    } else if (name == QLatin1String("Edt_InsertDelay") ||
               name.startsWith(QLatin1String("lbl_InsertDelay"))) {
      shown = delay;
    } else if (name.contains(QLatin1String("XAxis")) || name.contains(QLatin1String("YAxis"))) {
      shown = axis;
    } else if (name.contains(QLatin1String("Repeat"))) {
      shown = repeat;
    }
    widget->setVisible(shown);
  }
  insert_base_->SetPicture(services_.GetPictures().Get(
      keys ? QStringLiteral("InsertKeyBase")
           : (axis ? QStringLiteral("InsertXYBase") : QStringLiteral("InsertDelayBase"))));
  insert_base_->lower();
  PagePicture()->lower();
  Base()->lower();
}

void MacroPage::CloseInsertPanel() {
  inserting_ = false;
  insert_row_ = -1;
  for (QWidget* widget : insert_controls_) widget->hide();
  insert_group_->hide();
  for (QWidget* widget : delay_controls_) widget->show();
  delay_group_->show();
  device_names_->setEnabled(true);
  start_button_->setEnabled(true);
  new_button_->setEnabled(library_.Count() < macros::MacroLibrary::kMaxMacros);
  if (library_loaded_) SetRecordingLook(Recording());
}

void MacroPage::Btn_OKClick() {
  HideMenus();
  if (!inserting_ || Recording()) return;
  const int item = insert_list_->currentIndex();
  if (item == 2 || item == 3) {
    // The keys were inserted by the insert recording: store them.
    if (recording_ && recording_->Index()) {
      const int row = lines_list_->currentRow();
      const auto stored = recording_->ConfirmInsert();
      CloseInsertPanel();
      ShowLibraryMacro();
      if (!stored.ok()) ShowOutcome(stored);
      if (row >= 0) lines_list_->setCurrentRow(std::min(row, lines_list_->count() - 1));
    } else {
      CloseInsertPanel();
    }
    return;
  }
  macros::InsertValues values;
  values.delay = FixedDelay(true);
  values.x = std::clamp(NumberIn(x_edit_, 0), -128, 127);
  values.y = std::clamp(NumberIn(y_edit_, 0), -128, 127);
  values.repeat = std::clamp(NumberIn(repeat_edit_, 10), 0, 255);
  macros::MacroText lines = shown_;
  const auto at = macros::InsertLine(lines, static_cast<std::size_t>(insert_row_),
                                     static_cast<InsertItem>(item), values);
  if (!at) return;
  const int top = insert_top_;
  CloseInsertPanel();
  if (StoreLines(lines, static_cast<int>(*at))) lines_list_->verticalScrollBar()->setValue(top);
}

void MacroPage::Btn_CancelClick() {
  HideMenus();
  if (!inserting_) return;
  if (Recording()) StopCapture();
  const int top = insert_top_;
  const int row = insert_row_;
  // The insertion that was not stored goes; the running count returns.
  if (recording_ && recording_->Index()) recording_->CancelInsert();
  CloseInsertPanel();
  ShowLibraryMacro();
  lines_list_->verticalScrollBar()->setValue(top);
  if (row >= 0 && row < lines_list_->count()) lines_list_->setCurrentRow(row);
}

void MacroPage::Btn_InsertStartClick() {
  HideMenus();
  if (!inserting_ || !recording_) return;
  if (Recording()) {
    StopCapture();
    recording_->StopInsert();
    SetRecordingLook(false);
    return;
  }
  const auto index = SelectedLibraryMacro();
  if (!index || recording_->Index()) return;  // one insertion until OK or Cancel
  const bool back = insert_list_->currentIndex() == 3;
  const auto started = recording_->StartInsert(*index, static_cast<std::size_t>(insert_row_), back,
                                               Mode(true), FixedDelay(true));
  if (!started.ok()) {
    ShowOutcome(started);
    return;
  }
  SetRecordingLook(true);
  StartCapture();
}

// --- Language and skin --------------------------------------------------------------------------

void MacroPage::ApplyLanguage() {
  EnsureLibrary();
  new_button_->setText(Text("Str432"));
  SetRecordingLook(Recording());
  const std::pair<const char*, const char*> captions[] = {
      {"lbl_DelayTime", "Str417"},      {"IB_RecDelay", "Str414"},
      {"IB_DelayTime", "Str415"},       {"IB_NoDelay", "Str416"},
      {"lbl_DelayUnit", "Str418"},      {"IB_InsertRecDelay", "Str414"},
      {"IB_InsertDelayTime", "Str415"}, {"IB_InsertNoDelay", "Str416"},
      {"lbl_InsertDelay", "Str417"},    {"lbl_InsertDelayUnit", "Str418"},
      {"lbl_XAxis", "Str454"},          {"lbl_YAxis", "Str455"},
      {"lbl_Repeat", "Str458"},         {"Btn_OK", "Str420"},
      {"Btn_Cancel", "Str422"}};
  for (const auto& [name, key] : captions) {
    if (auto* label = findChild<QLabel*>(QLatin1String(name))) {
      label->setText(Text(key));
      if (qobject_cast<SkinLabel*>(label) != nullptr &&
          QLatin1String(name).startsWith(QLatin1String("IB_"))) {
        label->adjustSize();
      }
    }
  }
  const int current = insert_list_->currentIndex();
  insert_list_->clear();
  for (const char* key :
       {"Str410", "Str411", "Str412", "Str413", "Str450", "Str451", "Str456", "Str457"}) {
    insert_list_->addItem(Text(key));
  }
  insert_list_->setCurrentIndex(std::max(0, current));
  // Sized and placed after their captions.
  Restyle();
  for (MenuPanel* panel : {pc_panel_, device_panel_, content_panel_}) panel->Restyle(services_);
  SelectDelayMode(delay_mode_, false);
  SelectDelayMode(insert_mode_, true);
  if (inserting_) ShowInsertControls();
  // What assistive tools call the lists and boxes: their captions.
  const int language = services_.GetSession().CurrentLanguage();
  const auto own = [language](OwnText text) {
    return QString::fromStdString(OwnTextFor(text, language));
  };
  pc_names_->setAccessibleName(own(OwnText::kNameLibraryMacros));
  device_names_->setAccessibleName(own(OwnText::kNameMouseMacros));
  lines_list_->setAccessibleName(own(OwnText::kNameMacroEvents));
  insert_list_->setAccessibleName(Text("Str409"));  // "Insert"
  const std::pair<QWidget*, const char*> captioned[] = {{delay_edit_, "IB_DelayTime"},
                                                        {insert_delay_, "IB_InsertDelayTime"},
                                                        {x_edit_, "lbl_XAxis"},
                                                        {y_edit_, "lbl_YAxis"},
                                                        {repeat_edit_, "lbl_Repeat"}};
  for (const auto& [field, caption] : captioned) {
    if (auto* label = findChild<QLabel*>(QLatin1String(caption))) {
      field->setAccessibleName(label->text().simplified());
    }
  }
}

void MacroPage::Restyle() {
  const SkinLayout& skin = services_.Skin();
  const TextStyle style = skin.Style("F");
  const QFont font = services_.TableFont(style.points);
  const SkinPalette palette = SkinPalette::Of(skin);
  const int height = std::max(16, skin.Number("MacroNameHeight"));
  const QString list_style =
      QStringLiteral(
          "QListWidget { background: %1; border: 1px solid %2; color: %3; outline: none; }"
          "QListWidget::item:selected { background: %4; color: %5; }"
          "QListWidget:disabled { color: %6; }"
          "QScrollBar:vertical { background: %1; width: 10px; margin: 0; }"
          "QScrollBar::handle:vertical { background: %2; min-height: 24px; border-radius: 4px; }"
          "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }")
          .arg(CssColour(skin.Colour("F_LBack")), CssColour(skin.Colour("F_LBorder")),
               CssColour(skin.Colour("F_Font")), CssColour(skin.Colour("G_SP")),
               CssColour(skin.Colour("G_SF")), Css(palette.disabled));
  for (QListWidget* list : {pc_names_, device_names_, lines_list_}) {
    list->setFont(font);
    list->setStyleSheet(list_style);
    auto* rows = static_cast<MacroRowDelegate*>(list->itemDelegate());
    rows->SetHeight(height);
    rows->SetColours(ToQColor(skin.Colour("F_Font")), palette.disabled, palette.chosen_text,
                     palette.chosen);
    list->doItemsLayout();
  }
  const QString field_style =
      QStringLiteral(
          "QLineEdit { background: %1; color: %2; border: 1px solid %3; padding: 1px 4px; }"
          "QLineEdit:read-only { color: %4; }"
          "QLineEdit:focus { border-color: %5; }")
          .arg(CssColour(skin.Colour("F_Back")), CssColour(skin.Colour("F_Font")),
               CssColour(skin.Colour("F_LBorder")), Css(palette.disabled),
               Css(palette.accent_light));
  for (QLineEdit* edit : {delay_edit_, insert_delay_, x_edit_, y_edit_, repeat_edit_}) {
    edit->setFont(font);
    edit->setStyleSheet(field_style);
  }
  insert_list_->setFont(font);
  insert_list_->setStyleSheet(
      QStringLiteral(
          "QComboBox { background: %1; color: %2; border: 1px solid %3; padding: 2px 8px; }"
          "QComboBox QAbstractItemView { background: %1; color: %2;"
          "  selection-background-color: %4; }")
          .arg(CssColour(skin.Colour("F_Back")), CssColour(skin.Colour("F_Font")),
               CssColour(skin.Colour("F_LBorder")), CssColour(skin.Colour("G_SP"))));
  const QString label_style =
      QStringLiteral("color: %1; background: transparent;").arg(CssColour(style.colour));
  for (const char* name : {"lbl_DelayUnit", "lbl_InsertDelay", "lbl_InsertDelayUnit", "lbl_XAxis",
                           "lbl_YAxis", "lbl_Repeat"}) {
    if (auto* label = findChild<QLabel*>(QLatin1String(name))) {
      label->setFont(font);
      label->setStyleSheet(label_style);
    }
  }
  // The captions beside the insert panel's fields, the Y field under the X
  // field, and the two groups around their controls.
  const auto beside = [this](const char* caption, QWidget* field, bool left) {
    auto* label = findChild<QLabel*>(QLatin1String(caption));
    label->adjustSize();
    const int x = left ? field->x() - label->width() - 10 : field->geometry().right() + 8;
    label->move(x, field->y() + (field->height() - label->height()) / 2);
  };
  y_edit_->move(x_edit_->x(), x_edit_->y() + 32);
  beside("lbl_DelayUnit", delay_edit_, false);
  beside("lbl_InsertDelay", insert_delay_, true);
  beside("lbl_InsertDelayUnit", insert_delay_, false);
  beside("lbl_XAxis", x_edit_, true);
  beside("lbl_YAxis", y_edit_, true);
  beside("lbl_Repeat", repeat_edit_, true);
  if (auto* title = findChild<QLabel*>(QStringLiteral("lbl_DelayTime"))) {
    QFont bold = font;
    bold.setBold(true);
    title->setFont(bold);
    title->adjustSize();
  }
  for (auto [group, controls] :
       {std::pair{delay_group_, &delay_controls_}, std::pair{insert_group_, &insert_controls_}}) {
    QRect area;
    for (QWidget* widget : *controls) area |= widget->geometry();
    group->setGeometry(area);
    group->stackUnder(controls->front());
  }
}

}  // namespace vrdk::shell
