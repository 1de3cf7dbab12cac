// One hit of the program search: where an operand text stands in a program page. The replace
// operations of the statement-list and ladder editing read it.
#pragma once

namespace Brenno {

enum ProgramSearchHitKind : int {
  kSearchHitStlOperand = 2,
  kSearchHitLadOperand = 3,
};

struct ProgramSearchHit {
  int Kind = 0;
  int Network = -1;  // index in the page
  // Statement-list hit: the line and the operand within the line.
  int Line = -1;
  int Operand = -1;
  // Ladder hit: the element's cell and one operand locator (-1 in the other two).
  int Column = -1;
  int Row = -1;
  int IdIndex = -1;
  int InIndex = -1;
  int OutIndex = -1;

  bool operator==(const ProgramSearchHit&) const = default;
};

}  // namespace Brenno
