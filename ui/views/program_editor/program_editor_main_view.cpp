#include "ui/views/program_editor/program_editor_main_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "core/link/app_environment.h"
#include "core/env/language.h"
#include "core/env/utilities.h"
#include "core/program/edit_advice.h"
#include "core/program/ladder_edit.h"
#include "core/program/ladder_metrics.h"
#include "core/program/network.h"
#include "core/program/page_painter.h"
#include "core/program/program_block.h"
#include "core/program/program_page.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/program_editor/program_page_lock.h"
#include "ui/views/program_location.h"
#include "ui/widgets/inplace_focus.h"
#include "ui/widgets/qt_draw_context.h"

namespace Brenno {

namespace {

constexpr intptr_t kNoValue = 0;

// A tool cursor: a cross-hair with the tool's symbol beside it, or the four-way move arrow
// (with a cross when the move is refused).
QCursor MakeToolCursor(int which) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QPen(Qt::black, 1));
  if (which <= kToolBox) {
    p.drawLine(0, 7, 14, 7);
    p.drawLine(7, 0, 7, 14);
    switch (which) {
      case kToolVertLine:
        p.drawLine(22, 14, 22, 30);
        break;
      case kToolHorzLine:
        p.drawLine(14, 22, 30, 22);
        break;
      case kToolContact:
        p.drawLine(14, 22, 19, 22);
        p.drawLine(19, 16, 19, 28);
        p.drawLine(25, 16, 25, 28);
        p.drawLine(25, 22, 30, 22);
        break;
      case kToolCoil:
        p.drawArc(16, 16, 6, 12, 90 * 16, 180 * 16);
        p.drawArc(22, 16, 6, 12, -90 * 16, 180 * 16);
        break;
      default:
        p.drawRect(16, 15, 13, 15);
        break;
    }
    p.end();
    return QCursor(pixmap, 7, 7);
  }
  p.drawLine(16, 2, 16, 30);
  p.drawLine(2, 16, 30, 16);
  p.drawLine(16, 2, 12, 6);
  p.drawLine(16, 2, 20, 6);
  p.drawLine(16, 30, 12, 26);
  p.drawLine(16, 30, 20, 26);
  p.drawLine(2, 16, 6, 12);
  p.drawLine(2, 16, 6, 20);
  p.drawLine(30, 16, 26, 12);
  p.drawLine(30, 16, 26, 20);
  if (which == kToolBox + 2) {
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(20, 20, 30, 30);
    p.drawLine(30, 20, 20, 30);
  }
  p.end();
  return QCursor(pixmap, 16, 16);
}

// The key code of a key event (the values of ProgramKey); 0 for keys the view has no use for.
int KeyCodeOf(const QKeyEvent* event) {
  if (IsEnterKey(*event)) return kKeyEnter;
  const int key = event->key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;  // same codes
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return kKeyF2 - 1 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Escape:
      return kKeyEscape;
    case Qt::Key_PageUp:
      return kKeyPageUp;
    case Qt::Key_PageDown:
      return kKeyPageDown;
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Down:
      return kKeyDown;
    case Qt::Key_Delete:
      return kKeyDelete;
    default:
      return 0;
  }
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i != 0) text += L"\r\n";
    text += lines[i];
  }
  return text;
}

std::vector<std::wstring> SplitEditorText(const std::wstring& text) {
  // The editors give "\n" line ends; "\r\n" counts as one as well.
  std::vector<std::wstring> lines;
  std::wstring line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    if (text[i] == L'\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += text[i];
    }
  }
  lines.push_back(line);
  return lines;
}

}  // namespace

CProgramEditorMainView::CProgramEditorMainView(AppEnvironment& env, int blockKey, QWidget* parent)
    : CScrollWnd(parent), env_(env), blockKey_(blockKey) {
  setObjectName(QStringLiteral("ProgramEditorMainView%1").arg(blockKey));
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  // Every move reaches the view, so that the pointer shape follows the tool, the state of the
  // page and the choice list as the pointer moves, not only while the button is down.
  viewport()->setMouseTracking(true);
  for (int i = 0; i < 7; ++i) cursors_[static_cast<size_t>(i)] = MakeToolCursor(i + 1);
  BuildContextMenus();

  const QFont& font = QtDrawResources::Shared().Font(0);
  instructionEdit_.Create(viewport(), kInstructionEditorId);
  operandEdit_.Create(viewport(), kOperandEditorId);
  elementList_.Create(viewport(), kElementListId);
  commentEdit_.Create(viewport(), kCommentEditorId);
  stlEdit_.Create(viewport(), kStlEditorId);
  for (QWidget* editor :
       std::initializer_list<QWidget*>{&instructionEdit_, &operandEdit_, &elementList_, &commentEdit_, &stlEdit_}) {
    editor->setFont(font);
  }
  instructionEdit_.SetNotifyOwner(this);
  operandEdit_.SetNotifyOwner(this);
  elementList_.SetNotifyOwner(this);
  commentEdit_.SetNotifyOwner(this);
  stlEdit_.SetNotifyOwner(this);
  instructionEdit_.setObjectName(QStringLiteral("InstructionEditor"));
  operandEdit_.setObjectName(QStringLiteral("OperandEditor"));
  elementList_.setObjectName(QStringLiteral("ElementList"));
  commentEdit_.setObjectName(QStringLiteral("CommentEditor"));
  stlEdit_.setObjectName(QStringLiteral("StlEditor"));
  // Network comments: green on white.
  const QtDrawResources& resources = QtDrawResources::Shared();
  QPalette palette = commentEdit_.palette();
  palette.setColor(QPalette::Text, resources.Colour(1));
  palette.setColor(QPalette::Base, resources.Colour(20));
  commentEdit_.setPalette(palette);
  // An empty editor says which part of the network it edits.
  commentEdit_.setPlaceholderText(QString::fromWCharArray(
      PickText(L"Network comment (the program goes in the box below)", L"网络注释（程序写在下方的方框中）")));
  stlEdit_.setPlaceholderText(QString::fromWCharArray(
      PickText(L"Statement list, one instruction per line", L"指令表，每行一条指令")));
  operandEdit_.setToolTipDuration(10000);
}

