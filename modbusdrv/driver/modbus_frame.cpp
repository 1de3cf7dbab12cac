#include "modbusdrv/driver/modbus_frame.h"

#include <cstring>

#include "modbusdrv/driver/driver_utils.h"
#include "modbusdrv/driver/modbus_data_block.h"

namespace modbusdrv {

namespace {

bool IsReadFunction(uint8_t function) { return function >= 1 && function <= 4; }

bool IsUpperHex(uint8_t c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

uint8_t HexPair(const uint8_t* p) {
  return static_cast<uint8_t>((HexCharToNibble(static_cast<char>(p[0])) << 4) | HexCharToNibble(static_cast<char>(p[1])));
}

// Checks unit, function and shape of a decoded unit+PDU (no checksum, no header).
DecodedReply CheckPdu(const uint8_t* pdu, size_t length, uint8_t unit, uint8_t function) {
  DecodedReply reply;
  if (length < 3) return reply;
  reply.function = pdu[1];
  if (pdu[0] != unit) return reply;
  if (pdu[1] == (function | 0x80)) {
    if (length != 3) return reply;
    reply.exceptionCode = pdu[2];
    reply.status = ReplyStatus::Exception;
    return reply;
  }
  if (pdu[1] != function) return reply;
  if (IsReadFunction(function)) {
    if (static_cast<size_t>(pdu[2]) + 3 != length) return reply;
    reply.data.assign(pdu + 3, pdu + length);
  } else if (length != 6) {
    return reply;
  }
  reply.status = ReplyStatus::Ok;
  return reply;
}

}  // namespace

uint8_t ReadFunctionForArea(uint32_t area) {
  switch (area) {
    case 0: return 1;
    case 1: return 2;
    case 3: return 4;
    case 4: return 3;
    default: return 0;
  }
}

uint8_t WriteFunctionForArea(uint32_t area) {
  switch (area) {
    case 0: return 5;
    case 4: return 16;
    default: return 0;
  }
}

std::vector<uint8_t> BuildReadPdu(uint8_t unit, uint8_t function, uint16_t address, uint16_t count) {
  return {unit, function, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF),
          static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count & 0xFF)};
}

bool BuildWritePdu(const ModbusDataBlock& block, uint8_t unit, uint32_t offset, const uint8_t* bytes, int length,
                   std::vector<uint8_t>& pdu) {
  pdu.clear();
  const uint8_t function = WriteFunctionForArea(block.Area);
  if (function == 0 || !block.IsPollable() || offset < 1 || offset > block.Length || length < 1 || bytes == nullptr)
    return false;
  const uint32_t address = block.FirstItem() + offset - 2;
  if (function == 5) {
    pdu = {unit, 5, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF),
           static_cast<uint8_t>(bytes[0] != 0 ? 0xFF : 0x00), 0x00};
    return true;
  }
  // Registers: whole 16-bit words only, inside the block and within one request.
  if (length % 2 != 0 || length > 246) return false;
  const uint32_t words = static_cast<uint32_t>(length) / 2;
  if (offset + words - 1 > block.Length) return false;
  pdu = {unit, 16, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF),
         static_cast<uint8_t>(words >> 8), static_cast<uint8_t>(words & 0xFF), static_cast<uint8_t>(length)};
  const bool reversed = block.DataType == kLongSwapped || block.DataType == kFloatSwapped || block.DataType == kDoubleSwapped;
  for (uint32_t i = 0; i < words; ++i) {
    const uint32_t w = reversed ? words - 1 - i : i;
    pdu.push_back(bytes[2 * w + 1]);
    pdu.push_back(bytes[2 * w]);
  }
  return true;
}

