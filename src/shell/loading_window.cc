#include "shell/loading_window.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPainter>

namespace vrdk::shell {
namespace {
constexpr int kPictureSize = 50;
constexpr int kSteps = 12;  // the picture has twelve spokes: one turn in twelve frames
}  // namespace

FormLoadingUI::FormLoadingUI(const QPixmap& wait_picture, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus),
      picture_(wait_picture) {
  setObjectName(QStringLiteral("FormLoadingUI"));
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedSize(kWidth, kHeight);
  animation_.setInterval(kFrameMs);
  connect(&animation_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kSteps;
    Shape();
    update();
  });
}

QImage FormLoadingUI::FrameImage() const {
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(kWidth / 2.0, kHeight / 2.0);
  painter.rotate(360.0 * frame_ / kSteps);
  painter.drawPixmap(QRectF(-kPictureSize / 2.0, -kPictureSize / 2.0, kPictureSize, kPictureSize),
                     picture_, QRectF(picture_.rect()));
  return image;
}

// Without a compositor the transparent pixels would show black: the window
// takes the shape of the frame drawn, as the main window takes its
// picture's (the offscreen platform has no masks).
void FormLoadingUI::Shape() {
  if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
  setMask(QBitmap::fromImage(FrameImage().createAlphaMask()));
}

void FormLoadingUI::showEvent(QShowEvent* event) {
  Shape();
  QWidget::showEvent(event);
  animation_.start();
}

void FormLoadingUI::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  animation_.stop();
}

void FormLoadingUI::ShowOver(const QWidget& owner) {
  move(owner.frameGeometry().topLeft() + QPoint(6, 6));
  if (!isVisible()) show();
}

void FormLoadingUI::paintEvent(QPaintEvent*) {
  if (!isVisible()) return;
  QPainter painter(this);
  painter.drawImage(0, 0, FrameImage());
}

}  // namespace vrdk::shell
