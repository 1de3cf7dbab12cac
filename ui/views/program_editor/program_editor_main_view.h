// The ladder and statement-list view of one program page, one per tab of the program editor.
// Everything about the page (networks, view mode, selection, cursor, mouse state, the state of
// its in-place editors, undo history) lives in the page's ProgramPage; the view holds only its
// page key and its element tool. It turns window points into page coordinates, calls the page
// operations, keeps the scroll bars and the five in-place editor windows, and announces every
// change of the page to the notification hub.
#pragma once

#include <QCursor>
#include <QMenu>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/env/utilities.h"
#include "core/program/program_block.h"
#include "ui/shell/main_frame_commands.h"
#include "ui/views/program_editor/program_clip_records.h"
#include "ui/views/program_editor/program_editor_rules.h"
#include "ui/widgets/inplace_edit.h"
#include "ui/widgets/inplace_edit_comment.h"
#include "ui/widgets/inplace_list.h"
#include "ui/widgets/scroll_wnd.h"

namespace Brenno {

class AppEnvironment;
class ProgramPage;
struct ProgramLocation;

// Control ids of the view's in-place editors.
enum ProgramEditorControl : int {
  kInstructionEditorId = 101,
  kOperandEditorId = 102,
  kElementListId = 103,
  kCommentEditorId = 104,
  kStlEditorId = 105,
};

class CProgramEditorMainView : public CScrollWnd, public InplaceNotifyOwner {
  Q_OBJECT
 public:
  // A view of the page with that key of the environment's current project.
  CProgramEditorMainView(AppEnvironment& env, int blockKey, QWidget* parent = nullptr);
  ~CProgramEditorMainView() override;

  int BlockKey() const { return blockKey_; }
  int ElementTool() const { return tool_; }

  // Not locked, and no job from the offline state owns the port.
  bool CanShowBlock() const;
  // Not locked and offline.
  bool CanEditBlock() const;
  bool IsLocked() const;

  // CScrollWnd.
  int GetLineUpStep() override;
  int GetLineDownStep() override;
  int GetLineLeftStep() override;
  int GetLineRightStep() override;
  void GetContentRect(Rect& rect) override;

  // The view or one of its editors has the keyboard focus.
  bool HasFocusWithin() const;
  // Centres the selection when it is not in view (the caller repaints).
  void ScrollSelectionIntoView();
  // Scrolls as little as brings the rectangle (page coordinates) into view.
  void RevealPageRect(const Rect& area);
  // The update codes of the program editor (0x8A00 to 0x8A05; others are ignored). Returns 1.
  int OnPaneUpdate(uint16_t code, intptr_t value);
  void RedrawOnline();
  void GoToLocation(const ProgramLocation* const* location);
  void InsertLibraryElement(int definitionIndex);
  void InsertInstructionText(const std::wstring& text);

  // Commands (offsets on the command-id base): true when the view handles the offset. Update
  // gives the enabled and ticked state.
  bool OnCommand(int offset);
  bool UpdateCommand(int offset, CommandStatus& status) const;
  ProgramCommandGates CommandGates() const;

  // Keys and characters, by key code (ProgramKey values) and by typed character.
  void OnKeyDown(int key, bool ctrl);
  void OnChar(wchar_t ch, bool ctrl);

  // In-place editors (shown only while the page has opened the matching editor).
  void OpenInstructionEditor(wchar_t ch);
  void ShowOperandEditor();
  void OpenElementList(int kind);
  void ShowCommentEditor();
  void ShowStlEditor();

  CInplaceEdit& InstructionEditor() { return instructionEdit_; }
  CInplaceEdit& OperandEditor() { return operandEdit_; }
  CInplaceList& ElementList() { return elementList_; }
  CInplaceEditComment& CommentEditor() { return commentEdit_; }
  CInplaceEditContent& StlEditor() { return stlEdit_; }
  QMenu* StlContextMenu() const { return stlMenu_; }
  QMenu* LadderContextMenu() const { return ladMenu_; }
  // The menu the right button shows now (by the page's view mode).
  QMenu* ContextMenuForPage() const;
  // The client point in page coordinates.
  PagePoint ToPage(const QPoint& client) const;
  // The part of the page in view, in page coordinates.
  Rect PageRectInView() const;

  // InplaceNotifyOwner.
  int OnInplaceNotify(int controlId, const InplaceNotify& notify) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool viewportEvent(QEvent* event) override;

