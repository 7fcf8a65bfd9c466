#include "shell/pages/page_controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QTransform>
#include <algorithm>

#include "shell/pictures.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {

StepSlider::StepSlider(const QString& name, int maximum, int ruler, QWidget* parent)
    : QWidget(parent), maximum_(maximum), ruler_(ruler) {
  setObjectName(name);
  setAttribute(Qt::WA_TranslucentBackground);
  setCursor(Qt::PointingHandCursor);
}

void StepSlider::setValue(int value) {
  value_ = std::clamp(value, 0, maximum_);
  update();
}

void StepSlider::SetSteps(int steps) {
  steps_ = steps;
  setFocusPolicy(steps > 0 ? Qt::TabFocus : Qt::NoFocus);
}

int StepSlider::CurrentStep() const {
  if (steps_ <= 1 || maximum_ <= 0) return 1;
  // Values stand on the steps evenly; a mirrored row counts from its far end.
  const int along = (value_ * (steps_ - 1) + maximum_ / 2) / maximum_;
  return mirrored_ ? steps_ - along : along + 1;
}

void StepSlider::keyPressEvent(QKeyEvent* event) {
  if (steps_ <= 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int current = CurrentStep();
  int step = current;
  switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
      step = current + 1;
      break;
    case Qt::Key_Left:
    case Qt::Key_Up:
      step = current - 1;
      break;
    case Qt::Key_Home:
      step = 1;
      break;
    case Qt::Key_End:
      step = steps_;
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
  step = std::clamp(step, 1, steps_);
  if (step != current) emit StepChosen(step);
}

void StepSlider::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void StepSlider::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void StepSlider::SetThumb(const QPixmap& thumb) {
  thumb_ = thumb;
  update();
}

int StepSlider::Along(QPoint point) const {
  const int along = Vertical() ? point.y() : point.x();
  return mirrored_ ? Length() - 1 - along : along;
}

int StepSlider::RulerPosition(QPoint point) const {
  return Length() > 0 ? Along(point) * ruler_ / Length() : 0;
}

int StepSlider::ValueAt(QPoint point) const {
  const int along = std::clamp(Along(point), 0, std::max(Length() - 1, 0));
  return Length() > 1 ? along * maximum_ / (Length() - 1) : 0;
}

void StepSlider::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (hasFocus()) DrawFocusMark(painter, rect());
  if (thumb_.isNull() || !isEnabled()) return;
  const QPixmap thumb = Vertical() ? thumb_.transformed(QTransform().rotate(90)) : thumb_;
  const int travel = Length() - (Vertical() ? thumb.height() : thumb.width());
  int at = maximum_ > 0 ? value_ * std::max(travel, 0) / maximum_ : 0;
  if (mirrored_) at = std::max(travel, 0) - at;
  if (Vertical()) {
    painter.drawPixmap((width() - thumb.width()) / 2, at, thumb);
  } else {
    painter.drawPixmap(at, (height() - thumb.height()) / 2, thumb);
  }
}

void StepSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  setValue(ValueAt(event->position().toPoint()));
  emit Pressed(RulerPosition(event->position().toPoint()));
  emit Moved(value_);
}

void StepSlider::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  setValue(ValueAt(event->position().toPoint()));
  emit Moved(value_);
}

void StepSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  emit Released(RulerPosition(event->position().toPoint()));
}

ColourSwatch::ColourSwatch(const QString& name, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ColourSwatch::SetColour(const QColor& colour) {
  colour_ = colour;
  update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(isEnabled() ? colour_ : colour_.darker(300));
  painter.drawRoundedRect(QRectF(rect()).adjusted(5, 5, -5, -5), 2, 2);
}

QString FieldStyle(const SkinLayout& skin, const char* group) {
  const std::string stem(group);
  return QStringLiteral(
             "color: %1; background: %2; border: 1px solid %3; padding: 0 4px;"
             " selection-background-color: %4;")
      .arg(CssColour(skin.Style(stem).colour), CssColour(skin.Colour(stem + "_Back")),
           CssColour(skin.Colour(stem + "_Border")), Css(SkinPalette::Of(skin).accent));
}

QString ListStyle(const SkinLayout& skin, const char* group) {
  const std::string stem(group);
  // The pop-up list in the field's colours: left to the system's palette it
  // would draw the field's light text on light grey.
  return QStringLiteral(
             "QComboBox { %1 }"
             " QComboBox QAbstractItemView { color: %2; background: %3; border: 1px solid %4;"
             " selection-background-color: %5; selection-color: %6; outline: none; }")
      .arg(FieldStyle(skin, group), CssColour(skin.Style(stem).colour),
           CssColour(skin.Colour(stem + "_Back")), CssColour(skin.Colour(stem + "_Border")),
           CssColour(skin.Colour("G_SP")), CssColour(skin.Colour("G_SF")));
}

void LightRow(Pictures& pictures, const QList<PictureLabel*>& row, const std::vector<bool>& lit,
              const QString& on, const QString& off) {
  for (int i = 0; i < row.size(); ++i) {
    const bool shown = static_cast<std::size_t>(i) < lit.size() && lit[static_cast<std::size_t>(i)];
    row[i]->SetPicture(pictures.Get(shown ? on : off));
  }
}

QString Numbered(const char* format, int n) { return QString::fromLatin1(format).arg(n); }

QColor ToQColor(const image::Rgb& rgb) { return QColor(rgb[0], rgb[1], rgb[2]); }

QString TextColourStyle(const SkinColour& colour) {
  return QStringLiteral("color: %1; background: transparent;").arg(CssColour(colour));
}

}  // namespace vrdk::shell
