#include "core/compiler/block_compilers.h"

#include <optional>
#include <utility>

#include "core/compiler/argument_words.h"
#include "core/compiler/data_words.h"
#include "core/compiler/instruction_words.h"
#include "core/compiler/system_words.h"
#include "core/env/exception_error.h"
#include "core/env/plc_type.h"
#include "core/compiler/block_report.h"
#include "core/program/compile_report.h"
#include "core/program/ladder_grid.h"
#include "core/convert/converter_model.h"
#include "core/convert/stl_generation.h"
#include "core/program/program_block.h"
#include "core/convert/program_view_switch.h"
#include "core/project/local_var_table.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

const PlcTypeDescription* DescriptionOf(const Project& project) {
  return project.Type ? &project.Type->Description : nullptr;
}

int DataBlockCapacity(const Project& project) {
  const PlcTypeDescription* d = DescriptionOf(project);
  if (!d) return 0;
  const long long capacity = static_cast<long long>(d->DataBlock.SizePage) * d->DataBlock.SizeItem * 8;
  return capacity > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(capacity);
}

int SystemBlockCapacity(const Project& project) {
  const PlcTypeDescription* d = DescriptionOf(project);
  return d ? d->SystemBlockSizeBinary : 0;
}

int ConstantCapacity(const Project& project) {
  const PlcTypeDescription* d = DescriptionOf(project);
  return d ? d->ProgramBlock.SizeBinaryConst : 0;
}

int InstructionCapacity(const Project& project) {
  const PlcTypeDescription* d = DescriptionOf(project);
  return d ? d->ProgramBlock.SizeBinaryInstruction : 0;
}

void ReportProgramSize(CompileReport& report, const Project& project, const BinaryImage& image) {
  ReportProgramBlockSize(ConstantCapacity(project), 4 * CountImageItems(image.ProgramInstructions), report,
                         4 * static_cast<long long>(image.ProgramConsts.size()), InstructionCapacity(project));
}

// The program's units hold their interface in area order (IN, IN_OUT, OUT) and within their
// row limit, and only subroutines have one. Arguments a unit cannot hold would be lost or
// reordered (changing which call operand is which) by normalising, so they fail the page.
void CheckDecodedArguments(const ProgramBlock& program, const SymbolTable& symbols, int key,
                           const LocalVarTable& variables) {
  if (variables.empty()) return;
  if (!program.SubroutineTable.HasReferencePage(key)) throw ExceptionParseBinaryArgumentError();
  const int limit = LocalVarLimit(program, symbols, key);
  if (limit >= 0 && variables.size() > static_cast<size_t>(limit)) throw ExceptionParseBinaryArgumentError();
  for (size_t i = 1; i < variables.size(); ++i) {
    if (variables[i].Area < variables[i - 1].Area) throw ExceptionParseBinaryArgumentError();
  }
}

// What rewriting the operands of the whole program refuses: a network of a kind other than
// statement list and ladder, or a corrupt ladder element, in a page or in its undo history
// (ExceptionLogicError).
void CheckRewritableNetworks(const ProgramBlock& program) {
  const auto check = [](const Network& network) {
    if (network.Kind != kNetworkStl && network.Kind != kNetworkLad) throw ExceptionLogicError();
    if (network.Kind == kNetworkLad) {
      for (const LadElement& element : network.Grid.Elements) CheckLadElement(element);
    }
  };
  for (const int key : program.ListProgramBlockKeys()) {
    const NetworkUndoLog& log = program.GetProgramPage(key).UndoLog;
    for (const Network& network : log.Networks) check(network);
    for (const NetworkUndoStep& step : log.Steps) {
      for (const NetworkEditRecord& record : step) {
        for (const Network& network : record.Before) check(network);
        for (const Network& network : record.After) check(network);
      }
    }
  }
}

