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

constexpr int kEditHeight = 28;

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

TForm2::TForm2(ShellServices& services, QWidget* window)
    : QDialog(window, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      services_(services),
      window_(window) {
  setObjectName(QStringLiteral("TForm2"));
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::ApplicationModal);
  const SkinLayout& skin = services_.Skin();
  const LanguageTable& language = services_.Language();
  const TextStyle style = skin.Style("K");
  const QFont font = services_.TableFont(style.points);
  const QString text_colour = CssColour(style.colour);

  auto* background = new PictureLabel(QStringLiteral("Img_AssemblyBase"), this);
  background->SetPicture(services_.GetPictures().Get(QStringLiteral("Msg")));
  setFixedSize(background->size());

  auto* title = new QLabel(FromUtf8(language.Text("Str500")), this);
  title->setObjectName(QStringLiteral("lbl_Assembly"));
  title->setGeometry(skin.Number("AKT_X"), skin.Number("AKT_Y"), skin.Number("AKT_W"), 26);
  title->setFont(services_.TableFont(style.points + 2));
  title->setStyleSheet(QStringLiteral("color: %1; font-weight: 600;").arg(text_colour));

  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("Edt_Assembly"));
  edit_->setAlignment(Qt::AlignCenter);
  edit_->setGeometry(skin.Number("AKC_X"), skin.Number("AKC_Y"), skin.Number("AKC_W"), kEditHeight);
  edit_->setFont(font);
  edit_->setContextMenuPolicy(Qt::NoContextMenu);
  edit_->setStyleSheet(
      QStringLiteral("QLineEdit { color: %1; background: %2; border: 1px solid "
                     "%3; selection-background-color: %3; }")
          .arg(text_colour, CssColour(skin.Colour("K_AK")), CssColour(skin.Colour("G_Border"))));
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

  connect(AddButton(QStringLiteral("IB_Confirm"), QStringLiteral("KeyS"), "AK_Cfm",
                    FromUtf8(language.Text("Str501"))),
          &SkinLabel::Clicked, this, &TForm2::IB_ConfirmClick);
  connect(AddButton(QStringLiteral("IB_Cancel"), QStringLiteral("KeyS"), "AK_Clear",
                    FromUtf8(language.Text("Str502"))),
          &SkinLabel::Clicked, this, &TForm2::IB_CancelClick);
  connect(AddButton(QStringLiteral("IB_Close"), QStringLiteral("ExitS"), "AK_Close", QString()),
          &SkinLabel::Clicked, this, &TForm2::IB_CloseClick);
  setFont(font);
}

SkinLabel* TForm2::AddButton(const QString& name, const QString& family, const char* place_key,
                             const QString& caption) {
  const SkinLayout& skin = services_.Skin();
  Pictures& pictures = services_.GetPictures();
  auto* image = new PictureLabel(QStringLiteral("Img_") + name.mid(3), this);
  image->SetPicture(pictures.Get(family + QStringLiteral("_01")));
  image->move(skin.Number(std::string(place_key) + "_X"),
              skin.Number(std::string(place_key) + "_Y"));
  auto* label = new SkinLabel(name, this);
  label->setGeometry(image->geometry());
  label->setText(caption);
  label->setFont(services_.TableFont(skin.Style("K").points));
  label->setStyleSheet(
      QStringLiteral("color: %1; background: transparent;").arg(CssColour(skin.Style("K").colour)));
  connect(label, &SkinLabel::Entered, this, [image, &pictures, family] {
    image->SetPicture(pictures.Get(family + QStringLiteral("_02")));
  });
  connect(label, &SkinLabel::Left, this, [image, &pictures, family] {
    image->SetPicture(pictures.Get(family + QStringLiteral("_01")));
  });
  return label;
}

void TForm2::Open() {
  const QRect over = window_->frameGeometry();
  move(over.x() + (over.width() - width()) / 2, over.y() + (over.height() - height()) / 2);
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
