// The three small dialogs of the Modbus master configuration: slave address, refresh level and
// data block.
#pragma once

#include <QDialog>

#include "sysblock/ui/data_block_fields.h"

class QComboBox;
class QLineEdit;

namespace corvell {

constexpr int kSlaveAddressListControl = 40074;
constexpr int kRefreshLevelListControl = 40075;
constexpr int kBlockReferenceControl = 40076;
constexpr int kBlockNameControl = 40077;
constexpr int kBlockFunctionControl = 40078;
constexpr int kBlockFirstAddressControl = 40079;
constexpr int kBlockLengthControl = 40080;

// "添加从站": the slave address 0 to 247 as the list's selected index.
class CSlaveAddrDlg : public QDialog {
 public:
  explicit CSlaveAddrDlg(int language, QWidget* parent = nullptr);
  int SlaveAddress = 0;
  void accept() override;
  QComboBox* List() const { return list_; }

 private:
  QComboBox* list_;
};

// "Refresh Level" / "刷新级别": the refresh level index (50 ms to 1000 ms).
class CRefreshLevelDlg : public QDialog {
 public:
  CRefreshLevelDlg(int language, int level, QWidget* parent = nullptr);
  int RefreshLevel = 0;
  void accept() override;
  QComboBox* List() const { return list_; }

 private:
  QComboBox* list_;
};

// "Datablock" / "数据块": name, function, first address, reference start and length.
class CDataBlockDlg : public QDialog {
 public:
  CDataBlockDlg(int language, const DataBlockFields& values, QWidget* parent = nullptr);

  DataBlockFields Values;

  // Length 1 and its edit disabled for the single-item functions, enabled for the others.
  void ApplyLengthRule();
  // Reads and checks the values; stays open with a message on the first refused one.
  void accept() override;

  QLineEdit* Edit(int offset) const;
  QComboBox* FunctionList() const { return function_; }

 private:
  int language_;
  QComboBox* function_;
};

}  // namespace corvell
