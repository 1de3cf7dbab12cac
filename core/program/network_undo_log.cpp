#include "core/program/network_undo_log.h"

#include "core/env/exception_error.h"

namespace Brenno {

namespace {

// A record whose index or counts do not fit the list would tear networks out of the wrong
// place; the commands never build one, so meeting one is a logic error.
void CheckRemovable(const std::vector<Network>& networks, int index, size_t count) {
  if (index < 0 || static_cast<size_t>(index) > networks.size() ||
      count > networks.size() - static_cast<size_t>(index)) {
    throw ExceptionLogicError();
  }
}

void InsertCopies(std::vector<Network>& networks, int index, const std::vector<Network>& inserted) {
  networks.insert(networks.begin() + index, inserted.begin(), inserted.end());
}

}  // namespace

void NetworkUndoLog::TakeNetwork(int index, Network& slot) {
  CheckRemovable(Networks, index, 1);
  slot = std::move(Networks[static_cast<size_t>(index)]);
  Networks.erase(Networks.begin() + index);
}

void NetworkUndoLog::ApplyRecord(NetworkEditRecord& record) {
  CheckRemovable(Networks, record.Index, record.Before.size());
  for (Network& slot : record.Before) TakeNetwork(record.Index, slot);
  InsertCopies(Networks, record.Index, record.After);
}

void NetworkUndoLog::RevertRecord(NetworkEditRecord& record) {
  CheckRemovable(Networks, record.Index, record.After.size());
  for (Network& slot : record.After) TakeNetwork(record.Index, slot);
  InsertCopies(Networks, record.Index, record.Before);
}

bool NetworkUndoLog::PushStep(NetworkUndoStep step) {
  FixUpStepIndices(step);
  for (NetworkEditRecord& record : step) ApplyRecord(record);
  Steps.erase(Steps.begin() + Position, Steps.end());
  Steps.push_back(std::move(step));
  ++Position;
  return true;
}

bool NetworkUndoLog::Undo() {
  if (Position <= 0) return false;
  --Position;
  NetworkUndoStep& step = Steps[static_cast<size_t>(Position)];
  for (auto record = step.rbegin(); record != step.rend(); ++record) RevertRecord(*record);
  return true;
}

bool NetworkUndoLog::Redo() {
  if (static_cast<size_t>(Position) >= Steps.size()) return false;
  NetworkUndoStep& step = Steps[static_cast<size_t>(Position)];
  ++Position;
  for (NetworkEditRecord& record : step) ApplyRecord(record);
  return true;
}

void NetworkUndoLog::ClearHistory() {
  Steps.clear();
  Position = 0;
}

NetworkEditRecord MakeNetworkEditRecord(int index, const std::vector<Network>& before,
                                        const std::vector<Network>& after) {
  return NetworkEditRecord{index, before, after};
}

std::vector<Network> MakeSingleNetworkVector(const Network& network) { return std::vector<Network>{network}; }

void ResizeNetworks(std::vector<Network>& networks, size_t n) { networks.resize(n); }

NetworkUndoStep MakeSingleRecordStep(const NetworkEditRecord& record) { return NetworkUndoStep{record}; }

void FixUpStepIndices(NetworkUndoStep& step) {
  for (size_t s = 0; s < step.size(); ++s) {
    for (size_t r = s + 1; r < step.size(); ++r) {
      if (step[r].Index > step[s].Index) {
        step[r].Index += static_cast<int>(step[s].After.size()) - static_cast<int>(step[s].Before.size());
      }
    }
  }
}

bool ApplyNetworkEdit(NetworkUndoLog& log, const NetworkEditRecord& record) {
  return log.PushStep(MakeSingleRecordStep(record));
}

}  // namespace Brenno

