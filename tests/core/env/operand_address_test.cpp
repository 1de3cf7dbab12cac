#include "core/env/operand_address.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/env/operand_word.h"
#include "memory_map_test_support.h"

using namespace Brenno;

namespace {

const MemoryAreaManager& TypeA() {
  static const MemoryAreaManager manager = memorymaptest::LoadFixtureManager("TypeA");
  return manager;
}
const MemoryAreaManager& TypeFx() {
  static const MemoryAreaManager manager = memorymaptest::LoadFixtureManager("TypeFx");
  return manager;
}

const MemoryRegion& RegionNamed(const MemoryAreaManager& manager, const std::wstring& name) {
  for (const MemoryRegion& region : manager.Regions) {
    if (region.Name == name) return region;
  }
  throw std::runtime_error("no region");
}

std::string Narrow(const std::wstring& text) { return platform::ToUtf8Lossy(text); }

}  // namespace

TEST(OperandAddress, Tokenize) {
  struct Case {
    const wchar_t* text;
    std::vector<std::wstring> tokens;
  } const cases[] = {
      {L"I", {L"", L"I", L"0"}},
      {L"I.3", {L"", L"I", L"0", L".", L"3"}},
      {L"VB100", {L"", L"VB", L"100"}},
      {L"K4M10", {L"", L"K", L"4", L"M", L"10"}},
      {L"D100Z1", {L"", L"D", L"100", L"Z", L"1"}},
      {L"&vb1", {L"&", L"VB", L"1"}},
      {L"*VD2", {L"*", L"VD", L"2"}},
      {L"I0.", {L"", L"I", L"0", L".", L"0"}},
      {L"5", {L"", L"", L"5"}},
      {L"2X1", {L"", L"2X", L"1"}},
      {L"", {L"", L"0"}},
  };
  for (const Case& c : cases) EXPECT_EQ(TokenizeOperandText(c.text), c.tokens) << Narrow(c.text);
}

TEST(OperandAddress, ScanAndPrint) {
  struct Case {
    const wchar_t* text;
    bool scans;
    OperandAddress address;
    const wchar_t* printed;
  } const cases[] = {
      {L"i0.0", true, {kKindValue, L"I", L"0", L"0", -1, -1}, L"I0.0"},
      {L"I 0 . 0", true, {kKindValue, L"I", L"0", L"0", -1, -1}, L"I0.0"},
      {L"I", true, {kKindValue, L"I", L"0", L"", -1, -1}, L"I0"},
      {L"I0.", true, {kKindValue, L"I", L"0", L"0", -1, -1}, L"I0.0"},
      {L"&VB100", true, {kKindAddress, L"VB", L"100", L"", -1, -1}, L"&VB100"},
      {L"*VD200", true, {kKindPointer, L"VD", L"200", L"", -1, -1}, L"*VD200"},
      {L"K4M10", true, {kKindValue, L"M", L"10", L"", 4, -1}, L"K4M10"},
      {L"D0Z1", true, {kKindIndexed, L"D", L"0", L"", -1, 1}, L"D0Z1"},
      {L"D0Z", true, {kKindIndexed, L"D", L"0", L"", -1, 0}, L"D0Z"},
      {L"D0V", true, {kKindIndexed, L"D", L"0", L"", -1, 8}, L"D0V"},
      {L"D0V7", true, {kKindIndexed, L"D", L"0", L"", -1, 15}, L"D0V7"},
      {L"D0Z1.3", true, {kKindIndexed, L"D", L"0", L"3", -1, 1}, L"D0Z1.3"},
      {L"I0.0Z1", false, {}, nullptr},
      {L"D0Z8", false, {}, nullptr},
      {L"&D0Z1", false, {}, nullptr},
      {L"K9M10", false, {}, nullptr},
      {L"K0M10", false, {}, nullptr},
      {L"VB1A", false, {}, nullptr},
  };
  for (const Case& c : cases) {
    OperandAddress address;
    ASSERT_EQ(ScanOperandText(c.text, address), c.scans) << Narrow(c.text);
    if (!c.scans) continue;
    EXPECT_EQ(address, c.address) << Narrow(c.text);
    std::wstring printed;
    ASSERT_TRUE(PrintOperandAddress(address, printed));
    EXPECT_EQ(printed, c.printed);
  }
  std::wstring printed = L"keep";
  EXPECT_FALSE(PrintOperandAddress({3, L"V", L"0", L"", -1, -1}, printed));
  EXPECT_EQ(printed, L"keep");
}

