// The macro page's insert panel Gb_Insert: a line inserted before or after
// the chosen one (a delay, recorded keys, a movement, a loop's start or
// end), shown over Img_InsertBase in place of the delay group.

#include "shell/pages/macro_page.h"

#include <QComboBox>
#include <QListWidget>
#include <QScrollBar>

#include "macros/line_editing.h"
#include "shell/edit_field.h"
#include "shell/pages/macro_controls.h"
#include "shell/pictures.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {

void MacroPage::BuildInsertPanel() {
  insert_group_ = new QWidget(this);
  insert_group_->setObjectName(QStringLiteral("Gb_Insert"));
  insert_group_->setAttribute(Qt::WA_TransparentForMouseEvents);
  insert_base_ = new PictureLabel(QStringLiteral("Img_InsertBase"), this);
  insert_list_ = new QComboBox(this);
  insert_list_->setObjectName(QStringLiteral("CB_Insert"));
  insert_list_->setFixedWidth(236);
  connect(insert_list_, &QComboBox::currentIndexChanged, this, [this] { ShowInsertControls(); });
  insert_delay_ = Field(this, QStringLiteral("Edt_InsertDelay"), macros::kDelayRange, false);
  x_edit_ = Field(this, QStringLiteral("edt_XAxisValue"), macros::kMoveRange, true);
  y_edit_ = Field(this, QStringLiteral("edt_YAxisValue"), macros::kMoveRange, true);
  repeat_edit_ = Field(this, QStringLiteral("edt_Repeat"), macros::kRepeatRange, false);
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
  const macros::InsertFields fields =
      macros::FieldsOf(macros::InsertItemAt(insert_list_->currentIndex()));
  const bool delay = fields == macros::InsertFields::kDelay;
  const bool keys = fields == macros::InsertFields::kKeys;
  const bool axis = fields == macros::InsertFields::kMove;
  const bool repeat = fields == macros::InsertFields::kRepeat;
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
  new_button_->setEnabled(!library_.Full());
  if (library_loaded_) SetRecordingLook(Recording());
}

void MacroPage::Btn_OKClick() {
  HideMenus();
  if (!inserting_ || Recording()) return;
  const auto item = macros::InsertItemAt(insert_list_->currentIndex());
  if (!item) return;
  if (macros::FieldsOf(item) == macros::InsertFields::kKeys) {
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
  const macros::InsertValues values =
      macros::InsertValuesFrom(TypedNumber(insert_delay_), TypedNumber(x_edit_),
                               TypedNumber(y_edit_), TypedNumber(repeat_edit_));
  macros::MacroText lines = shown_;
  const auto at = macros::InsertLine(lines, static_cast<std::size_t>(insert_row_), *item, values);
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
  const bool back =
      macros::InsertItemAt(insert_list_->currentIndex()) == macros::InsertItem::kKeyBack;
  const auto started = recording_->StartInsert(*index, static_cast<std::size_t>(insert_row_), back,
                                               Mode(true), FixedDelay(true));
  if (!started.ok()) {
    ShowOutcome(started);
    return;
  }
  SetRecordingLook(true);
  StartCapture();
}

}  // namespace vrdk::shell
