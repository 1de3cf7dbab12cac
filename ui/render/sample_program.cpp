#include "ui/render/sample_program.h"

#include <utility>
#include <vector>

#include "core/env/manager_var_reader.h"
#include "core/program/ladder_grid.h"
#include "core/program/network.h"

namespace Brenno {

namespace {

LadElement Element(int kind, int column, int row, const std::wstring& name) {
  LadElement e;
  e.Column = column;
  e.Row = row;
  e.InCell = true;
  e.Kind = kind;
  e.Name = name;
  return e;
}

LadElement Contact(int column, int row, const std::wstring& keyword, const std::wstring& operand) {
  LadElement e = Element(kLadKindCont, column, row, keyword);
  e.PowerIn = {{0, L"IN"}};
  e.PowerOut = {{0, L"OUT"}};
  e.OperandIn = {{0, L"bit", operand}};
  return e;
}

LadElement Coil(int column, int row, const std::wstring& keyword, std::vector<ElementOperand> operands) {
  LadElement e = Element(kLadKindCoil, column, row, keyword);
  e.PowerIn = {{0, L"IN"}};
  e.OperandOut = std::move(operands);
  return e;
}

LadElement HLine(int column, int row) { return Element(kLadKindLine, column, row, L""); }

LadElement VLink(int column, int row) {
  LadElement e = Element(kLadKindLine, column, row, L"");
  e.InCell = false;
  return e;
}

Network LadderNetwork(std::vector<LadElement> elements, std::vector<std::wstring> comments) {
  Network net;
  net.Kind = kNetworkLad;
  net.Grid.Elements = std::move(elements);
  UpdateLadderExtent(net.Grid);
  net.Comments = std::move(comments);
  return net;
}

std::vector<Network> SampleLadderNetworks() {
  LadElement compare = Contact(0, 0, L"==B", L"VB0");
  compare.OperandIn = {{0, L"IN1", L"VB0"}, {1, L"IN2", L"5"}};
  LadElement move = Element(kLadKindBlock, 1, 0, L"MOV_W");
  move.PowerIn = {{0, L"EN"}};
  move.OperandIn = {{0, L"IN", L"VW2"}};
  move.OperandOut = {{0, L"OUT", L"VW4"}};
  return {
      LadderNetwork({Contact(0, 0, L" ", L"Start"), Contact(1, 0, L"/", L"I0.1"), HLine(2, 0),
                     Coil(3, 0, L" ", {{0, L"bit", L"Q0.0"}})},
                    {L"启动电机 (start the motor)"}),
      LadderNetwork({compare, move}, {L"Copy the set point when VB0 is 5", L"设定值"}),
      LadderNetwork({Contact(0, 0, L" ", L"I0.0"), Contact(0, 1, L" ", L"Q0.0"), VLink(0, 0),
                     Coil(1, 0, L"S", {{0, L"bit", L"Q0.1"}, {1, L"N", L"1"}})},
                    {}),
  };
}

StlLine Line(const std::wstring& mnemonic, std::vector<std::wstring> operands, const std::wstring& comment = L"") {
  StlLine line;
  line.Mnemonic = mnemonic;
  line.Operands = std::move(operands);
  if (!comment.empty()) line.Comments = {comment};
  return line;
}

Network StlNetwork(std::vector<StlLine> lines, std::vector<std::wstring> comments) {
  Network net;
  net.Kind = kNetworkStl;
  net.Lines = std::move(lines);
  net.Comments = std::move(comments);
  return net;
}

ProgramPage PageOf(std::vector<Network> networks, int viewMode) {
  ProgramPage page;
  ProgramPage::CreateSized(page, 0);
  page.UndoLog.Networks = std::move(networks);
  page.ViewState.PageId = 0;
  page.ViewState.ViewMode = viewMode;
  return page;
}

}  // namespace

SampleProgram::SampleProgram(const std::wstring& typeFolder) {
  ReadManagerFun(library_, typeFolder + L"/ManagerFun.xml", 1);
  ReadManagerVar(memoryMap_, typeFolder + L"/ManagerVar.xml");
  symbols_ = {{L"Start", L"I0.0"}, {L"Motor", L"Q0.0"}};
  RebuildOnlineCache(cache_, memoryMap_);
  auto slotOf = [this](const wchar_t* region) {
    for (const MemoryRegion& r : memoryMap_.Regions) {
      if (r.Name == region) return static_cast<size_t>(r.Slot);
    }
    return static_cast<size_t>(-1);
  };
  cache_.Update([&](OnlineCacheData& data) {
    auto set = [&](const wchar_t* region, size_t byte, uint8_t value) {
      const size_t slot = slotOf(region);
      if (slot < data.ValueImages.size() && byte < data.ValueImages[slot].size()) data.ValueImages[slot][byte].Value = value;
    };
    set(L"I", 0, 0x01);  // I0.0 on, I0.1 off
    set(L"Q", 0, 0x01);  // Q0.0 on
    set(L"V", 0, 5);     // VB0
    set(L"V", 2, 0xD2);  // VW2 = 1234, low byte first as the cache assembles it
    set(L"V", 3, 0x04);
    // The PLC stands at a break point on the first step of network 2 and has its current step
    // on the second step of network 1 (networks counted from 1).
    data.Debug.Words = {0, 2, 0, 0, 1, 1};
    data.Debug.SetUpdateTick(1000);
  });
  InstallProgramServices(this);
}

SampleProgram::~SampleProgram() { InstallProgramServices(nullptr); }

bool SampleProgram::LookupSymbolNamePrefixed(std::wstring& text, int) const {
  std::wstring prefix;
  std::wstring name = text;
  if (!name.empty() && (name[0] == L'&' || name[0] == L'*')) {
    prefix = name.substr(0, 1);
    name = name.substr(1);
  }
  const auto found = symbols_.find(name);
  if (found == symbols_.end()) return false;
  text = prefix + found->second;
  return true;
}

bool SampleProgram::LookupOperandSymbolPrefixed(std::wstring& text, int) const {
  std::wstring prefix;
  std::wstring address = text;
  if (!address.empty() && (address[0] == L'&' || address[0] == L'*')) {
    prefix = address.substr(0, 1);
    address = address.substr(1);
  }
  for (const auto& [name, value] : symbols_) {
    if (value == address) {
      text = prefix + name;
      return true;
    }
  }
  return false;
}

ProgramPage SampleProgram::LadderPage() const { return PageOf(SampleLadderNetworks(), 2); }

ProgramPage SampleProgram::StlPage() const {
  return PageOf(
      {
          StlNetwork({Line(L"LD", {L"Start"}, L"启动按钮"), Line(L"AN", {L"I0.1"}), Line(L"=", {L"Q0.0"})},
                     {L"启动电机 (start the motor)"}),
          StlNetwork({Line(L"LDB=", {L"VB0", L"5"}), Line(L"MOVW", {L"VW2", L"VW4"}, L"copy the set point")}, {}),
          StlNetwork({Line(L"LD", {L"I0.0"}), Line(L"O", {L"Q0.0"}), Line(L"S", {L"Q0.1", L"1"})}, {}),
      },
      1);
}

ProgramPage SampleProgram::LargeLadderPage(size_t networks) const {
  const std::vector<Network> rungs = SampleLadderNetworks();
  std::vector<Network> all;
  all.reserve(networks);
  for (size_t i = 0; i < networks; ++i) all.push_back(rungs[i % rungs.size()]);
  return PageOf(std::move(all), 2);
}

OnlineCacheSnapshot SampleProgram::Offline() const {
  return cache_.TakeSnapshot(false, 1000, 4000, 2000, &memoryMap_, library_.FxMode);
}

OnlineCacheSnapshot SampleProgram::Online() const {
  return cache_.TakeSnapshot(true, 1000, 4000, 2000, &memoryMap_, library_.FxMode);
}

}  // namespace Brenno
