// A small program of one PLC type for rendering pages outside the workbench (the render
// program, the render tests and the paint benchmark): the type's instruction library and memory
// map, a few global symbols, sample ladder and statement-list pages, and an online cache with
// values for them. While it lives, its program services are the installed ones.
#pragma once

#include <map>
#include <string>

#include "core/env/instruction_library.h"
#include "core/env/memory_area_manager.h"
#include "core/program/online_cache.h"
#include "core/program/program_page.h"
#include "core/program/program_services.h"

namespace Brenno {

class SampleProgram final : public ProgramServices {
 public:
  // Reads "ManagerFun.xml" and "ManagerVar.xml" of the PLC type folder; errors of the readers
  // pass to the caller.
  explicit SampleProgram(const std::wstring& typeFolder);
  ~SampleProgram() override;
  SampleProgram(const SampleProgram&) = delete;
  SampleProgram& operator=(const SampleProgram&) = delete;

  // Ladder networks: a rung of contacts and a coil with a Chinese comment, a compare contact
  // feeding a move box, a parallel branch with a set coil.
  ProgramPage LadderPage() const;
  // The same logic as statement-list lines, with line comments.
  ProgramPage StlPage() const;
  // A ladder page of n networks, the sample rungs repeated.
  ProgramPage LargeLadderPage(size_t networks) const;

  // Snapshots of the sample cache: offline, or online with the sample values (I0.0 on, I0.1
  // off, VB0 = 5, VW2 = 1234, Q0.0 on) and a debug record with a break point on the first step
  // of the second network and the current step on the second step of the first.
  OnlineCacheSnapshot Offline() const;
  OnlineCacheSnapshot Online() const;

  const InstructionLibrary& Library() const override { return library_; }
  const MemoryAreaManager& MemoryMap() const override { return memoryMap_; }
  bool LookupSymbolNamePrefixed(std::wstring& text, int pageId) const override;
  bool LookupOperandSymbolPrefixed(std::wstring& text, int pageId) const override;
  bool ReplacePageNameByReferenceName(std::wstring&) const override { return false; }
  bool ReplaceReferenceNameByPageName(std::wstring&) const override { return false; }
  bool ReplacePageAddressByName(std::wstring&) const override { return false; }
  bool ReplacePageNameByAddress(std::wstring&) const override { return false; }

 private:
  InstructionLibrary library_;
  MemoryAreaManager memoryMap_;
  std::map<std::wstring, std::wstring> symbols_;  // name -> address
  OnlineCache cache_;
};

}  // namespace Brenno
