#include "core/program/edit_advice.h"

#include <algorithm>
#include <cwctype>

#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/memory_area_manager.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/env/utilities.h"
#include "core/program/ladder_edit.h"
#include "core/program/program_services.h"
#include "core/program/stl_line.h"

namespace Brenno {

namespace {

constexpr wchar_t kIndent[] = L"    ";

std::wstring Quoted(const std::wstring& text) {
  return std::wstring(PickText(L"\"", L"“")) + text + PickText(L"\"", L"”");
}

// The name and the operand tokens of a line of instruction text, as the ladder parser cuts it.
struct TypedInstruction {
  std::wstring Name;
  int Variant = 0;
  std::vector<std::wstring> Operands;
};

bool CutInstruction(const std::wstring& text, TypedInstruction& out) {
  const std::vector<std::wstring> tokens = TokenizeInstruction(text.substr(0, text.find(L"//")));
  if (tokens.empty()) return false;
  SplitIndexedName(out.Name, tokens.front(), out.Variant);
  out.Operands.assign(tokens.begin() + 1, tokens.end());
  return true;
}

std::wstring JoinOperands(const std::vector<std::wstring>& operands) {
  std::wstring text;
  JoinText(text, operands, L", ");
  return text;
}

// "NAME  A, B" as the ladder cell takes it.
std::wstring InstructionLine(const std::wstring& name, const std::vector<std::wstring>& operands) {
  return operands.empty() ? name : name + L"  " + JoinOperands(operands);
}

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

// The operand definitions of a ladder definition in the order the instruction is typed.
std::vector<const OperandDef*> SlotsInTypedOrder(const InstructionLibrary& library, const FunLadRecord& def) {
  std::vector<const OperandDef*> sequence;
  for (const auto* list : {&def.OperandId, &def.OperandIn, &def.OperandOut}) {
    for (const OperandDef& slot : *list) sequence.push_back(&slot);
  }
  const std::vector<int> order = LadOperandOrder(library, def);
  std::vector<const OperandDef*> typed(sequence.size(), nullptr);
  for (std::size_t k = 0; k < sequence.size() && k < order.size(); ++k) {
    const int place = order[k];
    if (place >= 0 && static_cast<std::size_t>(place) < typed.size() && typed[place] == nullptr) typed[place] = sequence[k];
  }
  for (std::size_t k = 0; k < typed.size(); ++k) {
    if (typed[k] == nullptr) typed[k] = sequence[k];
  }
  return typed;
}

std::wstring SlotNames(const std::vector<const OperandDef*>& slots) {
  std::vector<std::wstring> names;
  for (const OperandDef* slot : slots) names.push_back(slot->Name);
  return JoinOperands(names);
}

bool OperandFitsSlot(const std::wstring& typed, const OperandDef& slot, const PageViewState& state) {
  const ProgramServices& services = CurrentProgramServices();
  const MemoryAreaManager& map = services.MemoryMap();
  std::wstring text = typed;
  services.LookupSymbolNamePrefixed(text, state.PageId);
  try {
    OperandWord word{};
    if (ParseSlotAddress(text, map, slot, word)) return true;
    ConstantOperand constant;
    return (ParseOperandFormatFlags(slot.Capacity) & kFormatConstant) != 0 && ParseSlotConstant(constant, map, slot, text);
  } catch (const ExceptionError&) {
    return false;
  }
}

// The lines that say how the typed operands miss the definition: their number, or each one
// that its slot does not take, with what the slot takes.
std::wstring OperandMisfits(const FunLadRecord& def, const std::vector<std::wstring>& operands,
                            const PageViewState& state) {
  const ProgramServices& services = CurrentProgramServices();
  const std::vector<const OperandDef*> slots = SlotsInTypedOrder(services.Library(), def);
  const std::wstring name = def.Name;
  if (operands.size() != slots.size()) {
    std::wstring text = name + PickText(L" takes ", L" 需要 ") + std::to_wstring(slots.size()) +
                        PickText(L" operand(s)", L" 个操作数");
    if (!slots.empty()) text += L" (" + SlotNames(slots) + L")";
    text += PickText(L"; ", L"；") + std::to_wstring(operands.size()) + PickText(L" typed.", L" 个已输入。");
    return text;
  }
  std::wstring text;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (OperandFitsSlot(operands[i], *slots[i], state)) continue;
    std::wstring takes;
    try {
      DescribeOperandSlot(takes, *slots[i], services.MemoryMap(), L", ");
    } catch (const ExceptionError&) {
      takes.clear();
    }
    if (!text.empty()) text += L"\n";
    text += Quoted(operands[i]) + PickText(L" does not fit ", L" 不适合 ") + slots[i]->Name;
    if (!takes.empty()) text += PickText(L"; it takes: ", L"；它接受：") + takes;
  }
  return text;
}

bool IsSystemUnit(const InstructionLibrary& library, const ElementOperand& item) {
  if (item.Slot >= 0 && static_cast<std::size_t>(item.Slot) < library.FunOrgList.size()) {
    return library.FunOrgList[item.Slot].Type == kFunOrgTypeSys;
  }
  for (int index : {library.SysAnd, library.SysOr, library.SysLps, library.SysLrd, library.SysLpp}) {
    if (index >= 0 && static_cast<std::size_t>(index) < library.FunOrgList.size() &&
        library.FunOrgList[index].Name == item.Name) {
      return true;
    }
  }
  return false;
}

// The one logic unit of a rule side besides the system units (AND, OR, the stack); null when
// there is none or more than one.
const ElementOperand* SoleUnit(const InstructionLibrary& library, const std::vector<ElementOperand>& items) {
  const ElementOperand* found = nullptr;
  for (const ElementOperand& item : items) {
    if (IsSystemUnit(library, item)) continue;
    if (found != nullptr) return nullptr;
    found = &item;
  }
  return found;
}

// The ladder element the conversion rules give for a statement-list instruction, and the
// typed operands in the order the element takes them (as typed when their number is not the
// instruction's). False when the rules lead to no single element.
bool LadderCounterpart(const InstructionLibrary& library, const std::wstring& mnemonic,
                       const std::vector<std::wstring>& operands, std::wstring& ladName,
                       std::vector<std::wstring>& ladOperands) {
  for (const bool sameCount : {true, false}) {
    std::vector<std::wstring> names;
    std::vector<std::wstring> ordered = operands;
    for (const ConvertRule& stl : library.StlToUnitRules) {
      if (stl.Left.size() != 1 || stl.Left.front().Name != mnemonic) continue;
      const std::wstring& stlKey = stl.Left.front().Text;
      if (sameCount && stlKey.size() != operands.size()) continue;
      const ElementOperand* unit = SoleUnit(library, stl.Right);
      if (unit == nullptr) continue;
      for (const ConvertRule& lad : library.LadToUnitRules) {
        if (lad.Left.size() != 1) continue;
        const ElementOperand* ladUnit = SoleUnit(library, lad.Right);
        if (ladUnit == nullptr || ladUnit->Name != unit->Name) continue;
        if (std::find(names.begin(), names.end(), lad.Left.front().Name) != names.end()) continue;
        names.push_back(lad.Left.front().Name);
        if (!sameCount) continue;
        // The element takes the unit's operands in the unit's order; the statement list wrote
        // them in its own key order.
        std::vector<std::wstring> byUnit;
        for (wchar_t letter : unit->Text) {
          const std::size_t at = stlKey.find(letter);
          if (at == std::wstring::npos || at >= operands.size()) break;
          byUnit.push_back(operands[at]);
        }
        ordered = byUnit.size() == operands.size() ? byUnit : operands;
      }
    }
    if (names.size() == 1) {
      ladName = names.front();
      ladOperands = ordered;
      return true;
    }
    if (!names.empty()) return false;
  }
  return false;
}

bool IsStatementListName(const InstructionLibrary& library, const std::wstring& name) {
  return std::any_of(library.FunStlList.begin(), library.FunStlList.end(),
                     [&](const FunStlRecord& def) { return def.Name == name; });
}

// The name of the first subroutine page that exists, as a call is typed ("SBR_0"); empty when
// the program has none.
std::wstring FirstSubroutineName(const InstructionLibrary& library) {
  const ProgramServices& services = CurrentProgramServices();
  const std::size_t count = static_cast<std::size_t>(std::max(library.SubroutineCount, 0));
  const std::size_t size = library.FunLadList.size();
  for (std::size_t i = size - std::min(count, size); i < size; ++i) {
    std::wstring name = library.FunLadList[i].Name;
    if (services.ReplacePageAddressByName(name)) return name;
  }
  return {};
}

// A subroutine named by its address or its page name: its page name and address.
bool NamesSubroutine(const std::wstring& text, std::wstring& pageName, std::wstring& address) {
  const ProgramServices& services = CurrentProgramServices();
  std::wstring probe = text;
  if (services.ReplacePageAddressByName(probe)) {
    pageName = probe;
    address = text;
    return true;
  }
  probe = text;
  if (services.ReplacePageNameByAddress(probe)) {
    pageName = text;
    address = probe;
    return true;
  }
  return false;
}

std::wstring ExplainCall(const InstructionLibrary& library, const TypedInstruction& typed) {
  std::wstring pageName;
  std::wstring address;
  const bool named = !typed.Operands.empty() && NamesSubroutine(typed.Operands.front(), pageName, address);
  if (!named) {
    pageName = FirstSubroutineName(library);
    if (pageName.empty()) return {};
  }
  std::wstring text = Quoted(typed.Name) +
                      PickText(L" is no ladder element. A subroutine is called by its name alone",
                               L"不是梯形图元件。调用子程序只需输入它的名称");
  if (!named) text += PickText(L", for example", L"，例如");
  text += PickText(L":\n", L"：\n");
  std::vector<std::wstring> rest;
  if (named) rest.assign(typed.Operands.begin() + 1, typed.Operands.end());
  text += kIndent + InstructionLine(pageName, rest);
  if (named) {
    text += L"\n";
    text += PickText(L"(its address ", L"（也可输入其地址 ") + address + PickText(L" is taken as well.)", L"。）");
  }
  return text;
}

std::wstring GeneralRefusal(const std::wstring& name) {
  return Quoted(name) +
         PickText(L" is no ladder element of this PLC type. A ladder cell takes the name of a ladder element "
                  L"followed by its operands, separated by commas; the project tree lists the elements under "
                  L"\"Instructions\".",
                  L"不是此 PLC 类型的梯形图元件。梯形图单元接受梯形图元件的名称及其后以逗号分隔的操作数；"
                  L"项目树的“指令”下列出了全部元件。");
}

}  // namespace

