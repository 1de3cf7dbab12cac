// The project aggregate of the workbench: the PLC type it belongs to, its own copies of the
// type's instruction library and memory-area library (set when the type is selected), the cross
// reference and search index, the online cache, the symbol table, the program, the data blocks,
// the system block and the status chart. Every member is held by value: copying a project copies
// everything but the catalog entry it points at, and the copy is independent of its source.
#pragma once

#include "core/env/instruction_library.h"
#include "core/env/memory_area_manager.h"
#include "core/program/online_cache.h"
#include "core/program/program_block.h"
#include "core/project/cross_reference.h"
#include "core/project/symbol_table.h"
#include "core/project/data_block_table.h"
#include "core/project/project_environment.h"
#include "core/project/status_chart.h"
#include "core/project/system_block_table.h"

namespace Brenno {

class PlcType;

class Project {
 public:
  // The catalog entry of the project's type (not owned); null until a type is selected.
  const PlcType* Type = nullptr;
  InstructionLibrary Instructions;
  MemoryAreaManager MemoryAreas;
  // Operand uses and search results; rebuilt on request, never stored.
  CrossReferIndex CrossReferences;
  SymbolTable Symbols;
  // Values the online monitor reads from the PLC.
  OnlineCache Online;
  ProgramBlock Program;
  DataBlockTable DataBlocks;
  SystemBlockTable SystemBlocks;
  Brenno::StatusChart StatusChart;
};

// The current project: the last element of the installed environment's project list. Throws
// ExceptionLogicError when no environment is installed or the list is empty.
Project& CurrentProject();

}  // namespace Brenno
