// The window's small dialogs, one look for all: frameless on the "Msg"
// picture, a title, one text box, Confirm and Clear picture buttons and a
// close button, each placed by the skin's keys for that dialog, in its text
// style. The key-combination dialog (TForm2) and the macro page's name, key
// and delay dialogs are made so.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

namespace vrdk::shell {

class ShellServices;
class SkinLabel;

class SmallDialog : public QDialog {
  Q_OBJECT
 public:
  // Where the skin places a dialog's parts and how it colours them.
  struct Look {
    const char* group;          // its text style: "K" or "L"
    const char* edit_colour;    // the text box's background colour stem
    const char* title_place;    // the title's X, Y and W keys' stem ("MNT")
    const char* edit_place;     // the text box's ("MNC")
    const char* button_prefix;  // the buttons' "_Cfm", "_Clear", "_Close" stem ("MN")
  };
  // The component names of its parts.
  struct Names {
    QString dialog, base, title, edit, confirm, clear, close;
  };
  // The look of the macro page's dialogs, whose parts carry the names
  // lbl_Title, Btn_Confirm, Btn_Clear and Btn_Close.
  static constexpr Look kMacroLook{"L", "L_MN", "MNT", "MNC", "MN"};
  static Names MacroNames(const QString& dialog, const QString& edit);

  // Title, Confirm and Clear take the language keys given.
  SmallDialog(ShellServices& services, const Look& look, const Names& names, const char* title_key,
              const char* confirm_key, const char* clear_key);
  QLineEdit* Edit() const { return edit_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Whether Confirm may close the dialog now.
  virtual bool Acceptable() { return true; }
  // What the buttons do; Enter is Confirm, Esc is Close.
  virtual void ConfirmClicked();
  virtual void ClearClicked();
  virtual void CloseClicked();

  ShellServices& services_;
  QLineEdit* edit_;

 private:
  SkinLabel* AddButton(const QString& name, const QString& family, const QPoint& at,
                       const QString& caption, const QString& colour);
};

}  // namespace vrdk::shell
