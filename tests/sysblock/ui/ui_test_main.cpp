// The sheet tests run offscreen. The application object is made on first use (see
// ui_test_support.h), so that a test run on its own can first see the editor make its own.
#include <gtest/gtest.h>

#include "ui_test_support.h"

namespace corvell::test {

QApplication* application = nullptr;

QApplication& EnsureApplication() {
  static int argc = 1;
  static char name[] = "sysblock_ui_tests";
  static char* argv[] = {name, nullptr};
  if (application == nullptr) application = new QApplication(argc, argv);
  return *application;
}

}  // namespace corvell::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  delete corvell::test::application;
  return result;
}