CProgramEditorMainView::~CProgramEditorMainView() = default;

// ---- Page and gates ----------------------------------------------------------------------------

ProgramPage& CProgramEditorMainView::Page() const { return CurrentProject().Program.GetProgramPage(blockKey_); }

bool CProgramEditorMainView::PageExists() const {
  if (env_.ProjectList.empty()) return false;
  const std::vector<int> keys = env_.ProjectList.back().Program.ListProgramBlockKeys();
  return std::find(keys.begin(), keys.end(), blockKey_) != keys.end();
}

int CProgramEditorMainView::ViewMode() const { return Page().ViewState.ViewMode; }

bool CProgramEditorMainView::IsLocked() const { return IsProgramUnitLocked(env_, blockKey_); }

bool CProgramEditorMainView::CanShowBlock() const { return CanShowProgramBlock(env_.CommState.load(), IsLocked()); }

bool CProgramEditorMainView::CanEditBlock() const { return CanEditProgramBlock(env_.CommState.load(), IsLocked()); }

void CProgramEditorMainView::PublishChange() {
  UpdateScrollBars();
  viewport()->update();
  NotifyMainFrame(EvProgramEdited, kNoValue);
}

void CProgramEditorMainView::PublishNewNetworks() {
  PublishChange();
  ScrollSelectionIntoView();
}

// ---- Geometry ---------------------------------------------------------------------------------

int CProgramEditorMainView::GetLineUpStep() {
  return PageExists() ? VerticalLineStep(ViewMode(), GetLadderMetrics()) : 1;
}
int CProgramEditorMainView::GetLineDownStep() { return GetLineUpStep(); }
int CProgramEditorMainView::GetLineLeftStep() {
  return PageExists() ? HorizontalLineStep(ViewMode(), GetLadderMetrics()) : 1;
}
int CProgramEditorMainView::GetLineRightStep() { return GetLineLeftStep(); }

void CProgramEditorMainView::GetContentRect(Rect& rect) {
  rect = Rect{};
  if (!PageExists()) return;
  if (!CanShowBlock()) {
    rect = Rect{0, 0, 200, 200};
    return;
  }
  ProgramPage& page = Page();
  const int n = page.NetworkCount();
  rect = Rect{0, 0, page.MaxNetworkWidth(0, n), page.NetworksHeight(0, n) + kPageHeaderHeight};
}

PagePoint CProgramEditorMainView::ToPage(const QPoint& client) const {
  return PagePoint{client.x() + GetScrollPosition(SB_HORZ), client.y() + GetScrollPosition(SB_VERT)};
}

Rect CProgramEditorMainView::PageRectInView() const {
  const int x = GetScrollPosition(SB_HORZ);
  const int y = GetScrollPosition(SB_VERT);
  const QSize size = viewport()->size();
  return Rect{x, y, x + size.width(), y + size.height()};
}

Rect CProgramEditorMainView::ToClient(const Rect& r) const {
  const int x = GetScrollPosition(SB_HORZ);
  const int y = GetScrollPosition(SB_VERT);
  return Rect{r.left - x, r.top - y, r.right - x, r.bottom - y};
}

bool CProgramEditorMainView::HasFocusWithin() const {
  const QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) return false;
  return focus == this || focus == viewport() || focus == &instructionEdit_ || focus == &operandEdit_ ||
         focus == &elementList_ || focus == &commentEdit_ || focus == &stlEdit_ || commentEdit_.isAncestorOf(focus) ||
         stlEdit_.isAncestorOf(focus) || elementList_.isAncestorOf(focus);
}

void CProgramEditorMainView::ApplyScrollTarget(const ScrollTarget& target) {
  if (target.Horizontal) SetScrollPosition(SB_HORZ, *target.Horizontal);
  if (target.Vertical) SetScrollPosition(SB_VERT, *target.Vertical);
}

