#include "core/convert/converter_model.h"

#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/program/program_services.h"

namespace Brenno {

LadCell& CellGrid::At(int row, int column) {
  return const_cast<LadCell&>(static_cast<const CellGrid&>(*this).At(row, column));
}

const LadCell& CellGrid::At(int row, int column) const {
  if (row < 0 || column < 0 || row >= rows || column >= columns) {
    throw MakeLogicError(L"\r\n  CellGrid: cell outside the grid");
  }
  const std::size_t index = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                            static_cast<std::size_t>(column);
  if (index >= cells.size()) throw MakeLogicError(L"\r\n  CellGrid: cell outside the grid");
  return cells[index];
}

void ResizeCellGrid(CellGrid& grid, int rows, int columns, const LadCell& fill) {
  if (rows < 0 || columns < 0) throw MakeLogicError(L"\r\n  CellGrid: negative size");
  const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
  grid.cells.resize(count, fill);
  grid.rows = rows;
  grid.columns = columns;
}

// ---- LinkMap

LinkMap::LinkMap(const CellGrid& grid) {
  if (grid.rows <= 0 || grid.columns <= 0) throw MakeLogicError(L"\r\n  LinkMap: grid without cells");
  mapRows = 2u * static_cast<unsigned>(grid.rows);
  mapColumns = 3u * static_cast<unsigned>(grid.columns) + 1u;
  points.assign(static_cast<std::size_t>(mapRows) * mapColumns, 0u);

  for (int r = 0; r < grid.rows; ++r) {
    Mark(2 * r + 1, 0);
    for (int c = 0; c < grid.columns; ++c) {
      const LadCell& cell = grid.At(r, c);
      if (cell.horizontalLink != 0) {
        Mark(2 * r, 3 * c);
        Mark(2 * r, 3 * c + 1);
        Mark(2 * r, 3 * c + 2);
      }
      if (cell.verticalLink != 0) Mark(2 * r + 1, 3 * c + 3);
      if (cell.definition != -1) {
        for (int s : cell.powerIn) Mark(2 * (r + s), 3 * c);
        for (int s : cell.powerOut) Mark(2 * (r + s), 3 * (c + cell.width) - 1);
      }
    }
  }

  Flood(1, 0, 0);
  std::uint32_t next = 1;
  for (unsigned c = 0; c < mapColumns; ++c) {
    for (unsigned r = 0; r < mapRows; ++r) {
      const std::uint32_t word = points[static_cast<std::size_t>(r) * mapColumns + c];
      if ((word & kConductorMask) != 0 && (word & kLabelledMask) == 0) {
        if (next > kLabelMask) throw MakeLogicError(L"\r\n  LinkMap: too many nets");
        Flood(static_cast<int>(r), static_cast<int>(c), next++);
      }
    }
  }
}

std::uint32_t& LinkMap::PointRef(int row, int column) {
  if (row < 0 || column < 0 || static_cast<unsigned>(row) >= mapRows || static_cast<unsigned>(column) >= mapColumns) {
    throw MakeLogicError(L"\r\n  LinkMap: point outside the map");
  }
  return points[static_cast<std::size_t>(row) * mapColumns + static_cast<unsigned>(column)];
}

std::uint32_t LinkMap::Point(int row, int column) const {
  return const_cast<LinkMap*>(this)->PointRef(row, column);
}

int LinkMap::Label(int row, int column) const {
  const std::uint32_t word = Point(row, column);
  if ((word & kLabelledMask) == 0) return -1;
  return static_cast<int>(word & kLabelMask);
}

int LinkMap::InputNet(int row, int column, int slot) const { return Label(2 * (row + slot), 3 * column); }

int LinkMap::OutputNet(int row, int column, int width, int slot) const {
  return Label(2 * (row + slot), 3 * (column + width) - 1);
}

void LinkMap::Mark(int row, int column) { PointRef(row, column) |= kConductorMask; }

void LinkMap::Flood(int row, int column, std::uint32_t label) {
  std::vector<std::pair<int, int>> stack;
  stack.emplace_back(row, column);
  while (!stack.empty()) {
    const auto [r, c] = stack.back();
    stack.pop_back();
    std::uint32_t& word = PointRef(r, c);
    if ((word & kLabelledMask) != 0) continue;
    word = (word & kConductorMask) | kLabelledMask | (label & kLabelMask);
    const auto& neighbours = (r % 2 == 0) ? evenNeighbours : oddNeighbours;
    for (const auto& [dr, dc] : neighbours) {
      const int nr = r + dr;
      const int nc = c + dc;
      if (nr < 0 || nc < 0 || static_cast<unsigned>(nr) >= mapRows || static_cast<unsigned>(nc) >= mapColumns) continue;
      const std::uint32_t other = points[static_cast<std::size_t>(nr) * mapColumns + static_cast<unsigned>(nc)];
      if ((other & kConductorMask) != 0 && (other & kLabelledMask) == 0) stack.emplace_back(nr, nc);
    }
  }
}

// ---- LogicGraph

void DestroyLogicGraph(LogicGraph& graph) {
  graph.fragments.clear();
  graph.outputs.clear();
  graph.inputs.clear();
}

LogicTree::Position LogicRoot(const LogicTree& tree) { return tree.Empty() ? nullptr : tree.Begin(); }

void MakeLogicLeaf(LogicTree& tree, const LogicItem& item) {
  tree.Clear();
  tree.InsertBefore(item, tree.End());
}

std::vector<LogicTree::Position> LogicPostOrder(const LogicTree& tree) {
  std::vector<LogicTree::Position> order;
  LogicTree::Position root = LogicRoot(tree);
  if (root == nullptr) return order;
  auto deepestFirst = [](LogicTree::Position node) {
    while (node->first_child != nullptr) node = node->first_child;
    return node;
  };
  LogicTree::Position node = deepestFirst(root);
  for (;;) {
    order.push_back(node);
    if (node == root) break;
    node = node->next_sibling != nullptr ? deepestFirst(node->next_sibling) : node->parent;
  }
  return order;
}

std::vector<LogicTree::Position> LogicSeriesSpine(const LogicTree& tree) {
  std::vector<LogicTree::Position> spine;
  LogicTree::Position node = LogicRoot(tree);
  while (node != nullptr) {
    spine.push_back(node);
    const bool series = node->value.kind == kLogicItemConnection && node->value.value == kLogicSeries;
    node = series ? node->first_child : nullptr;
  }
  return spine;
}

bool IsOnLogicSeriesSpine(const LogicTree& tree, LogicTree::Position node) {
  for (LogicTree::Position at : LogicSeriesSpine(tree)) {
    if (at == node) return true;
  }
  return false;
}

// ---- Units

int SystemUnitIndex(const InstructionLibrary& library, int k) {
  int index = -1;
  switch (k) {
    case kSysUnitAnd: index = library.SysAnd; break;
    case kSysUnitOr: index = library.SysOr; break;
    case kSysUnitLps: index = library.SysLps; break;
    case kSysUnitLrd: index = library.SysLrd; break;
    case kSysUnitLpp: index = library.SysLpp; break;
    default: throw MakeLogicError(L"\r\n  Converter: no such system unit");
  }
  if (index < 0 || static_cast<std::size_t>(index) >= library.FunOrgList.size()) {
    throw MakeLogicError(L"\r\n  Converter: system unit missing from the library");
  }
  return index;
}

int UnitType(const InstructionLibrary& library, int unit) {
  if (unit < 0 || static_cast<std::size_t>(unit) >= library.FunOrgList.size()) {
    throw MakeLogicError(L"\r\n  Converter: unit index outside the library");
  }
  return library.FunOrgList[static_cast<std::size_t>(unit)].Type;
}

const InstructionLibrary& ConverterLibrary() { return CurrentProgramServices().Library(); }

}  // namespace Brenno
