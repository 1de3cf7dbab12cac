// Routing of update codes by their high byte, the communication gates and the caption text.
#include <gtest/gtest.h>

#include <map>

#include "ui/shell/notify_codes.h"
#include "ui/shell/update_router.h"

namespace Brenno {
namespace {

class Recorder : public PaneRequestReceiver {
 public:
  void OnPaneRequest(uint16_t code, intptr_t value) override { got.push_back({code, value}); }
  std::vector<std::pair<uint16_t, intptr_t>> got;
};

class Lookup : public PaneReceiverLookup {
 public:
  PaneRequestReceiver* FindReceiver(PaneReceiver receiver) override {
    const auto found = open.find(receiver);
    return found == open.end() ? nullptr : found->second;
  }
  std::map<PaneReceiver, PaneRequestReceiver*> open;
};

TEST(UpdateRouter, HighByteSelectsTheReceiver) {
  const std::pair<uint16_t, PaneReceiver> cases[] = {
      {UpdProgress, PaneReceiver::Frame},
      {UpdChartOnline, PaneReceiver::StatusChartPane},
      {UpdChartPageSelect, PaneReceiver::StatusChartPane},
      {UpdTreeInstructions, PaneReceiver::ProjectPane},
      {UpdOutputReplaceLast, PaneReceiver::OutputPane},
      {UpdDebugOnline, PaneReceiver::DebugPane},
      {UpdDataRowsLocate, PaneReceiver::DataBlockFrame},
      {UpdDataPageSelect, PaneReceiver::DataBlockFrame},
      {UpdVarTableSetPage, PaneReceiver::ProgramEditorFrame},
      {UpdLadInsertText, PaneReceiver::ProgramEditorFrame},
      {UpdPageTabSelect, PaneReceiver::ProgramEditorFrame},
      {UpdFunSymbolsRedraw, PaneReceiver::FunctionSymbolFrame},
      {UpdVarSymbolsRebuild, PaneReceiver::VariableSymbolFrame},
      {UpdVarTableSelect, PaneReceiver::VariableSymbolFrame},
      {UpdXrefRedraw, PaneReceiver::CrossReferenceFrame},
      {0x9000, PaneReceiver::CrossReferenceFrame},
      {UpdDiagnoseHide, PaneReceiver::DiagnoseWindow},
      {0x8800, PaneReceiver::None},
      {0x9100, PaneReceiver::None},
      {0x9300, PaneReceiver::None},
      {0x7F00, PaneReceiver::None},
  };
  for (const auto& [code, receiver] : cases) EXPECT_EQ(ReceiverOfUpdate(code), receiver) << std::hex << code;
}

TEST(UpdateRouter, CodesReachOnlyOpenReceivers) {
  Recorder output;
  Lookup lookup;
  lookup.open[PaneReceiver::OutputPane] = &output;
  EXPECT_TRUE(RoutePaneUpdate(UpdOutputAppend, 42, lookup));
  EXPECT_FALSE(RoutePaneUpdate(UpdLadRedraw, 0, lookup));  // the program editor is not open
  EXPECT_FALSE(RoutePaneUpdate(0x8800, 0, lookup));
  ASSERT_EQ(output.got.size(), 1u);
  EXPECT_EQ(output.got[0], (std::pair<uint16_t, intptr_t>{UpdOutputAppend, 42}));
}

TEST(UpdateRouter, CommunicationGates) {
  // offline, idle, online for each of the ten states.
  const bool expected[10][3] = {{true, true, false},   {false, true, false}, {false, false, false}, {false, true, true},
                                {false, true, false},  {false, false, false}, {false, false, false}, {false, false, false},
                                {false, false, false}, {false, false, false}};
  for (int state = 0; state < 10; ++state) {
    EXPECT_EQ(IsOfflineState(state), expected[state][0]) << state;
    EXPECT_EQ(IsIdleState(state), expected[state][1]) << state;
    EXPECT_EQ(IsOnlineState(state), expected[state][2]) << state;
  }
}

TEST(UpdateRouter, CaptionShowsPathAndChangeMark) {
  EXPECT_EQ(FrameCaptionText(L"", false), L"Orvisto Editor - []");
  EXPECT_EQ(FrameCaptionText(L"", true), L"Orvisto Editor - [*]");
  EXPECT_EQ(FrameCaptionText(L"/home/u/a.lqw", true), L"Orvisto Editor - [/home/u/a.lqw*]");
}

}  // namespace
}  // namespace Brenno
