// Modbus frames of the three framings: read and write requests, and the checks of replies.
// Pure functions on byte buffers, shared by the channels and the fuzz harnesses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace modbusdrv {

class ModbusDataBlock;

enum class Framing { Rtu, Ascii, Tcp };

// Read function of an area (1 coils, 2 discrete inputs, 4 input registers, 3 holding
// registers); 0 for any other area.
uint8_t ReadFunctionForArea(uint32_t area);
// Write function of an area: 5 for coils, 16 for holding registers; 0 for areas that cannot be
// written (discrete inputs and input registers are read-only tables).
uint8_t WriteFunctionForArea(uint32_t area);

// Protocol data unit with the unit id in front: unit, function, address, count (6 bytes).
std::vector<uint8_t> BuildReadPdu(uint8_t unit, uint8_t function, uint16_t address, uint16_t count);

// Write request for `length` value bytes (host order) at 1-based `offset` of the block: function
// 16 with the value's words in the block's register order, or function 5 for a coil. False
// (nothing built) when the block's area cannot be written, the value does not fit the block
// or the length is not usable.
bool BuildWritePdu(const ModbusDataBlock& block, uint8_t unit, uint32_t offset, const uint8_t* bytes, int length,
                   std::vector<uint8_t>& pdu);

// Wraps a unit+PDU into a frame of the framing and appends it to `out`: RTU adds the CRC,
// ASCII writes ":" hex LRC CR LF, TCP puts the MBAP header (transaction id) in front.
void AppendFrame(Framing framing, const std::vector<uint8_t>& pdu, uint16_t transactionId, std::vector<uint8_t>& out);

// How many bytes the reply frame has, judged from its first bytes; 0 when `have` bytes are not
// yet enough to tell; -1 when the head cannot start a reply (TCP: length over 254).
// Head sizes: RTU 3, ASCII 7, TCP 6.
long ReplyFrameLength(Framing framing, const uint8_t* head, size_t have);
size_t ReplyHeadLength(Framing framing);

enum class ReplyStatus {
  Ok,         // a normal reply of the expected unit and function, checksum right
  Exception,  // an exception reply of the expected unit and function
  Mismatch,   // wrong checksum, unit, function, byte count or malformed text
};

struct DecodedReply {
  ReplyStatus status = ReplyStatus::Mismatch;
  uint8_t function = 0;
  uint8_t exceptionCode = 0;
  // False when the checksum (or the text form) failed: the frame may have been cut wrongly.
  bool frameIntact = false;
  // Data bytes of a read reply (after the byte count); empty for other replies.
  std::vector<uint8_t> data;
};

// Checks a whole reply frame against the request's unit and function. Read replies (functions
// 1 to 4) must carry a byte count that matches the frame; write replies (5, 16) echo 4 bytes.
DecodedReply DecodeReply(Framing framing, const uint8_t* frame, size_t length, uint8_t unit, uint8_t function,
                         uint16_t transactionId);

}  // namespace modbusdrv
