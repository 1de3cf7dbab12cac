#include "core/program/network.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/program/network_text.h"
#include "core/program/network_undo_log.h"
#include "program_test_support.h"

namespace {

using Brenno::Network;

Network StlNetwork(std::vector<std::wstring> mnemonics, std::vector<std::wstring> comments = {}) {
  Network net;
  net.Kind = Brenno::kNetworkStl;
  for (auto& m : mnemonics) net.Lines.push_back(Brenno::StlLine{m, 0, {}, {}});
  net.Comments = std::move(comments);
  return net;
}

Brenno::PageViewState View(int mode) {
  Brenno::PageViewState page;
  page.ViewMode = mode;
  page.CurrentNetwork = 0;
  return page;
}

TEST(NetworkRecords, EqualityAndDefaults) {
  EXPECT_TRUE(Network::Equals(Network(), Network()));
  EXPECT_EQ(Network().Kind, Brenno::kNetworkLad);
  EXPECT_FALSE(Network::Equals(StlNetwork({L"NOT"}, {L"a"}), StlNetwork({L"NOT"}, {L"b"})));
  Network a;
  Network b;
  Brenno::LadElement line;
  line.Kind = Brenno::kLadKindLine;
  line.InCell = true;
  Brenno::LadElement other = line;
  other.Column = 1;
  a.Grid.Elements = {line, other};
  b.Grid.Elements = {other, line};
  EXPECT_FALSE(Network::Equals(a, b));
}

TEST(NetworkGeometry, FrameSizesByKindAndView) {
  const Network emptyStl = StlNetwork({});
  const Brenno::PageViewState stlView = View(1);
  EXPECT_EQ(Network::CommentHeight(stlView, emptyStl), 17);
  EXPECT_EQ(Network::BodyHeight(emptyStl, stlView), 17);
  EXPECT_EQ(Network::StepCount(emptyStl, stlView), 0);
  EXPECT_EQ(Network::BodyWidth(emptyStl, stlView), 420);
  EXPECT_EQ(Network::BodyHeight(StlNetwork({L"A", L"B", L"C"}, {L"1", L"2"}), stlView), 43);
  EXPECT_EQ(Network::CommentHeight(stlView, StlNetwork({}, {L"1", L"2"})), 30);

  // A network shown in the other view is "INVALID": 26 high, 420 or 748 wide, one step.
  const Brenno::PageViewState ladView = View(2);
  EXPECT_EQ(Network::BodyWidth(emptyStl, ladView), 748);
  EXPECT_EQ(Network::BodyHeight(emptyStl, ladView), 26);
  EXPECT_EQ(Network::BodyWidth(Network(), stlView), 420);
  EXPECT_EQ(Network::BodyHeight(Network(), stlView), 26);
  EXPECT_EQ(Network::StepCount(Network(), stlView), 1);

  const Brenno::Rect body = Network::BodyRect(emptyStl, stlView, 0, 100);
  EXPECT_EQ(body, (Brenno::Rect{32, 134, 452, 151}));

  Network broken;
  broken.Kind = 3;
  EXPECT_THROW(Network::BodyWidth(broken, stlView), Brenno::ExceptionLogicError);
  EXPECT_THROW(Network::BodyWidth(emptyStl, View(-1)), Brenno::ExceptionLogicError);
}

TEST(NetworkGeometry, OpenCommentEditorDecidesTheCommentHeight) {
  Brenno::PageViewState page = View(1);
  page.SelectionFirst = page.SelectionLast = 0;
  page.CursorColumn = page.CursorRow = -1;
  page.CommentEditor.Open = true;
  page.CommentEditor.Lines = {L"a", L"b", L"c"};
  const Network net = StlNetwork({}, {L"only"});
  EXPECT_EQ(Network::CommentHeight(page, net), 43);
  page.CurrentNetwork = 1;
  EXPECT_EQ(Network::CommentHeight(page, net), 17);
}

TEST(NetworkGeometry, MarginHitsHeaderAndStatementLines) {
  const Network net = StlNetwork({L"A", L"B"});
  const Brenno::PageViewState page = View(1);
  int line = -1;
  EXPECT_TRUE(Network::HitMarginLine(net, page, 3, 5, line));
  EXPECT_EQ(line, 0);
  EXPECT_TRUE(Network::HitMarginLine(net, page, 3, 17 + 19 + 14, line));  // C = 17
  EXPECT_EQ(line, 2);
  EXPECT_FALSE(Network::HitMarginLine(net, page, 3, 17 + 19 + 26, line));
  EXPECT_FALSE(Network::HitMarginLine(net, page, 20, 5, line));
  EXPECT_FALSE(Network::HitMarginLine(net, View(2), 3, 5, line));
}

class NetworkText : public programtest::ProjectFixture {};

TEST_F(NetworkText, WritesHeadersCommentsAndStatementLines) {
  Network net = StlNetwork({L"NOT"}, {L"first"});
  net.Lines.push_back(Brenno::StlLine{L"LD", 0, {L"I0.0"}, {L"why"}});
  std::wstring text;
  Brenno::NetworksToText(text, View(1), L"\r\n", {net, Network()});
  EXPECT_EQ(text, L"NETWORK\r\n//first\r\nNOT\r\nLD  I0.0  //why\r\nNETWORK\r\n");
  // In the ladder view only headers and comment lines are written.
  Brenno::NetworksToText(text, View(2), L"\r\n", {net});
  EXPECT_EQ(text, L"NETWORK\r\n//first\r\n");
}

TEST_F(NetworkText, ReadsNetworksAtHeaderLines) {
  struct Case {
    std::wstring text;
    size_t networks;
  } cases[] = {
      {L"", 0},
      {L"LD I0.0\r\n= Q0.0", 1},
      {L"NETWORK 0\r\nLD I0.0\r\nnetwork\r\nNETWORK//x\r\n", 3},
      {L"NETWORK", 1},
  };
  for (const Case& c : cases) {
    std::vector<Network> networks;
    Brenno::ParseNetworksFromText(networks, View(1), L"\r\n", c.text);
    EXPECT_EQ(networks.size(), c.networks) << c.networks;
    for (const Network& net : networks) EXPECT_EQ(net.Kind, Brenno::kNetworkStl);
  }
}

TEST_F(NetworkText, CommentLinesTrailingSeparatorAndRoundTrip) {
  std::vector<Network> networks;
  Brenno::ParseNetworksFromText(networks, View(1), L"\r\n", L"NETWORK\r\n  // note\r\nLD I0.0 //c\r\n");
  ASSERT_EQ(networks.size(), 1u);
  EXPECT_EQ(networks[0].Comments, std::vector<std::wstring>{L" note"});
  ASSERT_EQ(networks[0].Lines.size(), 2u);  // the trailing separator gives one more, empty line
  EXPECT_EQ(networks[0].Lines[0].Mnemonic, L"LD");
  EXPECT_EQ(networks[0].Lines[0].Comments, std::vector<std::wstring>{L"c"});
  EXPECT_TRUE(networks[0].Lines[1].Mnemonic.empty());

  std::wstring text;
  Brenno::NetworksToText(text, View(1), L"\n", networks);
  std::vector<Network> again;
  Brenno::ParseNetworksFromText(again, View(1), L"\n", text);
  // Written text ends with the separator, so the reread network has one more empty line.
  ASSERT_EQ(again.size(), 1u);
  again[0].Lines.pop_back();
  EXPECT_TRUE(Network::Equals(again[0], networks[0]));
}

TEST(NetworkHeaderLine, NetworkBeforeAnyComment) {
  EXPECT_TRUE(Brenno::IsNetworkHeaderLine(L"NETWORK"));
  EXPECT_TRUE(Brenno::IsNetworkHeaderLine(L"  Network 3 // NETWORK"));
  EXPECT_FALSE(Brenno::IsNetworkHeaderLine(L"// NETWORK"));
  EXPECT_FALSE(Brenno::IsNetworkHeaderLine(L"NET WORK"));
}

// ---------------------------------------------------------------- undo log

std::vector<Network> Numbered(int count) {
  std::vector<Network> networks;
  for (int i = 0; i < count; ++i) networks.push_back(StlNetwork({}, {std::to_wstring(i)}));
  return networks;
}

TEST(NetworkUndoLog, FixUpShiftsLaterRecordsAboveTheFirst) {
  Brenno::NetworkUndoStep step = {Brenno::MakeNetworkEditRecord(2, Numbered(1), Numbered(3)),
                                  Brenno::MakeNetworkEditRecord(5, {}, Numbered(1)),
                                  Brenno::MakeNetworkEditRecord(2, {}, {})};
  Brenno::FixUpStepIndices(step);
  EXPECT_EQ(step[1].Index, 7);
  EXPECT_EQ(step[2].Index, 2);
}

TEST(NetworkUndoLog, UndoRedoAndTheRedoTail) {
  Brenno::NetworkUndoLog log;
  EXPECT_FALSE(log.Undo());
  EXPECT_FALSE(log.Redo());
  Brenno::ApplyNetworkEdit(log, Brenno::MakeNetworkEditRecord(0, {}, Numbered(6)));
  std::vector<Network> placeholders;
  Brenno::ResizeNetworks(placeholders, 3);
  Brenno::ApplyNetworkEdit(log, Brenno::MakeNetworkEditRecord(2, placeholders, {}));
  ASSERT_EQ(log.Networks.size(), 3u);
  // The step keeps the networks actually removed, not the placeholders.
  EXPECT_EQ(log.Steps[1][0].Before[0].Comments[0], L"2");
  EXPECT_TRUE(log.Undo());
  EXPECT_EQ(log.Networks, Numbered(6));
  EXPECT_TRUE(log.Redo());
  EXPECT_EQ(log.Networks.size(), 3u);
  EXPECT_FALSE(log.Redo());
  EXPECT_TRUE(log.Undo());
  EXPECT_TRUE(log.Undo());
  EXPECT_TRUE(log.Networks.empty());
  Brenno::ApplyNetworkEdit(log, Brenno::MakeNetworkEditRecord(0, {}, Numbered(1)));
  EXPECT_EQ(log.Position, 1);
  EXPECT_EQ(log.Steps.size(), 1u);
  EXPECT_FALSE(log.Redo());
}

TEST(NetworkUndoLog, RecordBeyondTheListIsRefused) {
  Brenno::NetworkUndoLog log;
  Brenno::ApplyNetworkEdit(log, Brenno::MakeNetworkEditRecord(0, {}, Numbered(2)));
  EXPECT_THROW(Brenno::ApplyNetworkEdit(log, Brenno::MakeNetworkEditRecord(1, Numbered(2), {})),
               Brenno::ExceptionLogicError);
  EXPECT_EQ(log.Networks, Numbered(2));
  EXPECT_EQ(log.Position, 1);
}

}  // namespace
