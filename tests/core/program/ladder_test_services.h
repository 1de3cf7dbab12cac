// The program services of a small project for the ladder tests: the fixture instruction
// library and memory map of TypeA (or TypeFx), a few global symbols, local variables of page 0
// and a subroutine table with SBR_0 renamed to "Pump".
#pragma once

#include <map>
#include <string>
#include <utility>

#include "core/env/instruction_library.h"
#include "core/env/manager_var_reader.h"
#include "core/env/memory_area_manager.h"
#include "core/env/page_names.h"
#include "core/program/program_services.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

namespace ladder_test {

struct TablePageRecord {
  std::wstring Name;
  std::wstring Address;
};

struct SubroutineTable {
  std::map<int, TablePageRecord> Working;
  std::map<int, TablePageRecord> Reference;
};

class FakeProgramServices : public Brenno::ProgramServices {
 public:
  explicit FakeProgramServices(const std::string& type = "TypeA", int subroutines = 2) {
    const std::string folder = "catalog/Orvisto/" + type + "/";
    Brenno::ReadManagerFun(library, platform::FromUtf8Lossy(testsupport::FixturePath(folder + "ManagerFun.xml")),
                           subroutines);
    Brenno::ReadManagerVar(memoryMap,
                           platform::FromUtf8Lossy(testsupport::FixturePath(folder + "ManagerVar.xml")));
    for (int i = 0; i < subroutines; ++i) {
      const int key = Brenno::SubroutineUnitKey(i);
      subroutineTable.Reference[key] = {Brenno::DefaultProgramUnitName(key), Brenno::ProgramUnitAddress(key)};
      subroutineTable.Working[key] = subroutineTable.Reference[key];
    }
    subroutineTable.Working[Brenno::SubroutineUnitKey(0)].Name = L"Pump";
    globals = {{L"Start", L"I0.0"}, {L"Motor", L"Q0.1"}, {L"Count", L"VW10"}};
    locals[0] = {{L"speed", L"LW0"}};
    Brenno::InstallProgramServices(this);
  }
  ~FakeProgramServices() override { Brenno::InstallProgramServices(nullptr); }

  const Brenno::InstructionLibrary& Library() const override { return library; }
  const Brenno::MemoryAreaManager& MemoryMap() const override { return memoryMap; }

  bool LookupSymbolNamePrefixed(std::wstring& text, int pageId) const override {
    auto [prefix, rest] = SplitPrefix(text);
    const bool localOnly = !rest.empty() && rest[0] == L'#';
    const std::wstring name = localOnly ? rest.substr(1) : rest;
    if (!localOnly) {
      for (const auto& [symbol, address] : globals) {
        if (symbol == name) return Replace(text, prefix + address);
      }
    }
    if (const auto page = locals.find(pageId); page != locals.end()) {
      for (const auto& [symbol, address] : page->second) {
        if (symbol == name) return Replace(text, prefix + address);
      }
    }
    return false;
  }

  bool LookupOperandSymbolPrefixed(std::wstring& text, int pageId) const override {
    auto [prefix, rest] = SplitPrefix(text);
    for (const auto& [symbol, address] : globals) {
      if (address == rest) return Replace(text, prefix + symbol);
    }
    if (const auto page = locals.find(pageId); page != locals.end()) {
      for (const auto& [symbol, address] : page->second) {
        if (address == rest) return Replace(text, prefix + L"#" + symbol);
      }
    }
    return false;
  }

  bool ReplacePageNameByReferenceName(std::wstring& text) const override {
    return Brenno::ReplacePageNameByReferenceName(subroutineTable, text);
  }
  bool ReplaceReferenceNameByPageName(std::wstring& text) const override {
    return Brenno::ReplaceReferenceNameByPageName(subroutineTable, text);
  }
  bool ReplacePageAddressByName(std::wstring& text) const override {
    return Brenno::ReplacePageAddressByName(subroutineTable, text);
  }
  bool ReplacePageNameByAddress(std::wstring& text) const override {
    return Brenno::ReplacePageNameByAddress(subroutineTable, text);
  }

  Brenno::InstructionLibrary library;
  Brenno::MemoryAreaManager memoryMap;
  SubroutineTable subroutineTable;
  std::map<std::wstring, std::wstring> globals;
  std::map<int, std::map<std::wstring, std::wstring>> locals;

 private:
  static std::pair<std::wstring, std::wstring> SplitPrefix(const std::wstring& text) {
    if (!text.empty() && (text[0] == L'&' || text[0] == L'*')) return {text.substr(0, 1), text.substr(1)};
    return {L"", text};
  }
  static bool Replace(std::wstring& text, std::wstring value) {
    text = std::move(value);
    return true;
  }
};

}  // namespace ladder_test
