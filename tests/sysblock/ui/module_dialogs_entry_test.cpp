// The module sub-dialogs reached through ExcuteUserConfig of the built library, loaded as the
// workbench loads it: page 3 holds modules of the input types, the sheet's module list is
// clicked through its widgets, controls of the shown sub-dialog are changed, and OK stores
// the rebuilt records in page 3.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <cstdint>
#include <vector>

#include "../modules/module_test_bytes.h"
#include "platform/crc16.h"
#include "sysblock/model/modules/module_list_page.h"
#include "sysblock/model/modules/module_records.h"
#include "ui_test_support.h"

namespace corvell {
namespace {

using SetPageFn = void (*)(int, const uint8_t*, int);
using GetPageFn = void (*)(int, const uint8_t**, int*);
using ConfigFn = bool (*)(void*);
using Bytes = std::vector<uint8_t>;

Bytes Read(GetPageFn get, int page) {
  const uint8_t* data = nullptr;
  int size = 0;
  get(page, &data, &size);
  return data == nullptr ? Bytes() : Bytes(data, data + size);
}

// The one shown control named by a control id (several sub-dialogs share ids).
template <typename T>
T* Shown(QWidget& sheet, int id) {
  for (T* control : sheet.findChildren<T*>(QStringLiteral("ctl%1").arg(id)))
    if (control->isVisible()) return control;
  return nullptr;
}

// A left click on row `row` of the module list, as the list reports it.
void ClickRow(QTreeWidget& list, int row) {
  QTreeWidgetItem* item = list.topLevelItem(row);
  ASSERT_NE(item, nullptr);
  list.clearSelection();
  item->setSelected(true);
  const QPointF pos = list.visualItemRect(item).center();
  QMouseEvent release(QEvent::MouseButtonRelease, pos, list.viewport()->mapToGlobal(pos), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(list.viewport(), &release);
}

TEST(ModuleDialogsThroughTheEntry, OkStoresWhatTheSubDialogsHold) {
  test::EnsureApplication();
  void* handle = dlopen(CORVELL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);  // stays loaded, as in the workbench
  ASSERT_NE(handle, nullptr) << dlerror();
  auto set = reinterpret_cast<SetPageFn>(dlsym(handle, "SetPageData"));
  auto get = reinterpret_cast<GetPageFn>(dlsym(handle, "GetPageData"));
  auto sample = reinterpret_cast<GetPageFn>(dlsym(handle, "GetPageSample"));
  auto config = reinterpret_cast<ConfigFn>(dlsym(handle, "ExcuteUserConfig"));
  auto setLang = reinterpret_cast<void (*)(int)>(dlsym(handle, "SetLang"));
  ASSERT_TRUE(set && get && sample && config && setLang);
  setLang(1);
  for (int page = 0; page <= 2; ++page) {
    Bytes bytes = Read(sample, page);
    set(page, bytes.data(), static_cast<int>(bytes.size()));
  }
  // Page 3: the controller, then Istrel, Varnock, Uvendar, Yolvask and Nuvask as new modules.
  const ModuleListDecodeResult samplePage = DecodeModuleListPage(Read(sample, 3));
  ASSERT_TRUE(samplePage.ok());
  ModuleList modules = samplePage.modules;
  ModuleParameterSet defaults;
  for (uint8_t type : {4, 21, 15, 23, 6}) {
    ResetModuleParameters(type, defaults);
    modules.push_back(BuildModuleRecord(type, defaults, static_cast<uint8_t>(modules.size()), modules));
  }
  const Bytes page3 = *EncodeModuleListPage(modules);
  set(3, page3.data(), static_cast<int>(page3.size()));

  QTimer::singleShot(0, [] {
    auto* sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(sheet, nullptr);
    auto* list = sheet->findChild<QTreeWidget*>(QStringLiteral("ctl30501"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), 6);
    ClickRow(*list, 1);  // Istrel: force channel 7 with 12.5
    if (auto* box = Shown<QCheckBox>(*sheet, 40071)) box->click();
    if (auto* edit = Shown<QLineEdit>(*sheet, 40063)) edit->setText(QStringLiteral("12.5"));
    ClickRow(*list, 2);  // Varnock: row labels from its input start 8, no compensation
    if (auto* cold = Shown<QComboBox>(*sheet, 30871)) cold->setCurrentIndex(2);
    ClickRow(*list, 3);  // Uvendar: output 1 at "4-20mA"
    if (auto* ao = Shown<QComboBox>(*sheet, 30986)) ao->setCurrentIndex(4);
    ClickRow(*list, 4);  // Yolvask: channel 2 "脉冲加方向"
    if (auto* encoding = Shown<QComboBox>(*sheet, 60080)) encoding->setCurrentIndex(1);
    ClickRow(*list, 5);  // Nuvask: upper limit of channel 0 at 850
    if (auto* upper = Shown<QLineEdit>(*sheet, 30619)) upper->setText(QStringLiteral("850"));
    for (auto* button : sheet->findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("OK")) button->click();
    if (sheet->isVisible()) {
      ADD_FAILURE() << "OK did not close the sheet";
      sheet->reject();
    }
  });
  ASSERT_TRUE(config(nullptr));
  const ModuleListDecodeResult stored = DecodeModuleListPage(Read(get, 3));
  ASSERT_TRUE(stored.ok());
  ASSERT_EQ(stored.modules.size(), 6u);
  const auto& m = stored.modules;
  for (size_t i = 1; i < m.size(); ++i) EXPECT_EQ(m[i].size(), modules[i].size()) << i;
  EXPECT_EQ(m[1][15], 0x80);
  EXPECT_EQ(Bytes(m[1].begin() + 144 + 28, m[1].begin() + 148 + 28), moduletest::F32(12.5f));
  EXPECT_EQ(m[2][2], 8);
  EXPECT_EQ(m[2][86], 2);
  EXPECT_EQ(Bytes(m[2].begin(), m[2].begin() + 86), Bytes(modules[2].begin(), modules[2].begin() + 86));
  EXPECT_EQ(m[3][96], 4);
  EXPECT_EQ(Bytes(m[4].begin() + 7, m[4].begin() + 11), (Bytes{0, 1, 0, 0}));
  EXPECT_EQ(Bytes(m[5].begin() + 28, m[5].begin() + 32), moduletest::F32(850.0f));
  for (size_t i = 1; i < m.size(); ++i) {
    const size_t covered = i == 2 ? 79 : i == 4 ? 3 : m[i].size() - 9;
    EXPECT_EQ(m[i][m[i].size() - 2] | m[i][m[i].size() - 1] << 8, platform::Crc16Modbus(m[i].data() + 7, covered)) << i;
  }
}

}  // namespace
}  // namespace corvell
