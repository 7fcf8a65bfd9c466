#include "shell/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTranslator>
#include <QUrl>
#include <QVBoxLayout>

namespace vrdk::shell {
namespace {

// The font on the dialog and each of its parts: a part styled by the
// dialog's sheet would otherwise fall back to the application's font.
void UseFont(QWidget& dialog, const QFont& font) {
  dialog.setFont(font);
  for (QWidget* part : dialog.findChildren<QWidget*>()) part->setFont(font);
}

QPushButton* AddButton(QDialog& dialog, QBoxLayout& row, const char* name, const QString& text) {
  auto* button = new QPushButton(text, &dialog);
  button->setObjectName(QLatin1String(name));
  row.addWidget(button);
  return button;
}

// The message dialog's look: borderless and modal, the text centred above
// the buttons.
QLabel* BuildTextDialog(QDialog& dialog, const char* name, const QString& text,
                        const char* text_name, const QString& sheet) {
  dialog.setObjectName(QLatin1String(name));
  dialog.setModal(true);
  dialog.setStyleSheet(sheet);
  auto* layout = new QVBoxLayout(&dialog);
  layout->setContentsMargins(24, 22, 24, 16);
  auto* label = new QLabel(text, &dialog);
  label->setObjectName(QLatin1String(text_name));
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignCenter);
  label->setMinimumWidth(300);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(label);
  return label;
}

}  // namespace

QuestionDialog::QuestionDialog(QWidget* parent, const QString& question, const QFont& font,
                               const QString& yes, const QString& no, const QString& sheet)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  BuildTextDialog(*this, "FormQuestionDialog", question, "lbl_Question", sheet);
  auto* row = new QHBoxLayout;
  row->addStretch();
  connect(AddButton(*this, *row, "Btn_Yes", yes), &QPushButton::clicked, this, &QDialog::accept);
  QPushButton* refuse = AddButton(*this, *row, "Btn_No", no);
  refuse->setDefault(true);
  refuse->setFocus();
  connect(refuse, &QPushButton::clicked, this, &QDialog::reject);
  row->addStretch();
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
  UseFont(*this, font);
}

MessageDialog::MessageDialog(QWidget* parent, const QString& text, const QFont& font,
                             const QString& ok, const QString& sheet)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  text_ = BuildTextDialog(*this, "FormMessagDialog", text, "lbl_Message", sheet);
  auto* button = new QPushButton(ok, this);
  button->setObjectName(QStringLiteral("Btn_MessageOK"));
  button->setDefault(true);
  connect(button, &QPushButton::clicked, this, &QDialog::accept);
  layout()->addWidget(button);
  layout()->setAlignment(button, Qt::AlignCenter);
  UseFont(*this, font);
}

QString MessageDialog::Text() const { return text_->text(); }

PasswordDialog::PasswordDialog(QWidget* parent, const QFont& font, const QString& sheet)
    : QDialog(parent) {
  setObjectName(QStringLiteral("dlgPass"));
  setWindowTitle(QStringLiteral("Password"));
  setModal(true);
  setStyleSheet(sheet);
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
  UseFont(*this, font);
}

QString PasswordDialog::Code() const { return code_->text(); }

QtDialogs::QtDialogs() = default;
QtDialogs::~QtDialogs() {
  if (qt_words_) QCoreApplication::removeTranslator(qt_words_.get());
}

QString QtDialogs::Words(OwnText text) const {
  return QString::fromStdString(OwnTextFor(text, language_));
}

void QtDialogs::SetLanguage(int language, const QFont& font, const QString& sheet) {
  language_ = language;
  font_ = font;
  sheet_ = sheet;
  // Qt's own dialogs (the colour dialog) speak Chinese in language 2 where
  // Qt's translations are installed, and English otherwise.
  if (qt_words_) {
    QCoreApplication::removeTranslator(qt_words_.get());
    qt_words_.reset();
  }
  if (language != 2) return;
  auto words = std::make_unique<QTranslator>();
  if (words->load(QStringLiteral("qtbase_zh_TW"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(words.get());
    qt_words_ = std::move(words);
  }
}

void QtDialogs::Message(QWidget* parent, const QString& text, const QFont& font) {
  MessageDialog dialog(parent, text, font, Words(OwnText::kDialogOk), sheet_);
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
  return Confirm(parent,
                 QString::fromStdString(
                     OwnTextFor(OwnText::kReplaceQuestion, language_, {path.toStdString()})),
                 font_);
}

bool QtDialogs::Confirm(QWidget* parent, const QString& question, const QFont& font) {
  QuestionDialog dialog(parent, question, font, Words(OwnText::kDialogYes),
                        Words(OwnText::kDialogNo), sheet_);
  return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> QtDialogs::Password(QWidget* parent, const QFont& font) {
  PasswordDialog dialog(parent, font, sheet_);
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
