// The window's dialogs: the message dialog (one OK button, in the language
// table's font), the password dialog dlgPass, and the system's file and
// colour dialogs.
// The window reaches them through ShellDialogs, so tests can answer them.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>
#include <memory>
#include <optional>

#include "tables/own_texts.h"

class QLabel;
class QLineEdit;
class QTranslator;

namespace vrdk::shell {

class ShellDialogs {
 public:
  virtual ~ShellDialogs() = default;
  // The modal message dialog; returns when OK is pressed.
  virtual void Message(QWidget* parent, const QString& text, const QFont& font) = 0;
  // The save dialog: the name chosen, or empty on cancel. It does not ask
  // about existing files: the caller asks about the name it will write.
  virtual QString SaveFileName(QWidget* parent, const QString& filter) = 0;
  virtual QString OpenFileName(QWidget* parent, const QString& filter) = 0;
  // "Replace the existing file?"; true to replace.
  virtual bool ConfirmReplace(QWidget* parent, const QString& path) = 0;
  // A yes-or-no question before a change that cannot be undone; true for yes.
  virtual bool Confirm(QWidget* parent, const QString& question, const QFont& font) = 0;
  // dlgPass: the code entered, or nothing on cancel.
  virtual std::optional<QString> Password(QWidget* parent, const QFont& font) = 0;
  // Opens a web address with the desktop's default handler.
  virtual void OpenWebAddress(const QString& address) = 0;
  // The system's colour dialog, starting at `initial`: the colour chosen, or
  // nothing on cancel.
  virtual std::optional<QColor> Colour(QWidget* parent, const QColor& initial,
                                       const QString& title) = 0;
  // Runs one of the window's own small dialogs (macro name, input key, input
  // delay) modally; true when it was confirmed. Tests answer it themselves.
  virtual bool Run(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }
  // The window's language (1..3), its table font and the dialogs' style
  // sheet, for the dialogs' own words and look and the system dialogs'
  // translations.
  virtual void SetLanguage(int /*language*/, const QFont& /*font*/, const QString& /*sheet*/) {}
};

// The dialogs a person sees.
class QtDialogs : public ShellDialogs {
 public:
  QtDialogs();
  ~QtDialogs() override;
  void Message(QWidget* parent, const QString& text, const QFont& font) override;
  QString SaveFileName(QWidget* parent, const QString& filter) override;
  QString OpenFileName(QWidget* parent, const QString& filter) override;
  bool ConfirmReplace(QWidget* parent, const QString& path) override;
  bool Confirm(QWidget* parent, const QString& question, const QFont& font) override;
  std::optional<QString> Password(QWidget* parent, const QFont& font) override;
  void OpenWebAddress(const QString& address) override;
  std::optional<QColor> Colour(QWidget* parent, const QColor& initial,
                               const QString& title) override;
  void SetLanguage(int language, const QFont& font, const QString& sheet) override;

 private:
  QString Words(OwnText text) const;

  int language_ = 1;
  QFont font_;
  QString sheet_;
  std::unique_ptr<QTranslator> qt_words_;  // Qt's own dialogs in language 2
};

// The message dialog, FormMessagDialog: borderless, on the "Msg" picture.
class MessageDialog : public QDialog {
  Q_OBJECT
 public:
  MessageDialog(QWidget* parent, const QString& text, const QFont& font, const QString& ok,
                const QString& sheet);
  QString Text() const;

 private:
  QLabel* text_;
};

// A yes-or-no question in the message dialog's look (FormQuestionDialog);
// No is the default.
class QuestionDialog : public QDialog {
  Q_OBJECT
 public:
  QuestionDialog(QWidget* parent, const QString& question, const QFont& font, const QString& yes,
                 const QString& no, const QString& sheet);
};

// The password dialog dlgPass (caption "Password").
class PasswordDialog : public QDialog {
  Q_OBJECT
 public:
  PasswordDialog(QWidget* parent, const QFont& font, const QString& sheet);
  QString Code() const;

 private:
  QLineEdit* code_;
};

}  // namespace vrdk::shell
