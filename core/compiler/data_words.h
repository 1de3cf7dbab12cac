// The words of one data page of the binary image: one pair per complete data row, in row order.
//
//   operand word  the row's address with its data type index (0..10) in a field an address does
//                 not need: FxMode 0 the kind code (bits 0-3), FxMode 1 the 4-bit index field
//                 (bits 12-15) with the kind code 0 (direct)
//   value word    the row's initial value as the 32-bit constant value of its data type
//
// An operand word 0xFFFFFFFF marks an empty pair. Both coders read the current project's memory
// map and its data block address templates (one operand format per data type).
#pragma once

#include <cstdint>
#include <vector>

#include "core/project/data_block_table.h"

namespace Brenno {

inline constexpr uint32_t kEmptyImageWord = 0xFFFFFFFFu;

// Appends the pairs of the complete rows (check flags 15); other rows are skipped. A row that
// does not compile throws ExceptionParseBinaryDataError; the words appended before stay in
// `words`, which the caller then discards.
void EncodeDataRows(const std::vector<DataRow>& rows, std::vector<uint32_t>& words);
// Appends one complete row per non-empty pair; the rows come back with canonical address and
// value texts and an empty comment. An odd word count, a data type outside 0..10, or a word
// that is no address or value of the type throws ExceptionParseBinaryDataError.
void DecodeDataRows(std::vector<DataRow>& rows, const std::vector<uint32_t>& words);

// Frees the three texts of a row and leaves them empty.
void DestroyDataRow(DataRow& row);

}  // namespace Brenno
