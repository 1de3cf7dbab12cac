#include "core/env/operand_word.h"

#include <string>

#include "core/env/exception_error.h"

namespace Brenno {
namespace {

struct FieldPlace {
  const wchar_t* name;
  int shift;
  int bits;
};

// Field places of the two layouts.
constexpr FieldPlace kFx0Kind{L"kind code", 0, 4};
constexpr FieldPlace kFx0Slot{L"slot", 4, 4};
constexpr FieldPlace kFx0Width{L"width", 8, 4};
constexpr FieldPlace kFx0Bit{L"bit position", 12, 4};
constexpr FieldPlace kFx0Byte{L"byte position", 16, 16};

constexpr FieldPlace kFx1Kind{L"kind code", 0, 2};
constexpr FieldPlace kFx1Width{L"width", 2, 2};
constexpr FieldPlace kFx1Group{L"digit group", 4, 3};
constexpr FieldPlace kFx1Slot{L"slot", 7, 5};
constexpr FieldPlace kFx1Index{L"index register", 12, 4};
constexpr FieldPlace kFx1Bit{L"bit position", 16, 3};
constexpr FieldPlace kFx1Byte{L"byte position", 19, 13};

uint32_t FieldMax(const FieldPlace& spec) { return (1u << spec.bits) - 1u; }

// Places one value into its field; a value that does not fit is refused, never cut.
void Put(OperandWord& word, const FieldPlace& spec, int32_t value, int fxMode) {
  if (value < 0 || static_cast<uint32_t>(value) > FieldMax(spec)) {
    throw MakeLogicError(L"\r\n  Operand " + std::wstring(spec.name) + L" " + std::to_wstring(value) +
                         L" does not fit the operand word of FxMode " + std::to_wstring(fxMode) + L" (0 ~ " +
                         std::to_wstring(FieldMax(spec)) + L")");
  }
  word |= static_cast<uint32_t>(value) << spec.shift;
}

int32_t Get(OperandWord word, const FieldPlace& spec) {
  return static_cast<int32_t>((word >> spec.shift) & FieldMax(spec));
}

[[noreturn]] void ThrowNoLayout(int fxMode) {
  throw MakeLogicError(L"\r\n  No operand word layout for FxMode " + std::to_wstring(fxMode));
}

[[noreturn]] void ThrowKind(const wchar_t* what, int value, int fxMode) {
  throw MakeLogicError(L"\r\n  Operand " + std::wstring(what) + L" " + std::to_wstring(value) +
                       L" has no code in FxMode " + std::to_wstring(fxMode));
}

int KindToCode(int kind, int fxMode) {
  if (fxMode == 0) {
    switch (kind) {
      case kKindAddress: return 0;
      case kKindValue: return 1;
      case kKindPointer: return 2;
      default: ThrowKind(L"kind", kind, fxMode);
    }
  }
  switch (kind) {
    case kKindValue: return 0;
    case kKindIndexed: return 1;
    default: ThrowKind(L"kind", kind, fxMode);
  }
}

int CodeToKind(int code, int fxMode) {
  if (fxMode == 0) {
    switch (code) {
      case 0: return kKindAddress;
      case 1: return kKindValue;
      case 2: return kKindPointer;
      default: ThrowKind(L"kind code", code, fxMode);
    }
  }
  switch (code) {
    case 0: return kKindValue;
    case 1: return kKindIndexed;
    default: ThrowKind(L"kind code", code, fxMode);
  }
}

void PackWithCode(OperandWord& word, const MemoryAreaManager& manager, const OperandFields& fields, int code) {
  OperandWord packed = 0;
  if (manager.FxMode == 0) {
    Put(packed, kFx0Kind, code, 0);
    Put(packed, kFx0Slot, fields.slot, 0);
    Put(packed, kFx0Width, fields.width, 0);
    Put(packed, kFx0Bit, fields.bit, 0);
    Put(packed, kFx0Byte, fields.byte, 0);
  } else if (manager.FxMode == 1) {
    Put(packed, kFx1Kind, code, 1);
    Put(packed, kFx1Width, fields.width, 1);
    Put(packed, kFx1Group, fields.group, 1);
    Put(packed, kFx1Slot, fields.slot, 1);
    Put(packed, kFx1Index, fields.index, 1);
    Put(packed, kFx1Bit, fields.bit, 1);
    Put(packed, kFx1Byte, fields.byte, 1);
  } else {
    ThrowNoLayout(manager.FxMode);
  }
  word = packed;
}

// Reads every field but the kind; returns the kind code.
int UnpackWithoutKind(OperandWord word, const MemoryAreaManager& manager, OperandFields& fields) {
  OperandFields read;
  int code = 0;
  if (manager.FxMode == 0) {
    code = Get(word, kFx0Kind);
    read.slot = Get(word, kFx0Slot);
    read.width = Get(word, kFx0Width);
    read.bit = Get(word, kFx0Bit);
    read.byte = Get(word, kFx0Byte);
  } else if (manager.FxMode == 1) {
    code = Get(word, kFx1Kind);
    read.width = Get(word, kFx1Width);
    read.group = Get(word, kFx1Group);
    read.slot = Get(word, kFx1Slot);
    read.index = Get(word, kFx1Index);
    read.bit = Get(word, kFx1Bit);
    read.byte = Get(word, kFx1Byte);
  } else {
    ThrowNoLayout(manager.FxMode);
  }
  fields = read;
  return code;
}

}  // namespace

void PackOperandWord(OperandWord& word, const MemoryAreaManager& manager, const OperandFields& fields) {
  if (manager.FxMode != 0 && manager.FxMode != 1) ThrowNoLayout(manager.FxMode);
  PackWithCode(word, manager, fields, KindToCode(fields.kind, manager.FxMode));
}

void UnpackOperandWord(OperandWord word, const MemoryAreaManager& manager, OperandFields& fields) {
  OperandFields read;
  int code = UnpackWithoutKind(word, manager, read);
  read.kind = CodeToKind(code, manager.FxMode);
  fields = read;
}

void PackOperandWordRaw(OperandWord& word, const MemoryAreaManager& manager, const OperandFields& fields) {
  PackWithCode(word, manager, fields, fields.kind);
}

void UnpackOperandWordRaw(OperandWord word, const MemoryAreaManager& manager, OperandFields& fields) {
  OperandFields read;
  read.kind = UnpackWithoutKind(word, manager, read);
  fields = read;
}

}  // namespace Brenno
