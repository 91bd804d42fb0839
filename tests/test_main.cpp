// Test entry: a QApplication on the offscreen platform, so fonts, pictures and windows work
// without a display. The user's configuration folder is a temporary one, so the files a test
// opens never reach the real user's recent list.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "readers/CgnsProcess.h"

int main(int argc, char** argv) {
  // The CGNS reader starts the running program again to read a file apart.
  if (corvane::IsCgnsReaderProcess(argc, argv)) corvane::RunCgnsReaderProcess(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
