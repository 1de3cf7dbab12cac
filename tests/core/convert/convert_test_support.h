// Ladder elements, the fixture instruction library and small helpers for the converter tests.
#pragma once

#include <string>
#include <vector>

#include "core/convert/converter_model.h"
#include "core/env/instruction_library.h"
#include "core/program/ladder_grid.h"
#include "core/program/stl_line.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

namespace convert_test {

// The TypeA fixture library (LD/A/O style), read once.
inline const Brenno::InstructionLibrary& TypeA() {
  static const Brenno::InstructionLibrary library = [] {
    Brenno::InstructionLibrary lib;
    Brenno::ReadManagerFun(
        lib, platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/TypeA/ManagerFun.xml")), 2);
    return lib;
  }();
  return library;
}

inline int FunLadIndex(const Brenno::InstructionLibrary& lib, const std::wstring& name) {
  for (std::size_t i = 0; i < lib.FunLadList.size(); ++i) {
    if (lib.FunLadList[i].Name == name) return static_cast<int>(i);
  }
  return -1;
}
inline int FunOrgIndex(const Brenno::InstructionLibrary& lib, const std::wstring& name) {
  for (std::size_t i = 0; i < lib.FunOrgList.size(); ++i) {
    if (lib.FunOrgList[i].Name == name) return static_cast<int>(i);
  }
  return -1;
}
inline int FunStlIndex(const Brenno::InstructionLibrary& lib, const std::wstring& name) {
  for (std::size_t i = 0; i < lib.FunStlList.size(); ++i) {
    if (lib.FunStlList[i].Name == name) return static_cast<int>(i);
  }
  return -1;
}

// ---- Ladder elements of the TypeA library; positions are (row, column) as in the drawings.

inline Brenno::LadElement Element(int kind, int row, int column, const std::wstring& name) {
  Brenno::LadElement e;
  e.Row = row;
  e.Column = column;
  e.InCell = true;
  e.Kind = kind;
  e.Name = name;
  return e;
}

// Normally open contact (keyword " "), normally closed ("/"), NOT, P (rising edge).
inline Brenno::LadElement Contact(int row, int column, const std::wstring& bit, const std::wstring& keyword = L" ") {
  Brenno::LadElement e = Element(Brenno::kLadKindCont, row, column, keyword);
  e.PowerIn = {{0, L"IN"}};
  e.PowerOut = {{0, L"OUT"}};
  if (!bit.empty()) e.OperandIn = {{0, L"bit", bit}};
  return e;
}

// Output coil (" "), set ("S", with N), reset ("R", with N), JMP, NEXT; a coil's operands are
// output operands.
inline Brenno::LadElement Coil(int row, int column, const std::wstring& bit, const std::wstring& keyword = L" ",
                               const std::wstring& n = L"") {
  Brenno::LadElement e = Element(Brenno::kLadKindCoil, row, column, keyword);
  e.PowerIn = {{0, L"IN"}};
  if (!bit.empty()) e.OperandOut.push_back({0, L"bit", bit});
  if (!n.empty()) e.OperandOut.push_back({1, L"N", n});
  return e;
}

inline Brenno::LadElement HLine(int row, int column) { return Element(Brenno::kLadKindLine, row, column, L""); }

// The vertical link on the right edge of cell (row, column), down to row + 1.
inline Brenno::LadElement VLink(int row, int column) {
  Brenno::LadElement e = Element(Brenno::kLadKindLine, row, column, L"");
  e.InCell = false;
  return e;
}

// Boxes: SR (inputs S1, R; output), CTU (inputs CU, R; no output), LBL (on the rail), MOV_B.
inline Brenno::LadElement SrBox(int row, int column, const std::wstring& bit) {
  Brenno::LadElement e = Element(Brenno::kLadKindBlock, row, column, L"SR");
  e.PowerIn = {{0, L"S1"}, {1, L"R"}};
  e.PowerOut = {{0, L"OUT"}};
  e.OperandId = {{0, L"bit", bit}};
  return e;
}
inline Brenno::LadElement CtuBox(int row, int column, const std::wstring& counter, const std::wstring& pv) {
  Brenno::LadElement e = Element(Brenno::kLadKindBlock, row, column, L"CTU");
  e.PowerIn = {{0, L"CU"}, {1, L"R"}};
  e.OperandId = {{0, L"C", counter}};
  e.OperandIn = {{0, L"PV", pv}};
  return e;
}
inline Brenno::LadElement LblBox(int row, int column, const std::wstring& n) {
  Brenno::LadElement e = Element(Brenno::kLadKindBlock, row, column, L"LBL");
  e.PowerIn = {{0, L""}};
  e.OperandId = {{0, L"N", n}};
  return e;
}
inline Brenno::LadElement MovBox(int row, int column, const std::wstring& in, const std::wstring& out) {
  Brenno::LadElement e = Element(Brenno::kLadKindBlock, row, column, L"MOV_B");
  e.PowerIn = {{0, L"EN"}};
  e.OperandIn = {{0, L"IN", in}};
  e.OperandOut = {{0, L"OUT", out}};
  return e;
}

// A ladder grid with its stored extent computed from the elements.
inline Brenno::LadderGrid Ladder(const std::vector<Brenno::LadElement>& elements) {
  Brenno::LadderGrid grid;
  grid.Elements = elements;
  Brenno::UpdateLadderExtent(grid);
  return grid;
}

// The text form of the lines, one per line: "LD  I0.0" etc.
inline std::vector<std::wstring> Text(const std::vector<Brenno::StlLine>& lines) {
  std::vector<std::wstring> out;
  for (const Brenno::StlLine& line : lines) {
    std::wstring text = line.Mnemonic;
    if (line.Variant != 0) text += L"#" + std::to_wstring(line.Variant);
    for (std::size_t i = 0; i < line.Operands.size(); ++i) text += (i == 0 ? L" " : L",") + line.Operands[i];
    for (const std::wstring& c : line.Comments) text += L" //" + c;
    out.push_back(text);
  }
  return out;
}

// A tree as text: "S(P(i0,i1),i2)": S series, P parallel, iN input node N, rN reference to net N.
inline std::wstring TreeText(Brenno::LogicTree::Position node) {
  if (node == nullptr) return L"-";
  std::wstring text;
  const Brenno::LogicItem& item = node->value;
  if (item.kind == Brenno::kLogicItemInput) {
    text = L"i" + std::to_wstring(item.value);
  } else if (item.kind == Brenno::kLogicItemReference) {
    text = L"r" + std::to_wstring(item.value);
  } else if (item.value == Brenno::kLogicSeries) {
    text = L"S";
  } else if (item.value == Brenno::kLogicParallel) {
    text = L"P";
  } else {
    text = L"?";
  }
  if (node->first_child != nullptr) {
    text += L"(";
    for (auto child = node->first_child; child != nullptr; child = child->next_sibling) {
      if (child != node->first_child) text += L",";
      text += TreeText(child);
    }
    text += L")";
  }
  return text;
}
inline std::wstring TreeText(const Brenno::LogicTree& tree) { return TreeText(Brenno::LogicRoot(tree)); }

}  // namespace convert_test
