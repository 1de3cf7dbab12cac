// The instruction codes of FX statement-list programs as the .pmw format stores them: each
// record gives the code derived from an instruction word, the instruction's role when the
// import groups instructions into networks, and the mnemonic written into the listing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Brenno {

// Role of an instruction in the block structure of a network.
enum FxInstructionKind : int32_t {
  FxKindBlockAnd = 1,      // ANB
  FxKindBlockOr = 2,       // ORB
  FxKindPushBranch = 3,    // MPS
  FxKindReadBranch = 4,    // MRD
  FxKindPopBranch = 5,     // MPP
  FxKindLoad = 6,          // LD family: starts a block
  FxKindSeries = 7,        // AND family
  FxKindParallel = 8,      // OR family
  FxKindInvert = 9,        // INV
  FxKindOutput = 10,       // outputs and application instructions
  FxKindStandalone = 11,   // MC, MCR, END, LBL, ...: always starts a network
  FxKindStepLadder = 0xFFFF,  // STL, RET: never importable
};

struct FxInstructionCode {
  int32_t code;
  int32_t kind;
  const wchar_t* mnemonic;
};

// The constant table; records are unique by code.
extern const FxInstructionCode FxInstructionCodeTable[];
extern const size_t FxInstructionCodeCount;

// Index of the first record whose code equals the argument. A code that is in no record
// throws ExceptionParseBinaryPmwDictateError.
int FindFxInstructionCode(int32_t code);

}  // namespace Brenno