void AppendFrame(Framing framing, const std::vector<uint8_t>& pdu, uint16_t transactionId, std::vector<uint8_t>& out) {
  switch (framing) {
    case Framing::Rtu: {
      out.insert(out.end(), pdu.begin(), pdu.end());
      const auto crc = ComputeCrc16(pdu.data(), static_cast<uint16_t>(pdu.size()));
      out.insert(out.end(), crc.begin(), crc.end());
      break;
    }
    case Framing::Ascii: {
      std::string text = ":";
      EncodeHexText(pdu.data(), pdu.size(), text);
      const uint8_t lrc = ComputeLrc(pdu.data(), static_cast<uint16_t>(pdu.size()));
      EncodeHexText(&lrc, 1, text);
      text += "\r\n";
      out.insert(out.end(), text.begin(), text.end());
      break;
    }
    case Framing::Tcp: {
      const size_t length = pdu.size();
      const uint8_t header[6] = {static_cast<uint8_t>(transactionId >> 8), static_cast<uint8_t>(transactionId & 0xFF), 0, 0,
                                 static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF)};
      out.insert(out.end(), header, header + 6);
      out.insert(out.end(), pdu.begin(), pdu.end());
      break;
    }
  }
}

size_t ReplyHeadLength(Framing framing) {
  switch (framing) {
    case Framing::Rtu: return 3;
    case Framing::Ascii: return 7;
    case Framing::Tcp: return 6;
  }
  return 0;
}

long ReplyFrameLength(Framing framing, const uint8_t* head, size_t have) {
  if (have < ReplyHeadLength(framing)) return 0;
  switch (framing) {
    case Framing::Rtu: {
      const uint8_t function = head[1];
      if (function & 0x80) return 5;
      if (function == 5 || function == 6 || function == 15 || function == 16) return 8;
      return 3 + static_cast<long>(head[2]) + 2;
    }
    case Framing::Ascii: {
      if (head[0] != ':') return -1;
      const uint8_t function = HexPair(head + 3);
      if (function & 0x80) return 11;
      if (function == 5 || function == 6 || function == 15 || function == 16) return 17;
      return 7 + 2 * static_cast<long>(HexPair(head + 5)) + 4;
    }
    case Framing::Tcp: {
      const long length = (static_cast<long>(head[4]) << 8) | head[5];
      // A unit+PDU never exceeds 254 bytes; anything longer means the stream is not Modbus.
      if (length > 254) return -1;
      return 6 + length;
    }
  }
  return -1;
}

DecodedReply DecodeReply(Framing framing, const uint8_t* frame, size_t length, uint8_t unit, uint8_t function,
                         uint16_t transactionId) {
  DecodedReply bad;
  switch (framing) {
    case Framing::Rtu: {
      if (length < 5) return bad;
      const auto crc = ComputeCrc16(frame, static_cast<uint16_t>(length - 2));
      if (frame[length - 2] != crc[0] || frame[length - 1] != crc[1]) return bad;
      DecodedReply reply = CheckPdu(frame, length - 2, unit, function);
      reply.frameIntact = true;
      return reply;
    }
    case Framing::Ascii: {
      // ":" + hex pairs (unit+PDU, LRC) + CR LF.
      if (length < 11 || frame[0] != ':' || frame[length - 2] != '\r' || frame[length - 1] != '\n') return bad;
      const size_t hexLength = length - 3;
      if (hexLength % 2 != 0) return bad;
      for (size_t i = 1; i < length - 2; ++i)
        if (!IsUpperHex(frame[i])) return bad;
      std::vector<uint8_t> bytes;
      bytes.reserve(hexLength / 2);
      for (size_t i = 1; i + 1 < length - 2; i += 2) bytes.push_back(HexPair(frame + i));
      const uint8_t lrc = bytes.back();
      bytes.pop_back();
      if (ComputeLrc(bytes.data(), static_cast<uint16_t>(bytes.size())) != lrc) return bad;
      DecodedReply reply = CheckPdu(bytes.data(), bytes.size(), unit, function);
      reply.frameIntact = true;
      return reply;
    }
    case Framing::Tcp: {
      if (length < 6) return bad;
      const size_t declared = (static_cast<size_t>(frame[4]) << 8) | frame[5];
      if (declared + 6 != length || declared > 254) return bad;
      const uint16_t tid = static_cast<uint16_t>((frame[0] << 8) | frame[1]);
      bad.frameIntact = true;  // the MBAP length frames the reply whatever it holds
      if (tid != transactionId || frame[2] != 0 || frame[3] != 0) return bad;
      DecodedReply reply = CheckPdu(frame + 6, declared, unit, function);
      reply.frameIntact = true;
      return reply;
    }
  }
  return bad;
}

}  // namespace modbusdrv
