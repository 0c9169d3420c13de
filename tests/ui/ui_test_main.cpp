#include <gtest/gtest.h>

#include <QApplication>

// Desktop tests run on Qt's offscreen platform, so they need no display.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
