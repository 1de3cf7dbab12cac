// The rows of the three cross-reference lists over the current project's index: the uses of
// operands ("VALUE": address, symbol, location, context), the bit map ("BIT": one row per byte,
// one mark per bit) and the byte map ("BYTE": one row per ten bytes, one mark per byte). All
// three are read-only. Refresh rebuilds the index; Location asks the hub to show the place of a
// use.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/project/cross_reference.h"
#include "ui/views/grid_table_model.h"
#include "ui/views/program_location.h"

namespace Brenno {

// What every cross-reference list answers the same way.
class CrossReferTableBase : public GridSingleLineRows {
 public:
  virtual ~CrossReferTableBase() = default;
  virtual int GetRecordCount() const = 0;
  virtual int GetColumnsPerGroup() const = 0;
  virtual GridColumnFormat GetColumnFormat(int group, int column) const = 0;
  virtual GridCellContent GetCellContent(int record, int group, int line, int column) const = 0;
  virtual std::optional<Colour> GetCellColor(int record, int group, int line, int column, int state) const = 0;

  int GetCellEditKind(int, int, int, int) const { return kGridReadOnly; }
  bool AcceptCellChar(int, int, int, int, wchar_t) const { return false; }
  std::vector<std::wstring> GetCellChoices(int, int, int, int) const { return {}; }
  std::wstring GetCellEditText(int, int, int, int) const { return {}; }
  bool SetCellText(int, int, int, int, const std::wstring&) { return false; }
  int GetCellChoice(int, int, int, int) const { return 0; }
  bool SetCellChoice(int, int, int, int, int) { return false; }

  // Refresh: enabled and acting in the states in which the lists draw.
  bool CanRefresh() const;
  // Rebuilds the current project's index and announces it; false outside those states.
  bool Refresh();
};

class CrossReferUseTable : public CrossReferTableBase {
 public:
  int GetRecordCount() const override;
  int GetColumnsPerGroup() const override { return 4; }
  GridColumnFormat GetColumnFormat(int group, int column) const override;
  GridCellContent GetCellContent(int record, int group, int line, int column) const override;
  std::optional<Colour> GetCellColor(int record, int group, int line, int column, int state) const override;

  bool CanLocate(const GridCursor& cursor) const;
  // Asks the hub to show the place of the focus row's use; false when there is none.
  bool Locate(const GridCursor& cursor) const;
};

// The bit map (8 marks a row) or the byte map (10 marks a row).
class CrossReferUsageTable : public CrossReferTableBase {
 public:
  enum class Map { Bits, Bytes };
  explicit CrossReferUsageTable(Map map = Map::Bits) : map_(map) {}

  int GetRecordCount() const override;
  int GetColumnsPerGroup() const override;
  GridColumnFormat GetColumnFormat(int group, int column) const override;
  GridCellContent GetCellContent(int record, int group, int line, int column) const override;
  std::optional<Colour> GetCellColor(int record, int group, int line, int column, int state) const override;

 private:
  // Whether mark column `column` (1 based) of the row lies inside its memory area.
  bool MarkExists(int record, int column) const;
  Map map_;
};

// The place of a use as the hub's location record: a data block row, a network, a statement
// line or a ladder cell. nullopt for a location of an unknown kind or the wrong length.
std::optional<ProgramLocation> MakeProgramLocation(const CrossReferLocation& location);

}  // namespace Brenno
