#include "shell/pages/key_combination_dialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "shell/page.h"
#include "shell/pictures.h"
#include "shell/skin_widgets.h"
#include "shell/virtual_keys.h"

namespace vrdk::shell {
namespace {

// The check boxes in their order, with the skin key of each one's place.
struct Box {
  const char* name;
  const char* caption;
  const char* place;
};
constexpr Box kBoxes[] = {
    {"CB_Ctrl", "Ctrl", "MK_C"}, {"CB_Shift", "Shift", "MK_S"}, {"CB_Alt", "Alt", "MK_A"},
    {"CB_Win", "Win", "MK_W"},   {"CB_Tab", "Tab", "MK_T"},
};
constexpr int kTabBox = 4;

}  // namespace

TForm2::TForm2(ShellServices& services)
    : SmallDialog(
          services, {"K", "K_AK", "AKT", "AKC", "AK"},
          {QStringLiteral("TForm2"), QStringLiteral("Img_AssemblyBase"),
           QStringLiteral("lbl_Assembly"), QStringLiteral("Edt_Assembly"),
           QStringLiteral("IB_Confirm"), QStringLiteral("IB_Cancel"), QStringLiteral("IB_Close")},
          "Str500", "Str501", "Str502") {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::ApplicationModal);
  const SkinLayout& skin = services_.Skin();
  const TextStyle style = skin.Style("K");
  const QFont font = services_.TableFont(style.points);
  const QString text_colour = CssColour(style.colour);
  edit_->setAlignment(Qt::AlignCenter);
  edit_->installEventFilter(this);

  const QString box_style = QStringLiteral(
                                "QCheckBox { color: %1; spacing: 6px; background: transparent; }"
                                "QCheckBox::indicator { width: 18px; height: 18px; }"
                                "QCheckBox::indicator:unchecked { image: url(:/skin/CbS_D.png); }"
                                "QCheckBox::indicator:checked { image: url(:/skin/CbS_E.png); }")
                                .arg(text_colour);
  for (int i = 0; i < 5; ++i) {
    auto* box = new QCheckBox(QLatin1String(kBoxes[i].caption), this);
    box->setObjectName(QLatin1String(kBoxes[i].name));
    box->setFont(font);
    box->setStyleSheet(box_style);
    box->setFocusPolicy(Qt::NoFocus);
    box->move(skin.Number(std::string(kBoxes[i].place) + "_X"),
              skin.Number(std::string(kBoxes[i].place) + "_Y"));
    box->adjustSize();
    connect(box, &QCheckBox::toggled, this,
            [this, i](bool checked) { CheckBoxChanged(i, checked); });
    boxes_[i] = box;
  }
}

void TForm2::Open() {
  show();
  raise();
  activateWindow();
  edit_->setFocus();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    Edt_AssemblyKeyDown(static_cast<QKeyEvent*>(event));
    return true;  // nothing is typed into the box itself
  }
  if (watched == edit_ && event->type() == QEvent::ShortcutOverride) {
    event->accept();  // every key, Tab and Esc too, comes to the box
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TForm2::Edt_AssemblyKeyDown(QKeyEvent* event) {
  // Enter and Esc alone confirm and close, as in every dialog; with a
  // modifier held they are keys of the combination.
  if (event->modifiers() == Qt::NoModifier) {
    if (event->key() == Qt::Key_Escape) {
      IB_CloseClick();
      return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !edit_->text().isEmpty()) {
      IB_ConfirmClick();
      return;
    }
  }
  const int virtual_key = VirtualKeyOf(*event);
  // Tab comes from its own check box, so that the box and the keys agree.
  if (virtual_key == 0x09) return;
  const Qt::KeyboardModifiers held = event->modifiers();
  const bool shift = held.testFlag(Qt::ShiftModifier) || virtual_key == kVirtualShift;
  const bool ctrl = held.testFlag(Qt::ControlModifier) || virtual_key == kVirtualControl;
  const bool alt = held.testFlag(Qt::AltModifier) || virtual_key == kVirtualAlt;
  if (combination_.KeyDown(virtual_key, shift, alt, ctrl)) ShowText();
}

void TForm2::CheckBoxChanged(int box, bool checked) {
  if (box == kTabBox) {
    combination_.SetTab(checked);
  } else {
    combination_.SetModifier(static_cast<enum KeyCombinationDialog::Modifier>(box), checked);
  }
  ShowText();
}

void TForm2::ShowText() {
  edit_->setText(QString::fromStdString(combination_.Text()));
  // A third key may have pushed Tab out of the keys.
  if (boxes_[kTabBox]->isChecked() != combination_.HasTab()) {
    const QSignalBlocker quiet(boxes_[kTabBox]);
    boxes_[kTabBox]->setChecked(combination_.HasTab());
  }
}

void TForm2::IB_CancelClick() {
  combination_.Clear();
  for (QCheckBox* box : boxes_) {
    const QSignalBlocker quiet(box);
    box->setChecked(false);
  }
  ShowText();
}

void TForm2::IB_ConfirmClick() {
  const QString code = QString::fromStdString(combination_.Code());
  const QString caption = edit_->text();
  close();
  emit Confirmed(code, caption);
}

}  // namespace vrdk::shell
