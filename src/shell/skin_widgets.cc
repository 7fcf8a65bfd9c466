#include "shell/skin_widgets.h"

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

SkinLabel::SkinLabel(const QString& name, QWidget* parent) : QLabel(parent) {
  setObjectName(name);
  setAlignment(Qt::AlignCenter);
  setAttribute(Qt::WA_TranslucentBackground);
  setCursor(Qt::PointingHandCursor);
}

void SkinLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  emit Entered();
}

void SkinLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  pressed_ = false;
  emit Left();
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

PictureLabel::PictureLabel(const QString& name, QWidget* parent) : QLabel(parent) {
  setObjectName(name);
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
    QLabel::paintEvent(event);
    return;
  }
  // A disabled picture is drawn as it is: the skin's pictures carry their
  // own unlit look, and Qt's generated disabled look lightens them until
  // they seem lit.
  QPainter painter(this);
  style()->drawItemPixmap(&painter, contentsRect(), static_cast<int>(alignment()), pixmap());
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
