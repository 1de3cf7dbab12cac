// The PLC's Modbus master configuration as the master dialogs edit it: a controller with five
// ports, each port a list of slave stations, each slave a list of data blocks, each block one
// Modbus function over a run of items mirrored into the M area, with one tag row per item.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvell {

class CDataBlockDataCls;
class CSlaveDataCls;
class CPortDataCls;
class CControllerDataCls;

constexpr int kMasterPortCount = 5;
constexpr int kFunctionIndexCount = 8;
constexpr int kFunctionNotSet = 20;
constexpr int kRefreshLevelCount = 5;
// The longest block the data block dialog accepts; rows are built for at most this many items.
constexpr int kMaxBlockLength = 125;

// Function index (0-7) <-> Modbus function code (1, 2, 3, 4, 5, 6, 15, 16). An index outside
// the table gives code 0; a code outside the table (1 and 0 included) gives index 0.
uint8_t FunctionCodeOfIndex(int functionIndex);
int FunctionIndexOfCode(uint8_t code);

// Row type name of a function index ("读线圈(IN)" ...); empty outside 0-7.
std::wstring FunctionRowTypeName(int functionIndex);
// Whether a function index works on registers (2, 3, 5, 7) rather than bits.
bool IsRegisterFunction(int functionIndex);

// "50ms", "100ms", "200ms", "500ms", "1000ms"; empty for any other level.
std::wstring RefreshLevelText(int level);

// Last byte of the M area a block occupies (unsigned 32-bit arithmetic): registers take two
// bytes each, bits one bit each; an index outside 0-7 gives 0.
uint32_t ReferenceEndByte(int functionIndex, uint32_t referenceStart, uint32_t length);

// Tree text of a slave node: "SLAVE(5)".
std::wstring SlaveNodeText(int slaveAddress);

// One row of the tag list: number, slave number, IO type, physical address, Modbus address,
// quote address, refresh level, and an eighth text that stays empty.
struct CTag {
  std::array<std::wstring, 8> Texts;
  CDataBlockDataCls* Owner = nullptr;
};

class CDataBlockDataCls {
 public:
  // Appends one row per item (at most kMaxBlockLength) for a slave and a refresh level; a
  // block whose function is not set gets none. The caller empties the rows first.
  void BuildTagRows(int slaveAddressMinusOne, int refreshLevel);

  std::vector<std::unique_ptr<CTag>> Rows;
  std::wstring Name;
  int FunctionIndex = kFunctionNotSet;
  int StartAddressMinusOne = 0;
  int ReferenceStart = 0;
  int Length = 0;
  CSlaveDataCls* Owner = nullptr;
};

class CSlaveDataCls {
 public:
  // Appends a block owned by this slave.
  CDataBlockDataCls* AddBlock();
  // Removes and deletes one block of this slave (with its rows).
  void RemoveBlock(const CDataBlockDataCls* block);

  std::vector<std::unique_ptr<CDataBlockDataCls>> Blocks;
  CPortDataCls* Owner = nullptr;
  int AddressMinusOne = 0;
};

class CPortDataCls {
 public:
  // Appends a slave and its address to the port.
  CSlaveDataCls* AddSlave(int addressMinusOne);
  // Removes the slave, the first equal entry of the address list, and deletes its blocks.
  void RemoveSlave(const CSlaveDataCls* slave);
  bool HasSlaveAddress(int addressMinusOne) const;

  std::vector<std::unique_ptr<CSlaveDataCls>> Slaves;
  std::vector<int> SlaveAddresses;  // address minus one, in the order the slaves were added
  CControllerDataCls* Owner = nullptr;
};

class CControllerDataCls {
 public:
  // A controller always has its five ports: port 1 (RS232), port 2 (RS485), ports 3 to 5.
  CControllerDataCls();

  // Whether a new block's M-area bytes share a byte with any block of any port. A block that
  // starts where another starts always overlaps.
  bool IsReferenceOverlapping(int functionIndex, uint32_t referenceStart, uint32_t length) const;

  // Number of data blocks of all ports.
  size_t CountBlocks() const;

  std::vector<std::unique_ptr<CPortDataCls>> Ports;
  int RefreshLevel = 3;
};

}  // namespace corvell
