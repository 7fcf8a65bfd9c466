// The window's tests run on Qt's offscreen platform, with one application
// object for the whole run.
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
