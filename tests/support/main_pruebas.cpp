// Entry of every test program: an offscreen QApplication so widget tests never need a
// display, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // No background upload retry behind the tests' backs: the tests that need it drive it.
  qputenv("POS_SIN_REINTENTO", "1");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