std::wstring ExplainRefusedElementText(const std::wstring& text, const PageViewState& state) {
  TypedInstruction typed;
  if (!CutInstruction(text, typed)) return {};
  const ProgramServices& services = CurrentProgramServices();
  const InstructionLibrary& library = services.Library();
  std::wstring name = typed.Name;
  services.ReplacePageNameByAddress(name);

  if (const FunLadRecord* def = PickTypedLadDefinition(library, name, typed.Operands, state.PageId)) {
    if (typed.Operands.size() <= def->OperandCount()) return {};
    // More operands than the element has: nothing typed is dropped, the text is refused.
    const std::vector<const OperandDef*> slots = SlotsInTypedOrder(library, *def);
    std::wstring shown = typed.Name;
    return shown + PickText(L" takes ", L" 需要 ") + std::to_wstring(slots.size()) +
           PickText(L" operand(s)", L" 个操作数") + (slots.empty() ? std::wstring() : L" (" + SlotNames(slots) + L")") +
           PickText(L"; ", L"；") + std::to_wstring(typed.Operands.size()) + PickText(L" were typed:\n", L" 个已输入：\n") +
           kIndent + JoinOperands(typed.Operands) + L"\n" + PickText(L"Nothing was placed.", L"未放置任何元件。");
  }

  // A statement-list instruction: the ladder element the conversion rules make of it.
  if (IsStatementListName(library, name)) {
    std::wstring ladName;
    std::vector<std::wstring> ladOperands;
    if (LadderCounterpart(library, name, typed.Operands, ladName, ladOperands)) {
      std::wstring shownName = ladName;
      if (state.Symbolic) services.ReplacePageAddressByName(shownName);
      std::wstring message = Quoted(typed.Name) +
                             PickText(L" is a statement-list instruction. In a ladder cell, type the ladder element ",
                                      L"是指令表指令。在梯形图单元中请输入梯形图元件 ") +
                             shownName + PickText(L":\n", L"：\n") + kIndent + InstructionLine(shownName, ladOperands);
      if (const FunLadRecord* def = PickTypedLadDefinition(library, ladName, ladOperands, state.PageId)) {
        const std::wstring misfits = OperandMisfits(*def, ladOperands, state);
        if (!misfits.empty()) message += L"\n" + misfits;
      }
      return message;
    }
    return Quoted(typed.Name) + PickText(L" is a statement-list instruction that has no ladder element of its own; "
                                         L"ladder draws it with contacts and lines.",
                                         L"是指令表指令，没有对应的梯形图元件；梯形图用触点和连线表示它。");
  }

  // A subroutine call written as statement lists of other systems write it.
  if (Upper(typed.Name) == L"CALL") {
    std::wstring message = ExplainCall(library, typed);
    if (!message.empty()) return message;
  }

  // The right name in another letter case.
  const std::wstring upper = Upper(name);
  for (const FunLadRecord& def : library.FunLadList) {
    if (Upper(def.Name) != upper) continue;
    return Quoted(typed.Name) + PickText(L" is no ladder element; names are written as the library writes them: ",
                                         L"不是梯形图元件；名称须按指令库的写法输入：") +
           def.Name + PickText(L".", L"。");
  }
  for (const FunStlRecord& def : library.FunStlList) {
    if (Upper(def.Name) != upper) continue;
    std::wstring ladName;
    std::vector<std::wstring> ladOperands;
    if (!LadderCounterpart(library, def.Name, typed.Operands, ladName, ladOperands)) break;
    return Quoted(typed.Name) + PickText(L" is no ladder element. In a ladder cell, type the ladder element ",
                                         L"不是梯形图元件。在梯形图单元中请输入梯形图元件 ") +
           ladName + PickText(L":\n", L"：\n") + kIndent + InstructionLine(ladName, ladOperands);
  }
  return GeneralRefusal(typed.Name);
}

