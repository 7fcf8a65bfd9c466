// The two kinds of control the skinned window is made of: a picture (Img_...)
// and a transparent text label lying on it (Btn_...), which takes the clicks
// and tells when the mouse enters and leaves it.
#pragma once

#include <QLabel>
#include <functional>
#include <string_view>

#include "tables/skin_layout.h"

namespace vrdk::shell {

class Pictures;

// A text of the tables (UTF-8) for a widget.
QString FromUtf8(std::string_view text);
// A skin colour as a style sheet writes it: "rgb(r, g, b)".
QString CssColour(const SkinColour& colour);

class SkinLabel : public QLabel {
  Q_OBJECT
 public:
  explicit SkinLabel(const QString& name, QWidget* parent);

 signals:
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
class PictureLabel : public QLabel {
  Q_OBJECT
 public:
  PictureLabel(const QString& name, QWidget* parent);
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
