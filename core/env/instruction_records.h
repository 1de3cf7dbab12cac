// The records of an instruction library ("ManagerFun.xml"): operand slots, logic units,
// statement-list instruction definitions, ladder element definitions, conversion rules and
// the ladder instruction catalog built from the definitions.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

#include "core/env/data_type.h"

namespace Brenno {

// `Type` of a logic unit: how power flows through it.
enum FunOrgType : int {
  kFunOrgTypeNone = -1,
  kFunOrgTypeSys = 0,               // "Sys": AND, OR, LPS, LRD, LPP
  kFunOrgTypeInput = 1,             // power passes through, inputs to one output
  kFunOrgTypeMultiInput = 2,        // power passes through, one branch per input
  kFunOrgTypeOutput = 3,            // end unit
  kFunOrgTypeMultiOutput = 4,       // end unit with several inputs
  kFunOrgTypeGeneratrixOutput = 5,  // end unit fed by the left power rail itself
};

// `Look` of a ladder element definition (the element kind of a ladder element).
enum LadLook : int {
  kLadLookNone = -1,
  kLadLookCont = 2,
  kLadLookCoil = 3,
  kLadLookBlock = 4,
  kLadLookFxCont = 5,
  kLadLookFxCoil = 6,
  kLadLookFxBlock = 7,
};

// The file words of the two codes above, compared exactly; -1 for any other word.
int FunOrgTypeFromWord(const std::wstring& word);
int LadLookFromWord(const std::wstring& word);

// The values from Min to Max, both included.
struct ValueRange {
  int64_t Min = 0;
  int64_t Max = 0;

  auto operator<=>(const ValueRange&) const = default;
};

// The addresses from First to Last, both included, as the PLC type writes them ("T32", "T63");
// a single address has Last equal to First.
struct AddressRange {
  std::wstring First;
  std::wstring Last;

  auto operator<=>(const AddressRange&) const = default;
};

// One operand slot of a definition (element "FunOperand").
struct OperandDef {
  std::wstring Name;      // shown beside the operand of a box
  std::wstring Capacity;  // operand format text: which operand forms the slot accepts
  int Const = kDataTypeNone;  // DataType of the slot's value, -1 none
  int Marker = 0;         // non-zero: the memory-marker text may be shown behind the operand
  // The values a constant written in the slot may take ("Range" attribute "0~7", several ranges
  // "-64~-1,1~64"), within the range of its data type: a loop number, a port, a count the
  // instruction limits. Empty: the data type's range.
  std::vector<ValueRange> Ranges{};
  // The addresses the slot takes in the regions they lie in ("Addresses" attribute
  // "T32~T63,T96~T255", "Y000,Y001"): an address of such a region must lie in one of them; the
  // regions that no range names are not limited. Read against the memory map where it is used.
  std::vector<AddressRange> Addresses{};
  // The name of the operand whose bits this constant counts from ("Counts" attribute: S bit, N):
  // they must lie in that operand's region and in its address ranges.
  std::wstring Counts{};
  // The name of the operand whose constant this one may not exceed ("AtMost": SFTL n2 <= n1).
  std::wstring AtMost{};
  // The constant is the number of an interrupt routine the program must hold
  // ("Routine" attribute "Interrupt").
  bool InterruptRoutine = false;
  // The instruction reads the operand and writes it back, in whichever list it stands
  // ("ReadWrite" attribute "1": a table whose entry count changes, a word swapped in place).
  bool ReadWrite = false;

  bool HasRange() const { return !Ranges.empty(); }
  // The operand's constant depends on other operands of its instruction.
  bool HasRelations() const { return !Counts.empty() || !AtMost.empty(); }
  bool operator==(const OperandDef&) const = default;
};

// One logic unit (FunOrg "Unit").
struct FunOrgRecord {
  std::wstring Name;
  std::wstring Comment;
  std::wstring Parent;
  int Type = kFunOrgTypeNone;
  int Node = -1;  // number of power inputs
  std::vector<OperandDef> Operands;

  bool operator==(const FunOrgRecord&) const = default;
};

// One statement-list instruction definition (FunStl "Unit").
struct FunStlRecord {
  std::wstring Name;  // the mnemonic
  std::wstring Comment;
  std::wstring Parent;
  int Slot = -1;  // instruction code in the compiled image
  std::vector<OperandDef> Operands;

  bool operator==(const FunStlRecord&) const = default;
};

// One ladder element definition (FunLad "Unit"). The element's operands, taken as one
// sequence, are OperandId, then OperandIn, then OperandOut.
struct FunLadRecord {
  std::wstring Name;
  std::wstring Comment;
  std::wstring Parent;
  int Look = kLadLookNone;
  std::wstring Keyword;    // the name a ladder element of this definition carries
  std::wstring GroupName;  // "display name|width marks|description" for the instruction reference
  std::vector<std::wstring> PowerIn;
  std::vector<std::wstring> PowerOut;
  std::vector<OperandDef> OperandId;
  std::vector<OperandDef> OperandIn;
  std::vector<OperandDef> OperandOut;

  std::size_t OperandCount() const { return OperandId.size() + OperandIn.size() + OperandOut.size(); }
  bool operator==(const FunLadRecord&) const = default;
};

// {slot, name, text}: an operand of a ladder element, or an item of a conversion rule (there
// `Slot` is the index of the definition the item names, `Name` the item's name and `Text`
// its key: one character per operand of that definition).
struct ElementOperand {
  int Slot = -1;
  std::wstring Name;
  std::wstring Text;

  bool operator==(const ElementOperand&) const = default;
};

inline ElementOperand MakeElementOperand(int slot, const std::wstring& name, const std::wstring& text) {
  return ElementOperand{slot, name, text};
}

// One conversion rule: the `Left` sequence is the same as the `Right` sequence.
struct ConvertRule {
  std::vector<ElementOperand> Left;
  std::vector<ElementOperand> Right;

  bool operator==(const ConvertRule&) const = default;
};

// The ladder instruction catalog of the instruction reference.
enum LadInstructionFlag : int {
  kLadVariantBit = 0x01,
  kLadVariantByte = 0x02,
  kLadVariantWord = 0x04,
  kLadVariantDword = 0x08,
  kLadVariantPulse = 0x10,
};

struct LadInstructionVariant {
  int Flags = 0;
  int Definition = -1;  // index in the FunLad list

  bool operator==(const LadInstructionVariant&) const = default;
};

struct LadInstructionItem {
  std::wstring Name;  // display name
  std::vector<LadInstructionVariant> Variants;
  std::wstring Description;
  int Flags = 0;  // OR of the flags of all variants

  bool operator==(const LadInstructionItem&) const = default;
};

struct LadInstructionGroup {
  std::wstring Name;  // a Parent text of the FunLad list
  std::vector<LadInstructionItem> Items;

  bool operator==(const LadInstructionGroup&) const = default;
};

// Deep copies into the given storage (every text and list copied entry by entry).
inline void CopyFunOrgRecord(const FunOrgRecord& source, FunOrgRecord& target) { target = source; }
inline void CopyFunStlRecord(const FunStlRecord& source, FunStlRecord& target) { target = source; }
inline void CopyFunLadRecord(const FunLadRecord& source, FunLadRecord& target) { target = source; }
inline void CopyElementOperand(const ElementOperand& source, ElementOperand& target) { target = source; }

}  // namespace Brenno