void CProgramEditorMainView::ScrollSelectionIntoView() {
  ApplyScrollTarget(CentreSelection(PageRectInView(), GetSelectionRect(Page())));
}

void CProgramEditorMainView::RevealPageRect(const Rect& area) { ApplyScrollTarget(RevealRect(PageRectInView(), area)); }

void CProgramEditorMainView::ShowMovedCursor() {
  // A cursor beyond the rung's last column or row widens the network: the bars follow first.
  UpdateScrollBars();
  ScrollSelectionIntoView();
  viewport()->update();
}

void CProgramEditorMainView::MoveEditorWithContent(QWidget* editor, const InplaceEditorState& state) {
  const int dx = state.OriginX - GetScrollPosition(SB_HORZ);
  const int dy = state.OriginY - GetScrollPosition(SB_VERT);
  const Rect& r = state.EditRect;
  MoveWindowToRect(editor, Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}, true);
}

void CProgramEditorMainView::FollowContent() {
  if (instructionEdit_.isVisible()) return MoveEditorWithContent(&instructionEdit_, instructionEdit_);
  if (operandEdit_.isVisible()) return MoveEditorWithContent(&operandEdit_, operandEdit_);
  if (elementList_.isVisible()) return MoveEditorWithContent(&elementList_, elementList_);
  if (commentEdit_.isVisible()) return MoveEditorWithContent(&commentEdit_, commentEdit_);
  if (stlEdit_.isVisible()) return MoveEditorWithContent(&stlEdit_, stlEdit_);
}

void CProgramEditorMainView::scrollContentsBy(int dx, int dy) {
  CScrollWnd::scrollContentsBy(dx, dy);
  FollowContent();
}

// ---- Painting ---------------------------------------------------------------------------------

void CProgramEditorMainView::paintEvent(QPaintEvent*) {
  // The viewport is double-buffered by the toolkit: the frame is painted whole, off screen, and
  // shown at once, so the background is never erased separately.
  QPainter painter(viewport());
  if (!PageExists()) return;
  // The page may have changed while this view was not told (another window's edit, a view
  // switch while another tab was in front): the bars follow.
  FollowContentSize();
  if (!CanShowBlock()) {
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Button));
    return;
  }
  QtDrawContext dc(painter);
  PaintProgramPage(Page(), dc, PageRectInView());
}

void CProgramEditorMainView::RedrawOnline() {
  if (env_.ProjectList.empty()) return;
  OnlineCache& cache = env_.ProjectList.back().Online;
  cache.SetRequestFlag(true);
  viewport()->repaint();
  cache.SetRequestFlag(false);
}

// ---- Update codes -----------------------------------------------------------------------------

int CProgramEditorMainView::OnPaneUpdate(uint16_t code, intptr_t value) {
  switch (code) {
    case 0x8A00:
      viewport()->repaint();
      break;
    case 0x8A01:
      RedrawOnline();
      break;
    case 0x8A02:
      UpdateScrollBars();
      break;
    case 0x8A03:
      GoToLocation(reinterpret_cast<const ProgramLocation* const*>(value));
      break;
    case 0x8A04:
      InsertLibraryElement(static_cast<int>(value));
      break;
    case 0x8A05: {
      const auto* text = reinterpret_cast<const wchar_t*>(value);
      InsertInstructionText(text != nullptr ? std::wstring(text) : std::wstring());
      break;
    }
    default:
      break;
  }
  return 1;
}

void CProgramEditorMainView::GoToLocation(const ProgramLocation* const* location) {
  if (location == nullptr || *location == nullptr) return;
  const ProgramLocation& where = **location;
  if (where.Kind < 1 || where.Kind > 3) return;
  if (where.PageKey == blockKey_ && PageExists()) {
    ProgramPage& page = Page();
    switch (where.Kind) {
      case 1:
        page.SetSelection(where.Network, where.Network + 1, 0, 0);
        break;
      case 2:
        page.SetSelection(where.Network, where.Network, 0, where.LineOrColumn);
        break;
      default:
        page.SetSelection(where.Network, where.Network, where.LineOrColumn, where.Row);
        break;
    }
  }
  if (!PageExists()) return;
  ScrollSelectionIntoView();
  viewport()->update();
}

void CProgramEditorMainView::InsertLibraryElement(int definitionIndex) {
  setFocus(Qt::OtherFocusReason);
  if (!PageExists() || !CanEditBlock()) return;
  PlaceDefinition(definitionIndex, true);
}

void CProgramEditorMainView::InsertInstructionText(const std::wstring& text) {
  setFocus(Qt::OtherFocusReason);
  if (!PageExists() || !CanEditBlock()) return;
  PlaceInstructionText(text, true);
}

// ---- Mouse ------------------------------------------------------------------------------------

void CProgramEditorMainView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton || !PageExists()) return;
  // While the button is down the toolkit sends every move to this window, as if the pointer
  // were held inside it.
  if (CanShowBlock()) Page().OnMouseDown(ToPage(event->position().toPoint()));
}

