// A place in the project that a window is asked to show: the record carried by the requests
// to show a location (find and replace, cross reference) through the notification hub, which
// passes a pointer to a pointer to it.
#pragma once

#include <cstdint>

namespace Brenno {

struct ProgramLocation {
  // 0 a data block row, 1 a whole network, 2 a statement-list line, 3 a ladder cell.
  int32_t Kind = 0;
  // The program page key, or the data block key for kind 0.
  int32_t PageKey = 0;
  // The network index, or the data block row for kind 0.
  int32_t Network = 0;
  // The statement-list line (kind 2) or the ladder column (kind 3).
  int32_t LineOrColumn = 0;
  // The ladder row (kind 3).
  int32_t Row = 0;
};

static_assert(sizeof(ProgramLocation) == 5 * sizeof(int32_t), "the hub reads the record as five ints");

}  // namespace Brenno
