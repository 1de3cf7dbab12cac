// The text rules and field checks shared by the instruction input box and the instruction editor
// dialogs: splitting and joining instruction texts, the ladder element definitions an
// instruction name stands for, and whether an operand text fits an operand slot of the current
// project. No check reports anything; each answers valid or not valid, and a malformed operand
// format in the instruction library counts as not valid.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/env/instruction_library.h"

namespace Brenno {

class Project;

// Tab, blank and comma separate tokens; runs of separators make no empty tokens.
std::vector<std::wstring> SplitInstructionText(const std::wstring& text);
// The first token, two blanks, then the others separated by ", "; no tokens give the empty text.
std::wstring JoinInstructionText(const std::vector<std::wstring>& tokens);
// The tokens separated by ", " alone (the operands of a contact or coil).
std::wstring JoinOperandTokens(const std::vector<std::wstring>& tokens);

// The format text and data type of one operand of a ladder element; an empty format means that
// the element takes no operand here, data type -1 none.
struct OperandSlot {
  std::wstring Format;
  int DataType = -1;
  std::vector<ValueRange> Ranges{};       // the values a constant may take, as the definition limits them
  std::vector<AddressRange> Addresses{};  // the addresses it may take in the regions they name

  bool HasFormat() const { return !Format.empty(); }
  bool operator==(const OperandSlot&) const = default;
};

OperandSlot SlotOf(const OperandDef& def);

// A ladder element definition name with the exact sizes of its three operand lists.
struct LadOperandListsQuery {
  std::wstring Name;
  std::size_t IdCount = 0;
  std::size_t InCount = 0;
  std::size_t OutCount = 0;
};

// Every FunLad record, in library order, whose name equals the query name and whose OperandId,
// OperandIn and OperandOut lists hold exactly the three counts.
void FilterLadElementDefsByOperandLists(std::vector<const FunLadRecord*>& out, const InstructionLibrary& library,
                                        const LadOperandListsQuery& query);
// The one record the query names; null when there is none or more than one.
const FunLadRecord* FindSingleLadElementDef(const InstructionLibrary& library, const LadOperandListsQuery& query);

// The element kinds of the instruction input box: the four contacts, the coil, and any other
// instruction (a box).
enum InstructionElementKind : int {
  kElementContactNo = 0,
  kElementContactNc = 1,
  kElementContactRising = 2,
  kElementContactFalling = 3,
  kElementCoil = 4,
  kElementBox = 5,
};

// The library's mnemonic of a kind 0..4 (LadFxNameLd .. LadFxNameCoil); empty for kind 5.
std::wstring ElementKindMnemonic(const InstructionLibrary& library, int kind);
// The kind whose mnemonic equals the token exactly (kinds in order 0..4); kind 5 otherwise,
// also for the empty token. An empty mnemonic in the library matches nothing.
int ElementKindOfToken(const InstructionLibrary& library, const std::wstring& token);
// The list sizes under which the contact or coil definition of a kind 0..4 is looked up
// (contacts, edge contacts included, 0/1/0: the bit they read; the coil 0/0/1), with its mnemonic
// as the name.
LadOperandListsQuery ElementKindQuery(const InstructionLibrary& library, int kind);

// The operand text check: a global symbol or local variable name of the block (after an
// optional "&" or "*") stands for its address; the text is valid when it is an operand the slot's
// format admits, or a constant of the slot's data type where the format admits constants. An
// empty format, an empty text or a malformed format is not valid.
bool CheckOperandText(const Project& project, const std::wstring& text, const OperandSlot& slot, int blockKey);

// The whole instruction check of the input box over the tokens (mnemonic first): a subroutine
// page name stands for its address, exactly one definition of that name must take as many
// operands as follow it, and every operand must pass CheckOperandText.
bool CheckInstructionTokens(const Project& project, const std::vector<std::wstring>& tokens, int blockKey);

// The instruction dialog's recognition of a name: a subroutine page name stands for its address;
// recognised when exactly one definition has that name and it takes at most six operands. The
// slots then hold its operands in OperandId, OperandIn, OperandOut order, the rest empty.
constexpr std::size_t kInstructionOperandRows = 6;
using OperandSlotRow = std::array<OperandSlot, kInstructionOperandRows>;
std::optional<OperandSlotRow> RecognizeInstructionName(const Project& project, const std::wstring& name);

// The coil definitions of the device dialog and the formats its two rows are checked against.
struct CoilDefinitions {
  const FunLadRecord* OneOperand = nullptr;
  const FunLadRecord* TwoOperands = nullptr;
  // The two operands of TwoOperands in the order they are written: the device, the set value.
  const OperandDef* TwoDevice = nullptr;
  const OperandDef* TwoSetValue = nullptr;
};
// The FX timer and counter coil of the 16-bit devices and that of the 32-bit counters share name
// and operand count: the one the device (and set value) typed are written for.
CoilDefinitions FindCoilDefinitions(const Project& project, const std::wstring& device = {},
                                    const std::wstring& setValue = {}, int blockKey = -1);
struct DeviceSlots {
  OperandSlot Device;
  OperandSlot SetValue;
};
DeviceSlots ChooseDeviceSlots(const CoilDefinitions& coils, bool setValueEmpty);
// The device text, then ", " and the set value when that is not empty.
std::wstring ComposeDeviceOperands(const std::wstring& device, const std::wstring& setValue);

// The instruction dialog's result: the name when not empty, then `operandCount` operand texts
// (empty ones too), joined by the joining rule.
std::wstring ComposeInstructionText(const std::wstring& name, const std::vector<std::wstring>& operands,
                                    std::size_t operandCount);

// A program page name becomes its address: with `subroutinesOnly` only the subroutine table is
// searched, otherwise the main and interrupt table first. The reverse for page addresses.
bool ReplaceProgramPageName(const Project& project, std::wstring& text, bool subroutinesOnly);
bool ReplaceProgramPageAddress(const Project& project, std::wstring& text);

}  // namespace Brenno