// Text -> fields -> word -> text on the fixture maps, in both word layouts.
TEST(OperandAddress, TextToWordAndBack) {
  struct Case {
    bool fx;
    const wchar_t* text;
    OperandFields fields;  // kind, slot, width, byte, bit, group, index
    const wchar_t* canonical;
  } const cases[] = {
      {false, L"I0.0", {kKindValue, 0, kWidthBit, 0, 0, 0, 0}, L"I0.0"},
      {false, L"q15.7", {kKindValue, 1, kWidthBit, 15, 7, 0, 0}, L"Q15.7"},
      {false, L"vb0100", {kKindValue, 4, kWidthByte, 100, 0, 0, 0}, L"VB100"},
      {false, L"VW101", {kKindValue, 4, kWidthWord, 101, 0, 0, 0}, L"VW101"},
      {false, L"&VB100", {kKindAddress, 4, kWidthByte, 100, 0, 0, 0}, L"&VB100"},
      {false, L"*VD200", {kKindPointer, 4, kWidthDword, 200, 0, 0, 0}, L"*VD200"},
      {false, L"*AC1", {kKindPointer, 11, kWidthDword, 4, 0, 0, 0}, L"*AC1"},
      {false, L"AIW2", {kKindValue, 5, kWidthWord, 2, 0, 0, 0}, L"AIW2"},
      {false, L"T37", {kKindValue, 7, kWidthBit, 4, 5, 0, 0}, L"T37"},
      {false, L"SM0.1", {kKindValue, 3, kWidthBit, 0, 1, 0, 0}, L"SM0.1"},
      {false, L"LD60", {kKindValue, 14, kWidthDword, 60, 0, 0, 0}, L"LD60"},
      {true, L"X17", {kKindValue, 0, kWidthBit, 1, 7, 0, 0}, L"X17"},
      {true, L"y177", {kKindValue, 1, kWidthBit, 15, 7, 0, 0}, L"Y177"},
      {true, L"K4M10", {kKindValue, 2, kWidthWord, 1, 2, 3, 0}, L"K4M10"},
      {true, L"K8M0", {kKindValue, 2, kWidthDword, 0, 0, 7, 0}, L"K8M0"},
      {true, L"K2X4", {kKindValue, 0, kWidthWord, 0, 4, 1, 0}, L"K2X4"},
      {true, L"M8000", {kKindValue, 2, kWidthBit, 1000, 0, 0, 0}, L"M8000"},
      {true, L"D0Z1", {kKindIndexed, 8, kWidthWord, 0, 0, 0, 1}, L"D0Z1"},
      {true, L"D4095V", {kKindIndexed, 8, kWidthWord, 8190, 0, 0, 8}, L"D4095V"},
      {true, L"D100", {kKindValue, 8, kWidthWord, 200, 0, 0, 0}, L"D100"},
      {true, L"T5", {kKindValue, 4, kWidthBit, 0, 5, 0, 0}, L"T5"},
  };
  for (const Case& c : cases) {
    const MemoryAreaManager& manager = c.fx ? TypeFx() : TypeA();
    OperandAddress address;
    OperandFields fields;
    ASSERT_TRUE(ScanOperandText(c.text, address)) << Narrow(c.text);
    ASSERT_TRUE(MatchOperandText(fields, manager, address)) << Narrow(c.text);
    EXPECT_EQ(fields, c.fields) << Narrow(c.text);
    OperandWord word = 0;
    ASSERT_TRUE(OperandTextToWord(c.text, manager, word));
    OperandFields unpacked;
    UnpackOperandWord(word, manager, unpacked);
    if (!c.fx) unpacked.group = c.fields.group, unpacked.index = c.fields.index;
    EXPECT_EQ(unpacked, c.fields) << Narrow(c.text);
    std::wstring text;
    ASSERT_TRUE(OperandWordToText(manager, text, word)) << Narrow(c.text);
    EXPECT_EQ(text, c.canonical);
    std::wstring normal = c.text;
    ASSERT_TRUE(NormalizeOperandText(manager, normal));
    EXPECT_EQ(normal, c.canonical);
  }
}