void CProgramEditorMainView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || !PageExists() || !CanShowBlock()) return UpdatePointerShape();
  ProgramPage& page = Page();
  PageViewState& state = page.ViewState;
  const PagePoint point = ToPage(event->position().toPoint());
  switch (state.MouseState) {
    case kMouseDown:
      if (point != state.PressPoint) state.MouseState = kMouseRubberBand;
      break;
    case kMouseDownOnSelection:
      if (point != state.PressPoint) state.MouseState = kMouseDragging;
      break;
    case kMouseRubberBand:
      ApplySelectionBand(page, state.PressPoint, point);
      viewport()->update();
      break;
    case kMouseDragging:
      state.MousePoint = point;
      state.DragRect = Rect{std::min(point.x, state.PressPoint.x), std::min(point.y, state.PressPoint.y),
                            std::max(point.x, state.PressPoint.x), std::max(point.y, state.PressPoint.y)};
      viewport()->update();
      break;
    default:
      break;
  }
  UpdatePointerShape();
}

void CProgramEditorMainView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    if (QMenu* menu = ContextMenuForPage()) {
      UpdateMenuStates(menu);
      menu->popup(event->globalPosition().toPoint());
    }
    return;
  }
  if (event->button() != Qt::LeftButton || !PageExists() || !CanShowBlock()) return;
  ProgramPage& page = Page();
  const int state = page.ViewState.MouseState;
  page.ViewState.MouseState = kMouseIdle;
  viewport()->update();
  if (state == kMouseDragging) {
    if (IsLadder() && CanEditBlock() && page.MoveSelectedElements()) PublishChange();
  } else if (state == kMouseDown || state == kMouseDownOnSelection) {
    OnLeftClick(ToPage(event->position().toPoint()), event->modifiers());
  }
  UpdatePointerShape();
}

void CProgramEditorMainView::OnLeftClick(PagePoint p, Qt::KeyboardModifiers modifiers) {
  ProgramPage& page = Page();
  const int mode = ViewMode();
  if (mode != kViewModeStl && mode != kViewModeLad) return;
  if (mode == kViewModeLad && tool_ != kToolSelect) {
    page.SelectAt(p);
    if (CanEditBlock() && page.HasCursor()) OnKeyDown(ToolKey(tool_), false);
    viewport()->update();
    return;
  }
  if (modifiers & Qt::ControlModifier) {
    page.SelectAtAdding(p);
    return viewport()->update();
  }
  if (modifiers & Qt::ShiftModifier) {
    page.ExtendSelectionTo(p);
    return viewport()->update();
  }
  if (CanEditBlock()) {
    // A click on a comment opens its editor, else one on a statement list line (STL) or an
    // operand (LAD).
    page.OpenCommentEditorAt(p);
    if (page.IsCommentEditorOpen()) {
      viewport()->update();
      return ShowCommentEditor();
    }
    if (mode == kViewModeStl) {
      page.OpenStlEditorAt(p);
      if (page.IsStlEditorOpen()) {
        viewport()->update();
        return ShowStlEditor();
      }
    } else {
      page.OpenOperandEditorAt(p);
      if (page.IsOperandEditorOpen()) {
        viewport()->update();
        return ShowOperandEditor();
      }
    }
  }
  page.SelectAt(p);
  viewport()->update();
}

void CProgramEditorMainView::mouseDoubleClickEvent(QMouseEvent* event) {
  // The press and release of the first click have already placed the cursor.
  if (event->button() != Qt::LeftButton || !PageExists()) return;
  if (!CanEditBlock() || !IsLadder()) return;
  ProgramPage& page = Page();
  if (!page.HasCursor()) return;
  page.ViewState.CurrentNetwork = page.ViewState.SelectionFirst;
  std::wstring text;
  Network::CursorElementText(page.ViewState, page.Networks()[static_cast<size_t>(page.ViewState.SelectionFirst)], text);
  if (!text.empty()) NotifyMainFrame(EvOpenInstructionInput, text.c_str());
}

void CProgramEditorMainView::UpdatePointerShape() {
  if (elementList_.isVisible() || !PageExists()) return viewport()->unsetCursor();
  if (!CanEditBlock() || !IsLadder()) return viewport()->unsetCursor();
  if (tool_ != kToolSelect) return viewport()->setCursor(cursors_[static_cast<size_t>(tool_ - 1)]);
  ProgramPage& page = Page();
  if (page.ViewState.MouseState == kMouseDragging) {
    return viewport()->setCursor(cursors_[page.CanMoveSelectedElements() ? 5 : 6]);
  }
  viewport()->unsetCursor();
}

bool CProgramEditorMainView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Enter) UpdatePointerShape();
  if (event->type() == QEvent::ContextMenu) return true;  // the right button's release shows it
  return CScrollWnd::viewportEvent(event);
}

// ---- Keys -------------------------------------------------------------------------------------

