// The window-free decisions of the program editor: the page lock and its gates, the keys, the
// command states, the scroll and placement arithmetic and the selection band.
#include "ui/views/program_editor/program_editor_rules.h"

#include <gtest/gtest.h>

#include "core/link/comm_state.h"
#include "core/program/network.h"
#include "core/program/program_block.h"
#include "core/program/program_page.h"
#include "tests/ui/views/program_editor/program_editor_test_env.h"
#include "ui/views/program_editor/program_page_lock.h"

namespace Brenno {
namespace {

constexpr int kSbr3 = 0x10003;

TEST(ProgramPageLockTest, LockedOnlyForAFlaggedSubroutineWordThatDiffers) {
  ProgramUnitPasswordTable stored{};
  ProgramUnitPasswordTable entered{};
  const uint32_t word = 123u | kProgramUnitPasswordSetFlag | 3u << 28;
  SetProgramUnitPasswordWord(stored, 3, word);
  // The word lies low byte first at 4 × unit.
  EXPECT_EQ(stored[12], 123);
  EXPECT_EQ(stored[15], 0x38);

  EXPECT_TRUE(IsProgramUnitLocked(stored, entered, kSbr3));
  EXPECT_FALSE(IsProgramUnitLocked(stored, entered, 3));  // interrupt 3: never locked
  SetProgramUnitPasswordWord(entered, 3, word & ~(1u << 28));  // same digits, other length
  EXPECT_TRUE(IsProgramUnitLocked(stored, entered, kSbr3));
  SetProgramUnitPasswordWord(entered, 3, word);
  EXPECT_FALSE(IsProgramUnitLocked(stored, entered, kSbr3));

  // Without the set flag a word locks nothing.
  SetProgramUnitPasswordWord(stored, 4, 77);
  EXPECT_FALSE(IsProgramUnitLocked(stored, entered, 0x10004));
  // Subroutine numbers beyond the 32 slots have no word: never locked, never written.
  ProgramUnitPasswordTable before = stored;
  SetProgramUnitPasswordWord(stored, 40, 0xFFFFFFFF);
  EXPECT_EQ(stored, before);
  EXPECT_FALSE(IsProgramUnitLocked(stored, entered, 0x10000 + 40));
  EXPECT_FALSE(HasProgramUnitPasswordSlot(0x10000 + 32));
  EXPECT_TRUE(HasProgramUnitPasswordSlot(0x10000 + 31));
}

TEST(ProgramPageLockTest, ShowAndEditGatesByCommState) {
  for (int state = CommOffline; state <= CommReturningOnline; ++state) {
    const bool jobFromOffline = state == CommOpeningCommand || state == CommCommand || state == CommLeavingCommand;
    EXPECT_EQ(CanShowProgramBlock(state, false), !jobFromOffline) << state;
    EXPECT_FALSE(CanShowProgramBlock(state, true)) << state;
    EXPECT_EQ(CanEditProgramBlock(state, false), state == CommOffline) << state;
    EXPECT_FALSE(CanEditProgramBlock(state, true)) << state;
  }
}

TEST(ProgramEditorRulesTest, KeysByViewModeAndGates) {
  struct Case {
    int key;
    bool ctrl;
    bool canEdit;
    int viewMode;
    ProgramKeyAction action;
  } cases[] = {
      {kKeyLeft, false, true, kViewModeStl, ProgramKeyAction::MoveLeft},
      {kKeyPageDown, false, true, kViewModeStl, ProgramKeyAction::PageDown},
      {kKeyH, false, true, kViewModeStl, ProgramKeyAction::None},  // element keys: ladder only
      {kKeyDelete, false, true, kViewModeStl, ProgramKeyAction::None},
      {kKeyH, false, true, kViewModeLad, ProgramKeyAction::InsertHorizontalLine},
      {kKeyV, false, true, kViewModeLad, ProgramKeyAction::InsertVerticalLine},
      {kKeyEscape, false, true, kViewModeLad, ProgramKeyAction::ChooseSelectTool},
      {kKeyEnter, false, true, kViewModeLad, ProgramKeyAction::OpenOperandEditor},
      {kKeyF4, false, true, kViewModeLad, ProgramKeyAction::InsertInvert},
      {kKeyF10, false, true, kViewModeLad, ProgramKeyAction::ListCoils},
      {kKeyV, true, true, kViewModeLad, ProgramKeyAction::None},      // Ctrl: the accelerators'
      {kKeyDown, false, false, kViewModeLad, ProgramKeyAction::None},  // locked or not offline
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideProgramKey(c.key, c.ctrl, c.canEdit, c.viewMode), c.action) << c.key << " " << c.viewMode;
  }
  EXPECT_EQ(ElementListKind(ProgramKeyAction::ListContacts, false), 2);
  EXPECT_EQ(ElementListKind(ProgramKeyAction::ListBoxes, true), 7);
  EXPECT_EQ(ToolKey(kToolCoil), kKeyF10);
  EXPECT_EQ(ToolKey(kToolVertLine), kKeyV);

