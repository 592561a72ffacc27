// GoogleTest with the viewer's own application object for the whole run, so
// the tests see the standard dialogs as the operator does. The offscreen
// platform is chosen here too, because test discovery runs the binary
// without the tests' environment.
#include <gtest/gtest.h>

#include "main/OrxApplication.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TOrxApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