void CProgramEditorMainView::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const int code = KeyCodeOf(event);
  if (code != 0) OnKeyDown(code, ctrl);
  const QString text = event->text();
  if (text.size() == 1 && text[0].isPrint()) OnChar(static_cast<wchar_t>(text[0].unicode()), ctrl);
  event->accept();
}

void CProgramEditorMainView::OnKeyDown(int key, bool ctrl) {
  if (!PageExists()) return;
  const ProgramKeyAction action = DecideProgramKey(key, ctrl, CanEditBlock(), ViewMode());
  if (action == ProgramKeyAction::None) return;
  ProgramPage& page = Page();
  const InstructionLibrary& library = CurrentProject().Instructions;
  auto afterMove = [&](bool moved, bool showEditor) {
    if (!moved) return;
    ShowMovedCursor();
    if (!showEditor) return;
    if (page.IsAtCommentLevel()) {
      ShowCommentEditor();
    } else if (page.HasCursor()) {
      ShowStlEditor();
    }
  };
  switch (action) {
    case ProgramKeyAction::OpenOperandEditor:
      page.OpenOperandEditorAtCursor();
      ShowOperandEditor();
      break;
    case ProgramKeyAction::ChooseSelectTool:
      OnCommand(PvToolSelect);
      break;
    case ProgramKeyAction::PageUp:
      OnVScroll(SB_PAGEUP);
      break;
    case ProgramKeyAction::PageDown:
      OnVScroll(SB_PAGEDOWN);
      break;
    case ProgramKeyAction::MoveLeft:
      afterMove(page.MoveCursorLeft(), false);
      break;
    case ProgramKeyAction::MoveRight:
      afterMove(page.MoveCursorRight(), false);
      break;
    case ProgramKeyAction::MoveUp:
      afterMove(page.MoveCursorUp(), true);
      break;
    case ProgramKeyAction::MoveDown:
      afterMove(page.MoveCursorDown(), true);
      break;
    case ProgramKeyAction::Erase:
      OnCommand(PvErase);
      break;
    case ProgramKeyAction::InsertHorizontalLine:
      PlaceAsking(page.ElementsRemovedByLine(false), PlacedLineText(false), [&] { return page.InsertHorizontalLine(); });
      break;
    case ProgramKeyAction::InsertVerticalLine:
      PlaceAsking(page.ElementsRemovedByLine(true), PlacedLineText(true), [&] { return page.InsertVerticalLine(); });
      break;
    case ProgramKeyAction::InsertInvert:
      PlaceInstructionText(library.LadFxNameInv, false);
      break;
    case ProgramKeyAction::InputPositiveTransition:
      NotifyMainFrame(EvOpenInstructionInput, library.LadFxNameLdp.c_str());
      break;
    case ProgramKeyAction::InputNegativeTransition:
      NotifyMainFrame(EvOpenInstructionInput, library.LadFxNameLdf.c_str());
      break;
    case ProgramKeyAction::InputOpenContact:
      NotifyMainFrame(EvOpenInstructionInput, library.LadFxNameLd.c_str());
      break;
    case ProgramKeyAction::InputCloseContact:
      NotifyMainFrame(EvOpenInstructionInput, library.LadFxNameLdi.c_str());
      break;
    case ProgramKeyAction::InputCoil:
      NotifyMainFrame(EvOpenInstructionInput, library.LadFxNameCoil.c_str());
      break;
    case ProgramKeyAction::InputEmpty:
      NotifyMainFrame(EvOpenInstructionInput, L"");
      break;
    case ProgramKeyAction::ListContacts:
    case ProgramKeyAction::ListCoils:
    case ProgramKeyAction::ListBoxes:
      if (page.CanInsertElementByText(std::wstring())) OpenElementList(ElementListKind(action, library.FxMode != 0));
      break;
    case ProgramKeyAction::None:
      break;
  }
}

void CProgramEditorMainView::OnChar(wchar_t ch, bool ctrl) {
  if (ctrl || !PageExists() || !CanEditBlock() || !IsLadder()) return;
  if (OpensInstructionEditor(ch)) OpenInstructionEditor(ch);
}

// ---- In-place editors -------------------------------------------------------------------------

void CProgramEditorMainView::OpenInstructionEditor(wchar_t ch) {
  if (!IsLadder()) return;
  ProgramPage& page = Page();
  const PageViewState& state = page.ViewState;
  if (!(state.SelectionFirst >= 0 && state.SelectionFirst == state.SelectionLast && state.CursorColumn >= 0 &&
        state.CursorRow >= 0)) {
    return;
  }
  const std::optional<Rect> rect = PlaceInstructionEditor(ToClient(GetCursorRect(page)), viewport()->width(),
                                                          viewport()->height(), GetLadderMetrics());
  if (!rect) return;
  instructionNetwork_ = state.SelectionFirst;
  instructionColumn_ = state.CursorColumn;
  instructionRow_ = state.CursorRow;
  instructionEdit_.Open(GetScrollPosition(SB_HORZ), GetScrollPosition(SB_VERT), std::wstring(1, ch), state.ViewMode,
                        *rect);
  instructionEdit_.setCursorPosition(1);
  instructionEdit_.deselect();
}

