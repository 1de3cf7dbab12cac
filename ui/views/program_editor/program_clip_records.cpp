#include "ui/views/program_editor/program_clip_records.h"

#include "core/env/page_names.h"
#include "core/program/program_block.h"
#include "core/project/clipboard_records.h"

namespace Brenno {

const uint8_t* WriteClipNetworkRecord(StreamBytes& bytes, std::string_view key, const std::vector<Network>& networks) {
  EncodeStructField(bytes, key, networks, EncodeClipNetworks);
  return bytes.data();
}

const uint8_t* WriteClipElementRecord(StreamBytes& bytes, std::string_view key,
                                      const std::vector<LadElement>& elements) {
  EncodeStructField(bytes, key, elements, EncodeClipElements);
  return bytes.data();
}

void ReadClipNetworkRecord(std::string_view key, StreamBuffer buffer, std::vector<Network>& networks,
                           const StreamRecords& records) {
  DecodeStructField(key, buffer, records, networks, DecodeClipNetworks);
}

void ReadClipElementRecord(std::string_view key, StreamBuffer buffer, std::vector<LadElement>& elements,
                           const StreamRecords& records) {
  DecodeStructField(key, buffer, records, elements, DecodeClipElements);
}

void ListLadDefsOfKind(std::vector<const FunLadRecord*>& out, const InstructionLibrary& library, int kind) {
  out.clear();
  for (const FunLadRecord& def : library.FunLadList) {
    if (def.Look == kind) out.push_back(&def);
  }
}

bool IsSubroutineCallDef(const FunLadRecord& def, const InstructionLibrary& library) {
  const std::vector<FunLadRecord>& table = library.FunLadList;
  if (table.empty() || &def < table.data() || &def >= table.data() + table.size()) return false;
  const long index = &def - table.data();
  const long first = static_cast<long>(table.size()) - library.SubroutineCount;
  return index >= first;
}

int FindCallTargetPage(const ProgramBlock& program, const FunLadRecord& def) {
  int key = FindPageKeyByAddress(program.InterruptTable, def.Name, kWorkingPages);
  if (key == -1) key = FindPageKeyByAddress(program.SubroutineTable, def.Name, kWorkingPages);
  return key;
}

std::vector<ElementChoice> BuildElementChoices(const InstructionLibrary& library, const ProgramBlock& program,
                                               int kind) {
  std::vector<const FunLadRecord*> defs;
  ListLadDefsOfKind(defs, library, kind);
  std::vector<ElementChoice> choices;
  for (const FunLadRecord* def : defs) {
    ElementChoice choice;
    choice.DefinitionIndex = static_cast<int>(def - library.FunLadList.data());
    switch (kind) {
      case kLadLookCont: choice.Text = L"-|" + def->Keyword + L"|-"; break;
      case kLadLookCoil: choice.Text = L"-(" + def->Keyword + L")"; break;
      case kLadLookBlock:
        if (IsSubroutineCallDef(*def, library)) {
          const int page = FindCallTargetPage(program, *def);
          if (page == -1) continue;
          program.DescribeProgramUnitKey(page, choice.Text);
        } else {
          choice.Text = def->Keyword;
        }
        break;
      case kLadLookFxCont:
      case kLadLookFxCoil:
      case kLadLookFxBlock: choice.Text = def->Name; break;
      default: continue;
    }
    choices.push_back(std::move(choice));
  }
  return choices;
}

}  // namespace Brenno
