// The window-side tests need one application object; they run offscreen unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

namespace {

// Each test starts without a window layout left by an earlier one.
class FreshProfile : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    QSettings(QStringLiteral("BrennoSoftware"), QStringLiteral("BrennoLad")).clear();
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Profiles the workbench keeps (window layout) go to a test folder, never the user's own.
  QStandardPaths::setTestModeEnabled(true);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProfile);
  return RUN_ALL_TESTS();
}