void CProgramEditorMainView::ShowOperandEditor() {
  if (!IsLadder()) return;
  Rect area;
  PagePoint point;
  std::wstring text;
  std::wstring hint;
  ProgramPage& page = Page();
  if (!page.GetOperandEditor(area, point, text, hint)) return;
  RevealPageRect(area);
  const Rect r = ToClient(Rect{area.left, area.top - 1, area.right, area.bottom + 2});
  // The editor lies over the operand text, which is drawn at the ladder zoom.
  operandEdit_.setFont(QtDrawResources::Shared().Font(0, GetLadderMetrics().Zoom));
  operandEdit_.setToolTip(QString::fromStdWString(hint));
  operandEdit_.Open(GetScrollPosition(SB_HORZ), GetScrollPosition(SB_VERT), text, page.ViewState.ViewMode, r);
  operandEdit_.selectAll();
}

void CProgramEditorMainView::OpenElementList(int kind) {
  if (!IsLadder()) return;
  Project& project = CurrentProject();
  const std::vector<ElementChoice> choices = BuildElementChoices(project.Instructions, project.Program, kind);
  std::vector<std::wstring> texts;
  texts.reserve(choices.size());
  for (const ElementChoice& choice : choices) texts.push_back(choice.Text);
  const QFontMetrics metrics(elementList_.font());
  const int height = ChoiceListHeight(metrics, static_cast<int>(texts.size()));
  const int width = CalcDropListWidth(metrics, texts, style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  ProgramPage& page = Page();
  const std::optional<Rect> rect = PlaceElementList(ToClient(GetCursorRect(page)), width, height, viewport()->width(),
                                                    viewport()->height(), GetLadderMetrics());
  if (!rect) return;
  elementList_.Open(GetScrollPosition(SB_HORZ), GetScrollPosition(SB_VERT), page.ViewState.ViewMode, kind, texts,
                    *rect);
}

void CProgramEditorMainView::OpenTextEditor(CInplaceMultiLineEditBase& editor, const TextEditorState& state) {
  RevealPageRect(state.Area);
  const Rect r = ToClient(Rect{state.Area.left + 1, state.Area.top, state.Area.right - 1, state.Area.bottom});
  editor.Open(GetScrollPosition(SB_HORZ), GetScrollPosition(SB_VERT), JoinLines(state.Lines), r);
  // The caret goes where the user clicked.
  const QPoint click(state.Point.x - state.Area.left - 1, state.Point.y - state.Area.top);
  editor.setTextCursor(editor.cursorForPosition(click));
}

void CProgramEditorMainView::ShowCommentEditor() {
  ProgramPage& page = Page();
  if (page.IsCommentEditorOpen()) OpenTextEditor(commentEdit_, page.ViewState.CommentEditor);
}

void CProgramEditorMainView::ShowStlEditor() {
  ProgramPage& page = Page();
  if (page.IsStlEditorOpen()) OpenTextEditor(stlEdit_, page.ViewState.StlEditor);
}

int CProgramEditorMainView::OnInplaceNotify(int controlId, const InplaceNotify& notify) {
  if (!PageExists()) return 0;
  switch (controlId) {
    case kInstructionEditorId:
      return OnInstructionEditEnd(notify);
    case kOperandEditorId:
      return OnOperandEditEnd(notify);
    case kElementListId:
      OnElementListEnd(notify);
      break;
    case kCommentEditorId:
      OnTextEditNotify(true, notify);
      break;
    case kStlEditorId:
      OnTextEditNotify(false, notify);
      break;
    default:
      break;
  }
  return 0;
}

int CProgramEditorMainView::OnInstructionEditEnd(const InplaceNotify& notify) {
  // While the message of a refused text is up, the editor that lost the focus to it stays as it
  // is; Escape still closes it.
  if (instructionRefused_) return notify.exitKey == kInplaceExitEscape ? 0 : 1;
  if (!CanEditBlock() || notify.exitKey != kInplaceExitEnter || notify.value1 != kViewModeLad) return 0;
  ProgramPage& page = Page();
  // The text goes into the cell it was typed for, also when a click moved the cursor meanwhile.
  const PageViewState& state = page.ViewState;
  if (instructionNetwork_ >= 0 && instructionNetwork_ < page.NetworkCount() &&
      (state.SelectionFirst != instructionNetwork_ || state.SelectionLast != instructionNetwork_ ||
       state.CursorColumn != instructionColumn_ || state.CursorRow != instructionRow_)) {
    page.SetSelection(instructionNetwork_, instructionNetwork_, instructionColumn_, instructionRow_);
  }
  const std::wstring text = notify.text != nullptr ? notify.text : L"";
  if (!page.CanInsertElementByText(std::wstring())) return 0;
  if (std::wstring refused = RefusalOfText(text); !refused.empty()) {
    // The text stays in the editor for correction. When the window lost the activation (the
    // user went to another program) it waits there, and the next Enter asks again; otherwise
    // the message comes once the event that ended the edit is over (it may be the loss of the
    // focus to a click elsewhere).
    if (!isActiveWindow()) return 1;
    instructionRefused_ = true;
    QTimer::singleShot(0, this, [this, refused = std::move(refused)] { ShowInstructionRefusal(refused); });
    return 1;
  }
  PlaceAcceptedText(text);
  return 0;
}

void CProgramEditorMainView::ShowInstructionRefusal(const std::wstring& message) {
  TellUser(message, kMessageIconWarning);
  instructionRefused_ = false;
  if (instructionEdit_.isHidden()) return;
  GiveKeyboardFocus(&instructionEdit_);
  instructionEdit_.deselect();
  instructionEdit_.end(false);
}

void CProgramEditorMainView::TellUser(const std::wstring& text, int icon) {
  const FocusReturn back(this);
  MessageBoxOk(text, icon);
}

bool CProgramEditorMainView::UserSaysYes(const std::wstring& text, int flags) {
  const FocusReturn back(this);
  return MessageBoxYesNo(text, flags) == kMessageResultYes;
}

bool CProgramEditorMainView::PlaceAsking(const std::vector<LadElement>& removed, const std::wstring& placed,
                                         const std::function<bool()>& place) {
  if (!removed.empty()) {
    ProgramPage& page = Page();
    // What stands beside the cursor (a box whose operands reach into the cell, an element in the
    // way of a wider one) goes only when the user says so; a stray Enter keeps it.
    if (!UserSaysYes(AskRemoveForPlacement(placed, page.ViewState.SelectionFirst, removed, page.ViewState),
                     kMessageIconQuestion | kMessageDefaultNo)) {
      return false;
    }
  }
  if (!place()) return false;
  PublishChange();
  return true;
}

bool CProgramEditorMainView::CanPlaceFromOutside() {
  // Text and definitions sent from the instruction box and the project tree: where they cannot
  // go, the user is told why.
  ProgramPage& page = Page();
  if (!IsLadder()) {
    TellUser(TextPlaceNeedsLadderPage(), kMessageIconWarning);
    return false;
  }
  if (!page.HasCursor()) {
    TellUser(TextPlaceNeedsCell(), kMessageIconWarning);
    return false;
  }
  return true;
}

std::wstring CProgramEditorMainView::RefusalOfText(const std::wstring& text) {
  ProgramPage& page = Page();
  std::wstring refused = ExplainRefusedElementText(text, page.ViewState);
  if (!refused.empty()) return refused;
  LadElement element;
  if (!ParseLadElementText(text, element, page.ViewState)) return std::wstring();
  return ExplainRefusedPlacement(element, page.ViewState);
}

bool CProgramEditorMainView::PlaceInstructionText(const std::wstring& text, bool fromOutside) {
  ProgramPage& page = Page();
  if (fromOutside && !CanPlaceFromOutside()) return false;
  if (!page.CanInsertElementByText(std::wstring())) return false;
  if (const std::wstring refused = RefusalOfText(text); !refused.empty()) {
    TellUser(refused, kMessageIconWarning);
    return false;
  }
  return PlaceAcceptedText(text);
}

bool CProgramEditorMainView::PlaceAcceptedText(const std::wstring& text) {
  ProgramPage& page = Page();
  LadElement element;
  if (!ParseLadElementText(text, element, page.ViewState)) return false;  // nothing typed
  if (!PlaceElement(element, page.ElementsRemovedByText(text), [&] { return page.InsertElementByText(text); })) {
    return false;
  }
  // Elements typed one after another form a rung: the next goes into the cell after this one
  // (a coil or a box that ends the rung keeps the cursor), while Enter still opens the operands
  // of the element just placed.
  if (page.MoveCursorAlongRung()) ShowMovedCursor();
  return true;
}

bool CProgramEditorMainView::PlaceDefinition(int definitionIndex, bool fromOutside) {
  ProgramPage& page = Page();
  if (fromOutside && !CanPlaceFromOutside()) return false;
  if (!page.CanInsertElementByText(std::wstring())) return false;
  LadElement element;
  if (!BuildLadElementFromDef(definitionIndex, element, page.ViewState)) return false;
  if (const std::wstring cannot = ExplainRefusedPlacement(element, page.ViewState); !cannot.empty()) {
    TellUser(cannot, kMessageIconWarning);
    return false;
  }
  return PlaceElement(element, page.ElementsRemovedByDef(definitionIndex),
                      [&] { return page.InsertElementByDef(definitionIndex); });
}

bool CProgramEditorMainView::PlaceElement(const LadElement& element, const std::vector<LadElement>& removed,
                                          const std::function<bool()>& place) {
  ProgramPage& page = Page();
  if (!PlaceAsking(removed, DescribeLadElement(element, page.ViewState), place)) return false;
  // The new element is selected: Enter goes on with its first operand not written yet.
  page.SelectCursorElement();
  viewport()->update();
  return true;
}

int CProgramEditorMainView::OnOperandEditEnd(const InplaceNotify& notify) {
  if (!CanEditBlock() || notify.exitKey != kInplaceExitEnter || notify.value1 != kViewModeLad) return 0;
  ProgramPage& page = Page();
  if (page.ApplyOperandEdit(notify.text != nullptr ? notify.text : L"")) {
    viewport()->update();
    NotifyMainFrame(EvProgramEdited, kNoValue);
  }
  // Enter goes on to the element's next operand not written yet, so that typing goes on into the
  // element and not into the ladder; a click elsewhere ends the editing.
  if (operandEdit_.EndedByFocusLoss()) return 0;
  page.OpenNextEmptyOperand();
  if (!page.IsOperandEditorOpen()) return 0;
  ShowOperandEditor();
  return 1;
}

void CProgramEditorMainView::OnElementListEnd(const InplaceNotify& notify) {
  if (!CanEditBlock() || notify.exitKey != kInplaceExitEnter || notify.value1 != kViewModeLad) return;
  Project& project = CurrentProject();
  const std::vector<ElementChoice> choices = BuildElementChoices(project.Instructions, project.Program, notify.value2);
  if (notify.selected < 0 || notify.selected >= static_cast<int>(choices.size())) return;
  PlaceDefinition(choices[static_cast<size_t>(notify.selected)].DefinitionIndex, false);
}

bool CProgramEditorMainView::CommentHoldsProgram(const std::vector<std::wstring>& lines) {
  // Statement list typed into the comment of a network whose program is still empty was meant as
  // its program: the user is asked whether it goes there.
  ProgramPage& page = Page();
  if (ViewMode() != kViewModeStl || !page.IsCommentEditorOpen()) return false;
  const int index = page.ViewState.SelectionFirst;
  const Network& net = page.Networks()[static_cast<size_t>(index)];
  if (net.Kind != kNetworkStl || lines == net.Comments) return false;
  const bool emptyProgram = std::all_of(net.Lines.begin(), net.Lines.end(), [](const StlLine& line) {
    return line.Mnemonic.empty() && line.Operands.empty() && line.Comments.empty();
  });
  if (!emptyProgram || !ReadsAsStatementList(lines, page.ViewState)) return false;
  return UserSaysYes(AskMoveCommentToProgram(index, lines), kMessageIconQuestion);
}

void CProgramEditorMainView::OnTextEditNotify(bool comment, const InplaceNotify& notify) {
  if (!CanEditBlock()) return;
  ProgramPage& page = Page();
  const std::vector<std::wstring> lines = SplitEditorText(notify.text != nullptr ? notify.text : L"");
  CInplaceMultiLineEditBase& editor = comment ? static_cast<CInplaceMultiLineEditBase&>(commentEdit_)
                                              : static_cast<CInplaceMultiLineEditBase&>(stlEdit_);
  switch (notify.exitKey) {
    case kInplaceExitLineCount: {
      MoveEditorWithContent(&editor, editor);
      if (comment && page.IsCommentEditorOpen()) page.ViewState.CommentEditor.Lines = lines;
      if (!comment && page.IsStlEditorOpen()) page.ViewState.StlEditor.Lines = lines;
      UpdateScrollBars();
      // The editor stays in view as it grows; when it is taller than the view, the line being
      // typed does.
      const auto revealWidget = [this](const QPoint& clientCorner, const QSize& size) {
        const PagePoint corner = ToPage(clientCorner);
        RevealPageRect(Rect{corner.x, corner.y, corner.x + size.width(), corner.y + size.height()});
      };
      revealWidget(editor.pos(), editor.size());
      const QRect caret = editor.cursorRect();
      revealWidget(editor.viewport()->mapTo(viewport(), caret.topLeft()), caret.size());
      viewport()->update();
      return;
    }
    case kInplaceExitEnter:
    case kInplaceExitUp:
    case kInplaceExitDown: {
      bool changed = false;
      if (comment && CommentHoldsProgram(lines)) {
        changed = page.ApplyCommentAsProgram(lines);
      } else {
        changed = comment ? page.ApplyCommentEdit(lines) : page.ApplyStlEdit(lines);
      }
      if (changed) NotifyMainFrame(EvProgramEdited, kNoValue);
      if (comment) {
        page.CloseCommentEditor();
      } else {
        page.CloseStlEditor();
      }
      UpdateScrollBars();
      viewport()->update();
      if (notify.exitKey == kInplaceExitUp) OnKeyDown(kKeyUp, false);
      if (notify.exitKey == kInplaceExitDown) OnKeyDown(kKeyDown, false);
      return;
    }
    default:
      if (comment) {
        page.CloseCommentEditor();
      } else {
        page.CloseStlEditor();
      }
      return;
  }
}

}  // namespace Brenno
