// ExcuteUserConfig of the built library, loaded as the workbench loads it, with the sheet
// answered through its widgets.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "ui_test_support.h"

namespace corvell {
namespace {

using SetPageFn = void (*)(int, const uint8_t*, int);
using GetPageFn = void (*)(int, const uint8_t**, int*);
using ConfigFn = bool (*)(void*);
using Bytes = std::vector<uint8_t>;

class CorvellConfigEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(CORVELL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);  // stays loaded, as in the workbench
    ASSERT_NE(handle_, nullptr) << dlerror();
    set_ = reinterpret_cast<SetPageFn>(dlsym(handle_, "SetPageData"));
    get_ = reinterpret_cast<GetPageFn>(dlsym(handle_, "GetPageData"));
    sample_ = reinterpret_cast<GetPageFn>(dlsym(handle_, "GetPageSample"));
    config_ = reinterpret_cast<ConfigFn>(dlsym(handle_, "ExcuteUserConfig"));
    ASSERT_TRUE(set_ && get_ && sample_ && config_);
    for (int page = 0; page <= 3; ++page) {
      Bytes bytes = Read(sample_, page);
      set_(page, bytes.data(), static_cast<int>(bytes.size()));
    }
  }
  static Bytes Read(GetPageFn get, int page) {
    const uint8_t* data = nullptr;
    int size = 0;
    get(page, &data, &size);
    return data == nullptr ? Bytes() : Bytes(data, data + size);
  }

  void* handle_ = nullptr;
  SetPageFn set_ = nullptr;
  GetPageFn get_ = nullptr;
  GetPageFn sample_ = nullptr;
  ConfigFn config_ = nullptr;
};

// Armed by the test below: closes the sheet from the application object the library makes.
bool rejectOnStartup = false;
void RejectTheSheetWhenShown() {
  if (!rejectOnStartup) return;
  rejectOnStartup = false;
  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
}

TEST_F(CorvellConfigEntry, MakesItsOwnApplicationWhenTheHostHasNone) {
  if (QCoreApplication::instance() != nullptr) GTEST_SKIP() << "an application object exists already";
  const Bytes page1 = Read(get_, 1);
  rejectOnStartup = true;
  qAddPreRoutine(RejectTheSheetWhenShown);
  EXPECT_FALSE(config_(nullptr));
  EXPECT_FALSE(rejectOnStartup) << "the sheet ran under an application object";
  EXPECT_EQ(QCoreApplication::instance(), nullptr) << "the library's application object is gone again";
  EXPECT_EQ(Read(get_, 1), page1);
}

TEST_F(CorvellConfigEntry, OkStoresTheEditedPages) {
  test::EnsureApplication();
  QTimer::singleShot(0, [] {
    auto* sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(sheet, nullptr);
    sheet->findChild<QTabWidget*>()->setCurrentIndex(2);
    sheet->findChild<QLineEdit*>(QStringLiteral("ctl30201"))->setText(QStringLiteral("abc"));
    sheet->findChild<QLineEdit*>(QStringLiteral("ctl30202"))->setText(QStringLiteral("abc"));
    for (auto* button : sheet->findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("OK")) button->click();
    if (sheet->isVisible()) {
      ADD_FAILURE() << "OK did not close the sheet";
      sheet->reject();
    }
  });
  const Bytes page0 = Read(get_, 0);
  EXPECT_TRUE(config_(nullptr));
  const Bytes page1 = Read(get_, 1);
  ASSERT_EQ(page1.size(), 24u);
  EXPECT_EQ(Bytes(page1.begin(), page1.begin() + 4), (Bytes{'a', 'b', 'c', 0xFF}));
  EXPECT_EQ(Read(get_, 0), page0);
}

}  // namespace
}  // namespace corvell
