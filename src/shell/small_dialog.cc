#include "shell/small_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "shell/page.h"
#include "shell/pictures.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

constexpr int kTitleHeight = 28;
constexpr int kEditHeight = 30;

}  // namespace

SmallDialog::Names SmallDialog::MacroNames(const QString& dialog, const QString& edit) {
  return {dialog,
          QStringLiteral("Img_Base"),
          QStringLiteral("lbl_Title"),
          edit,
          QStringLiteral("Btn_Confirm"),
          QStringLiteral("Btn_Clear"),
          QStringLiteral("Btn_Close")};
}

SmallDialog::SmallDialog(ShellServices& services, const Look& look, const Names& names,
                         const char* title_key, const char* confirm_key, const char* clear_key)
    : QDialog(services.Window(), Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      services_(services) {
  setObjectName(names.dialog);
  setModal(true);
  setAttribute(Qt::WA_TranslucentBackground);
  const SkinLayout& skin = services.Skin();
  const LanguageTable& language = services.Language();
  const TextStyle style = skin.Style(look.group);
  const QFont font = services.TableFont(style.points);
  setFont(font);
  const std::string title_place(look.title_place);
  const std::string edit_place(look.edit_place);
  const std::string buttons(look.button_prefix);

  auto* base = new PictureLabel(names.base, this);
  base->SetPicture(services.GetPictures().Get(QStringLiteral("Msg")));
  setFixedSize(base->size());

  auto* title = new QLabel(FromUtf8(language.Text(title_key)), this);
  title->setObjectName(names.title);
  title->setGeometry(skin.Number(title_place + "_X"), skin.Number(title_place + "_Y"),
                     skin.Number(title_place + "_W"), kTitleHeight);
  QFont bold = services.TableFont(style.points + 2);
  bold.setBold(true);
  title->setFont(bold);
  title->setStyleSheet(
      QStringLiteral("color: %1; background: transparent;").arg(CssColour(style.colour)));

  const SkinPalette palette = SkinPalette::Of(skin);
  edit_ = new QLineEdit(this);
  edit_->setObjectName(names.edit);
  edit_->setGeometry(skin.Number(edit_place + "_X"), skin.Number(edit_place + "_Y"),
                     skin.Number(edit_place + "_W"), kEditHeight);
  edit_->setFont(font);
  edit_->setContextMenuPolicy(Qt::NoContextMenu);
  edit_->setStyleSheet(
      QStringLiteral("QLineEdit { color: %1; background: %2; border: 1px solid %3; padding: 3px;"
                     " selection-background-color: %4; }"
                     "QLineEdit:focus { border-color: %5; }")
          .arg(CssColour(style.colour), CssColour(skin.Colour(look.edit_colour)),
               Css(palette.border), Css(palette.accent), Css(palette.accent_light)));

  const QString text_colour = CssColour(style.colour);
  const auto place = [&skin, &buttons](const char* part) {
    return QPoint(skin.Number(buttons + part + "_X"), skin.Number(buttons + part + "_Y"));
  };
  connect(AddButton(names.confirm, QStringLiteral("KeyS"), place("_Cfm"),
                    FromUtf8(language.Text(confirm_key)), text_colour),
          &SkinLabel::Clicked, this, [this] { ConfirmClicked(); });
  connect(AddButton(names.clear, QStringLiteral("KeyS"), place("_Clear"),
                    FromUtf8(language.Text(clear_key)), text_colour),
          &SkinLabel::Clicked, this, [this] { ClearClicked(); });
  SkinLabel* close =
      AddButton(names.close, QStringLiteral("ExitS"), place("_Close"), QString(), text_colour);
  close->setAccessibleName(FromUtf8(services.GetSession().Own(OwnText::kNameClose)));
  connect(close, &SkinLabel::Clicked, this, [this] { CloseClicked(); });
}

SkinLabel* SmallDialog::AddButton(const QString& name, const QString& family, const QPoint& at,
                                  const QString& caption, const QString& colour) {
  Pictures& pictures = services_.GetPictures();
  auto* image = new PictureLabel(QStringLiteral("Img_") + name.section(QLatin1Char('_'), 1), this);
  image->SetPicture(pictures.Get(family + QStringLiteral("_01")));
  image->move(at);
  auto* label = new SkinLabel(name, this);
  label->setGeometry(image->geometry());
  label->setText(caption);
  label->setFont(font());
  label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(colour));
  WireHoverPictures(*label, *image, pictures, family);
  return label;
}

void SmallDialog::showEvent(QShowEvent* event) {
  // Centred over the window.
  if (QWidget* window = services_.Window()) {
    const QRect area = window->frameGeometry();
    move(area.center() - rect().center());
  }
  edit_->setFocus();
  QDialog::showEvent(event);
}

void SmallDialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      ConfirmClicked();
      return;
    case Qt::Key_Escape:
      CloseClicked();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void SmallDialog::ConfirmClicked() {
  if (Acceptable()) accept();
}

void SmallDialog::ClearClicked() { edit_->clear(); }

void SmallDialog::CloseClicked() { reject(); }

}  // namespace vrdk::shell
