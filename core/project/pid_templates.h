// Prefilled data blocks holding the parameters of a PID loop: the standard PID block, the PIDF
// block (with the values for computing P, I and T) and the heating/cooling DPID block. Each
// fills the first free data block of the table with its rows, laid out in M memory from a head
// address, and revalidates the table. The row limit of the table is not consulted: the block
// always gets all its rows.
#pragma once

#include <string>
#include <vector>

#include "core/project/data_block_table.h"

namespace Brenno {

// One row of a template: the address form ("MB%d" or "MD%d") at head address + Offset, the type
// index, the value text and the comment.
struct PidTemplateRow {
  const wchar_t* Format;
  int Offset;
  int Type;
  const wchar_t* Value;
  const wchar_t* Comment;
};

// The rows of the three templates, in table order.
const std::vector<PidTemplateRow>& PidTemplateRows();
const std::vector<PidTemplateRow>& PidfTemplateRows();
const std::vector<PidTemplateRow>& DpidTemplateRows();

// The data rows of a template for a head address (flags 0). An address beyond the int range
// is written as the number it is, which no PLC type accepts.
std::vector<DataRow> MakePidTemplateRows(const std::vector<PidTemplateRow>& rows, int headAddress);

// Each adds a data block under the smallest free reference key (titles "DAT_k", "DATk", empty
// comment), validates the table and returns the key; -1, nothing changed, when no reference
// page is free.
int InsertPidDataBlock(DataBlockTable& table, int headAddress);
int InsertPidfDataBlock(DataBlockTable& table, int headAddress);
int InsertDpidDataBlock(DataBlockTable& table, int headAddress);

}  // namespace Brenno
