// Test entry: a QApplication on the offscreen platform, so fonts, pictures and windows work
// without a display.
#include <QApplication>
#include <gtest/gtest.h>

#include "data/CgnsProcess.h"

int main(int argc, char** argv) {
  // The CGNS reader starts the running program again to read a file apart.
  if (corvane::IsCgnsReaderProcess(argc, argv)) corvane::RunCgnsReaderProcess(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
