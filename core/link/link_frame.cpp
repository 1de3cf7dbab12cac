#include "core/link/link_frame.h"

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/utilities.h"
#include "core/link/comm_port.h"

namespace Brenno {

namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value & 0xFF));
}

uint16_t GetU16(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

}  // namespace

ExceptionExchError PlainExchError(const ExceptionError& caught) {
  ExceptionExchError plain;
  static_cast<ExceptionError&>(plain) = caught;
  return plain;
}

std::vector<uint8_t> BuildLinkPacket(uint16_t code, uint16_t parameter, uint16_t frameIndex,
                                     const std::vector<uint8_t>& data) {
  std::vector<uint8_t> packet;
  packet.reserve(kLinkPacketHeaderSize + data.size() + kLinkEnvelopeHeaderSize + 2);
  PutU16(packet, code);
  PutU16(packet, parameter);
  PutU16(packet, frameIndex);
  packet.insert(packet.end(), data.begin(), data.end());
  return packet;
}

void WrapEnvelope(std::vector<uint8_t>& bytes, int station) {
  if (bytes.size() > 0xFFFF) throw ExceptionLogicError();
  const uint16_t length = static_cast<uint16_t>(bytes.size());
  const uint8_t header[kLinkEnvelopeHeaderSize] = {static_cast<uint8_t>(station & 0xFF), kLinkFunction,
                                                   static_cast<uint8_t>(length >> 8),
                                                   static_cast<uint8_t>(length & 0xFF)};
  bytes.insert(bytes.begin(), header, header + kLinkEnvelopeHeaderSize);
}

void AppendModbusCrc(std::vector<uint8_t>& bytes) {
  const uint16_t crc = ComputeCrc16(bytes);
  bytes.push_back(static_cast<uint8_t>(crc & 0xFF));
  bytes.push_back(static_cast<uint8_t>(crc >> 8));
}

void CheckModbusCrc(std::vector<uint8_t>& bytes, bool portHasCrc) {
  if (bytes.size() < 2) throw ExceptionExchCrcUnpackError();
  if (!portHasCrc) return;
  const size_t body = bytes.size() - 2;
  const uint16_t received = static_cast<uint16_t>(bytes[body] | (bytes[body + 1] << 8));
  const uint16_t computed = ComputeCrc16(std::span<const uint8_t>(bytes.data(), body));
  bytes.resize(body);
  if (received != computed) throw ExceptionExchCrcUnpackError();
}

void UnwrapEnvelope(std::vector<uint8_t>& bytes, int station) {
  if (bytes.size() < kLinkEnvelopeHeaderSize) throw ExceptionExchModbusUnpackError();
  // The whole configured number is compared, so a station above 255 never matches its byte.
  if (static_cast<int>(bytes[0]) != station || bytes[1] != kLinkFunction ||
      GetU16(bytes, 2) != bytes.size() - kLinkEnvelopeHeaderSize) {
    throw ExceptionExchModbusUnpackError();
  }
  bytes.erase(bytes.begin(), bytes.begin() + kLinkEnvelopeHeaderSize);
}

void UnpackReplyEnvelope(std::vector<uint8_t>& bytes, int station, bool portHasCrc) {
  CheckModbusCrc(bytes, portHasCrc);
  UnwrapEnvelope(bytes, station);
}

void CheckReplyPacket(std::vector<uint8_t>& packet, int checkLevel, uint16_t code, uint16_t frameIndex) {
  if (checkLevel >= 2 && packet.size() < kLinkPacketHeaderSize) throw ExceptionExchPackReceiveLengthError();
  // Below level 2 a short packet still has no data to give.
  if (packet.size() < kLinkPacketHeaderSize) {
    packet.clear();
    return;
  }
  if (checkLevel >= 3 && GetU16(packet, 0) != code) throw ExceptionExchPackReceiveCodeError();
  if (checkLevel >= 4 && GetU16(packet, 4) != frameIndex) throw ExceptionExchPackReceiveIndexError();
  packet.erase(packet.begin(), packet.begin() + kLinkPacketHeaderSize);
}

size_t ExpectedEnvelopeLength(const std::vector<uint8_t>& bytes, size_t offset, bool portHasCrc) {
  if (bytes.size() < offset + kLinkEnvelopeHeaderSize) return offset + kLinkEnvelopeHeaderSize;
  if (bytes[offset + 1] != kLinkFunction) return 0;
  return offset + kLinkEnvelopeHeaderSize + GetU16(bytes, offset + 2) + (portHasCrc ? 2 : 0);
}

size_t ReversedUnitOfCode(uint16_t code) {
  switch (code & 0x6000) {
    case 0x2000: return 2;
    case 0x4000: return 4;
    case 0x6000: return 8;
    default: return 0;
  }
}

void ReverseDataForCode(uint16_t code, std::vector<uint8_t>& data) {
  bool ok = true;
  switch (ReversedUnitOfCode(code)) {
    case 2: ok = SwapBytes16(std::span<uint8_t>(data)); break;
    case 4: ok = SwapBytes32(std::span<uint8_t>(data)); break;
    case 8: ok = SwapBytes64(std::span<uint8_t>(data)); break;
    default: break;
  }
  if (!ok) throw ExceptionLogicError();
}

void ExchangePacket(AppEnvironment& env, const LinkSettings& settings, uint16_t code, uint16_t parameter,
                    uint16_t frameIndex, std::vector<uint8_t>& data) {
  std::vector<uint8_t> requestData = data;
  ReverseDataForCode(code, requestData);
  std::vector<uint8_t> bytes = BuildLinkPacket(code, parameter, frameIndex, requestData);
  const int station = env.Config.LinkStation;
  const bool portHasCrc = env.Port.PortKind != kPortKindNetwork;
  try {
    WrapEnvelope(bytes, station);
    AppendModbusCrc(bytes);
    TransferOnPort(env.Port, bytes);
    UnpackReplyEnvelope(bytes, station, portHasCrc);
  } catch (const ExceptionExchError& error) {
    // The retry logic treats every failure of the transfer alike.
    throw PlainExchError(error);
  }
  CheckReplyPacket(bytes, settings.ReplyCheckLevel, code, frameIndex);
  ReverseDataForCode(code, bytes);
  data = std::move(bytes);
}

}  // namespace Brenno
