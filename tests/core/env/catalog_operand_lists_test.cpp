// The operand lists of the contacts and coils in the catalogs we ship and test with. The editor
// dialogs find these definitions by the sizes of their three operand lists: every contact, edge
// contacts included, keeps the bit it reads in OperandIn; a coil keeps the bit it writes in
// OperandOut and what it reads (a set coil's count, a timer's set value) in OperandIn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/env/instruction_library.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace Brenno;

namespace {

std::size_t CountShape(const InstructionLibrary& library, const std::wstring& name, std::size_t id, std::size_t in,
                       std::size_t out) {
  std::size_t count = 0;
  for (const FunLadRecord& record : library.FunLadList) {
    if (record.Name == name && record.OperandId.size() == id && record.OperandIn.size() == in &&
        record.OperandOut.size() == out) {
      ++count;
    }
  }
  return count;
}

}  // namespace

TEST(CatalogOperandLists, ContactsReadInputsAndCoilsWriteOutputs) {
  const struct {
    const char* file;  // below tests/fixtures
    bool fx;
    bool shipped;  // the fixture of type A keeps a set coil's count among its outputs, as older sets did
  } catalogs[] = {
      {"catalog/Orvisto/TypeA/ManagerFun.xml", false, false},
      {"catalog/Orvisto/TypeFx/ManagerFun.xml", true, false},
      {"../../catalog/Orvisto/CPU-Feldrin-CM3/ManagerFun.xml", false, true},
      {"../../catalog/Orvisto/CPU-Feldrin-FX/ManagerFun.xml", true, true},
  };
  for (const auto& c : catalogs) {
    SCOPED_TRACE(c.file);
    InstructionLibrary library;
    ReadManagerFun(library, platform::FromUtf8Lossy(testsupport::FixturePath(c.file)), 1);
    for (const FunLadRecord& record : library.FunLadList) {
      if (c.shipped && (record.Look == kLadLookCoil || record.Look == kLadLookFxCoil)) {
        EXPECT_TRUE(record.OperandId.empty() && record.OperandOut.size() <= 1) << platform::ToUtf8Lossy(record.Name);
      }
    }
    if (!c.fx) continue;
    // The mnemonics of the instruction input box name exactly one definition of each shape.
    EXPECT_EQ(CountShape(library, library.LadFxNameLd, 0, 1, 0), 1u);
    EXPECT_EQ(CountShape(library, library.LadFxNameLdi, 0, 1, 0), 1u);
    EXPECT_EQ(CountShape(library, library.LadFxNameLdp, 0, 1, 0), 1u);
    EXPECT_EQ(CountShape(library, library.LadFxNameLdf, 0, 1, 0), 1u);
    EXPECT_EQ(CountShape(library, library.LadFxNameCoil, 0, 0, 1), 1u);
    // The timer and counter coil: the shipped set has one for the timers and 16-bit counters
    // and one for the 32-bit counters, which the device typed tells apart.
    EXPECT_EQ(CountShape(library, library.LadFxNameCoil, 0, 1, 1), c.shipped ? 2u : 1u);
  }
}
