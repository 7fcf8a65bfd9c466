// FormLoadingUI: the loading window shown during transfers. A borderless
// 115 x 60 window that stays on top, its background transparent, holding the
// 50 x 50 picture WaitGif, which turns while the window is shown. The core
// pumps window events between chunks, so it keeps turning during a transfer.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace vrdk::shell {

class FormLoadingUI : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 115;
  static constexpr int kHeight = 60;
  static constexpr int kFrameMs = 40;

  FormLoadingUI(const QPixmap& wait_picture, QWidget* owner);
  // Shown at the owner's left + 6, top + 6.
  void ShowOver(const QWidget& owner);
  int Frame() const { return frame_; }
  // The spinner as drawn at the current frame.
  QImage FrameImage() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Shape();

  QPixmap picture_;
  QTimer animation_;
  int frame_ = 0;
};

}  // namespace vrdk::shell
