// Operands shown as symbols across a project: the program's networks (with their undo history),
// the data block rows and the status chart rows hold symbol names in place of addresses while
// symbolic addressing is on, and addresses otherwise.
#pragma once

namespace Brenno {

class Project;

// Every operand of the three that is an address of a symbol becomes its name, and back.
void ShowProjectSymbols(Project& project);
void ShowProjectAddresses(Project& project);

// The scope of an edit of the symbols (the global symbol table or a page's local variables):
// while symbolic addressing is on, the operands are written as addresses when the scope begins
// and as the names the tables then give when it ends, so that what a rung already shows follows
// the edit at once. The operands keep their meaning: a new symbol names its address, a renamed
// one shows its new name, a removed one leaves its address. Nothing happens while addressing
// is absolute.
class SymbolEditScope {
 public:
  explicit SymbolEditScope(Project& project);
  ~SymbolEditScope();
  SymbolEditScope(const SymbolEditScope&) = delete;
  SymbolEditScope& operator=(const SymbolEditScope&) = delete;

 private:
  Project* project_;
};

}  // namespace Brenno
