// instruction_help CATALOG_FOLDER OUTPUT_FOLDER
//
// Writes the instruction reference of the HTML help from a catalog folder ("Orvisto", one folder
// per PLC type): for each language (OUTPUT_FOLDER/en and OUTPUT_FOLDER/zh) a page
// "instructions.html" that lists the PLC types, and for each type a page
// "instructions_<type>.html": its contents, an index of every statement-list mnemonic and every
// ladder name, the ladder instruction catalog (groups, instructions, their definitions with
// operands in instruction order, role, data type and what each admits), the statement-list
// instructions with the role and data type of each operand, and how a subroutine is called.
// Every type folder that holds a "PlcType.xml" is read, whatever the catalog holds, with the
// type's number of subroutine pages, so that the subroutine calls are listed like every other
// instruction. The pages are written only when every type was read, so a broken catalog leaves
// the old pages in place.
//
// Anchors are made of the names: "stl-" + mnemonic for a statement-list mnemonic (a further
// operand-count form of the same mnemonic adds "-" + its count), "lad-" + name for a ladder
// definition, letters, digits and "_" kept and every other character written as a word ("LDB<="
// gives "stl-LDB-lt-eq"); a clash gets "-2", "-3", ... so that every id of a page is unique.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/env/constant.h"
#include "core/env/data_type.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/manager_var_reader.h"
#include "core/env/memory_area_manager.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/env/plc_type.h"
#include "core/env/utilities.h"
#include "platform/text_codec.h"

