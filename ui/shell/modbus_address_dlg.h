// The MODBUS address query: for an operand typed in the workbench's notation, four rows of
// sixteen bit cells starting at the 16-bit group that holds it, the covered bits marked, and
// each row labelled with its Modbus number. It changes nothing in the project.
#pragma once

#include <QDialog>
#include <QPixmap>

#include <array>
#include <functional>
#include <string>

#include "ui/shell/modbus_address_query.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Brenno {

// The operand picker behind "Reference": given the operand format and the current text, true
// with the chosen operand text. The main frame passes the device detail dialog here.
using ModbusOperandPicker = std::function<bool(QWidget* parent, const std::wstring& format, std::wstring& operand)>;

class CModbusAddressQueryDlg : public QDialog {
  Q_OBJECT
 public:
  // `manager` is the current project's memory map; not owned.
  CModbusAddressQueryDlg(QWidget* parent, const MemoryAreaManager& manager, ModbusOperandPicker picker = {});

  QComboBox* TypeList() const { return typeList_; }
  QLineEdit* OperandEdit() const { return operand_; }
  QPushButton* ReferenceButton() const { return reference_; }
  QLabel* RowLabel(int row) const { return rowLabels_[static_cast<size_t>(row)]; }
  // Whether cell (row, column) shows the covered-bit picture.
  bool CellCovered(int row, int column) const;
  // The bit cell with child id 100 + 16 * row + column.
  QLabel* Cell(int row, int column) const;
  const ModbusAddressView& View() const { return view_; }

 private:
  void Recompute();
  void OnReference();

  const MemoryAreaManager& manager_;
  ModbusOperandPicker picker_;
  QComboBox* typeList_ = nullptr;
  QLineEdit* operand_ = nullptr;
  QPushButton* reference_ = nullptr;
  std::array<QLabel*, kModbusQueryRows> rowLabels_{};
  std::array<QLabel*, kModbusQueryRows * kModbusQueryColumns> cells_{};
  QPixmap bitIcon_;
  QPixmap coveredIcon_;
  ModbusAddressView view_;
  bool recomputing_ = false;
};

// Runs the query modally on the manager (the current project's memory map); true when it was
// closed with OK.
bool RunModbusAddressQuery(QWidget* owner, const MemoryAreaManager& manager, ModbusOperandPicker picker = {});

}  // namespace Brenno