// The networks of the page with the key as statement lists of addresses: a copy of each
// network's current form (its other form and its comments are not needed), its operands turned
// into addresses and a ladder converted. A network that does not convert is counted and
// reported under the page's name and its position; the others still convert. With `forms`, entry
// i is set for each ladder network that converted, without its lines yet (they are in the
// returned network i).
std::vector<Network> StatementListsOfAddresses(const ProgramBlock& program, int key, CompileReport& report,
                                               std::vector<std::optional<StlForm>>* forms) {
  const std::vector<Network>& source = program.GetProgramPage(key).Networks();
  std::vector<Network> networks(source.size());
  if (forms != nullptr) forms->assign(source.size(), std::nullopt);
  for (size_t i = 0; i < source.size(); ++i) {
    Network& network = networks[i];
    network.Kind = source[i].Kind;
    if (network.Kind == kNetworkLad) {
      network.Grid = source[i].Grid;
    } else {
      network.Lines = source[i].Lines;
    }
    RewriteNetworkOperands(false, key, network);
    if (network.Kind != kNetworkLad) continue;
    try {
      StlForm form = MakeStlForm(ConverterLibrary(), network);
      if (forms != nullptr) (*forms)[i] = StlForm{{}, form.Empty};
      ApplyStlForm(form, network);
    } catch (const ExceptionError& error) {
      ReportProgramNetworkError(program, key, error, report, static_cast<int>(i));
    }
  }
  return networks;
}

}  // namespace

int StoreDataBlockPage(int key, const std::vector<DataRow>& rows, DataBlockTable& table) {
  const auto reference = table.Reference.find(key);
  if (reference == table.Reference.end()) return -1;
  const auto& titles = reference->second;
  table.Working.insert_or_assign(key, MakeDataBlockPage(titles.Name, titles.Address, titles.Comment, rows));
  return key;
}

int StoreSystemPage(SystemBlockTable& table, const std::vector<uint8_t>& bytes, int key) {
  const auto reference = table.Reference.find(key);
  if (reference == table.Reference.end()) return -1;
  const auto& titles = reference->second;
  table.Working.insert_or_assign(key, MakeSystemPage(titles.Name, titles.Address, titles.Comment, bytes));
  return key;
}

// ---------------------------------------------------------------- encoders

void EncodeDataBlocks(CompileReport& report, BinaryImage& image) {
  const Project& project = CurrentProject();
  DataBlockTable copy = project.DataBlocks;
  ShowDataBlockAddresses(copy);
  const std::vector<int> keys = copy.ListKeys();
  if (report.Print) ReportCompilingDataBlock(report);
  report.BeginSection();
  for (const int key : keys) {
    if (report.Print) ReportDataPageName(report, copy, key);
    // Rows that are not complete stay out of the image; each is named, so that a clean compile
    // does not hide an initial value that will not reach the PLC.
    ReportIncompleteDataRows(report, copy, key);
    try {
      std::vector<uint32_t> words;
      EncodeDataRows(copy.GetPage(key), words);
      image.DataPages.insert_or_assign(key, std::move(words));
    } catch (const ExceptionError& error) {
      ReportDataPageError(copy, key, error, report);
    }
  }
  if (report.EndSection() == 0) {
    long long words = 0;
    for (const int key : keys) {
      const auto found = image.DataPages.find(key);
      if (found != image.DataPages.end()) words += static_cast<long long>(found->second.size());
    }
    ReportDataBlockSize(DataBlockCapacity(project), report, 4 * words);
  }
}

void EncodeSystemBlock(CompileReport& report, BinaryImage& image) {
  const Project& project = CurrentProject();
  const SystemBlockTable& table = project.SystemBlocks;
  const std::vector<int> keys = table.ListKeys();
  if (report.Print) ReportCompilingSystemBlock(report);
  report.BeginSection();
  for (const int key : keys) {
    if (report.Print) ReportSystemPageName(report, table, key);
    try {
      std::vector<uint8_t> bytes;
      EncodeSystemPage(table.GetPage(key), bytes);
      image.SystemPages.insert_or_assign(key, std::move(bytes));
    } catch (const ExceptionError& error) {
      ReportSystemPageError(table, key, error, report);
    }
  }
  if (report.EndSection() == 0) {
    long long bytes = 0;
    for (const int key : keys) {
      const auto found = image.SystemPages.find(key);
      if (found != image.SystemPages.end()) bytes += static_cast<long long>(found->second.size());
    }
    ReportSystemBlockSize(SystemBlockCapacity(project), report, bytes);
  }
}

