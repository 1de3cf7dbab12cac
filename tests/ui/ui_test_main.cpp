// The window-side tests need one application object; they run offscreen unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

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
  // The profiles the workbench keeps (window layout) go to a folder of this test process: never
  // the user's own, and never one that a test program running beside it clears.
  QTemporaryDir profiles;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profiles.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, profiles.path());
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProfile);
  return RUN_ALL_TESTS();
}