TEST(OperandAddress, TextsThatAreNoOperand) {
  struct Case {
    bool fx;
    const wchar_t* text;
  } const cases[] = {
      {false, L"I0.8"},     // bit beyond the byte
      {false, L"I16.0"},    // beyond the region
      {false, L"I0"},       // bit part missing
      {false, L"VB100.1"},  // superfluous bit part
      {false, L"&VW100"},   // an address needs a byte access
      {false, L"*VW200"},   // a pointer needs a double word
      {false, L"&AIW0"},    // kind not in the region's Use
      {false, L"AIW1"},     // Step Word needs an even position
      {false, L"VD8189"},   // last double word is VD8188
      {false, L"VB8192"},
      {false, L"K4M10"},    // no digit groups in this map
      {false, L"D0Z1"},     // no index registers here
      {false, L"10Z1"},
      {true, L"X18"},       // not an octal number: refused, not read as X1
      {true, L"X200"},      // beyond 16 bytes
      {true, L"M10.1"},
      {true, L"K9M10"},
      {true, L"&D0Z1"},
      {true, L"D0Z8"},
      {true, L"D4096"},
      {true, L"D0Z1.3"},    // an indexed word has no bit part
  };
  for (const Case& c : cases) {
    const MemoryAreaManager& manager = c.fx ? TypeFx() : TypeA();
    OperandWord word = 0;
    EXPECT_FALSE(OperandTextToWord(c.text, manager, word)) << Narrow(c.text);
    std::wstring text = c.text;
    EXPECT_FALSE(NormalizeOperandText(manager, text));
    EXPECT_EQ(text, c.text);
  }
}

TEST(OperandAddress, AccessShapesAndDigitGroups) {
  const MemoryRegion& m = RegionNamed(TypeFx(), L"M");
  const MemoryAccess& bitAccess = m.Accesses[0];
  const MemoryAccess& wordAccess = m.Accesses[1];
  EXPECT_EQ(ShapeOfAccess(bitAccess), AccessShape::A);
  EXPECT_EQ(ShapeOfAccess(wordAccess), AccessShape::C);
  OperandAddress address;
  OperandFields fields;
  ASSERT_TRUE(ScanOperandText(L"M10", address));
  EXPECT_FALSE(ComputeOperandOffset(m, wordAccess, address, fields));  // digit groups required
  ASSERT_TRUE(ScanOperandText(L"K4M10", address));
  EXPECT_FALSE(ComputeOperandOffset(m, bitAccess, address, fields));   // not allowed on bits
  ASSERT_TRUE(ComputeOperandOffset(m, wordAccess, address, fields));
  EXPECT_EQ(fields.group, 3);

  // A shape-B bit access that counts in words: V10.15 is byte 2 x 10 + 1, bit 7.
  MemoryRegion v = RegionNamed(TypeA(), L"V");
  MemoryAccess wordBits{L"", kWidthBit, kWidthWord, kWidthWord, {}};
  ASSERT_TRUE(ScanOperandText(L"V10.15", address));
  ASSERT_TRUE(ComputeOperandOffset(v, wordBits, address, fields));
  EXPECT_EQ(fields.byte, 21);
  EXPECT_EQ(fields.bit, 7);
  OperandAddress built;
  ASSERT_TRUE(BuildOperandAddress(fields, wordBits, v, built));
  EXPECT_EQ(built.number, L"10");
  EXPECT_EQ(built.bit, L"15");
  ASSERT_TRUE(ScanOperandText(L"V10.16", address));
  EXPECT_FALSE(ComputeOperandOffset(v, wordBits, address, fields));

  // A word whose digit groups are wider than its access has no text: K8 on a Word access would
  // not read back.
  OperandWord word = 0;
  PackOperandWord(word, TypeFx(), {kKindValue, 2, kWidthWord, 1, 2, 7, 0});
  std::wstring text = L"keep";
  EXPECT_FALSE(OperandWordToText(TypeFx(), text, word));
  PackOperandWord(word, TypeFx(), {kKindValue, 2, kWidthWord, 1, 2, 1, 0});
  ASSERT_TRUE(OperandWordToText(TypeFx(), text, word));
  EXPECT_EQ(text, L"K2M10");

  // Width Bit with only one of Step and Offset Bit has no shape.
  EXPECT_EQ(ShapeOfAccess({L"", kWidthBit, kWidthBit, kWidthByte, {}}), AccessShape::None);
  EXPECT_EQ(ShapeOfAccess({L"", kWidthWord, kWidthBit, kWidthByte, {}}), AccessShape::None);
}