namespace {

namespace fs = std::filesystem;
using namespace Brenno;

// One PLC type read in one language.
struct TypePages {
  std::wstring Name;
  std::wstring Information;
  InstructionLibrary Library;
  MemoryAreaManager Memory;
};

struct Language {
  int Code;
  const char* Folder;
  const char* Other;  // the folder of the other language
};
constexpr Language kLanguages[] = {{kLanguageEnglish, "en", "zh"}, {kLanguageChinese, "zh", "en"}};

std::string Html(const std::wstring& text) {
  std::string out;
  for (char c : platform::ToUtf8Lossy(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Code(const std::wstring& text) { return "<code>" + Html(text) + "</code>"; }

std::string Text(int language, const char* english, const char* chinese) {
  return language == kLanguageChinese ? chinese : english;
}

// A file name part made of the type's name: letters, digits, "-" and "_" kept, the rest "_".
std::string FilePart(const std::wstring& name) {
  std::string out;
  for (wchar_t c : name) {
    const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
                       c == L'_';
    out += plain ? static_cast<char>(c) : '_';
  }
  return out;
}

std::string TypeFileName(const std::wstring& name) { return "instructions_" + FilePart(name) + ".html"; }

// ---- Data types

// The Chinese words of the data types 0 .. 10.
const char* const kChineseTypeWords[kDataTypeCount] = {"位",   "字节",   "字",           "双字",         "短整数",
                                                       "整数", "双整数", "无符号短整数", "无符号整数", "无符号双整数",
                                                       "实数"};

// The data type as the page shows it: the catalog's word in English; in Chinese the Chinese word
// with the catalog's word in parentheses, so that it can be matched with the catalog.
std::string TypeText(int type, int language) {
  if (type < 0 || type >= kDataTypeCount) return "—";
  const std::string word = platform::ToUtf8Lossy(DataTypeWord(type));
  return language == kLanguageChinese ? std::string(kChineseTypeWords[type]) + " (" + word + ")" : word;
}

// ---- Anchors

// The id part of a name: runs of letters, digits and "_" as they stand, every other character a
// word of its own, the parts joined by "-".
std::string IdPart(const std::wstring& name) {
  static const std::map<wchar_t, const char*> kWords = {
      {L'=', "eq"},    {L'<', "lt"},    {L'>', "gt"},   {L'+', "plus"}, {L'-', "minus"}, {L'*', "times"},
      {L'/', "slash"}, {L'&', "amp"},   {L'|', "bar"},  {L'.', "dot"},  {L' ', "space"}, {L'#', "hash"},
      {L'%', "pct"},   {L'!', "excl"},  {L'(', "lp"},   {L')', "rp"},   {L',', "comma"}, {L':', "colon"}};
  std::string out;
  bool inRun = false;
  for (wchar_t c : name) {
    const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
    if (plain) {
      if (!inRun && !out.empty()) out += '-';
      out += static_cast<char>(c);
      inRun = true;
      continue;
    }
    if (!out.empty()) out += '-';
    if (const auto word = kWords.find(c); word != kWords.end()) {
      out += word->second;
    } else {
      char hex[16];
      std::snprintf(hex, sizeof hex, "u%X", static_cast<unsigned>(c));
      out += hex;
    }
    inRun = false;
  }
  return out.empty() ? "x" : out;
}

// The ids of one page; each is given once.
class PageIds {
 public:
  std::string Take(const std::string& wanted) {
    std::string id = wanted;
    for (int n = 2; !used_.insert(id).second; ++n) id = wanted + "-" + std::to_string(n);
    return id;
  }

 private:
  std::set<std::string> used_;
};

// ---- Operands, roles and the conversion rules

enum OperandRole { kRoleNone = -1, kRoleName = 0, kRoleInput = 1, kRoleOutput = 2, kRoleInputOutput = 3 };

std::string RoleText(int role, int language) {
  switch (role) {
    case kRoleName: return Text(language, "name", "名称");
    case kRoleInput: return Text(language, "input", "输入");
    case kRoleOutput: return Text(language, "output", "输出");
    case kRoleInputOutput: return Text(language, "input and output", "输入和输出");
    default: return "—";
  }
}

// The role shown for an operand: one the instruction reads and writes back is both.
int ShownRole(const OperandDef& operand, int role) {
  return operand.ReadWrite && (role == kRoleInput || role == kRoleOutput) ? kRoleInputOutput : role;
}

struct LadOperand {
  const OperandDef* Def;
  int Role;
};

// The operands of a ladder definition as one sequence: OperandId, OperandIn, OperandOut.
std::vector<LadOperand> LadOperands(const FunLadRecord& def) {
  std::vector<LadOperand> out;
  for (const OperandDef& operand : def.OperandId) out.push_back({&operand, kRoleName});
  for (const OperandDef& operand : def.OperandIn) out.push_back({&operand, kRoleInput});
  for (const OperandDef& operand : def.OperandOut) out.push_back({&operand, kRoleOutput});
  return out;
}

// The logic unit a rule side stands for: its one item that names no system unit (AND, OR, ...);
// null when it has none or several.
const ElementOperand* UnitItem(const InstructionLibrary& library, const std::vector<ElementOperand>& items) {
  const ElementOperand* found = nullptr;
  for (const ElementOperand& item : items) {
    if (item.Slot < 0 || item.Slot >= static_cast<int>(library.FunOrgList.size())) return nullptr;
    if (library.FunOrgList[item.Slot].Type == kFunOrgTypeSys) continue;
    if (found != nullptr) return nullptr;
    found = &item;
  }
  return found;
}

// A rule whose Left is the definition alone and whose Right stands for one logic unit.
struct SingleRule {
  const ElementOperand* Definition = nullptr;
  const ElementOperand* Unit = nullptr;
};

SingleRule FindSingleRule(const InstructionLibrary& library, const std::vector<ConvertRule>& rules, int definition) {
  for (const ConvertRule& rule : rules) {
    if (rule.Left.size() != 1 || rule.Left[0].Slot != definition) continue;
    if (const ElementOperand* unit = UnitItem(library, rule.Right)) return {&rule.Left[0], unit};
  }
  return {};
}

// The first ladder rule of a single ladder definition for the unit.
SingleRule FindLadderRuleOfUnit(const InstructionLibrary& library, int unit) {
  for (const ConvertRule& rule : library.LadToUnitRules) {
    if (rule.Left.size() != 1) continue;
    const ElementOperand* item = UnitItem(library, rule.Right);
    if (item != nullptr && item->Slot == unit) return {&rule.Left[0], item};
  }
  return {};
}

// The position of the unit operand that the key character stands for; npos when none.
std::size_t UnitPosition(const SingleRule& rule, wchar_t key) { return rule.Unit->Text.find(key); }

// How the definitions of a library correspond: the rule keys map operands by key character
// through the logic unit, so that a statement-list operand and a ladder operand that stand for
// the same unit operand are the same operand.
struct Relations {
  std::vector<int> StlLadder;                      // per FunStl: its ladder definition, -1 none
  std::vector<std::vector<int>> StlLadderOperand;  // per FunStl operand: the ladder operand, -1 none
  std::vector<std::vector<std::size_t>> LadOrder;  // per FunLad: its operands in instruction order
  std::vector<std::vector<int>> LadStl;            // per FunLad: the statement-list definitions of it
};

Relations RelateDefinitions(const InstructionLibrary& library) {
  Relations relations;
  const int stlCount = static_cast<int>(library.FunStlList.size());
  const int ladCount = static_cast<int>(library.FunLadList.size());
  relations.StlLadder.assign(stlCount, -1);
  relations.StlLadderOperand.resize(stlCount);
  relations.LadOrder.resize(ladCount);
  relations.LadStl.resize(ladCount);

  for (int d = 0; d < ladCount; ++d) {
    std::vector<std::size_t>& order = relations.LadOrder[d];
    const std::size_t count = library.FunLadList[d].OperandCount();
    for (std::size_t k = 0; k < count; ++k) order.push_back(k);
    const SingleRule rule = FindSingleRule(library, library.LadToUnitRules, d);
    if (rule.Definition == nullptr) continue;
    auto position = [&](std::size_t k) {
      return k < rule.Definition->Text.size() ? UnitPosition(rule, rule.Definition->Text[k]) : std::wstring::npos;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return position(a) < position(b); });
  }

  for (int s = 0; s < stlCount; ++s) {
    std::vector<int>& operands = relations.StlLadderOperand[s];
    operands.assign(library.FunStlList[s].Operands.size(), -1);
    const SingleRule stl = FindSingleRule(library, library.StlToUnitRules, s);
    if (stl.Definition == nullptr) continue;
    const SingleRule lad = FindLadderRuleOfUnit(library, stl.Unit->Slot);
    if (lad.Definition == nullptr) continue;
    relations.StlLadder[s] = lad.Definition->Slot;
    relations.LadStl[lad.Definition->Slot].push_back(s);
    for (std::size_t i = 0; i < operands.size() && i < stl.Definition->Text.size(); ++i) {
      const std::size_t j = UnitPosition(stl, stl.Definition->Text[i]);
      if (j >= lad.Unit->Text.size()) continue;
      const std::size_t k = lad.Definition->Text.find(lad.Unit->Text[j]);
      if (k != std::wstring::npos) operands[i] = static_cast<int>(k);
    }
  }
  return relations;
}

// The template with "{1}", "{2}", ... replaced by the arguments.
std::string Fill(const std::string& pattern, const std::vector<std::string>& arguments) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' && pattern[i + 1] >= '1' &&
        pattern[i + 1] <= '9' && static_cast<std::size_t>(pattern[i + 1] - '1') < arguments.size()) {
      out += arguments[pattern[i + 1] - '1'];
      i += 2;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

// Whether the candidate is a bit area that a word or double word takes as digit groups (KnX: K4X000).
bool IsDigitGroup(const OperandCandidate& candidate) {
  return candidate.region->GroupEnable != 0 && candidate.access->Width != kWidthBit;
}

// The name of a candidate in the Admits column: the prefix of its area and access, with "Kn"
// before digit groups.
std::wstring FormName(const OperandCandidate& candidate) {
  return (IsDigitGroup(candidate) ? L"Kn" : L"") + candidate.region->Name + candidate.access->Name;
}

// What limits the operand beyond its areas and the values of its data type: its address
// ranges, a count bound to another operand, an interrupt routine the project must hold.
std::vector<std::string> OperandLimits(const OperandDef& operand, int language) {
  std::vector<std::string> limits;
  if (!operand.Addresses.empty()) {
    std::string ranges;
    for (const AddressRange& range : operand.Addresses) {
      ranges += (ranges.empty() ? "" : ", ") +
                Html(range.First == range.Last ? range.First : range.First + L" ~ " + range.Last);
    }
    limits.push_back(Text(language, "only ", "仅 ") + ranges);
  }
  if (!operand.Counts.empty()) {
    limits.push_back(Fill(Text(language, "at most the bits from {1} to the end of its area",
                               "不超过从 {1} 到其区域末尾的位数"),
                          {Code(operand.Counts)}));
  }
  if (!operand.AtMost.empty()) limits.push_back(Fill(Text(language, "at most {1}", "不大于 {1}"), {Code(operand.AtMost)}));
  if (operand.InterruptRoutine) {
    limits.push_back(Text(language, "an interrupt routine the project holds", "项目中已有的中断程序"));
  }
  return limits;
}

// The operands an operand slot admits: the regions of the type that fit its format ("IB", "&VB",
// "*VD", "KnX (Z)" for indexed digit groups), then "constant" with the values the slot takes
// when a constant is admitted, then what limits it further.
std::string Admitted(const OperandDef& operand, const TypePages& type, int language) {
  std::vector<std::wstring> forms;
  try {
    std::vector<OperandCandidate> candidates;
    CollectOperandCandidates(operand.Capacity, type.Memory, candidates);
    for (const OperandCandidate& candidate : candidates) {
      if (candidate.region->Area == kAreaConst) continue;
      const std::wstring name = FormName(candidate);
      auto add = [&](const std::wstring& form) {
        if (std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(form);
      };
      if ((candidate.flags & kKindValue) != 0) add((candidate.flags & kKindIndexed) != 0 ? name + L" (Z)" : name);
      if ((candidate.flags & kKindAddress) != 0) add(L"&" + name);
      if ((candidate.flags & kKindPointer) != 0) add(L"*" + name);
    }
    const bool constant = (ParseOperandFormatFlags(operand.Capacity) & kFormatConstant) != 0;
    std::string out;
    for (const std::wstring& form : forms) out += (out.empty() ? "" : ", ") + Html(form);
    if (constant) {
      std::string text = Text(language, "constant", "常数");
      if (operand.Const == kDataTypeReal) {
        text += " (" + Text(language, "real number", "实数") + ")";
      } else if (operand.Const >= 0 && operand.Const < kDataTypeCount) {
        // The values the instruction takes there: the slot's own range, else its data type's.
        text += " (" + Html(SlotRangeText(type.Memory, operand)) + ")";
      }
      out += (out.empty() ? "" : ", ") + text;
    }
    for (const std::string& limit : OperandLimits(operand, language)) out += Text(language, "; ", "；") + limit;
    return out;
  } catch (const ExceptionError&) {
    return Html(operand.Capacity);  // a format the reader cannot take apart is shown as it stands
  }
}

// Which forms the Admits and Role columns of a type show, for the notes that explain them.
struct ColumnForms {
  bool Addresses = false;    // &VB
  bool Pointers = false;     // *VD
  bool DigitGroups = false;  // KnX
  bool Indexed = false;      // (Z)
  bool Limited = false;      // "only ..."
  bool ReadWrite = false;    // "input and output"
};

ColumnForms FormsOfType(const TypePages& type) {
  ColumnForms forms;
  for (const FunLadRecord& def : type.Library.FunLadList) {
    for (const LadOperand& operand : LadOperands(def)) {
      forms.Limited |= !operand.Def->Addresses.empty();
      forms.ReadWrite |= operand.Def->ReadWrite;
      std::vector<OperandCandidate> candidates;
      try {
        CollectOperandCandidates(operand.Def->Capacity, type.Memory, candidates);
      } catch (const ExceptionError&) {
        continue;
      }
      for (const OperandCandidate& candidate : candidates) {
        forms.Addresses |= (candidate.flags & kKindAddress) != 0;
        forms.Pointers |= (candidate.flags & kKindPointer) != 0;
        forms.Indexed |= (candidate.flags & kKindIndexed) != 0;
        forms.DigitGroups |= (candidate.flags & kKindValue) != 0 && IsDigitGroup(candidate);
      }
    }
  }
  return forms;
}

// The notes that explain the operand tables of the type.
void WriteColumnNotes(std::ostream& out, const TypePages& type, int lang) {
  const ColumnForms forms = FormsOfType(type);
  out << "<ul class=\"notes\">\n<li>"
      << Text(lang,
              "<b>Admits</b> lists what an operand takes: the memory areas by their prefix, then “constant” with the "
              "values a constant may take there.",
              "<b>允许的操作数</b>列出操作数可取的内容：以前缀表示的存储区，然后是“常数”及该处常数可取的值。")
      << "</li>\n";
  auto note = [&](bool shown, const char* english, const char* chinese) {
    if (shown) out << "<li>" << Text(lang, english, chinese) << "</li>\n";
  };
  note(forms.Addresses, "<code>&amp;VB</code>: the address of a byte, <code>&amp;VB100</code>.",
       "<code>&amp;VB</code>：字节的地址，如 <code>&amp;VB100</code>。");
  note(forms.Pointers, "<code>*VD</code>: a pointer, the address held in a double word, <code>*VD200</code>.",
       "<code>*VD</code>：指针，即双字中存放的地址，如 <code>*VD200</code>。");
  note(forms.DigitGroups,
       "<code>KnX</code>, <code>KnY</code>, <code>KnM</code>, <code>KnS</code>: a value made of n groups of "
       "four bits from the bit written after Kn: <code>K1X000</code> is X000 to X003, <code>K4M10</code> the "
       "16 bits M10 to M25. n is 1 to 4 in a 16-bit operand and 1 to 8 in a 32-bit one.",
       "<code>KnX</code>、<code>KnY</code>、<code>KnM</code>、<code>KnS</code>：由 Kn 后所写的位起 n 组"
       "（每组四位）组成的数值：<code>K1X000</code> 为 X000 至 X003，<code>K4M10</code> 为 M10 至 M25 共 16 位。"
       "16 位操作数中 n 为 1 至 4，32 位操作数中为 1 至 8。");
  note(forms.Indexed,
       "(Z): the operand may carry an index register, Z0 to Z7 or V0 to V7, whose value is added to its "
       "number: <code>D100Z1</code> is the data register 100 + Z1, <code>K10Z1</code> the constant 10 + Z1.",
       "(Z)：操作数可带变址寄存器 Z0 至 Z7 或 V0 至 V7，其值加到操作数的编号上：<code>D100Z1</code> 为数据寄存器 "
       "100 + Z1，<code>K10Z1</code> 为常数 10 + Z1。");
  note(forms.Limited,
       "“only” and the addresses after it: in the areas of those addresses the operand takes only them; "
       "its other areas are taken whole.",
       "“仅”及其后的地址：在这些地址所在的区域中操作数只能取这些地址；其他区域不受限制。");
  note(forms.ReadWrite, "<b>input and output</b>: the instruction reads the operand and writes it back.",
       "<b>输入和输出</b>：指令读取该操作数并将结果写回。");
  out << "</ul>\n";
}

// ---- The plan of a type page: the ids of its groups and definitions and its index.

// Natural order for the index: letters without regard to case, digit runs by their value, so
// that SBR2 comes before SBR10.
bool NaturalLess(const std::wstring& a, const std::wstring& b) {
  auto digit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
  auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (digit(a[i]) && digit(b[j])) {
      std::size_t ei = i;
      std::size_t ej = j;
      while (ei < a.size() && digit(a[ei])) ++ei;
      while (ej < b.size() && digit(b[ej])) ++ej;
      std::size_t si = i;
      std::size_t sj = j;
      while (si + 1 < ei && a[si] == L'0') ++si;
      while (sj + 1 < ej && b[sj] == L'0') ++sj;
      const std::wstring x = a.substr(si, ei - si);
      const std::wstring y = b.substr(sj, ej - sj);
      if (x.size() != y.size()) return x.size() < y.size();
      if (x != y) return x < y;
      i = ei;
      j = ej;
      continue;
    }
    if (upper(a[i]) != upper(b[j])) return upper(a[i]) < upper(b[j]);
    ++i;
    ++j;
  }
  if ((a.size() - i) != (b.size() - j)) return (a.size() - i) < (b.size() - j);
  return a < b;
}

// One name of the index with the id of each of its forms, in page order.
struct IndexEntry {
  std::wstring Name;
  std::vector<std::pair<std::size_t, std::string>> Forms;  // operand count, id
};

struct PagePlan {
  std::vector<std::string> LadGroupIds;  // per LadInstructionCatalog group
  std::vector<std::string> StlGroupIds;  // per FunStlGroups entry
  std::vector<std::string> LadIds;       // per FunLad definition
  std::vector<std::string> StlIds;       // per FunStl definition
  std::vector<IndexEntry> LadIndex;
  std::vector<IndexEntry> StlIndex;
};

// The id of a form of a name: the first form of a name takes "<prefix><name>", a further form
// adds its operand count; the entry of the name in the index collects the forms.
std::string FormId(PageIds& ids, std::vector<IndexEntry>& index, const char* prefix, const std::wstring& name,
                   std::size_t count) {
  auto entry = std::find_if(index.begin(), index.end(), [&](const IndexEntry& e) { return e.Name == name; });
  std::string wanted = prefix + IdPart(name);
  if (entry == index.end()) {
    index.push_back({name, {}});
    entry = index.end() - 1;
  } else {
    wanted += "-" + std::to_string(count);
  }
  const std::string id = ids.Take(wanted);
  entry->Forms.emplace_back(count, id);
  return id;
}

PagePlan PlanPage(const InstructionLibrary& library, PageIds& ids) {
  PagePlan plan;
  for (const char* fixed : {"contents", "index", "index-stl", "index-lad", "ladder", "stl", "subroutines"}) {
    ids.Take(fixed);
  }
  for (std::size_t g = 0; g < library.LadInstructionCatalog.size(); ++g) {
    plan.LadGroupIds.push_back(ids.Take("lad-group-" + std::to_string(g + 1)));
  }
  for (std::size_t g = 0; g < library.FunStlGroups.size(); ++g) {
    plan.StlGroupIds.push_back(ids.Take("stl-group-" + std::to_string(g + 1)));
  }
  plan.LadIds.resize(library.FunLadList.size());
  for (const LadInstructionGroup& group : library.LadInstructionCatalog) {
    for (const LadInstructionItem& item : group.Items) {
      for (const LadInstructionVariant& variant : item.Variants) {
        if (variant.Definition < 0 || variant.Definition >= static_cast<int>(library.FunLadList.size())) continue;
        const FunLadRecord& def = library.FunLadList[variant.Definition];
        plan.LadIds[variant.Definition] = FormId(ids, plan.LadIndex, "lad-", def.Name, def.OperandCount());
      }
    }
  }
  plan.StlIds.resize(library.FunStlList.size());
  for (const std::wstring& group : library.FunStlGroups) {
    for (std::size_t s = 0; s < library.FunStlList.size(); ++s) {
      const FunStlRecord& def = library.FunStlList[s];
      if (def.Parent != group) continue;
      plan.StlIds[s] = FormId(ids, plan.StlIndex, "stl-", def.Name, def.Operands.size());
    }
  }
  for (std::vector<IndexEntry>* index : {&plan.LadIndex, &plan.StlIndex}) {
    std::stable_sort(index->begin(), index->end(),
                     [](const IndexEntry& a, const IndexEntry& b) { return NaturalLess(a.Name, b.Name); });
  }
  return plan;
}

// ---- The pages

void PageHead(std::ostream& out, const std::string& title, const std::string& otherPage, int language) {
  out << "<!DOCTYPE html>\n<html lang=\"" << Text(language, "en", "zh-CN") << "\">\n<head>\n<meta charset=\"utf-8\">\n"
      << "<title>" << title << "</title>\n<link rel=\"stylesheet\" href=\"../style.css\">\n</head>\n<body>\n"
      << "<nav><a href=\"index.html\">" << Text(language, "Contents", "目录") << "</a> · <a href=\"instructions.html\">"
      << Text(language, "Instruction reference", "指令参考") << "</a> · <a href=\"" << otherPage << "\">"
      << Text(language, "中文", "English") << "</a></nav>\n";
}

void WriteIndexList(std::ostream& out, const std::vector<IndexEntry>& index) {
  out << "<ul class=\"index\">\n";
  for (const IndexEntry& entry : index) {
    out << "<li><a href=\"#" << entry.Forms.front().second << "\">" << Code(entry.Name) << "</a> <span class=\"forms\">";
    for (std::size_t f = 0; f < entry.Forms.size(); ++f) {
      const std::string count = std::to_string(entry.Forms[f].first);
      out << (f == 0 ? "" : " ");
      if (entry.Forms.size() == 1) {
        out << count;
      } else {
        out << "<a href=\"#" << entry.Forms[f].second << "\">" << count << "</a>";
      }
    }
    out << "</span></li>\n";
  }
  out << "</ul>\n";
}

void WriteContentsAndIndex(std::ostream& out, const TypePages& type, const PagePlan& plan, int lang) {
  const InstructionLibrary& library = type.Library;
  out << "<h2 id=\"contents\">" << Text(lang, "Contents", "目录") << "</h2>\n<div class=\"contents\">\n<div>\n<h3><a href=\"#ladder\">"
      << Text(lang, "Ladder instructions", "梯形图指令") << "</a></h3>\n<ul>\n";
  for (std::size_t g = 0; g < library.LadInstructionCatalog.size(); ++g) {
    out << "<li><a href=\"#" << plan.LadGroupIds[g] << "\">" << Html(library.LadInstructionCatalog[g].Name)
        << "</a></li>\n";
  }
  out << "</ul>\n</div>\n<div>\n<h3><a href=\"#stl\">" << Text(lang, "Statement-list instructions", "语句表指令")
      << "</a></h3>\n<ul>\n";
  for (std::size_t g = 0; g < library.FunStlGroups.size(); ++g) {
    out << "<li><a href=\"#" << plan.StlGroupIds[g] << "\">" << Html(library.FunStlGroups[g]) << "</a></li>\n";
  }
  out << "</ul>\n</div>\n<div>\n<h3><a href=\"#index\">" << Text(lang, "Index", "索引") << "</a></h3>\n<ul>\n<li><a href=\"#index-stl\">"
      << Text(lang, "Statement-list mnemonics", "语句表助记符") << "</a></li>\n<li><a href=\"#index-lad\">"
      << Text(lang, "Ladder names", "梯形图名称") << "</a></li>\n</ul>\n<h3><a href=\"#subroutines\">"
      << Text(lang, "Calling a subroutine", "调用子程序") << "</a></h3>\n</div>\n</div>\n";

  out << "<h2 id=\"index\">" << Text(lang, "Index", "索引") << "</h2>\n<p>"
      << Text(lang,
              "Every statement-list mnemonic and every ladder name of this type in alphabetical order. The number "
              "after a name is the operand count of each of its forms. In a ladder cell you type the ladder name "
              "followed by the operands.",
              "本类型的全部语句表助记符和梯形图名称，按字母顺序排列。名称后的数字是其各形式的操作数个数。"
              "在梯形图单元格中键入梯形图名称，后跟操作数。")
      << "</p>\n<h3 id=\"index-stl\">" << Text(lang, "Statement-list mnemonics", "语句表助记符") << "</h3>\n";
  WriteIndexList(out, plan.StlIndex);
  out << "<h3 id=\"index-lad\">" << Text(lang, "Ladder names", "梯形图名称") << "</h3>\n";
  WriteIndexList(out, plan.LadIndex);
}

// The description part of a ladder definition's GroupName ("display name|width marks|description").
std::wstring GroupDescription(const FunLadRecord& def) {
  if (def.GroupName.empty()) return def.Comment;
  std::vector<std::wstring> parts;
  SplitText(parts, def.GroupName, L"|");
  return parts.size() > 2 ? parts[2] : std::wstring();
}

void WriteLadderDefinition(std::ostream& out, const TypePages& type, const PagePlan& plan, const Relations& relations,
                           const LadInstructionItem& item, int index, int lang) {
  const InstructionLibrary& library = type.Library;
  const FunLadRecord& def = library.FunLadList[index];
  out << "<div class=\"definition\" id=\"" << plan.LadIds[index] << "\">\n<p class=\"variant\">" << Code(def.Name);
  if (!def.Comment.empty() && def.Comment != item.Description) out << " — " << Html(def.Comment);
  if (!relations.LadStl[index].empty()) {
    out << " <span class=\"other-form\">" << Text(lang, "Statement list:", "语句表：");
    for (int s : relations.LadStl[index]) {
      out << " <a href=\"#" << plan.StlIds[s] << "\">" << Code(library.FunStlList[s].Name) << "</a>";
    }
    out << "</span>";
  }
  out << "</p>\n";
  const std::wstring description = GroupDescription(def);
  if (!description.empty() && description != item.Description && description != def.Comment) {
    out << "<p>" << Html(description) << "</p>\n";
  }
  if (def.OperandCount() > 0) {
    out << "<table>\n<tr><th>" << Text(lang, "Operand", "操作数") << "</th><th>" << Text(lang, "Role", "作用")
        << "</th><th>" << Text(lang, "Data type", "数据类型") << "</th><th>" << Text(lang, "Admits", "允许的操作数")
        << "</th></tr>\n";
    const std::vector<LadOperand> operands = LadOperands(def);
    for (std::size_t k : relations.LadOrder[index]) {
      const OperandDef& operand = *operands[k].Def;
      out << "<tr><td>" << Code(operand.Name) << "</td><td>" << RoleText(ShownRole(operand, operands[k].Role), lang)
          << "</td><td>"
          << TypeText(operand.Const, lang) << "</td><td>" << Admitted(operand, type, lang) << "</td></tr>\n";
    }
    out << "</table>\n";
  }
  out << "</div>\n";
}

void WriteLadderSection(std::ostream& out, const TypePages& type, const PagePlan& plan, const Relations& relations,
                        int lang) {
  const InstructionLibrary& library = type.Library;
  out << "<h2 id=\"ladder\">" << Text(lang, "Ladder instructions", "梯形图指令") << "</h2>\n";
  WriteColumnNotes(out, type, lang);
  for (std::size_t g = 0; g < library.LadInstructionCatalog.size(); ++g) {
    const LadInstructionGroup& group = library.LadInstructionCatalog[g];
    out << "<h3 id=\"" << plan.LadGroupIds[g] << "\">" << Html(group.Name) << "</h3>\n";
    for (const LadInstructionItem& item : group.Items) {
      out << "<div class=\"instruction\">\n<h4>" << Html(item.Name) << "</h4>\n";
      if (!item.Description.empty()) out << "<p>" << Html(item.Description) << "</p>\n";
      for (const LadInstructionVariant& variant : item.Variants) {
        if (variant.Definition < 0 || variant.Definition >= static_cast<int>(library.FunLadList.size())) continue;
        WriteLadderDefinition(out, type, plan, relations, item, variant.Definition, lang);
      }
      out << "</div>\n";
    }
  }
}

void WriteStlSection(std::ostream& out, const TypePages& type, const PagePlan& plan, const Relations& relations,
                     int lang) {
  const InstructionLibrary& library = type.Library;
  out << "<h2 id=\"stl\">" << Text(lang, "Statement-list instructions", "语句表指令") << "</h2>\n<p>"
      << Text(lang,
              "The role of an operand is the role of the same operand in the ladder form of the instruction; "
              "\"—\" where the instruction has no ladder form.",
              "操作数的作用即该操作数在指令的梯形图形式中的作用；指令没有梯形图形式时为“—”。")
      << "</p>\n";
  for (std::size_t g = 0; g < library.FunStlGroups.size(); ++g) {
    const std::wstring& group = library.FunStlGroups[g];
    out << "<h3 id=\"" << plan.StlGroupIds[g] << "\">" << Html(group) << "</h3>\n<table class=\"stl\">\n<tr><th>"
        << Text(lang, "Instruction", "指令") << "</th><th>" << Text(lang, "Operand", "操作数") << "</th><th>"
        << Text(lang, "Role", "作用") << "</th><th>" << Text(lang, "Data type", "数据类型") << "</th><th>"
        << Text(lang, "Description", "说明") << "</th><th>" << Text(lang, "Ladder", "梯形图") << "</th></tr>\n";
    for (std::size_t s = 0; s < library.FunStlList.size(); ++s) {
      const FunStlRecord& def = library.FunStlList[s];
      if (def.Parent != group) continue;
      const int ladder = relations.StlLadder[s];
      const std::size_t rows = std::max<std::size_t>(def.Operands.size(), 1);
      const std::string span = rows > 1 ? " rowspan=\"" + std::to_string(rows) + "\"" : "";
      std::vector<LadOperand> ladOperands;
      if (ladder >= 0) ladOperands = LadOperands(library.FunLadList[ladder]);
      out << "<tbody id=\"" << plan.StlIds[s] << "\">\n";
      for (std::size_t row = 0; row < rows; ++row) {
        out << "<tr>";
        if (row == 0) out << "<td" << span << ">" << Code(def.Name) << "</td>";
        if (def.Operands.empty()) {
          out << "<td colspan=\"3\">—</td>";
        } else {
          const OperandDef& operand = def.Operands[row];
          const int k = relations.StlLadderOperand[s][row];
          const int role = k >= 0 && k < static_cast<int>(ladOperands.size())
                               ? ShownRole(*ladOperands[k].Def, ladOperands[k].Role)
                               : kRoleNone;
          out << "<td>" << Code(operand.Name) << "</td><td>" << RoleText(role, lang) << "</td><td>"
              << TypeText(operand.Const, lang) << "</td>";
        }
        if (row == 0) {
          out << "<td" << span << ">" << Html(def.Comment) << "</td><td" << span << ">";
          if (ladder >= 0) {
            out << "<a href=\"#" << plan.LadIds[ladder] << "\">" << Code(library.FunLadList[ladder].Name) << "</a>";
          } else {
            out << "—";
          }
          out << "</td>";
        }
        out << "</tr>\n";
      }
      out << "</tbody>\n";
    }
    out << "</table>\n";
  }
}

// The id of the group with that name, or an empty text.
std::string GroupId(const std::vector<std::wstring>& names, const std::vector<std::string>& ids,
                    const std::wstring& name) {
  const auto at = std::find(names.begin(), names.end(), name);
  return at == names.end() ? std::string() : ids[at - names.begin()];
}

void WriteSubroutineSection(std::ostream& out, const TypePages& type, const PagePlan& plan, int lang) {
  const InstructionLibrary& library = type.Library;
  const int count = library.SubroutineCount;
  out << "<h2 id=\"subroutines\">" << Text(lang, "Calling a subroutine", "调用子程序") << "</h2>\n";
  if (count <= 0) {
    out << "<p>" << Text(lang, "This PLC type has no subroutines.", "本PLC类型没有子程序。") << "</p>\n";
    return;
  }
  auto names = [&](std::wstring (*name)(int)) {
    const std::string first = Code(name(kSubroutineUnitIdBase));
    return count == 1 ? first : first + " … " + Code(name(kSubroutineUnitIdBase + count - 1));
  };
  std::vector<std::wstring> ladGroups;
  for (const LadInstructionGroup& group : library.LadInstructionCatalog) ladGroups.push_back(group.Name);
  auto group = [&](const std::string& id) {
    return id.empty() ? Html(library.SbrParent) : "<a href=\"#" + id + "\">" + Html(library.SbrParent) + "</a>";
  };
  const std::vector<std::string> arguments = {
      std::to_string(count),
      names(SubroutineSymbolName),
      names(SubroutineName),
      library.SbrComment.empty() ? std::string()
                                 : Text(lang, " (“", "（“") + Html(library.SbrComment) + Text(lang, "”)", "”）"),
      group(GroupId(ladGroups, plan.LadGroupIds, library.SbrParent)),
      group(GroupId(library.FunStlGroups, plan.StlGroupIds, library.SbrParent)),
      Code(SubroutineSymbolName(kSubroutineUnitIdBase)),
      Code(SubroutineName(kSubroutineUnitIdBase)),
  };
  out << Fill(Text(lang,
                   "<p>This PLC type has {1} subroutine pages, {2}. Each is called by an instruction of its own, {3}{4}, "
                   "listed in the group {5} of the ladder instructions and in the group {6} of the "
                   "statement-list instructions.</p>\n<ul>\n"
                   "<li>Ladder: the call is a box with the power input EN, labelled with the subroutine's name {7} "
                   "(on a page that shows symbols, the name you gave the subroutine). In a ladder cell type the "
                   "subroutine's name, for example {7}, or its ladder name {8}.</li>\n"
                   "<li>Statement list: the call is the line {8}; a page that shows symbols shows the subroutine's "
                   "name instead, and the name may be typed as well.</li>\n"
                   "<li>When the subroutine's variable table declares IN, IN_OUT or OUT variables, they become the "
                   "operands of the call: in the statement list they follow the call in the order of the variable "
                   "table; in the box IN and IN_OUT stand on the left and OUT on the right.</li>\n</ul>\n",
                   "<p>本PLC类型有 {1} 个子程序页：{2}。每个子程序由其自己的指令 {3} 调用{4}，"
                   "列在梯形图指令的 {5} 组和语句表指令的 {6} 组中。</p>\n<ul>\n"
                   "<li>梯形图：调用是一个带能流输入 EN 的功能块，标有子程序的名称 {7}（在显示符号的页上为您给子程序起的名称）。"
                   "在梯形图单元格中键入子程序的名称，例如 {7}，或其梯形图名称 {8}。</li>\n"
                   "<li>语句表：调用是一行 {8}；显示符号的页上显示子程序的名称，也可以键入该名称。</li>\n"
                   "<li>子程序的变量表声明了 IN、IN_OUT 或 OUT 变量时，它们成为调用的操作数：在语句表中按变量表的顺序跟在调用之后；"
                   "在功能块中 IN 和 IN_OUT 位于左侧，OUT 位于右侧。</li>\n</ul>\n"),
              arguments);
}

void WriteTypePage(std::ostream& out, const TypePages& type, const Language& language, const std::string& file) {
  const int lang = language.Code;
  const std::string title = Html(type.Name) + " — " + Text(lang, "Instruction reference", "指令参考");
  PageHead(out, title, std::string("../") + language.Other + "/" + file, lang);
  out << "<h1>" << title << "</h1>\n<p>" << Html(type.Information) << "</p>\n";

  PageIds ids;
  const PagePlan plan = PlanPage(type.Library, ids);
  const Relations relations = RelateDefinitions(type.Library);
  WriteContentsAndIndex(out, type, plan, lang);
  WriteLadderSection(out, type, plan, relations, lang);
  WriteStlSection(out, type, plan, relations, lang);
  WriteSubroutineSection(out, type, plan, lang);
  out << "</body>\n</html>\n";
}

void WriteIndex(std::ostream& out, const std::vector<TypePages>& types, const Language& language) {
  const int lang = language.Code;
  PageHead(out, Text(lang, "Instruction reference", "指令参考"), std::string("../") + language.Other + "/instructions.html",
           lang);
  out << "<h1>" << Text(lang, "Instruction reference", "指令参考") << "</h1>\n<p>"
      << Text(lang,
              "The instructions of each PLC type, as its instruction library defines them. The index of a type "
              "lists every statement-list mnemonic and every ladder name.",
              "各PLC类型的指令，按其指令库的定义。每个类型的索引列出全部语句表助记符和梯形图名称。")
      << "</p>\n<ul>\n";
  for (const TypePages& type : types) {
    const std::string file = TypeFileName(type.Name);
    out << "<li><a href=\"" << file << "\">" << Html(type.Name) << "</a> — " << Html(type.Information) << " (<a href=\""
        << file << "#index\">" << Text(lang, "index", "索引") << "</a>)</li>\n";
  }
  out << "</ul>\n</body>\n</html>\n";
}

// Reads every type folder of the catalog in the language, in the order of the folder names, each
// library with the type's number of subroutine pages.
std::vector<TypePages> ReadCatalog(const fs::path& catalog, int language) {
  SetCurrentLanguage(language);
  std::vector<fs::path> folders;
  for (const fs::directory_entry& entry : fs::directory_iterator(catalog)) {
    if (entry.is_directory() && fs::exists(entry.path() / "PlcType.xml")) folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end());
  std::vector<TypePages> types;
  for (const fs::path& folder : folders) {
    PlcType record;
    ReadPlcTypeDescription(record, (folder / "PlcType.xml").wstring());
    TypePages type;
    type.Name = record.Name().empty() ? folder.filename().wstring() : record.Name();
    type.Information = record.Description.Information;
    ReadManagerFun(type.Library, (folder / "ManagerFun.xml").wstring(), record.Description.ProgramBlock.SizePageSbr);
    ReadManagerVar(type.Memory, (folder / "ManagerVar.xml").wstring());
    types.push_back(std::move(type));
  }
  return types;
}

// Writes the text to the file through a temporary beside it, so that a page is whole or old.
bool WriteFile(const fs::path& path, const std::string& text) {
  const fs::path temporary = path.string() + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file.good()) return false;
  }
  std::error_code error;
  fs::rename(temporary, path, error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: instruction_help CATALOG_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  const fs::path catalog = argv[1];
  const fs::path output = argv[2];
  // Everything is read before anything is written.
  std::vector<std::pair<fs::path, std::string>> pages;
  try {
    for (const Language& language : kLanguages) {
      const std::vector<TypePages> types = ReadCatalog(catalog, language.Code);
      const fs::path folder = output / language.Folder;
      std::ostringstream index;
      WriteIndex(index, types, language);
      pages.emplace_back(folder / "instructions.html", index.str());
      for (const TypePages& type : types) {
        const std::string file = TypeFileName(type.Name);
        std::ostringstream page;
        WriteTypePage(page, type, language, file);
        pages.emplace_back(folder / file, page.str());
      }
    }
  } catch (const ExceptionError& error) {
    std::fprintf(stderr, "instruction_help: %s\n", platform::ToUtf8Lossy(error.Message()).c_str());
    return 1;
  } catch (const fs::filesystem_error& error) {
    std::fprintf(stderr, "instruction_help: %s\n", error.what());
    return 1;
  }
  for (const auto& [path, text] : pages) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error || !WriteFile(path, text)) {
      std::fprintf(stderr, "instruction_help: cannot write %s\n", path.string().c_str());
      return 1;
    }
  }
  return 0;
}
