#include "core/link/pipe_transport.h"

#include "core/env/exception_error.h"
#include "core/env/plc_config.h"
#include "core/link/comm_port.h"
#include "core/link/stream_read.h"
#include "platform/socket.h"

namespace Brenno {

bool OpenSimulatorPipe(CommPort& port, const PlcConfig& config) {
  port.Timeouts.WaitReceive = config.LinkTimeWaitReceive;
  port.Timeouts.ReadIntervalTimeout = config.LinkTimeReadIntervalTimeout;
  port.Timeouts.ReadTotalTimeoutMultiplier = 0;
  port.Timeouts.ReadTotalTimeoutConstant = 0;
  port.Timeouts.WriteTotalTimeoutMultiplier = config.LinkTimeWriteTotalTimeoutMultiplier;
  port.Timeouts.WriteTotalTimeoutConstant = config.LinkTimeWriteTotalTimeoutConstant;
  port.PipeHandle = platform::ConnectUnix(port.PipeSocketPath);
  return port.PipeHandle >= 0;
}

void TransferOnPipe(CommPort& port, std::vector<uint8_t>& bytes) {
  if (port.PipeHandle < 0) throw ExceptionExchOpenPortError();
  if (bytes.empty()) throw ExceptionExchSendDataLengthError();
  TransferEnvelopeOnDescriptor(port.PipeHandle, port.Timeouts, bytes);
}

}  // namespace Brenno