void EncodeProgramBlocks(CompileReport& report, BinaryImage& image) { EncodeProgramBlocks(report, image, nullptr); }

void EncodeProgramBlocks(CompileReport& report, BinaryImage& image, PreparedStlForms* forms) {
  const Project& project = CurrentProject();
  const ProgramBlock& program = project.Program;
  // What rewriting the whole program to addresses refuses, it refuses before anything compiles.
  CheckRewritableNetworks(program);
  const std::vector<int> keys = program.ListProgramBlockKeys();
  if (report.Print) ReportCompilingProgramBlock(report);

  report.BeginSection();
  for (const int key : keys) {
    try {
      std::vector<uint32_t> words;
      EncodeArguments(program.GetProgramPage(key).LocalVars, words);
      image.ProgramArguments.insert_or_assign(key, std::move(words));
    } catch (const ExceptionError& error) {
      ReportProgramPageError(program, key, error, report);
    }
  }
  if (report.EndSection() != 0) return;

  report.BeginSection();
  for (const int key : keys) {
    if (report.Print) ReportProgramPageName(report, program, key);
    // The page's networks as statement lists of addresses, made aside one page at a time: the
    // project keeps its form, and its undo history is not copied.
    std::vector<Network> networks;
    std::vector<std::optional<StlForm>>* pageForms = forms != nullptr ? &(*forms)[key] : nullptr;
    report.BeginSection();
    try {
      networks = StatementListsOfAddresses(program, key, report, pageForms);
    } catch (const ExceptionError& error) {
      ReportProgramPageError(program, key, error, report);
      if (pageForms != nullptr) pageForms->clear();
    }
    if (report.EndSection() == 0) {
      report.BeginSection();
      std::vector<uint32_t> words;
      EncodeNetworks(image, report, program, key, networks, words);
      if (report.EndSection() == 0) image.ProgramInstructions.insert_or_assign(key, std::move(words));
    }
    // The converted lines, no longer needed here, are the forms the caller asked for.
    if (pageForms != nullptr) {
      for (size_t i = 0; i < pageForms->size(); ++i) {
        if ((*pageForms)[i].has_value()) (*pageForms)[i]->Lines = std::move(networks[i].Lines);
      }
    }
  }
  if (report.EndSection() == 0) {
    long long words = 0;
    for (const int key : keys) {
      const auto found = image.ProgramInstructions.find(key);
      if (found != image.ProgramInstructions.end()) words += static_cast<long long>(found->second.size());
    }
    ReportProgramBlockSize(ConstantCapacity(project), 4 * words, report,
                           4 * static_cast<long long>(image.ProgramConsts.size()), InstructionCapacity(project));
  }
}

// ---------------------------------------------------------------- decoders

void DecodeDataBlocks(CompileReport& report, const BinaryImage& image) {
  Project& project = CurrentProject();
  DataBlockTable& table = project.DataBlocks;
  if (report.Print) ReportCompilingDataBlock(report);
  report.BeginSection();
  for (const auto& [key, words] : image.DataPages) {
    if (report.Print) ReportDataPageName(report, table, key);
    try {
      std::vector<DataRow> rows;
      DecodeDataRows(rows, words);
      // More rows than a data block may hold would be cut by normalising: the page fails instead.
      if (table.SizeItem >= 0 && rows.size() > static_cast<size_t>(table.SizeItem)) {
        throw ExceptionParseBinaryDataError();
      }
      StoreDataBlockPage(key, rows, table);
    } catch (const ExceptionError& error) {
      ReportDataPageError(table, key, error, report);
    }
  }
  if (report.EndSection() != 0) return;
  ReportDataBlockSize(DataBlockCapacity(project), report, 4 * CountImageItems(image.DataPages));
  NormalizeDataBlocks(table);
  if (ConfiguredSymbolicAddressing()) ShowDataBlockSymbols(table);
}

