#include "shell/macro_dialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "keys/keyboard_keys.h"
#include "macros/event_lines.h"
#include "shell/pictures.h"
#include "shell/skin_widgets.h"
#include "shell/virtual_keys.h"

namespace vrdk::shell {
namespace {

QString Text(ShellServices& services, const char* key) {
  return QString::fromStdString(services.Language().Text(key));
}

}  // namespace

SmallDialog::SmallDialog(ShellServices& services, const QString& name, const char* title_key,
                         const char* confirm_key, const char* clear_key)
    : QDialog(services.Window(), Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      services_(services) {
  setObjectName(name);
  setModal(true);
  setAttribute(Qt::WA_TranslucentBackground);
  background_ = services.GetPictures().Get(QStringLiteral("Msg"));
  setFixedSize(background_.size());
  const SkinLayout& skin = services.Skin();
  const TextStyle style = skin.Style("L");
  const QFont font = services.TableFont(style.points);
  setFont(font);
  setStyleSheet(
      QStringLiteral(
          "QLabel { color: %1; background: transparent; }"
          "QLineEdit { background: %2; color: %1; border: 1px solid #454c5a; padding: 3px; }"
          "QLineEdit:focus { border-color: #ff5a68; }"
          "QPushButton { background: #2c313c; color: %1; border: 1px solid #454c5a;"
          "  padding: 4px 14px; min-width: 70px; }"
          "QPushButton:hover { border-color: #ff5a68; }"
          "QPushButton:pressed { background: #e0283a; }"
          "QPushButton#Btn_Close { min-width: 0; padding: 0; border: none; background: transparent;"
          "  font-size: 14pt; }")
          .arg(CssColour(style.colour), CssColour(skin.Colour("L_MN"))));

  auto* title = new QLabel(Text(services, title_key), this);
  title->setObjectName(QStringLiteral("lbl_Title"));
  title->setGeometry(skin.Number("MNT_X"), skin.Number("MNT_Y"), skin.Number("MNT_W"), 28);
  QFont bold = font;
  bold.setBold(true);
  bold.setPointSize(style.points + 2);
  title->setFont(bold);
  edit_ = new QLineEdit(this);
  edit_->setGeometry(skin.Number("MNC_X"), skin.Number("MNC_Y"), skin.Number("MNC_W"), 30);
  auto* confirm = new QPushButton(Text(services, confirm_key), this);
  confirm->setObjectName(QStringLiteral("Btn_Confirm"));
  confirm->move(skin.Number("MN_Cfm_X"), skin.Number("MN_Cfm_Y"));
  confirm->setDefault(true);
  auto* clear = new QPushButton(Text(services, clear_key), this);
  clear->setObjectName(QStringLiteral("Btn_Clear"));
  clear->move(skin.Number("MN_Clear_X"), skin.Number("MN_Clear_Y"));
  auto* close = new QPushButton(QStringLiteral("\u00D7"), this);
  close->setObjectName(QStringLiteral("Btn_Close"));
  close->setGeometry(skin.Number("MN_Close_X"), skin.Number("MN_Close_Y"), 28, 28);
  connect(confirm, &QPushButton::clicked, this, [this] {
    if (Acceptable()) accept();
  });
  connect(clear, &QPushButton::clicked, edit_, &QLineEdit::clear);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void SmallDialog::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, background_);
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

MacroNameDialog::MacroNameDialog(ShellServices& services, const QString& current)
    : SmallDialog(services, QStringLiteral("Form3"), "Str510", "Str511", "Str512") {
  edit_->setObjectName(QStringLiteral("Edt_MacroName"));
  edit_->setMaxLength(8);
  edit_->setAlignment(Qt::AlignCenter);
  edit_->setText(current);
  edit_->selectAll();
}

QString MacroNameDialog::Name() const { return edit_->text(); }

OneKeyDialog::OneKeyDialog(ShellServices& services)
    : SmallDialog(services, QStringLiteral("Form4"), "Str520", "Str501", "Str502") {
  edit_->setObjectName(QStringLiteral("Edt_OneKey"));
  edit_->setReadOnly(true);
  edit_->setAlignment(Qt::AlignCenter);
  edit_->installEventFilter(this);
  connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (text.isEmpty()) virtual_key_.reset();  // Clear
  });
}

bool OneKeyDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    if (const int virtual_key = VirtualKeyOf(*static_cast<const QKeyEvent*>(event))) {
      virtual_key_ = virtual_key;
      const std::string_view name = VirtualKeyName(virtual_key);
      edit_->setText(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    return true;  // every key belongs to the field, Tab and Enter too
  }
  return SmallDialog::eventFilter(watched, event);
}

DelayDialog::DelayDialog(ShellServices& services, int current)
    : SmallDialog(services, QStringLiteral("Form5"), "Str521", "Str501", "Str502") {
  edit_->setObjectName(QStringLiteral("Edt_InputDelay"));
  edit_->setAlignment(Qt::AlignCenter);
  edit_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit_));
  edit_->setText(QString::number(current));
  edit_->selectAll();
}

int DelayDialog::Delay() const {
  bool ok = false;
  const qlonglong value = edit_->text().toLongLong(&ok);
  if (!ok || value < 1) return 1;
  return value > macros::kMaxDelay ? macros::kMaxDelay : static_cast<int>(value);
}

}  // namespace vrdk::shell
