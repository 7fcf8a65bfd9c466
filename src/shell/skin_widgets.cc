#include "shell/skin_widgets.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "shell/pictures.h"

namespace vrdk::shell {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString CssColour(const SkinColour& colour) {
  return QStringLiteral("rgb(%1, %2, %3)").arg(colour.red).arg(colour.green).arg(colour.blue);
}

namespace {

QColor& FocusColour() {
  static QColor colour(Qt::white);
  return colour;
}

}  // namespace

ControlLabel::ControlLabel(const QString& name, QWidget* parent, ControlRole role)
    : QLabel(parent), role_(role) {
  setObjectName(name);
  SetRole(role);
}

void ControlLabel::SetRole(ControlRole role) {
  role_ = role;
  // The keyboard reaches it with Tab; a click does not move the focus, so
  // a pointer user sees no mark.
  setFocusPolicy(role == ControlRole::kNone ? Qt::NoFocus : Qt::TabFocus);
}

void ControlLabel::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (QAccessible::isActive()) {
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
  }
}

void ControlLabel::SetFocusColour(const QColor& colour) { FocusColour() = colour; }

void ControlLabel::keyPressEvent(QKeyEvent* event) {
  const bool press = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                     event->key() == Qt::Key_Enter;
  if (role_ != ControlRole::kNone && press && !event->isAutoRepeat()) {
    event->accept();
    Activate();
    return;
  }
  QLabel::keyPressEvent(event);
}

namespace {

// A focus change the user made inside the window; not one of the window
// being activated, deactivated or closed (its parts may be gone by then).
bool MovedByUser(const QFocusEvent& event) {
  return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

}  // namespace

void ControlLabel::focusInEvent(QFocusEvent* event) {
  QLabel::focusInEvent(event);
  // The focus the window gives its first control when it opens is not
  // shown; one the keyboard moved is, and stays shown when the window
  // comes back to the front.
  if (MovedByUser(*event)) keyboard_focus_ = event->reason() != Qt::MouseFocusReason;
  update();
  if (MovedByUser(*event) && keyboard_focus_) emit FocusEntered();
}

void ControlLabel::focusOutEvent(QFocusEvent* event) {
  QLabel::focusOutEvent(event);
  update();
  if (!MovedByUser(*event) || !keyboard_focus_) return;
  keyboard_focus_ = false;
  emit FocusLeft();
}

void ControlLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  PaintFocusMark();
}

void DrawFocusMark(QPainter& painter, const QRect& area) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QPen pen(FocusColour(), 2);
  pen.setStyle(Qt::DotLine);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRectF(area).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
  painter.restore();
}

void ControlLabel::PaintFocusMark() {
  // A menu entry shows the focus by its chosen colours.
  if (!KeyboardFocus() || role_ == ControlRole::kMenuItem) return;
  QPainter painter(this);
  DrawFocusMark(painter, rect());
}

SkinLabel::SkinLabel(const QString& name, QWidget* parent)
    : ControlLabel(name, parent, ControlRole::kButton) {
  setAlignment(Qt::AlignCenter);
  setAttribute(Qt::WA_TranslucentBackground);
  setCursor(Qt::PointingHandCursor);
  // The keyboard focus looks as the pointer over it does.
  connect(this, &ControlLabel::FocusEntered, this, [this] {
    if (!underMouse()) emit Entered();
  });
  connect(this, &ControlLabel::FocusLeft, this, [this] {
    if (!underMouse()) emit Left();
  });
}

void SkinLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  if (!hasFocus()) emit Entered();
}

void SkinLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  pressed_ = false;
  if (!hasFocus()) emit Left();
}

void SkinLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  event->accept();
}

void SkinLabel::mouseReleaseEvent(QMouseEvent* event) {
  // A click is a press and a release on the label.
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
  pressed_ = false;
  event->accept();
  if (click) emit Clicked();
}

void SkinLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

PictureLabel::PictureLabel(const QString& name, QWidget* parent)
    : ControlLabel(name, parent, ControlRole::kNone) {
  setAttribute(Qt::WA_TranslucentBackground);
}

void PictureLabel::SetPicture(const QPixmap& picture) {
  pending_.clear();
  setPixmap(picture);
  if (size() != picture.size()) resize(picture.size());
}

void PictureLabel::SetPicture(Pictures& pictures, const QString& name) {
  if (isVisible()) {
    SetPicture(pictures.Get(name));
    return;
  }
  pictures_ = &pictures;
  pending_ = name;
  setPixmap(QPixmap());
  const QSize size = pictures.Size(name);
  if (this->size() != size) resize(size);
}

QPixmap PictureLabel::Picture() {
  Decode();
  return pixmap();
}

void PictureLabel::Decode() {
  if (pending_.isEmpty()) return;
  SetPicture(pictures_->Get(pending_));
}

void PictureLabel::paintEvent(QPaintEvent* event) {
  if (isEnabled() || pixmap().isNull()) {
    ControlLabel::paintEvent(event);
    return;
  }
  // A disabled picture is drawn as it is: the skin's pictures carry their
  // own unlit look, and Qt's generated disabled look lightens them until
  // they seem lit.
  {
    QPainter painter(this);
    style()->drawItemPixmap(&painter, contentsRect(), static_cast<int>(alignment()), pixmap());
  }
  PaintFocusMark();
}

void PictureLabel::showEvent(QShowEvent* event) {
  Decode();
  QLabel::showEvent(event);
}

void PictureLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Pressed();
  QLabel::mousePressEvent(event);
}

void WireHoverPictures(SkinLabel& label, PictureLabel& image, Pictures& pictures,
                       const QString& family, std::function<QString()> resting) {
  if (!resting) resting = [] { return QStringLiteral("_01"); };
  QObject::connect(&label, &SkinLabel::Entered, &image, [&image, &pictures, family] {
    image.SetPicture(pictures.Get(family + QStringLiteral("_02")));
  });
  QObject::connect(&label, &SkinLabel::Left, &image,
                   [&image, &pictures, family, resting = std::move(resting)] {
                     image.SetPicture(pictures.Get(family + resting()));
                   });
}

}  // namespace vrdk::shell
