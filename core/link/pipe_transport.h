// The simulator kind of the link port. The simulator's named pipe is a Unix domain stream
// socket here, at the path the port record names.
#pragma once

#include <cstdint>
#include <vector>

namespace Brenno {

class CommPort;
class PlcConfig;

// Connects to the simulator socket and takes the link time-outs of the configuration into the
// port; false when nothing listens there.
bool OpenSimulatorPipe(CommPort& port, const PlcConfig& config);

// The pipe transfer: ExceptionExchOpenPortError without a connection,
// ExceptionExchSendDataLengthError for an empty frame, then as TransferEnvelopeOnDescriptor
// (so a simulator that does not answer within `LinkTimeWaitReceive` gives ExceptionExchTimeoutError).
void TransferOnPipe(CommPort& port, std::vector<uint8_t>& bytes);

}  // namespace Brenno
