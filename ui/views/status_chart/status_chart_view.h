// One page of the project's status chart as a grid: records are chart rows, groups are the
// chart's column groups of four cells (Address, Data Type, Value, Forced). The user types
// addresses, picks each cell's display format and, while online, writes values and forces bits.
// Nothing of a cell is kept here: every paint reads the model (and the online cache) again.
//
// Commands (offsets of the command-id base): Cut 20123, Copy 20124, Paste 20125, Select All
// 20129 (on the open in-place edit's text while it is shown), Insert Status Chart 20301, Delete
// Status Chart 20302. The pane offers them through OnCmdMsg while the grid has the focus.
#pragma once

#include <QMenu>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/widgets/table_view_ctrl.h"

namespace Brenno {

class StatusChart;

// What the user is told when a typed address is not taken: that the text is no operand, global
// symbol or range of the PLC, and what the Address column takes (`examples`: operands of the PLC
// type, such as I0.0).
std::wstring ChartAddressRefusedMessage(const std::wstring& text, const std::vector<std::wstring>& examples);

// Why a value typed into a Value cell, or a force state chosen, did not reach the PLC.
enum class ChartValueRefusal {
  NoAddress,     // the cell has no address to write to
  Offline,       // values are written only while online
  NotOfType,     // the text is no constant of the cell's type
  ForceOffline,  // operands are forced and released only while online
};
std::wstring ChartValueRefusedMessage(ChartValueRefusal reason, const std::wstring& value, const std::wstring& address,
                                      const std::wstring& type);

class CStatusChartView : public CTableViewCtrl {
  Q_OBJECT
 public:
  enum Command {
    kCmdEditCut = 20123,
    kCmdEditCopy = 20124,
    kCmdEditPaste = 20125,
    kCmdEditSelectAll = 20129,
    kCmdInsertStatusChart = 20301,
    kCmdDeleteStatusChart = 20302,
  };
  static constexpr int kColumnsPerGroup = 4;

  explicit CStatusChartView(QWidget* parent = nullptr);
  ~CStatusChartView() override;

  int PageKey() const { return pageKey_; }
  void SetPageKey(int key) { pageKey_ = key; }

  // The grid, then the popup menu.
  bool Create(QWidget* parent, int controlId) override;

  // A command by its offset: true when it is one of this view's commands (whether it acted or
  // not). Acts only when IsCommandEnabled.
  bool OnCmdMsg(int offset);
  bool IsCommandEnabled(int offset);
  void OnEditCut();
  void OnEditCopy();
  void OnEditPaste();
  void OnEditSelectAll();
  void OnInsertStatusChart();
  void OnDeleteStatusChart();

  // UpdChartRebuild, UpdChartRefresh, UpdChartOnline; other codes do nothing.
  void OnPaneUpdate(uint16_t code, intptr_t value);

  QMenu* PopupMenu() { return &popup_; }

  // The cell interface of the grid.
  int GetRecordCount() override;
  int GetGroupCount() override;
  int GetLinesPerRecord() override { return 1; }
  int GetColumnsPerGroup() override { return kColumnsPerGroup; }
  int GetRowHeaderFormat(ListCellInfo& info) override;
  void GetColumnFormat(int group, int column, ListCellInfo& info) override;
  void GetRowHeaderCell(int record, int line, ListCellInfo& info) override;
  void GetCellContent(int record, int group, int line, int column, ListCellInfo& info) override;
  QFont GetCellFont(int record, int group, int line, int column) override;
  QColor GetCellColor(int record, int group, int line, int column, int state) override;
  QBrush GetCellBrush(int record, int group, int line, int column, int state) override;
  QPen GetCellPen(int record, int group, int line, int column, int state) override;
  int GetCellEditKind(int record, int group, int line, int column) override;
  bool AcceptCellChar(int record, int group, int line, int column, wchar_t ch) override;
  void GetCellChoices(int record, int group, int line, int column, std::vector<std::wstring>& choices) override;
  std::wstring GetCellEditText(int record, int group, int line, int column) override;
  bool SetCellText(int record, int group, int line, int column, const std::wstring& text) override;
  int GetCellChoice(int record, int group, int line, int column) override;
  bool SetCellChoice(int record, int group, int line, int column, int choice) override;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The current project's chart when this view's page is one of its working pages.
  StatusChart* Page();
  StatusChart* Chart();
  // The name of the cell's display format; empty for a cell without an operand.
  std::wstring FormatName(const StatusChart& chart, int record, int group) const;
  bool EditShown() const { return InplaceEdit().isVisible(); }
  // While the in-place edit is shown, the Edit command `command` acts on its text (then true).
  bool ActOnShownEdit(int command);
  // Puts the text of the selected rows on the clipboard, for `cut` taking them out of the chart;
  // false when the state, the focus or the selection does not let it.
  bool CopySelectedRows(bool cut);
  void BuildPopupMenu();

  int pageKey_ = 0;
  QMenu popup_;
  std::wstring text_;
};

}  // namespace Brenno
