// The macro page's recorder: Btn_New and Btn_Start, the delay group
// Gb_Delay (and the insert panel's delay modes), the capture of keys and
// buttons while a recording runs, and the recorded lines as they come.

#include "shell/pages/macro_page.h"

#include <QListWidget>

#include "shell/dialogs.h"
#include "macros/line_editing.h"
#include "shell/edit_field.h"
#include "shell/pages/macro_controls.h"
#include "shell/pages/macro_rows.h"
#include "shell/pictures.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

using macros::DelayMode;

}  // namespace

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
  delay_edit_ = Field(this, QStringLiteral("Edt_Delay"), macros::kDelayRange, false);
  auto* unit = new QLabel(this);
  unit->setObjectName(QStringLiteral("lbl_DelayUnit"));
  delay_controls_ << delay_edit_ << unit;
}

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
  return macros::FieldValue(TypedNumber(insert ? insert_delay_ : delay_edit_), macros::kDelayRange);
}

// --- Recording -----------------------------------------------------------------------------------

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
  new_button_->setEnabled(!recording && !inserting_ && !library_.Full());
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
  if (const auto held = library_.Lines(*index); held && macros::HasEvents(held->lines)) {
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
    SetLine(*item, change.text);
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

}  // namespace vrdk::shell
