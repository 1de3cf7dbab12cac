// Small ladder elements for the grid, editing and geometry tests.
#pragma once

#include <string>

#include "core/program/ladder_grid.h"

namespace ladder_test {

inline Brenno::LadElement Element(int kind, int column, int row, const std::wstring& name) {
  Brenno::LadElement e;
  e.Column = column;
  e.Row = row;
  e.InCell = true;
  e.Kind = kind;
  e.Name = name;
  return e;
}

// A normally open contact (the "LD" definition of the fixture library).
inline Brenno::LadElement Contact(int column, int row, const std::wstring& operand = L"I0.0") {
  Brenno::LadElement e = Element(Brenno::kLadKindCont, column, row, L" ");
  e.PowerIn = {{0, L"IN"}};
  e.PowerOut = {{0, L"OUT"}};
  e.OperandIn = {{0, L"bit", operand}};
  return e;
}

// An output coil (the "=" definition), its bit an output operand.
inline Brenno::LadElement Coil(int column, int row, const std::wstring& operand = L"Q0.0") {
  Brenno::LadElement e = Element(Brenno::kLadKindCoil, column, row, L" ");
  e.PowerIn = {{0, L"IN"}};
  e.OperandOut = {{0, L"bit", operand}};
  return e;
}

inline Brenno::LadElement HLine(int column, int row) { return Element(Brenno::kLadKindLine, column, row, L""); }

inline Brenno::LadElement VLink(int column, int row) {
  Brenno::LadElement e = Element(Brenno::kLadKindLine, column, row, L"");
  e.InCell = false;
  return e;
}

// A box with the given numbers of power pins and operands (slots 0, 1, ...).
inline Brenno::LadElement Box(int column, int row, int powerIn, int powerOut, int operandIn, int operandOut,
                              int operandId = 0) {
  Brenno::LadElement e = Element(Brenno::kLadKindBlock, column, row, L"BOX");
  for (int i = 0; i < powerIn; ++i) e.PowerIn.push_back({i, L"EN"});
  for (int i = 0; i < powerOut; ++i) e.PowerOut.push_back({i, L"ENO"});
  for (int i = 0; i < operandId; ++i) e.OperandId.push_back({i, L"ID", L"T" + std::to_wstring(i)});
  for (int i = 0; i < operandIn; ++i) e.OperandIn.push_back({i, L"IN", L"VW" + std::to_wstring(2 * i)});
  for (int i = 0; i < operandOut; ++i) e.OperandOut.push_back({i, L"OUT", L"MW" + std::to_wstring(2 * i)});
  return e;
}

inline Brenno::LadElement FxBox(int column, int row, int operandId, int operandIn, int operandOut) {
  // The operands of an FX box stand in the box in the order of their places (their Slots).
  Brenno::LadElement e = Element(Brenno::kLadKindFxBlock, column, row, L"MOV");
  int place = 0;
  for (int i = 0; i < operandId; ++i) e.OperandId.push_back({place++, L"", L"K" + std::to_wstring(i)});
  for (int i = 0; i < operandIn; ++i) e.OperandIn.push_back({place++, L"", L"D" + std::to_wstring(i)});
  for (int i = 0; i < operandOut; ++i) e.OperandOut.push_back({place++, L"", L"D1" + std::to_wstring(i)});
  return e;
}

}  // namespace ladder_test