std::wstring ExplainRefusedPlacement(const LadElement& element, const PageViewState& state) {
  if (state.CursorColumn < 0 || state.CursorRow < 0) return {};
  const std::vector<LadderMark> marks = CollectElementMarks(element);
  const bool leftOfGrid = std::any_of(marks.begin(), marks.end(), [&](const LadderMark& mark) {
    return mark.Column + state.CursorColumn < 0 || mark.Row + state.CursorRow < 0;
  });
  if (!leftOfGrid) return {};
  return element.Name + PickText(L" cannot stand in the first column: its input operands are written in the cell "
                                 L"to its left. Place it one column further right.",
                                 L" 不能放在第一列：它的输入操作数写在其左侧的单元中。请把它放在右边一列。");
}

std::wstring DescribeLadElement(const LadElement& element, const PageViewState& state) {
  if (element.Kind == kLadKindLine) {
    return element.InCell ? PickText(L"horizontal line", L"水平线") : PickText(L"vertical line", L"竖直线");
  }
  std::wstring text;
  if (LadElement::ToInstructionText(element, state, text)) return text.substr(0, text.find(L"//"));
  std::vector<std::wstring> operands;
  for (const ElementOperand* operand : LadElement::OperandsInInstructionOrder(element)) operands.push_back(operand->Text);
  return InstructionLine(element.Name, operands);
}

