// Switching the whole program between ladder and statement-list view, and its operands between
// symbols and absolute addresses. The switch converts page by page; the operand rewriting
// reaches every current network and every network kept in the undo history, so that undo and
// redo restore networks in the current operand form.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "core/convert/stl_generation.h"
#include "core/program/compile_report.h"
#include "core/program/network_undo_log.h"
#include "core/program/program_block.h"

namespace Brenno {

// Mode 1 (statement list) or 2 (ladder); nothing happens when it is the current mode, any other
// mode throws ExceptionLogicError before anything changes. Every unit, and every network that
// fails to convert, is listed in the report when it prints. Pages end symbolic when the
// configuration's SymbolicAddr is set.
void SwitchProgramView(ProgramBlock& program, CompileReport& report, int mode);

// Statement-list forms of ladder networks worked out beforehand, by page key and network index:
// MakeStlForm of each network with its operands as addresses, as the compiler works them out.
using PreparedStlForms = std::map<int, std::vector<std::optional<StlForm>>>;
// The switch to mode 1 takes a prepared form instead of working it out again; the forms must
// have been made from the program as it stands (the forms taken are emptied).
void SwitchProgramView(ProgramBlock& program, CompileReport& report, int mode, PreparedStlForms& prepared);
void ShowProgramSymbols(ProgramBlock& program);
void ShowProgramAddresses(ProgramBlock& program);

// A statement-list network's lines or a ladder network's grid to symbols or to addresses; a
// network of another kind throws ExceptionLogicError.
void RewriteNetworkOperands(bool symbolic, int pageKey, Network& network);
// Every current network of the page, then every network of every undo step.
void RewriteUndoLogOperands(bool symbolic, int pageKey, NetworkUndoLog& log);

}  // namespace Brenno
