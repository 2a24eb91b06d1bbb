// Test entry for everything that needs Qt: the offscreen platform unless a
// display is asked for explicitly, one QApplication, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tamlo");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