  for (wchar_t ch : std::wstring(L"LaZz=<>+-*/")) EXPECT_TRUE(OpensInstructionEditor(ch)) << char(ch);
  for (wchar_t ch : std::wstring(L"HhVv0 9.#_")) EXPECT_FALSE(OpensInstructionEditor(ch)) << char(ch);
}

TEST(ProgramEditorRulesTest, CommandStates) {
  ProgramCommandGates g;
  g.Shown = true;
  g.UndoSteps = 2;
  g.UndoPosition = 0;
  g.Tool = kToolCoil;
  g.ViewZoom = 75;
  EXPECT_FALSE(ProgramCommandStatus(PvUndo, g).Enabled);  // history walked back to its start
  EXPECT_TRUE(ProgramCommandStatus(PvRedo, g).Enabled);
  g.UndoPosition = 2;
  EXPECT_TRUE(ProgramCommandStatus(PvUndo, g).Enabled);
  EXPECT_FALSE(ProgramCommandStatus(PvRedo, g).Enabled);
  EXPECT_EQ(ProgramCommandStatus(PvToolCoil, g), (CommandStatus{true, true}));
  EXPECT_EQ(ProgramCommandStatus(PvToolSelect, g), (CommandStatus{true, false}));
  EXPECT_EQ(ProgramCommandStatus(PvZoom75, g), (CommandStatus{true, true}));
  EXPECT_EQ(ProgramCommandStatus(PvZoom100, g), (CommandStatus{true, false}));
  EXPECT_FALSE(ProgramCommandStatus(PvInsertInterrupt, g).Enabled);  // no free interrupt
  EXPECT_FALSE(ProgramCommandStatus(PvDeleteSubroutine, g).Enabled);  // not a subroutine page
  EXPECT_FALSE(ProgramCommandStatus(PvShowContext, g).Enabled);      // not locked
  EXPECT_TRUE(ProgramCommandStatus(PvPasswordProtected, g).Enabled);
  EXPECT_TRUE(ProgramCommandStatus(PvPaste, g).Enabled);

  // Online: shown but not editable; zoom stays, the password commands too.
  g.CommState = CommOnline;
  EXPECT_FALSE(ProgramCommandStatus(PvPaste, g).Enabled);
  EXPECT_TRUE(ProgramCommandStatus(PvZoom50, g).Enabled);
  // A job from offline: not even zoom.
  g.CommState = CommCommand;
  EXPECT_FALSE(ProgramCommandStatus(PvZoom50, g).Enabled);
  // Locked: only the password commands.
  g.CommState = CommOffline;
  g.Locked = true;
  EXPECT_TRUE(ProgramCommandStatus(PvShowContext, g).Enabled);
  EXPECT_TRUE(ProgramCommandStatus(PvPasswordProtected, g).Enabled);
  EXPECT_FALSE(ProgramCommandStatus(PvCopy, g).Enabled);
  // A view whose tab is not the active one offers nothing but the password commands.
  g.Locked = false;
  g.Shown = false;
  EXPECT_FALSE(ProgramCommandStatus(PvCopy, g).Enabled);
  EXPECT_FALSE(ProgramCommandStatus(PvZoom50, g).Enabled);
  EXPECT_FALSE(IsProgramViewCommand(20101));

  const int percents[] = {25, 50, 75, 100, 125, 150, 175, 200};
  for (size_t i = 0; i < ZoomCommands().size(); ++i) EXPECT_EQ(ZoomPercentOfCommand(ZoomCommands()[i]), percents[i]);
  EXPECT_EQ(ZoomPercentOfCommand(PvUndo), 0);
}

TEST(ProgramEditorRulesTest, ScrollStepsCentringAndEditorPlacement) {
  LadderMetrics m;  // 102 × 54
  EXPECT_EQ(VerticalLineStep(kViewModeStl, m), 13);
  EXPECT_EQ(VerticalLineStep(kViewModeLad, m), 102);
  EXPECT_EQ(HorizontalLineStep(kViewModeLad, m), 54);
  EXPECT_EQ(HorizontalLineStep(0, m), 1);

  // Selection below the view: centred vertically; horizontally strictly inside: stays.
  ScrollTarget t = CentreSelection(Rect{0, 0, 400, 300}, Rect{50, 500, 150, 554});
  EXPECT_FALSE(t.Horizontal.has_value());
  ASSERT_TRUE(t.Vertical.has_value());
  EXPECT_EQ(*t.Vertical, 500 - (300 - 54) / 2);
  // Touching the left edge counts as outside; wider than the view stays.
  t = CentreSelection(Rect{100, 0, 400, 300}, Rect{100, 10, 200, 20});
  EXPECT_EQ(t.Horizontal, std::optional<int>(100 - (300 - 100) / 2));
  t = CentreSelection(Rect{0, 0, 100, 300}, Rect{0, 10, 200, 20});
  EXPECT_FALSE(t.Horizontal.has_value());
  // Nothing selected: nothing moves.
  t = CentreSelection(Rect{0, 0, 100, 100}, Rect{5, 500, 5, 600});
  EXPECT_FALSE(t.Horizontal || t.Vertical);

  // An editor brought into view moves the view as little as it can: up to its bottom edge, down
  // to its top edge, its top when it is taller than the view; in view nothing moves.
  const struct {
    Rect editor;
    std::optional<int> vertical;
  } reveals[] = {
      {Rect{32, 250, 452, 330}, 30},   // reaches 30 below the view
      {Rect{32, -40, 452, 10}, -40},   // starts above it
      {Rect{32, 100, 452, 500}, 100},  // taller than the view
      {Rect{32, 100, 452, 300}, std::nullopt},
  };
  for (const auto& reveal : reveals) {
    const ScrollTarget r = RevealRect(Rect{0, 0, 500, 300}, reveal.editor);
    EXPECT_EQ(r.Vertical, reveal.vertical) << reveal.editor.top;
    EXPECT_FALSE(r.Horizontal.has_value());
  }
  EXPECT_EQ(RevealRect(Rect{0, 0, 300, 300}, Rect{200, 0, 452, 20}).Horizontal, std::optional<int>(152));

  // Below the cell, two cells wide, 17 high; pushed back into the client area at the edges.
  EXPECT_EQ(PlaceInstructionEditor(Rect{32, 17, 134, 71}, 500, 400, m), (Rect{32, 71, 236, 88}));
  EXPECT_EQ(PlaceInstructionEditor(Rect{300, 380, 402, 434}, 400, 400, m), (Rect{196, 383, 400, 400}));
  EXPECT_FALSE(PlaceInstructionEditor(Rect{0, 0, 102, 54}, 101, 400, m).has_value());
  EXPECT_EQ(PlaceElementList(Rect{32, 17, 134, 71}, 60, 100, 500, 400, m), (Rect{32, 17, 134, 117}));
  EXPECT_EQ(PlaceElementList(Rect{32, 17, 134, 71}, 150, 500, 500, 400, m), (Rect{32, 0, 182, 400}));
}

class SelectionBandTest : public progviewtest::ProgramEditorEnv {};

TEST_F(SelectionBandTest, OneNetworkGetsTheCursorSeveralAreSelectedWhole) {
  ProgramPage& page = Page(0);
  ASSERT_EQ(page.ViewState.ViewMode, kViewModeLad);
  ASSERT_GE(page.NetworkCount(), 3);
  const int n0 = page.NetworksHeight(0, 1);
  const int n1 = page.NetworksHeight(1, 2);
  const int body0 = 17 + 17 + Network::CommentHeight(page.ViewState, page.Networks()[0]);

  // Inside network 0's body, over its first cell.
  ApplySelectionBand(page, PagePoint{40, body0 + 5}, PagePoint{60, body0 + 20});
  EXPECT_EQ(page.ViewState.SelectionFirst, 0);
  EXPECT_EQ(page.ViewState.SelectionLast, 0);
  EXPECT_TRUE(page.HasCursor());
  EXPECT_EQ(page.ViewState.DragRect, (Rect{40, body0 + 5, 60, body0 + 20}));

  // From the middle of network 0 to the middle of network 2, dragged upwards.
  ApplySelectionBand(page, PagePoint{200, 17 + n0 + n1 + 5}, PagePoint{5, 30});
  EXPECT_EQ(page.ViewState.SelectionFirst, 0);
  EXPECT_EQ(page.ViewState.SelectionLast, 3);
  EXPECT_FALSE(page.HasCursor());

  // Right of every network: nothing.
  ApplySelectionBand(page, PagePoint{5000, 30}, PagePoint{5100, 60});
  EXPECT_EQ(page.ViewState.SelectionFirst, -1);
}

}  // namespace
}  // namespace Brenno
