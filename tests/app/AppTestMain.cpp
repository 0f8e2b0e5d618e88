// The application tests run under Ondivo's own application object, as the program does.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/OndivoApplication.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir runtime;
  if (runtime.isValid()) qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  ondivo::OndivoApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
