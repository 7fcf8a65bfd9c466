// The two kinds of control the skinned window is made of: a picture (Img_...)
// and a transparent text label lying on it (Btn_...), which takes the clicks
// and tells when the mouse enters and leaves it. Either may be a control of
// the keyboard and of assistive tools: it then takes the focus with Tab,
// shows a focus mark, is pressed with Space or Enter, and tells its role,
// name and state through Qt's accessibility interfaces.
#pragma once

#include <QLabel>
#include <functional>
#include <string_view>

#include "tables/skin_layout.h"

class QPainter;

namespace vrdk::shell {

class Pictures;

// A text of the tables (UTF-8) for a widget.
QString FromUtf8(std::string_view text);
// A skin colour as a style sheet writes it: "rgb(r, g, b)".
QString CssColour(const SkinColour& colour);

// The keyboard focus mark around `area`, in the skin's focus colour.
void DrawFocusMark(QPainter& painter, const QRect& area);

// What a label is to the keyboard and to assistive tools. kNone: neither
// (a picture that only decorates, a caption).
enum class ControlRole { kNone, kButton, kCheckBox, kRadioButton, kPageTab, kMenuItem };

class ControlLabel : public QLabel {
  Q_OBJECT
 public:
  ControlRole Role() const { return role_; }
  void SetRole(ControlRole role);
  // Checked (a check box, an option, the page shown); told to assistive tools.
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // It has the focus, and the keyboard moved it there: the mark shows.
  bool KeyboardFocus() const { return hasFocus() && keyboard_focus_; }
  // Presses it as a click does: the keyboard and assistive tools call it.
  virtual void Activate() = 0;
  // The focus mark's colour, the skin's.
  static void SetFocusColour(const QColor& colour);

 signals:
  // The keyboard focus came or went (the hover look follows it).
  void FocusEntered();
  void FocusLeft();

 protected:
  ControlLabel(const QString& name, QWidget* parent, ControlRole role);
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  // The mark over what is drawn, while the label has the focus.
  void PaintFocusMark();

 private:
  ControlRole role_;
  bool checked_ = false;
  bool keyboard_focus_ = false;
};

class SkinLabel : public ControlLabel {
  Q_OBJECT
 public:
  // A button unless given another role.
  explicit SkinLabel(const QString& name, QWidget* parent);
  void Activate() override { emit Clicked(); }

 signals:
  // The pointer, or the keyboard focus, came onto it or left it.
  void Entered();
  void Left();
  void Clicked();
  void DoubleClicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

// A picture; a background picture also lets the window be dragged by it.
// A picture is left out of the accessibility tree unless it is given a role.
class PictureLabel : public ControlLabel {
  Q_OBJECT
 public:
  PictureLabel(const QString& name, QWidget* parent);
  void Activate() override { emit Pressed(); }
  void SetPicture(const QPixmap& picture);
  // The picture of that name at its size; decoded when the label is first
  // shown, so that hidden pages hold no pixels.
  void SetPicture(Pictures& pictures, const QString& name);
  // The picture it shows or will show.
  QPixmap Picture();

 signals:
  void Pressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Decode();

  Pictures* pictures_ = nullptr;  // with pending_: a picture not decoded yet
  QString pending_;
};

// A picture button: `image` shows the picture family's "_02" while the
// pointer is over `label`, and `resting()` ("_01" when not given) otherwise.
// The window's buttons, the dialogs' buttons and the pages' own picture
// buttons are all made so.
void WireHoverPictures(SkinLabel& label, PictureLabel& image, Pictures& pictures,
                       const QString& family, std::function<QString()> resting = {});

}  // namespace vrdk::shell