TEST(OperandAddress, NumbersPrintWithRadixAndLength) {
  MemoryRegion region;
  region.Name = L"X";
  region.AreaEnd = 64;
  region.Use = kKindValue;
  region.OffsetBase = 16;
  region.OffsetLength = 3;
  region.OffsetBegin = 0;
  MemoryAccess access{L"", kWidthBit, kWidthBit, kWidthBit, {}};
  OperandAddress address;
  ASSERT_TRUE(BuildOperandAddress({kKindValue, 0, kWidthBit, 31, 7, 0, 0}, access, region, address));
  EXPECT_EQ(address.number, L"0ff");
  region.OffsetBase = 10;
  region.OffsetLength = 0;
  region.OffsetBegin = 100;
  ASSERT_TRUE(BuildOperandAddress({kKindValue, 0, kWidthBit, 0, 1, 0, 0}, access, region, address));
  EXPECT_EQ(address.number, L"101");
  // Numbers below the region's first number are no operand.
  OperandFields fields;
  ASSERT_TRUE(ScanOperandText(L"X99", address));
  EXPECT_FALSE(ComputeOperandOffset(region, access, address, fields));
}

TEST(OperandAddress, AccessRanges) {
  struct Case {
    bool fx;
    const wchar_t* region;
    size_t access;
    const wchar_t* first;
    const wchar_t* last;
  } const cases[] = {
      {false, L"I", 0, L"I0.0", L"I15.7"},
      {false, L"V", 2, L"VW0", L"VW8190"},
      {false, L"V", 3, L"VD0", L"VD8188"},
      {false, L"AI", 0, L"AIW0", L"AIW62"},
      {false, L"T", 0, L"T0", L"T255"},
      {true, L"X", 0, L"X0", L"X177"},
      {true, L"M", 1, L"K4M0", L"K4M8176"},
      {true, L"M", 2, L"K8M0", L"K8M8160"},
      {true, L"D", 1, L"D0", L"D4094"},
  };
  for (const Case& c : cases) {
    const MemoryRegion& region = RegionNamed(c.fx ? TypeFx() : TypeA(), c.region);
    std::wstring first;
    std::wstring last;
    DescribeAccessRange(region, region.Accesses[c.access], first, last);
    EXPECT_EQ(first, c.first) << Narrow(c.region);
    EXPECT_EQ(last, c.last) << Narrow(c.region);
  }
}

TEST(OperandAddress, MarkerValues) {
  const MemoryRegion& sm = RegionNamed(TypeA(), L"SM");
  const MemoryRegion& m = RegionNamed(TypeFx(), L"M");
  struct Case {
    const MemoryRegion* region;
    const wchar_t* text;
    const wchar_t* value;
  } const cases[] = {
      {&sm, L"SM0.0", L"Always on"}, {&sm, L"SM0.1", L"First scan"}, {&sm, L"SM0.2", L""},
      {&sm, L"SM1.0", L""},          {&m, L"M8000", L"RUN monitor"}, {&m, L"M8001", L""},
  };
  for (const Case& c : cases) {
    OperandAddress address;
    ASSERT_TRUE(ScanOperandText(c.text, address));
    std::wstring value = L"old";
    EXPECT_TRUE(FindMarkerValue(address, *c.region, c.region->Accesses[0], value));
    EXPECT_EQ(value, c.value) << Narrow(c.text);
  }
  // -1 in either field of a pair drops that condition; the last matching marker wins.
  MemoryAccess access;
  access.Markers = {{-1, 10, -1, -1, L"any"}, {20, 30, -1, -1, L"twenties"}};
  MemoryRegion region;
  region.OffsetBase = 10;
  OperandAddress address;
  ASSERT_TRUE(ScanOperandText(L"X25", address));
  std::wstring value;
  FindMarkerValue(address, region, access, value);
  EXPECT_EQ(value, L"twenties");
  ASSERT_TRUE(ScanOperandText(L"X99", address));
  FindMarkerValue(address, region, access, value);
  EXPECT_EQ(value, L"any");
}

