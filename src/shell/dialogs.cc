#include "shell/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace vrdk::shell {
namespace {

// The dialogs' own look, in the window's colours.
constexpr const char* kDialogStyle =
    "QDialog { background: #1a1d24; border: 1px solid #454c5a; }"
    "QLabel { color: #e6eaf0; }"
    "QLineEdit { background: #12141a; color: #e6eaf0; border: 1px solid #454c5a; padding: 3px; }"
    "QPushButton { background: #2c313c; color: #e6eaf0; border: 1px solid #454c5a;"
    "  padding: 5px 18px; }"
    "QPushButton:hover { border-color: #ff5a68; }"
    "QPushButton:pressed { background: #e0283a; }";

}  // namespace

MessageDialog::MessageDialog(QWidget* parent, const QString& text, const QFont& font)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("FormMessagDialog"));
  setModal(true);
  setStyleSheet(kDialogStyle);
  setFont(font);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 22, 24, 16);
  text_ = new QLabel(text, this);
  text_->setObjectName(QStringLiteral("lbl_Message"));
  text_->setWordWrap(true);
  text_->setAlignment(Qt::AlignCenter);
  text_->setMinimumWidth(300);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(text_);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Btn_MessageOK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignCenter);
}

QString MessageDialog::Text() const { return text_->text(); }

PasswordDialog::PasswordDialog(QWidget* parent, const QFont& font) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgPass"));
  setWindowTitle(QStringLiteral("Password"));
  setModal(true);
  setStyleSheet(kDialogStyle);
  setFont(font);
  auto* layout = new QVBoxLayout(this);
  auto* prompt = new QLabel(QStringLiteral("Password"), this);
  layout->addWidget(prompt);
  code_ = new QLineEdit(this);
  code_->setObjectName(QStringLiteral("edt_Password"));
  code_->setEchoMode(QLineEdit::Password);
  layout->addWidget(code_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QString PasswordDialog::Code() const { return code_->text(); }

void QtDialogs::Message(QWidget* parent, const QString& text, const QFont& font) {
  MessageDialog dialog(parent, text, font);
  dialog.exec();
}

QString QtDialogs::SaveFileName(QWidget* parent, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, QString(), QString(), filter, nullptr,
                                      QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::OpenFileName(QWidget* parent, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

bool QtDialogs::ConfirmReplace(QWidget* parent, const QString& path) {
  return QMessageBox::question(parent, QStringLiteral("Save Profile"),
                               QStringLiteral("%1 already exists. Replace it?").arg(path),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

bool QtDialogs::Confirm(QWidget* parent, const QString& question, const QFont& font) {
  QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), question,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  box.setFont(font);
  return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::Password(QWidget* parent, const QFont& font) {
  PasswordDialog dialog(parent, font);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Code();
}

void QtDialogs::OpenWebAddress(const QString& address) {
  QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

std::optional<QColor> QtDialogs::Colour(QWidget* parent, const QColor& initial,
                                        const QString& title) {
  const QColor chosen = QColorDialog::getColor(initial, parent, title);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

}  // namespace vrdk::shell
