#include "ui/views/status_chart/status_chart_view.h"

#include <QMouseEvent>

#include <cwctype>

#include "core/link/app_environment.h"
#include "core/link/comm_state.h"
#include "core/env/language.h"
#include "core/env/utilities.h"
#include "core/project/project.h"
#include "core/project/status_chart.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/table_commands.h"
#include "ui/widgets/qt_draw_context.h"

namespace Brenno {

namespace {

const QColor kGrey(128, 128, 128);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kActive(224, 224, 224);
const QColor kAddressBackground(240, 240, 240);

void Announce(uint32_t event, int value) { NotifyMainFrame(event, static_cast<intptr_t>(value)); }

bool Chinese() { return CurrentLanguage() == kLanguageChinese; }

// "a, b or c" / "a、b 或 c".
std::wstring JoinExamples(const std::vector<std::wstring>& examples) {
  std::wstring text;
  for (size_t i = 0; i < examples.size(); ++i) {
    if (i > 0) text += i + 1 == examples.size() ? (Chinese() ? L" 或 " : L" or ") : (Chinese() ? L"、" : L", ");
    text += examples[i];
  }
  return text;
}

}  // namespace

std::wstring ChartAddressRefusedMessage(const std::wstring& text, const std::vector<std::wstring>& examples) {
  const bool range = text.find(L'-') != std::wstring::npos;
  const std::wstring such = examples.empty() ? std::wstring() : JoinExamples(examples);
  if (Chinese()) {
    std::wstring message = L"\"" + text + L"\" ";
    message += range ? L"不是此 PLC 的地址范围：地址范围是用 \"-\" 连接的两个同一区域、同一宽度的操作数。"
                     : L"既不是此 PLC 的操作数，也不是全局符号。";
    message += L"地址列可输入操作数" + (such.empty() ? std::wstring() : L"（如 " + such + L"）") +
               L"、全局符号，或写作 \"首地址-末地址\" 的地址范围。";
    return message;
  }
  std::wstring message = L"\"" + text + L"\" ";
  message += range ? L"is not a range of this PLC: a range is two operands of the same area and width joined by \"-\". "
                   : L"is neither an operand of this PLC nor a global symbol. ";
  message += L"The Address column takes an operand" + (such.empty() ? std::wstring() : L" such as " + such) +
             L", a global symbol, or a range written as first-last.";
  return message;
}

std::wstring ChartValueRefusedMessage(ChartValueRefusal reason, const std::wstring& value, const std::wstring& address,
                                      const std::wstring& type) {
  const std::wstring quoted = L"\"" + value + L"\"";
  switch (reason) {
    case ChartValueRefusal::NoAddress:
      return Chinese() ? quoted + L" 未写入：此单元格没有地址。请先在地址列输入地址，再输入值。"
                       : quoted + L" was not written: this cell has no address. Type the address into the Address "
                                  L"column first, then the value.";
    case ChartValueRefusal::Offline:
      return Chinese() ? quoted + L" 未写入 " + address + L"：只有在线时才能向 PLC 写入值。"
                       : quoted + L" was not written to " + address +
                             L": values are written to the PLC only while the workbench is online.";
    case ChartValueRefusal::NotOfType:
      return Chinese() ? quoted + L" 不能作为 " + type + L" 写入 " + address + L"：请输入该类型的常数。"
                       : quoted + L" cannot be written to " + address + L" as " + type +
                             L": type a constant of that type.";
    case ChartValueRefusal::ForceOffline:
      return Chinese() ? address + L" 的强制状态未改变：只有在线时才能强制或取消强制操作数。"
                       : L"The force state of " + address +
                             L" was not changed: operands are forced and released only while the workbench is online.";
  }
  return std::wstring();
}

CStatusChartView::CStatusChartView(QWidget* parent) : CTableViewCtrl(parent) {}

CStatusChartView::~CStatusChartView() = default;

bool CStatusChartView::Create(QWidget* parent, int controlId) {
  if (!CTableViewCtrl::Create(parent, controlId)) return false;
  BuildPopupMenu();
  return true;
}

void CStatusChartView::BuildPopupMenu() {
  popup_.clear();
  auto add = [this](QMenu* menu, const wchar_t* english, const wchar_t* chinese, int offset) {
    QAction* action = menu->addAction(QString::fromWCharArray(PickText(english, chinese)));
    action->setData(offset);
    connect(action, &QAction::triggered, this, [this, offset] { OnCmdMsg(offset); });
    return action;
  };
  add(&popup_, L"Cu&t\tCtrl+X", L"剪切(&T)\tCtrl+X", kCmdEditCut);
  add(&popup_, L"&Copy\tCtrl+C", L"复制(&C)\tCtrl+C", kCmdEditCopy);
  add(&popup_, L"&Paste\tCtrl+V", L"粘贴(&P)\tCtrl+V", kCmdEditPaste);
  add(&popup_, L"Select &All\tCtrl+A", L"全选(&A)\tCtrl+A", kCmdEditSelectAll);
  popup_.addSeparator();
  QMenu* insert = popup_.addMenu(QString::fromWCharArray(PickText(L"&Insert", L"插入(&I)")));
  add(insert, L"Status &Chart", L"状态表(&C)", kCmdInsertStatusChart)
      ->setStatusTip(QString::fromWCharArray(PickText(L"Insert Status Chart", L"插入状态表")));
  QMenu* remove = popup_.addMenu(QString::fromWCharArray(PickText(L"&Delete", L"删除(&D)")));
  add(remove, L"Status &Chart", L"状态表(&C)", kCmdDeleteStatusChart)
      ->setStatusTip(QString::fromWCharArray(PickText(L"Delete Status Chart", L"删除状态表")));
  // The enabled state of each item is read when the menu opens.
  connect(&popup_, &QMenu::aboutToShow, this, [this] {
    for (QAction* a : popup_.findChildren<QAction*>()) {
      if (a->data().isValid()) a->setEnabled(IsCommandEnabled(a->data().toInt()));
    }
  });
}

StatusChart* CStatusChartView::Chart() {
  AppEnvironment* env = InstalledAppEnvironment();
  if (env == nullptr || env->ProjectList.empty()) return nullptr;
  return &env->ProjectList.back().StatusChart;
}

StatusChart* CStatusChartView::Page() {
  StatusChart* chart = Chart();
  return chart != nullptr && chart->HasWorkingPage(pageKey_) ? chart : nullptr;
}

// ---- counts and header ----

int CStatusChartView::GetRecordCount() {
  StatusChart* chart = Chart();
  return chart != nullptr ? std::max(0, chart->SizeItemRow) : 0;
}

int CStatusChartView::GetGroupCount() {
  StatusChart* chart = Chart();
  return chart != nullptr ? std::max(0, chart->SizeItemColumn) : 0;
}

int CStatusChartView::GetRowHeaderFormat(ListCellInfo& info) {
  info.Clear();
  info.width = 30;
  return 0;
}

void CStatusChartView::GetColumnFormat(int, int column, ListCellInfo& info) {
  static const int kWidths[kColumnsPerGroup] = {80, 80, 120, 80};
  static const wchar_t* const kEnglish[kColumnsPerGroup] = {L"Address", L"Data Type", L"Value", L"Forced"};
  static const wchar_t* const kChinese[kColumnsPerGroup] = {L"地址", L"数据类型", L"值", L"强制"};
  info.Clear();
  if (column < 0 || column >= kColumnsPerGroup) return;
  info.width = kWidths[column];
  info.format = 0;
  const wchar_t* caption = PickText(kEnglish[column], kChinese[column]);
  info.text = caption;
  info.textLength = static_cast<int>(std::wcslen(caption));
}

void CStatusChartView::GetRowHeaderCell(int, int, ListCellInfo& info) {
  info.Clear();
  info.height = 15;
  info.format = 0x8824;
  info.image = -1;
}

// ---- cells ----

std::wstring CStatusChartView::FormatName(const StatusChart& chart, int record, int group) const {
  const int index = GetChartFormatIndex(chart, pageKey_, record, group);
  const std::vector<std::wstring> names = GetChartFormatNames(chart, pageKey_, record, group);
  return index >= 0 && index < static_cast<int>(names.size()) ? names[static_cast<size_t>(index)] : std::wstring();
}

void CStatusChartView::GetCellContent(int record, int group, int, int column, ListCellInfo& info) {
  info.Clear();
  info.width = -1;
  info.format = 0x8824;
  info.image = -1;
  text_.clear();
  StatusChart* chart = Page();
  if (chart != nullptr) {
    switch (column) {
      case 0: text_ = GetChartAddress(*chart, pageKey_, record, group); break;
      case 1: text_ = FormatName(*chart, record, group); break;
      case 2: text_ = GetChartValueText(*chart, pageKey_, record, group); break;
      case 3: {
        const int state = GetChartForceState(*chart, pageKey_, record, group);
        if (state >= 0 && state < static_cast<int>(chart->ForceLabels.size()))
          text_ = chart->ForceLabels[static_cast<size_t>(state)];
        break;
      }
      default: break;
    }
  }
  info.SetText(text_);
}

QFont CStatusChartView::GetCellFont(int, int, int, int) { return QtDrawResources::Shared().Font(0); }

QColor CStatusChartView::GetCellColor(int record, int group, int line, int column, int state) {
  switch (state) {
    case 17:
    case 33:
    case 65: return QtDrawResources::Shared().Colour(0);
    case 18:
    case 66: return kGrey;
    case 20: return column == 0 ? kAddressBackground : kWhite;
    case 34: return kBlack;
    case 36:
    case 68: return kActive;
    default: return CTableViewCtrl::GetCellColor(record, group, line, column, state);
  }
}

QBrush CStatusChartView::GetCellBrush(int record, int group, int line, int column, int state) {
  switch (state) {
    case 18:
    case 66:
    case 20:
    case 34:
    case 36:
    case 68: return QBrush(GetCellColor(record, group, line, column, state));
    default: return CTableViewCtrl::GetCellBrush(record, group, line, column, state);
  }
}

QPen CStatusChartView::GetCellPen(int, int, int, int, int state) {
  switch (state) {
    case 18:
    case 66: return QPen(kGrey, 0);
    case 34: return QPen(kBlack, 0);
    default: return QPen(Qt::NoPen);
  }
}

int CStatusChartView::GetCellEditKind(int record, int group, int, int column) {
  if (!IsEditingStateNow()) return CellEditReadOnly;
  StatusChart* chart = Page();
  if (chart == nullptr) return CellEditReadOnly;
  switch (column) {
    case 0:
    case 2: return CellEditText;
    case 1: return GetChartFormatIndex(*chart, pageKey_, record, group) != -1 ? CellEditChoice : CellEditReadOnly;
    case 3: return GetChartForceState(*chart, pageKey_, record, group) != -1 ? CellEditChoice : CellEditReadOnly;
    default: return CellEditReadOnly;
  }
}

bool CStatusChartView::AcceptCellChar(int, int, int, int column, wchar_t ch) {
  return (column == 0 || column == 2) && !std::iswcntrl(static_cast<wint_t>(ch));
}

void CStatusChartView::GetCellChoices(int record, int group, int, int column, std::vector<std::wstring>& choices) {
  choices.clear();
  StatusChart* chart = Page();
  if (chart == nullptr) return;
  if (column == 1) choices = GetChartFormatNames(*chart, pageKey_, record, group);
  if (column == 3) choices = GetChartForceChoices(*chart, pageKey_, record, group);
}

std::wstring CStatusChartView::GetCellEditText(int record, int group, int, int column) {
  StatusChart* chart = Page();
  if (!IsEditingStateNow() || chart == nullptr) return std::wstring();
  if (column == 0) return GetChartAddress(*chart, pageKey_, record, group);
  if (column == 2) return GetChartValueText(*chart, pageKey_, record, group);
  return std::wstring();
}

bool CStatusChartView::SetCellText(int record, int group, int, int column, const std::wstring& text) {
  StatusChart* chart = Page();
  if (!IsEditingStateNow() || chart == nullptr) return false;
  if (column == 0) {
    if (!SetChartAddress(*chart, pageKey_, record, group, text)) {
      // The chart keeps only addresses it can watch: the text stays in the editor with the reason.
      if (text != GetChartAddress(*chart, pageKey_, record, group)) {
        ReportRefusedEdit(ChartAddressRefusedMessage(text, ListChartAddressExamples(3)), true);
      }
      return false;
    }
    Announce(EvStatusChartEdited, 0);
    return true;
  }
  if (column == 2) {
    // Delete on a value cell has nothing to clear.
    if (text.empty()) return false;
    const std::wstring address = GetChartAddress(*chart, pageKey_, record, group);
    // The value the cell shows, handed back unchanged, needs no word when it is not written.
    const bool unchanged = text == GetChartValueText(*chart, pageKey_, record, group);
    bool started = false;
    if (!WriteChartValue(*chart, pageKey_, record, group, text, &started)) {
      ReportRefusedEdit(ChartValueRefusedMessage(ChartValueRefusal::NoAddress, text, address, L""), false);
      return false;
    }
    if (CommStateNow() != CommOnline) {
      ReportRefusedEdit(ChartValueRefusedMessage(ChartValueRefusal::Offline, text, address, L""), false);
    } else if (!started && !unchanged) {
      const std::wstring type = FormatName(*chart, record, group);
      ReportRefusedEdit(ChartValueRefusedMessage(ChartValueRefusal::NotOfType, text, address, type), true);
      return false;
    }
    Announce(EvStatusChartValueWritten, 0);
    return true;
  }
  return false;
}

int CStatusChartView::GetCellChoice(int record, int group, int, int column) {
  StatusChart* chart = Page();
  if (!IsEditingStateNow() || chart == nullptr) return 0;
  if (column == 1) return GetChartFormatIndex(*chart, pageKey_, record, group);
  if (column == 3) {
    const int state = GetChartForceState(*chart, pageKey_, record, group);
    return state == -1 ? 0 : state;
  }
  return 0;
}

bool CStatusChartView::SetCellChoice(int record, int group, int, int column, int choice) {
  StatusChart* chart = Page();
  if (!IsEditingStateNow() || chart == nullptr || choice == -1) return false;
  if (column == 1) {
    if (!SetChartFormatIndex(*chart, pageKey_, record, group, choice)) return false;
    Announce(EvStatusChartEdited, 0);
    return true;
  }
  if (column == 3) {
    if (!SetChartForceState(*chart, pageKey_, record, group, choice)) return false;
    if (CommStateNow() != CommOnline) {
      ReportRefusedEdit(ChartValueRefusedMessage(ChartValueRefusal::ForceOffline, L"",
                                                 GetChartAddress(*chart, pageKey_, record, group), L""),
                        false);
    }
    Announce(EvStatusChartValueWritten, 0);
    return true;
  }
  return false;
}

// ---- commands ----

bool CStatusChartView::IsCommandEnabled(int offset) {
  const bool editing = IsEditingStateNow();
  StatusChart* chart = Chart();
  switch (offset) {
    case kCmdEditCut:
    case kCmdEditCopy: return EditShown() || (editing && HasSelection());
    case kCmdEditPaste: return EditShown() || (editing && HasFocusCell());
    case kCmdEditSelectAll: return EditShown() || (editing && GetRecordCount() != 0 && GetGroupCount() != 0);
    case kCmdInsertStatusChart: return isVisible() && editing && chart != nullptr && CanAddTablePage(*chart);
    case kCmdDeleteStatusChart: return isVisible() && editing && Page() != nullptr;
    default: return false;
  }
}

bool CStatusChartView::OnCmdMsg(int offset) {
  switch (offset) {
    case kCmdEditCut: OnEditCut(); return true;
    case kCmdEditCopy: OnEditCopy(); return true;
    case kCmdEditPaste: OnEditPaste(); return true;
    case kCmdEditSelectAll: OnEditSelectAll(); return true;
    case kCmdInsertStatusChart: OnInsertStatusChart(); return true;
    case kCmdDeleteStatusChart: OnDeleteStatusChart(); return true;
    default: return false;
  }
}

static_assert(CStatusChartView::kCmdEditCut == kTableCmdCut && CStatusChartView::kCmdEditCopy == kTableCmdCopy &&
              CStatusChartView::kCmdEditPaste == kTableCmdPaste &&
              CStatusChartView::kCmdEditSelectAll == kTableCmdSelectAll);

bool CStatusChartView::ActOnShownEdit(int command) { return EditShown() && RunInplaceEditCommand(*this, command); }

bool CStatusChartView::CopySelectedRows(bool cut) {
  setFocus();
  StatusChart* chart = Page();
  if (!IsEditingStateNow() || chart == nullptr || !HasFocusCell() || !HasSelection()) return false;
  const GridSelection s = Selection();
  std::wstring text;
  const int result =
      cut ? CutChartRowsAsText(*chart, pageKey_, s.firstRecord, s.endRecord, s.firstGroup, s.endGroup, text)
          : CopyChartRowsAsText(*chart, pageKey_, s.firstRecord, s.endRecord, s.firstGroup, s.endGroup, text);
  if (result != 0) return false;
  PutClipboardText(text);
  return true;
}

void CStatusChartView::OnEditCut() {
  if (ActOnShownEdit(kCmdEditCut) || !CopySelectedRows(true)) return;
  RebuildListRows();
  Announce(EvStatusChartEdited, 0);
}

void CStatusChartView::OnEditCopy() {
  if (!ActOnShownEdit(kCmdEditCopy)) CopySelectedRows(false);
}

void CStatusChartView::OnEditPaste() {
  if (ActOnShownEdit(kCmdEditPaste)) return;
  setFocus();
  StatusChart* chart = Page();
  if (!IsEditingStateNow() || chart == nullptr || !HasFocusCell() || !HasSelection()) return;
  std::wstring text;
  if (!GetClipboardText(text)) return;
  const auto before = chart->GetPage(pageKey_);
  const int result = PasteChartRowsFromText(*chart, pageKey_, FocusCell().record, FocusCell().group, text);
  // A paste that stops at a malformed line keeps the lines before it; they are changes too.
  if (result != 0 && chart->GetPage(pageKey_) == before) return;
  RebuildListRows();
  Announce(EvStatusChartEdited, 0);
}

void CStatusChartView::OnEditSelectAll() {
  if (ActOnShownEdit(kCmdEditSelectAll)) return;
  setFocus();
  const int records = GetRecordCount();
  const int groups = GetGroupCount();
  if (!IsEditingStateNow() || records == 0 || groups == 0) return;
  SetSelection(GridSelection{0, records, 0, groups});
  if (isVisible()) InvalidateGrid();
}

void CStatusChartView::OnInsertStatusChart() {
  setFocus();
  StatusChart* chart = Chart();
  if (!IsEditingStateNow() || chart == nullptr) return;
  const int key = AddFirstFreeStatusChart(*chart);
  if (key != -1) Announce(EvStatusChartAdded, key);
}

void CStatusChartView::OnDeleteStatusChart() {
  setFocus();
  StatusChart* chart = Page();
  if (!IsEditingStateNow() || chart == nullptr) return;
  const int key = RemoveStatusChart(*chart, pageKey_);
  // The announcement may remove this view's tab; nothing of the view is used after it.
  if (key != -1) Announce(EvStatusChartRemoved, key);
}

// ---- updates and mouse ----

void CStatusChartView::OnPaneUpdate(uint16_t code, intptr_t) {
  switch (code) {
    case UpdChartRebuild: RebuildListRows(); break;
    case UpdChartRefresh:
      if (isVisible()) InvalidateGrid();
      break;
    case UpdChartOnline: {
      AppEnvironment* env = InstalledAppEnvironment();
      if (env == nullptr || env->ProjectList.empty()) break;
      OnlineCache& cache = env->ProjectList.back().Online;
      cache.SetRequestFlag(true);
      RedrawNow();
      cache.SetRequestFlag(false);
      break;
    }
    default: break;
  }
}

void CStatusChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    popup_.popup(viewport()->mapToGlobal(event->position().toPoint()));
    return;
  }
  CTableViewCtrl::mouseReleaseEvent(event);
}

}  // namespace Brenno
