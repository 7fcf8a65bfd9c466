// The small controls the advanced and breathing-light pages are made of,
// besides pictures, labels and number fields (shell/edit_field.h): a slider
// lying over a row of step pictures, a colour swatch, and what lights a row
// of step pictures.
#pragma once

#include <QColor>
#include <QLineEdit>
#include <QList>
#include <QPixmap>
#include <QWidget>
#include <vector>

#include "image/config_buffers.h"
#include "image/fields.h"
#include "tables/skin_layout.h"

namespace vrdk::shell {

class PictureLabel;
class Pictures;

// A slider over a row of step pictures: it draws only its thumb, so the row
// shows through, and takes the presses, drags and releases on the row.
// Positions are reported on the slider's ruler, a fixed length in pixels
// that the step rules of the core are written for, whatever the row's own
// length (ruler position = position x ruler / length).
class StepSlider : public QWidget {
  Q_OBJECT
 public:
  StepSlider(const QString& name, int maximum, int ruler, QWidget* parent);

  int value() const { return value_; }
  int maximum() const { return maximum_; }
  // Sets the thumb (0 .. maximum), emitting nothing.
  void setValue(int value);
  void SetThumb(const QPixmap& thumb);
  // A mirrored slider runs from its far end: right to left, or bottom to top.
  void SetMirrored(bool mirrored) { mirrored_ = mirrored; }
  // The ruler position of a point inside the slider.
  int RulerPosition(QPoint point) const;
  // The keyboard: a slider over a row of `steps` pictures takes the focus,
  // and the arrow keys, Home and End choose a picture of the row (1 for the
  // first, at the left or the top); 0 steps leaves the keyboard out.
  void SetSteps(int steps);
  int Steps() const { return steps_; }
  // The picture of the row the thumb stands on (1 .. Steps()).
  int CurrentStep() const;

 signals:
  // While the thumb is pressed or dragged: the value under it.
  void Moved(int value);
  void Pressed(int ruler_position);
  void Released(int ruler_position);
  // A step chosen with the keyboard or by an assistive tool (1 .. Steps()).
  void StepChosen(int step);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool Vertical() const { return height() > width(); }
  int Length() const { return Vertical() ? height() : width(); }
  int ValueAt(QPoint point) const;
  // How far along the slider a point lies, from its start.
  int Along(QPoint point) const;

  int maximum_;
  int ruler_;
  int value_ = 0;
  bool dragging_ = false;
  bool mirrored_ = false;
  int steps_ = 0;
  QPixmap thumb_;
};

// A swatch of one colour, inset in the colour frame it lies on.
class ColourSwatch : public QWidget {
  Q_OBJECT
 public:
  ColourSwatch(const QString& name, QWidget* parent);
  void SetColour(const QColor& colour);
  QColor Colour() const { return colour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_ = Qt::black;
};

// Style sheet of a number field or list in the skin's colours of a page
// ("D": text, back and border from Color_D, Color_D_Back, Color_D_Border).
QString FieldStyle(const SkinLayout& skin, const char* group);
// A drop-down list's sheet: the field's, and its pop-up in the same colours.
QString ListStyle(const SkinLayout& skin, const char* group);

// Shows "on" on the lit pictures of a row and "off" on the others.
void LightRow(Pictures& pictures, const QList<PictureLabel*>& row, const std::vector<bool>& lit,
              const QString& on, const QString& off);

// A control's name with its number: Numbered("Img_DPI%1", 3) is "Img_DPI3".
QString Numbered(const char* format, int n);

// A colour of the image (R, G, B) as Qt shows it.
QColor ToQColor(const image::Rgb& rgb);

// The picture names of a check box and a radio button, on and off.
inline const QString kCheckOn = QStringLiteral("CbS_E");
inline const QString kCheckOff = QStringLiteral("CbS_D");
inline const QString kRadioOn = QStringLiteral("RdS_E");
inline const QString kRadioOff = QStringLiteral("RdS_D");

// The colour of a text group's style, for a label's style sheet.
QString TextColourStyle(const SkinColour& colour);

}  // namespace vrdk::shell
