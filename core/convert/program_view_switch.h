// Switching the whole program between ladder and statement-list view, and its operands between
// symbols and absolute addresses. The switch converts page by page; the operand rewriting
// reaches every current network and every network kept in the undo history, so that undo and
// redo restore networks in the current operand form.
#pragma once

#include "core/program/compile_report.h"
#include "core/program/network_undo_log.h"
#include "core/program/program_block.h"

namespace Brenno {

// Mode 1 (statement list) or 2 (ladder); nothing happens when it is the current mode, any other
// mode throws ExceptionLogicError before anything changes. Every unit, and every network that
// fails to convert, is listed in the report when it prints. Pages end symbolic when the
// configuration's SymbolicAddr is set.
void SwitchProgramView(ProgramBlock& program, CompileReport& report, int mode);
void ShowProgramSymbols(ProgramBlock& program);
void ShowProgramAddresses(ProgramBlock& program);

// A statement-list network's lines or a ladder network's grid to symbols or to addresses; a
// network of another kind throws ExceptionLogicError.
void RewriteNetworkOperands(bool symbolic, int pageKey, Network& network);
// Every current network of the page, then every network of every undo step.
void RewriteUndoLogOperands(bool symbolic, int pageKey, NetworkUndoLog& log);

}  // namespace Brenno