 private:
  ProgramPage& Page() const;
  bool PageExists() const;
  int ViewMode() const;
  bool IsLadder() const { return ViewMode() == kViewModeLad; }
  // Scroll bars, repaint and EvProgramEdited.
  void PublishChange();
  // The same for networks put into the page, which are selected and brought into view.
  void PublishNewNetworks();
  // Scrolls to the positions the target names.
  void ApplyScrollTarget(const ScrollTarget& target);
  // After the cursor moved: bars, the selection brought into view, repaint.
  void ShowMovedCursor();
  void UpdatePointerShape();
  // Client rectangle of a page rectangle.
  Rect ToClient(const Rect& page) const;
  void MoveEditorWithContent(QWidget* editor, const InplaceEditorState& state);
  void FollowContent();
  void OpenTextEditor(CInplaceMultiLineEditBase& editor, const TextEditorState& state);

  void OnLeftClick(PagePoint point, Qt::KeyboardModifiers modifiers);
  // The view's message boxes. The keyboard focus goes back where it was when the box opened (the
  // view, or the in-place editor that had it), its window active again.
  void TellUser(const std::wstring& text, int icon);
  // A question; true for Yes. `flags`: the icon flag, with kMessageDefaultNo for a question whose
  // Yes throws work away.
  bool UserSaysYes(const std::wstring& text, int flags);
  // Runs `place` (a placement at the cursor) once the user agreed to lose what it removes (a
  // question only when it removes something, No its default); publishes the change. True when
  // placed.
  bool PlaceAsking(const std::vector<LadElement>& removed, const std::wstring& placed,
                   const std::function<bool()>& place);
  // Why the instruction text cannot go into the cursor cell, in the user's words; empty when it
  // can (or names nothing at all).
  std::wstring RefusalOfText(const std::wstring& text);
  // An instruction text or a ladder definition placed at the cursor; text and placements the
  // cell cannot take are refused with a message that says why. `fromOutside`: sent by the
  // instruction box or the project tree, which also hear why nothing can go onto this page now.
  // A placed text moves the cursor on along the rung, so that the next element typed goes after
  // it.
  bool PlaceInstructionText(const std::wstring& text, bool fromOutside);
  // Places an instruction text that passed those checks.
  bool PlaceAcceptedText(const std::wstring& text);
  bool PlaceDefinition(int definitionIndex, bool fromOutside);
  // The element built for the cursor cell, selected once placed.
  bool PlaceElement(const LadElement& element, const std::vector<LadElement>& removed,
                    const std::function<bool()>& place);
  bool CanPlaceFromOutside();
  // The editor answers (0 closes it, 1 keeps it open).
  int OnInstructionEditEnd(const InplaceNotify& notify);
  // A refused instruction text stays in its editor: the message says why, then the editor has
  // the keyboard again for the correction.
  void ShowInstructionRefusal(const std::wstring& message);
  int OnOperandEditEnd(const InplaceNotify& notify);
  void OnElementListEnd(const InplaceNotify& notify);
  void OnTextEditNotify(bool comment, const InplaceNotify& notify);
  // The comment editor's new lines read as statement list over an empty program, and the user
  // wants them as the program.
  bool CommentHoldsProgram(const std::vector<std::wstring>& lines);

  void BuildContextMenus();
  QAction* AddMenuCommand(QMenu* menu, int offset, const wchar_t* english, const wchar_t* chinese);
  void UpdateMenuStates(QMenu* menu);

  // Command bodies (program_editor_main_view_commands.cpp).
  void CutOrCopy(bool cut);
  void Paste();
  void TextMode(int offset);
  void Zoom(int percent);
  void ProgramPages(int offset);
  void ShowContext();
  void PasswordProtected();
  void SetTool(int tool);
  bool HasValidRange() const;

  AppEnvironment& env_;
  const int blockKey_;
  int tool_ = kToolSelect;
  // Tool cursors 1 to 5, then move and move refused.
  std::array<QCursor, 7> cursors_;
  QMenu* stlMenu_ = nullptr;
  QMenu* ladMenu_ = nullptr;
  std::vector<QAction*> menuActions_;
  CInplaceEdit instructionEdit_;
  CInplaceEdit operandEdit_;
  CInplaceList elementList_;
  CInplaceEditComment commentEdit_;
  CInplaceEditContent stlEdit_;
  // The cell the instruction editor was opened on (network, column, row): its text goes there.
  int instructionNetwork_ = -1;
  int instructionColumn_ = 0;
  int instructionRow_ = 0;
  // The message of a refused instruction text is up, or about to come.
  bool instructionRefused_ = false;
};

}  // namespace Brenno
