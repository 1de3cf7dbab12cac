#include "core/link/serial_transport.h"

#include "core/env/exception_error.h"
#include "core/env/plc_config.h"
#include "core/link/comm_port.h"
#include "core/link/stream_read.h"
#include "platform/serial_port.h"
#include "platform/text_codec.h"

namespace Brenno {

bool OpenSerialDevice(CommPort& port) {
  if (port.PortKind == kPortKindPipe) return false;
  port.SerialHandle = platform::OpenSerialDevice(platform::ToUtf8Lossy(port.PortName));
  return port.SerialHandle >= 0;
}

bool SetUpSerialPort(CommPort& port, const PlcConfig& config) {
  if (port.PortKind == kPortKindPipe || port.SerialHandle < 0) return false;
  port.Timeouts.WaitReceive = config.LinkTimeWaitReceive;
  port.Timeouts.ReadIntervalTimeout = config.LinkTimeReadIntervalTimeout;
  port.Timeouts.ReadTotalTimeoutMultiplier = config.LinkTimeReadTotalTimeoutMultiplier;
  port.Timeouts.ReadTotalTimeoutConstant = config.LinkTimeReadTotalTimeoutConstant;
  port.Timeouts.WriteTotalTimeoutMultiplier = config.LinkTimeWriteTotalTimeoutMultiplier;
  port.Timeouts.WriteTotalTimeoutConstant = config.LinkTimeWriteTotalTimeoutConstant;
  return platform::FlushSerial(port.SerialHandle, true, true);
}

bool SetSerialFormat(CommPort& port, int baudRate, int parity) {
  if (port.PortKind == kPortKindPipe || port.SerialHandle < 0) return false;
  return platform::SetSerialFormat(port.SerialHandle, baudRate, parity);
}

void TransferOnSerial(CommPort& port, std::vector<uint8_t>& bytes) {
  if (port.SerialHandle < 0) throw ExceptionExchOpenPortError();
  if (bytes.empty()) throw ExceptionExchSendDataLengthError();
  TransferEnvelopeOnDescriptor(port.SerialHandle, port.Timeouts, bytes);
}

}  // namespace Brenno
