// The serial line kind of the link port (termios): opening and setting up the device named in
// the port record, and the frame transfer on it.
#pragma once

#include <cstdint>
#include <vector>

namespace Brenno {

class CommPort;
class PlcConfig;

// Opens the device of the port's name (not for the pipe kind); records the descriptor and
// returns whether it is valid.
bool OpenSerialDevice(CommPort& port);
// Takes the link time-outs of the configuration into the port and empties both queues. False
// for the pipe kind or without an open device.
bool SetUpSerialPort(CommPort& port, const PlcConfig& config);
// Baud rate, 8 data bits, the parity code (0 none, 1 odd, 2 even, 3 mark, 4 space), one stop
// bit, DTR and RTS on. False for the pipe kind, without an open device or for a setting the
// device refuses.
bool SetSerialFormat(CommPort& port, int baudRate, int parity);

// The serial transfer: ExceptionExchOpenPortError without a device, ExceptionExchSendDataLengthError
// for an empty frame, then as TransferEnvelopeOnDescriptor.
void TransferOnSerial(CommPort& port, std::vector<uint8_t>& bytes);

}  // namespace Brenno