void DecodeSystemBlock(CompileReport& report, const BinaryImage& image) {
  Project& project = CurrentProject();
  SystemBlockTable& table = project.SystemBlocks;
  if (report.Print) ReportCompilingSystemBlock(report);
  report.BeginSection();
  for (const auto& [key, bytes] : image.SystemPages) {
    if (report.Print) ReportSystemPageName(report, table, key);
    try {
      std::vector<uint8_t> page;
      DecodeSystemPage(page, bytes);
      StoreSystemPage(table, page, key);
    } catch (const ExceptionError& error) {
      ReportSystemPageError(table, key, error, report);
    }
  }
  if (report.EndSection() != 0) return;
  ReportSystemBlockSize(SystemBlockCapacity(project), report, CountImageItems(image.SystemPages));
  CheckSystemPagesCompatible(table);
}

void DecodeProgramBlocks(CompileReport& report, const BinaryImage& image) {
  Project& project = CurrentProject();
  ProgramBlock& program = project.Program;
  if (report.Print) ReportCompilingProgramBlock(report);

  report.BeginSection();
  for (const auto& [key, instructionWords] : image.ProgramInstructions) {
    try {
      ProgramPage page;
      ProgramPage::Create(page);
      const auto arguments = image.ProgramArguments.find(key);
      if (arguments != image.ProgramArguments.end()) {
        DecodeArguments(page.LocalVars, arguments->second);
        CheckDecodedArguments(program, project.Symbols, key, page.LocalVars);
      }
      // Words of a unit the PLC type does not have cannot be placed: the upload is not whole.
      if (program.StoreProgramPage(key, page) == -1) throw ExceptionParseBinaryError();
    } catch (const ExceptionError& error) {
      ReportProgramPageError(program, key, error, report);
    }
  }
  if (report.EndSection() != 0) return;

  const bool symbolic = ConfiguredSymbolicAddressing();
  program.ViewMode = kViewModeStl;
  program.InterruptTable.StampBlockPages(symbolic, kViewModeStl);
  program.SubroutineTable.StampBlockPages(symbolic, kViewModeStl);
  NormalizeAllLocalVarTables(program, project.Symbols);
  UpdateAllSubroutineInterfaces(program, project.Symbols);

  report.BeginSection();
  for (const auto& [key, instructionWords] : image.ProgramInstructions) {
    if (report.Print) ReportProgramPageName(report, program, key);
    report.BeginSection();
    ProgramPage& page = program.GetProgramPage(key);
    DecodeNetworks(image, report, program, key, page, instructionWords);
    // More networks than the unit may hold would be cut by normalising: the page fails instead.
    const int limit = program.InterruptTable.HasReferencePage(key) ? program.Limits.SizeItemInt
                                                                    : program.Limits.SizeItemSbr;
    if (limit >= 0 && page.NetworkCount() > limit) {
      ReportProgramPageError(program, key, ExceptionParseBinaryInstructionError(), report);
    }
    report.EndSection();
  }
  if (report.EndSection() != 0) return;
  ReportProgramSize(report, project, image);
  // Pages the PLC held beyond the type's limits are cut to fit; the user is told what went.
  for (const ProgramBlockCut& cut : program.NormalizeProgramBlocks(project.Symbols.Sizes)) {
    std::wstring unit;
    program.DescribeProgramUnitKey(cut.Key, unit);
    if (report.Print) report.WriteLine(L"    " + DescribeProgramBlockCut(cut, unit));
  }
  if (symbolic) ShowProgramSymbols(program);
}

}  // namespace Brenno
