// The program editor window: above, the local variable table of the page in view; below, one
// tab per program page of the project, each holding that page's CProgramEditorMainView. The
// main frame keeps one pointer to the open editor and forwards to it every update code of the
// groups 0x89, 0x8A and 0x8B; the frame hands each code to both rows, and the lower row hands it
// on to the view of its active tab.
#pragma once

#include <QPointer>
#include <QSplitter>
#include <QTabWidget>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>

#include "ui/shell/main_frame_commands.h"
#include "ui/shell/update_router.h"
#include "ui/views/instruction/instruction_input_target.h"

namespace Brenno {

class AppEnvironment;
class CProgramEditorMainView;

// What the upper row needs of the variable table view it holds: its update codes (0x8900 to
// 0x8902) and the commands that reach it while it has the focus.
class ProgramEditorVarRowView {
 public:
  virtual ~ProgramEditorVarRowView() = default;
  virtual void OnPaneUpdate(uint16_t code, intptr_t value) = 0;
  // True when the view handles the command offset.
  virtual bool OnEditorCommand(int offset) = 0;
  virtual bool UpdateEditorCommand(int offset, CommandStatus& status) = 0;
};

// Makes the variable table view of the upper row (a widget that may implement
// ProgramEditorVarRowView). Without a factory the row stays empty.
using ProgramEditorVarViewFactory = std::function<QWidget*(AppEnvironment& env, QWidget* parent)>;
void SetProgramEditorVarViewFactory(ProgramEditorVarViewFactory factory);

// The upper row: the variable table view, filling the row.
class CProgramEditorVarPane : public QWidget {
  Q_OBJECT
 public:
  CProgramEditorVarPane(AppEnvironment& env, QWidget* parent = nullptr);
  void OnPaneUpdate(uint16_t code, intptr_t value);
  QWidget* View() const { return view_; }
  ProgramEditorVarRowView* RowView() const;
  // The keyboard focus is on the view or one of its editors.
  bool HasFocusWithin() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  QWidget* view_ = nullptr;
};

// The lower row: the tabs of the program pages.
class CProgramEditorMainPane : public QWidget {
  Q_OBJECT
 public:
  CProgramEditorMainPane(AppEnvironment& env, QWidget* parent = nullptr);

  // The page key of the view in the active tab; -1 when there is none.
  int GetActiveBlockId() const;
  CProgramEditorMainView* ActiveView() const;
  // The view that shows the key; null when no tab shows it.
  CProgramEditorMainView* ViewOf(int key) const;
  QTabWidget* Tabs() const { return tabs_; }

  // Acts on 0x8B00 (rebuild), 0x8B01 (retitle) and 0x8B02 (select), then hands every code to the
  // view of the active tab.
  void OnPaneUpdate(uint16_t code, intptr_t value);
  // Tabs from the project's program pages: surviving views kept, vanished ones destroyed, new
  // ones created; the active page stays active when it survives, else the first tab.
  void RebuildTabs();
  void RetitleTabs();
  void SelectTab(int key);

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  void OnCurrentChanged(int index);
  void SetRedraw(bool on);

  AppEnvironment& env_;
  QTabWidget* tabs_ = nullptr;
  bool rebuilding_ = false;
  // The project the tabs were last built for: the views of another project's pages (a new or
  // opened project has pages of the same keys) are not kept, so each page starts at its top.
  const void* builtForProject_ = nullptr;
};

class CProgramEditorFrm : public QWidget, public PaneRequestReceiver, public InstructionInputTarget {
  Q_OBJECT
 public:
  CProgramEditorFrm(AppEnvironment& env, QWidget* parent = nullptr);
  ~CProgramEditorFrm() override;

  // The key of the page in the active tab, -1 when there is none.
  int GetActiveBlockId() override;
  // `UpdLadInsertText` from the instruction input box.
  void InsertInstructionText(const std::wstring& text) override;

  // The update codes of the groups 0x89, 0x8A, 0x8B: to the upper row, then to the lower row.
  void OnPaneRequest(uint16_t code, intptr_t value) override;

  // A command of the main frame, offered to the part of the editor that holds the keyboard
  // focus: the variable table view, else the view of the active tab. False when neither takes
  // it (the main frame then handles it in its usual way).
  bool OnCommand(int offset);
  bool UpdateCommand(int offset, CommandStatus& status);

  // Called when the window closes (the main frame forgets its pointer here).
  void SetOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }

  CProgramEditorVarPane* VarPane() const { return varPane_; }
  CProgramEditorMainPane* MainPane() const { return mainPane_; }
  QSplitter* Splitter() const { return splitter_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  AppEnvironment& env_;
  QSplitter* splitter_ = nullptr;
  CProgramEditorVarPane* varPane_ = nullptr;
  CProgramEditorMainPane* mainPane_ = nullptr;
  std::function<void()> onClosed_;
};

}  // namespace Brenno
