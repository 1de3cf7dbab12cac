// The "System module" page offscreen for the module sub-dialog tests: a page on a list that
// holds only the controller, helpers to reach a sub-dialog's controls by id, to select a row
// as a click does, to type keys into a control, and to read the parameter bytes of a record.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QStringList>
#include <QTreeWidget>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/crc16.h"
#include "sysblock/model/modules/module_list_page.h"
#include "sysblock/ui/property_page.h"
#include "sysblock/ui/system_block_extend_dlg.h"
#include "ui_test_support.h"

namespace corvell::test {

using Bytes = std::vector<uint8_t>;

class ModulePageTest : public ::testing::Test {
 public:
  void SetUp() override { EnsureApplication(); }

  CSystemBlockExtendDlg& OpenPage(int language) {
    page_.reset();
    modules_ = {BuildControllerRecord()};
    forceStates_.fill(2);
    page_ = std::make_unique<CSystemBlockExtendDlg>(modules_, forceStates_, language);
    page_->show();
    page_->OnSetActive();
    return *page_;
  }
  QWidget& Dialog(int type) { return *page_->SubDialog(type); }
  template <typename T>
  T* Ctl(int type, int id) {
    T* control = page_->SubDialog(type)->findChild<T*>(CPropertyPage::ControlName(id));
    EXPECT_NE(control, nullptr) << "control " << id << " of type " << type;
    return control;
  }
  // Bytes first..first+count-1 of record `row`.
  Bytes Params(size_t row, size_t first, size_t count) const {
    return Bytes(modules_.at(row).begin() + first, modules_.at(row).begin() + first + count);
  }
  // The entries of a list and the texts of a sub-dialog's labels, in order.
  static QStringList Entries(QComboBox* list) {
    QStringList entries;
    for (int e = 0; e < list->count(); ++e) entries << list->itemText(e);
    return entries;
  }
  QStringList Captions(int type) {
    QStringList captions;
    for (QLabel* label : Dialog(type).findChildren<QLabel*>()) captions << label->text();
    return captions;
  }
  void SelectRow(int row) {
    page_->List()->clearSelection();
    page_->List()->topLevelItem(row)->setSelected(true);
    page_->OnModuleListClick();
  }
  // The CRC a record carries and the CRC of bytes 7 to `last`.
  static uint16_t StoredCrc(const Bytes& record) {
    return static_cast<uint16_t>(record[record.size() - 2] | record[record.size() - 1] << 8);
  }
  static uint16_t CrcOver(const Bytes& record, size_t last) {
    return platform::Crc16Modbus(record.data() + 7, last - 6);
  }

  // Key presses as the keyboard sends them: each character of `text`, then an optional key
  // with modifiers (e.g. Ctrl+V, which types character 0x16).
  static void Type(QWidget* w, const QString& text) {
    for (QChar c : text) {
      const int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
      QApplication::sendEvent(w, &press);
      QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
      QApplication::sendEvent(w, &release);
    }
  }
  static void Press(QWidget* w, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
  }

  ModuleList modules_;
  ForceStateArray forceStates_{};
  std::unique_ptr<CSystemBlockExtendDlg> page_;
  RecordedMessages messages_;
};

}  // namespace corvell::test
