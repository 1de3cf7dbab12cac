// The frame layer of the PLC link. A request is a LinkPacket (command code, parameter and
// frame index, each 16-bit big-endian, then the data) inside a LinkEnvelope (station byte,
// function 0x0E, 16-bit big-endian packet length, the packet, CRC-16/MODBUS low byte first; the
// TCP port carries the envelope without the CRC). ExchangePacket makes one frame exchange on
// the open port and leaves only the reply's data. The caller holds the port lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/env/exception_error.h"
#include "core/link/link_settings.h"

namespace Brenno {

class AppEnvironment;

inline constexpr uint8_t kLinkFunction = 0x0E;
inline constexpr size_t kLinkPacketHeaderSize = 6;
inline constexpr size_t kLinkEnvelopeHeaderSize = 4;
// Bit 15 of the frame index marks the last frame of a request.
inline constexpr uint16_t kLastFrameFlag = 0x8000;

// A plain ExceptionExchError that carries the message of the error caught (a frame's or a
// request's last failure, whatever its class).
ExceptionExchError PlainExchError(const ExceptionError& caught);

// The request packet: code, parameter, frame index (big-endian), then the data.
std::vector<uint8_t> BuildLinkPacket(uint16_t code, uint16_t parameter, uint16_t frameIndex,
                                     const std::vector<uint8_t>& data);

// Puts the envelope header in front of the packet: the low byte of the station, 0x0E and the
// packet length (big-endian). ExceptionLogicError for a packet longer than 65535 bytes.
void WrapEnvelope(std::vector<uint8_t>& bytes, int station);
// Appends the CRC-16/MODBUS of the whole buffer, low byte first.
void AppendModbusCrc(std::vector<uint8_t>& bytes);
// Fewer than 2 bytes: ExceptionExchCrcUnpackError. With `portHasCrc` the last two bytes are
// removed and compared with the CRC of the rest (ExceptionExchCrcUnpackError on a mismatch);
// without it (TCP) nothing is checked or removed.
void CheckModbusCrc(std::vector<uint8_t>& bytes, bool portHasCrc);
// Checks station (against the whole configured number), function and length and leaves only the
// packet; ExceptionExchModbusUnpackError otherwise.
void UnwrapEnvelope(std::vector<uint8_t>& bytes, int station);

// CheckModbusCrc then UnwrapEnvelope on a reply as it came from the port.
void UnpackReplyEnvelope(std::vector<uint8_t>& bytes, int station, bool portHasCrc);
// Checks the reply packet against the request by the check level (2: length, 3: code, 4: frame
// index) and replaces it by its data; ExceptionExchPackReceiveLengthError, ...CodeError and
// ...IndexError. The reply's parameter field is not looked at.
void CheckReplyPacket(std::vector<uint8_t>& packet, int checkLevel, uint16_t code, uint16_t frameIndex);

// The length a frame of the link can have at least, judged from the bytes received so far, the
// envelope starting at `offset`: offset + 4 until its header is in, then the whole length the
// header announces (with 2 CRC bytes when the port carries them). 0 when the header is not one
// of the link (function byte other than 0x0E).
size_t ExpectedEnvelopeLength(const std::vector<uint8_t>& bytes, size_t offset, bool portHasCrc);

// Command codes with bit 13 and/or 14 set carry their data byte-reversed in units of 2, 4 or 8
// bytes; 0 for the codes of this system, which have neither bit.
size_t ReversedUnitOfCode(uint16_t code);
// Reverses the data in the unit of the code; ExceptionLogicError when its length is not a
// multiple of the unit.
void ReverseDataForCode(uint16_t code, std::vector<uint8_t>& data);

// One frame exchange on the environment's open port with the configured station. `data` holds
// the request data on entry and the reply data on return; a failure leaves it unchanged. The
// CRC and envelope errors and every port error come out as a plain ExceptionExchError with the
// same message; the packet checks keep their own classes.
void ExchangePacket(AppEnvironment& env, const LinkSettings& settings, uint16_t code, uint16_t parameter,
                    uint16_t frameIndex, std::vector<uint8_t>& data);

}  // namespace Brenno
