// What the instruction input box needs of the program editor frame, without knowing its class:
// the program block shown in the active tab, and the insertion of an instruction text at the
// editor's cursor (the `UpdLadInsertText` request, handed over synchronously).
#pragma once

#include <functional>
#include <string>

namespace Brenno {

class InstructionInputTarget {
 public:
  virtual ~InstructionInputTarget() = default;
  // The key of the program block of the editor's main pane (its active tab); -1 when none.
  virtual int GetActiveBlockId() = 0;
  // `UpdLadInsertText`: insert the instruction at the cursor. The text is valid for the call only.
  virtual void InsertInstructionText(const std::wstring& text) = 0;
};

// Gives the program editor frame while one is open, null otherwise.
using InstructionInputTargetLookup = std::function<InstructionInputTarget*()>;

}  // namespace Brenno
