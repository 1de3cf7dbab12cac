// The Modbus master configuration as it travels at the tail of system page 0: a 14-byte
// header and one 8-byte entry per data block.
//
// Header: byte 0 refresh level, 1 total entries, 2-5 running entry counts after ports 1, 2, 3
// and 4 (the rest belong to port 5), 6-13 zero. Entry: slave address, function code, start
// address minus one, reference start, length (16-bit fields little-endian). Entries stand in
// port, slave and block order.
#pragma once

#include <vector>

#include "sysblock/model/modbus_master_config.h"
#include "sysblock/model/page_map.h"

namespace corvell {

constexpr std::size_t kMasterHeaderSize = 14;
constexpr std::size_t kMasterEntrySize = 8;
// The header counts entries in single bytes.
constexpr std::size_t kMaxMasterEntries = 255;

// The image as the master dialog holds it: the header record, then one record per entry.
using MasterRecordList = std::vector<PageBytes>;

// Cuts an image into its header and whole entries. A header shorter than 14 bytes is completed
// with zeros (an empty image gives an empty configuration); bytes after the last whole entry
// are left out.
MasterRecordList SplitMasterImage(const PageBytes& image);

// The records concatenated in list order (an empty list gives an empty image).
PageBytes JoinMasterImage(const MasterRecordList& records);

// Decodes a record list into a fresh controller (five empty ports): the refresh level, then
// each entry as a block of the port its position falls in, under the port's first slave of
// the entry's address (created when missing). Blocks are named BlockName1, BlockName2, ... in
// image order; their rows are built.
void FillMasterTree(const MasterRecordList& records, CControllerDataCls& controller);

// Encodes the controller into a record list. Refuses (false, list unchanged) a configuration
// of more than 255 blocks, which the header's one-byte counts cannot describe.
bool BuildMasterRecords(const CControllerDataCls& controller, MasterRecordList& records);

}  // namespace corvell