TEST(OperandWord, PackingLayouts) {
  MemoryAreaManager fx0;
  MemoryAreaManager fx1;
  fx1.FxMode = 1;
  OperandWord word = 0;
  PackOperandWord(word, fx0, {kKindValue, 3, kWidthByte, 100, 0, 0, 0});
  EXPECT_EQ(word, 0x00640131u);
  PackOperandWord(word, fx1, {kKindIndexed, 5, kWidthWord, 10, 0, 3, 1});
  EXPECT_EQ(word, 0x005012B9u);

  OperandFields fields;
  UnpackOperandWord(0x005012B9u, fx1, fields);
  EXPECT_EQ(fields, (OperandFields{kKindIndexed, 5, kWidthWord, 10, 0, 3, 1}));
  UnpackOperandWord(0xFFFF7F42u, fx0, fields);
  EXPECT_EQ(fields, (OperandFields{kKindPointer, 4, 15, 0xFFFF, 7, 0, 0}));

  EXPECT_THROW(UnpackOperandWord(0x3u, fx0, fields), ExceptionLogicError);
  EXPECT_THROW(UnpackOperandWord(0x2u, fx1, fields), ExceptionLogicError);
  EXPECT_THROW(UnpackOperandWord(0x3u, fx1, fields), ExceptionLogicError);
  EXPECT_THROW(PackOperandWord(word, fx0, {kKindIndexed, 0, 0, 0, 0, 0, 0}), ExceptionLogicError);
  EXPECT_THROW(PackOperandWord(word, fx1, {kKindAddress, 0, 0, 0, 0, 0, 0}), ExceptionLogicError);
  EXPECT_THROW(PackOperandWord(word, fx1, {kKindPointer, 0, 0, 0, 0, 0, 0}), ExceptionLogicError);

  // The raw forms copy the kind code as it stands.
  PackOperandWordRaw(word, fx0, {3, 1, kWidthBit, 2, 3, 0, 0});
  EXPECT_EQ(word, 0x00023013u);
  UnpackOperandWordRaw(word, fx0, fields);
  EXPECT_EQ(fields.kind, 3);
}

TEST(OperandWord, PositionsBeyondTheirFieldAreRefusedNotCut) {
  MemoryAreaManager fx0;
  MemoryAreaManager fx1;
  fx1.FxMode = 1;
  OperandWord word = 0x12345678u;
  struct Case {
    const MemoryAreaManager* manager;
    OperandFields fields;
  } const cases[] = {
      {&fx0, {kKindValue, 0, kWidthByte, 65536, 0, 0, 0}},
      {&fx0, {kKindValue, 16, kWidthByte, 0, 0, 0, 0}},
      {&fx0, {kKindValue, 0, kWidthByte, -1, 0, 0, 0}},
      {&fx1, {kKindValue, 0, kWidthWord, 8192, 0, 0, 0}},
      {&fx1, {kKindValue, 32, kWidthWord, 0, 0, 0, 0}},
      {&fx1, {kKindValue, 0, kWidthBit, 0, 8, 0, 0}},
      {&fx1, {kKindValue, 0, kWidthWord, 0, 0, 8, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_THROW(PackOperandWord(word, *c.manager, c.fields), ExceptionLogicError);
    EXPECT_EQ(word, 0x12345678u);
  }
  PackOperandWord(word, fx0, {kKindValue, 15, kWidthByte, 65535, 0, 0, 0});
  EXPECT_EQ(word >> 16, 0xFFFFu);
  PackOperandWord(word, fx1, {kKindValue, 31, kWidthWord, 8191, 0, 0, 0});
  EXPECT_EQ(word >> 19, 8191u);

  // A map whose region reaches beyond the word: the text is an operand of the map, but it cannot
  // be packed, and the conversion says so instead of writing another address.
  MemoryAreaManager big = TypeFx();
  for (MemoryRegion& region : big.Regions) {
    if (region.Name == L"D") region.AreaEnd = 20000;
  }
  EXPECT_TRUE(OperandTextToWord(L"D4095", big, word));
  try {
    OperandTextToWord(L"D4096", big, word);
    FAIL();
  } catch (const ExceptionLogicError& error) {
    EXPECT_NE(error.Message().find(L"byte position 8192"), std::wstring::npos) << Narrow(error.Message());
  }
}
