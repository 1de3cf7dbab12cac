// The networks of a program page with their history. An editing command never changes a
// network in place: it describes a replacement (at index i, these networks go, those come) and
// hands it to ApplyNetworkEdit; the log applies it and keeps it as one undo step. Undo and redo
// replay the steps backwards and forwards. The log moves whole networks and knows nothing of
// their content.
#pragma once

#include <vector>

#include "core/program/network.h"

namespace Brenno {

// One replacement of a run of networks. Applied forward, as many networks as `Before` holds
// are taken out at Index (into the Before slots, which then hold exactly the networks removed)
// and copies of `After` are inserted there.
struct NetworkEditRecord {
  int Index = 0;
  std::vector<Network> Before;
  std::vector<Network> After;
};

// Applied in order; every step built by the editing commands holds exactly one record.
using NetworkUndoStep = std::vector<NetworkEditRecord>;

class NetworkUndoLog {
 public:
  // The page's current networks, in display order.
  std::vector<Network> Networks;
  // The history, oldest first.
  std::vector<NetworkUndoStep> Steps;
  // Steps currently applied; those at and after Position are the redo tail.
  int Position = 0;

  // Applies the step (its indices fixed up first), drops the redo tail and appends it. True.
  bool PushStep(NetworkUndoStep step);
  // Reverts the newest applied step; false when none is applied.
  bool Undo();
  // Applies the next step again; false when none is left.
  bool Redo();
  // Empties the history (position 0); the networks stay.
  void ClearHistory();

  void ApplyRecord(NetworkEditRecord& record);
  void RevertRecord(NetworkEditRecord& record);
  // Moves the network at index out of the list into the slot and closes the gap.
  void TakeNetwork(int index, Network& slot);
};

NetworkEditRecord MakeNetworkEditRecord(int index, const std::vector<Network>& before,
                                        const std::vector<Network>& after);
std::vector<Network> MakeSingleNetworkVector(const Network& network);
// Truncates or extends the vector to n; new networks are default networks (ladder, empty).
void ResizeNetworks(std::vector<Network>& networks, size_t n);
NetworkUndoStep MakeSingleRecordStep(const NetworkEditRecord& record);
// For each record s and each later record r with r.Index > s.Index:
// r.Index += s.After.size() - s.Before.size().
void FixUpStepIndices(NetworkUndoStep& step);
// One editing command: the record becomes one undo step. True.
bool ApplyNetworkEdit(NetworkUndoLog& log, const NetworkEditRecord& record);

}  // namespace Brenno
