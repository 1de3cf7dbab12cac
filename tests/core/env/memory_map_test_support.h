// Helpers of the memory-map tests: the fixture maps of the two test PLC types and small
// "ManagerVar.xml" files written into a temporary folder.
#pragma once

#include <fstream>
#include <string>

#include "core/env/manager_var_reader.h"
#include "core/env/memory_area_manager.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

namespace memorymaptest {

inline std::wstring Wide(const std::string& text) { return platform::FromUtf8Lossy(text); }

// The memory map of a fixture type: "TypeA" (FxMode 0) or "TypeFx" (FxMode 1).
inline Brenno::MemoryAreaManager LoadFixtureManager(const std::string& type) {
  Brenno::MemoryAreaManager manager;
  Brenno::ReadManagerVar(manager, Wide(testsupport::FixturePath("catalog/Orvisto/" + type + "/ManagerVar.xml")));
  return manager;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// A complete file: the root with the given attributes, the given regions, then the Local and
// Const regions every map needs.
inline std::string ManagerVarText(const std::string& regions,
                                  const std::string& rootAttributes = "FxMode=\"0\" PrefixAutoBase=\"10\"") {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ManagerVar " + rootAttributes + ">\n" + regions +
         "  <Region Slot=\"14\" Name=\"L\" Area=\"Local\" AreaBegin=\"0\" AreaEnd=\"0\"/>\n"
         "  <Region Slot=\"15\" Name=\"K\" Area=\"Const\"/>\n</ManagerVar>\n";
}

}  // namespace memorymaptest