std::wstring PlacedLineText(bool vertical) {
  return vertical ? PickText(L"the vertical line", L"竖直线") : PickText(L"the horizontal line", L"水平线");
}

std::wstring PlacedPasteText() { return PickText(L"the pasted elements", L"粘贴的元件"); }

std::wstring AskRemoveForPlacement(const std::wstring& placed, int network, const std::vector<LadElement>& removed,
                                   const PageViewState& state) {
  std::wstring text = PickText(L"Placing ", L"在此放置") + placed +
                      PickText(L" here removes from NETWORK ", L"将从网络 ") + std::to_wstring(network) +
                      PickText(L":", L" 中删除：");
  for (const LadElement& element : removed) text += L"\n" + std::wstring(kIndent) + DescribeLadElement(element, state);
  text += PickText(L"\n\nPlace it and remove what is listed? (Edit > Undo brings it back.)",
                   L"\n\n是否放置并删除所列内容？（编辑 > 撤销可以恢复。）");
  return text;
}

std::wstring TextPlaceNeedsLadderPage() {
  return PickText(L"Instructions are placed into a ladder page; this page is shown as statement list "
                  L"(View > LAD shows it as ladder).",
                  L"指令只能放入梯形图页面；此页面以指令表显示（视图 > LAD 以梯形图显示）。");
}

std::wstring TextPlaceNeedsCell() {
  return PickText(L"Click the cell of a ladder network where the instruction goes, then insert it.",
                  L"请先单击梯形图网络中要放置指令的单元，然后再插入。");
}

bool ReadsAsStatementList(const std::vector<std::wstring>& lines, const PageViewState& state) {
  bool any = false;
  for (const std::wstring& line : lines) {
    const std::wstring code = line.substr(0, line.find(L"//"));
    if (code.find_first_not_of(L" \t,") == std::wstring::npos) {
      if (line.find(L"//") == std::wstring::npos) continue;  // a blank line
      return false;                                          // a line that is only a comment
    }
    StlLine parsed;
    if (!ParseStlLine(line, parsed, state)) return false;
    any = true;
  }
  return any;
}

std::wstring AskMoveCommentToProgram(int network, const std::vector<std::wstring>& lines) {
  std::wstring text = PickText(L"The comment of NETWORK ", L"网络 ") + std::to_wstring(network) +
                      PickText(L" reads as statement list:", L" 的注释是指令表：");
  constexpr std::size_t kShown = 8;
  std::size_t shown = 0;
  for (const std::wstring& line : lines) {
    if (line.find_first_not_of(L" \t") == std::wstring::npos) continue;
    if (shown == kShown) {
      text += L"\n" + std::wstring(kIndent) + L"…";
      break;
    }
    text += L"\n" + std::wstring(kIndent) + line;
    ++shown;
  }
  text += PickText(L"\n\nThe program of a network goes in the box below its comment. Move these lines into the "
                   L"program?",
                   L"\n\n网络的程序写在注释下方的方框中。是否把这些行移入程序？");
  return text;
}

}  // namespace Brenno
