#include "core/env/utilities.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "support/memory_clipboard.h"

using namespace Brenno;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes AsBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

}  // namespace

TEST(Utilities, SwapBytesReversesEachUnitOrRefusesARaggedRange) {
  struct Case {
    bool (*swap)(std::span<uint8_t>);
    Bytes in;
    bool ok;
    Bytes out;
  };
  const Bytes eight = {1, 2, 3, 4, 5, 6, 7, 8};
  const Case cases[] = {
      {SwapBytes16, eight, true, {2, 1, 4, 3, 6, 5, 8, 7}},
      {SwapBytes32, eight, true, {4, 3, 2, 1, 8, 7, 6, 5}},
      {SwapBytes64, eight, true, {8, 7, 6, 5, 4, 3, 2, 1}},
      {SwapBytes16, {}, true, {}},
      {SwapBytes16, {1, 2, 3}, false, {1, 2, 3}},
      {SwapBytes32, {1, 2, 3, 4, 5, 6}, false, {1, 2, 3, 4, 5, 6}},
      {SwapBytes64, {1, 2, 3, 4}, false, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    Bytes bytes = c.in;
    EXPECT_EQ(c.swap(bytes), c.ok);
    EXPECT_EQ(bytes, c.out);
  }
  Bytes bytes = eight;
  EXPECT_TRUE(SwapBytes32(bytes.data() + 4, bytes.data() + 8));
  EXPECT_EQ(bytes, (Bytes{1, 2, 3, 4, 8, 7, 6, 5}));
}

TEST(Utilities, Crc16IsModbusCrc) {
  EXPECT_EQ(ComputeCrc16(AsBytes("123456789")), 0x4B37);
  EXPECT_EQ(ComputeCrc16(Bytes{}), 0xFFFF);
  // Read holding registers 0..9 of station 1; on the wire the CRC follows as C5 CD.
  EXPECT_EQ(ComputeCrc16(Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}), 0xCDC5);
}

TEST(Utilities, SplitAndJoinText) {
  struct Case {
    std::wstring text;
    std::wstring separator;
    std::vector<std::wstring> pieces;
  };
  const Case cases[] = {
      {L"", L"|", {}},
      {L"a", L"|", {L"a"}},
      {L"|", L"|", {L"", L""}},
      {L"a|b||c", L"|", {L"a", L"b", L"", L"c"}},
      {L"|a|", L"|", {L"", L"a", L""}},
      {L"${Open}${打开}", L"$", {L"", L"{Open}", L"{打开}"}},
      {L"l1\r\nl2\r\n", L"\r\n", {L"l1", L"l2", L""}},
      {L"aaaa", L"aa", {L"", L"", L""}},  // no overlapping matches
      {L"abc", L"", {L"abc"}},
  };
  for (const Case& c : cases) {
    std::vector<std::wstring> pieces = {L"stale"};
    SplitText(pieces, c.text, c.separator);
    EXPECT_EQ(pieces, c.pieces) << c.text;
    if (c.separator.empty()) continue;
    std::wstring joined = L"stale";
    JoinText(joined, pieces, c.separator);
    EXPECT_EQ(joined, c.text);
  }
  std::wstring joined;
  JoinText(joined, {L"one"}, L", ");
  EXPECT_EQ(joined, L"one");
  JoinText(joined, {L"a", L"b", L"c"}, L", ");
  EXPECT_EQ(joined, L"a, b, c");
}

TEST(Utilities, IndexedNamesComposeAndSplit) {
  struct Compose {
    std::wstring name;
    int index;
    std::wstring text;
  };
  for (const Compose& c : {Compose{L"MOV", 0, L"MOV"}, Compose{L"MOV", 2, L"MOV#2"}, Compose{L"MOV", -1, L"MOV#-1"}}) {
    std::wstring text;
    ComposeIndexedName(text, c.name, c.index);
    EXPECT_EQ(text, c.text);
  }

  struct Split {
    std::wstring text;
    std::wstring name;
    int index;
  };
  const Split cases[] = {
      {L"MOV", L"MOV", 0},      {L"MOV#2", L"MOV", 2},   {L"MOV#-1", L"MOV", -1}, {L"MOV#", L"MOV", 0},
      {L"A#B#3", L"A#B", 3},    {L"LD#2abc", L"LD", 2},  {L"LD#x", L"LD", 0},     {L"#5", L"", 5},
      {L"X#99999999999", L"X", 0},
  };
  for (const Split& c : cases) {
    std::wstring name = L"stale";
    int index = 77;
    SplitIndexedName(name, c.text, index);
    EXPECT_EQ(name, c.name) << c.text;
    EXPECT_EQ(index, c.index) << c.text;
  }
}

TEST(Utilities, IndexedNameRunsColourNameAndSuffix) {
  std::wstring text = L">";
  std::vector<ColorRun> runs = {{1, 4}};
  AppendIndexedNameRuns(12, text, L"PID", runs);
  EXPECT_EQ(text, L">PID#12");
  EXPECT_EQ(runs, (std::vector<ColorRun>{{1, 4}, {3, 0}, {3, 0}}));
  AppendIndexedNameRuns(0, text, L"X", runs);
  EXPECT_EQ(text, L">PID#12X");
  EXPECT_EQ(runs.back(), (ColorRun{0, 0}));
}

TEST(Utilities, MultiByteIsCp936AndRefusesWhatItCannotCarry) {
  std::string bytes;
  ASSERT_TRUE(WStringToMultiByte(L"AB中文", bytes));
  EXPECT_EQ(bytes, "AB\xD6\xD0\xCE\xC4");
  std::wstring text;
  ASSERT_TRUE(MultiByteToWString(bytes, text));
  EXPECT_EQ(text, L"AB中文");

  // Converted texts are zero-ended on the far side: a zero ends them.
  ASSERT_TRUE(WStringToMultiByte(std::wstring(L"ab\0cd", 5), bytes));
  EXPECT_EQ(bytes, "ab");
  ASSERT_TRUE(MultiByteToWString(std::string("xy\0z", 4), text));
  EXPECT_EQ(text, L"xy");

  bytes = "kept";
  EXPECT_FALSE(WStringToMultiByte(L"a\U0001F600", bytes));
  EXPECT_EQ(bytes, "kept");
  text = L"kept";
  EXPECT_FALSE(MultiByteToWString("a\x81", text));  // lead byte without its trail byte
  EXPECT_EQ(text, L"kept");
}

TEST(Utilities, PasswordBlockIsSixteenBytesFilledWithFF) {
  struct Case {
    std::wstring password;
    bool ok;
    std::string head;  // the converted bytes at the start of the block
  };
  const Case cases[] = {
      {L"", true, ""},
      {L"abc", true, "abc"},
      {L"0123456789abcdef", true, "0123456789abcdef"},
      {L"0123456789abcdefg", false, ""},
      {L"中文中文中文中文", true, "\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4"},
      {L"中文中文中文中文a", false, ""},
      {L"\U0001F600", false, ""},
  };
  for (const Case& c : cases) {
    Bytes block = {9};
    EXPECT_EQ(PackPasswordBytes(block, c.password), c.ok);
    if (!c.ok) {
      EXPECT_EQ(block, Bytes{9});
      continue;
    }
    Bytes expected(16, 0xFF);
    std::copy(c.head.begin(), c.head.end(), expected.begin());
    EXPECT_EQ(block, expected);
  }
}

TEST(Utilities, ParseIntWithBaseReadsTheWholeTokenOnly) {
  struct Case {
    int base;
    std::wstring text;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {16, L"1F", true, 31},
      {16, L"0x1F", true, 31},
      {16, L"0X1f", true, 31},
      {16, L"-0x10", true, -16},
      {16, L"7FFFFFFF", true, INT_MAX},
      {16, L"80000000", false, 0},
      {10, L" \t42 \r\n", true, 42},
      {10, L"+7", true, 7},
      {10, L"-2147483648", true, INT_MIN},
      {10, L"2147483647", true, INT_MAX},
      {10, L"2147483648", false, 0},
      {10, L"-2147483649", false, 0},
      {10, L"99999999999999999999999", false, 0},
      {8, L"17", true, 15},
      {8, L"8", false, 0},
      {10, L"", false, 0},
      {10, L"   ", false, 0},
      {10, L"-", false, 0},
      {10, L"- 5", false, 0},
      {10, L"+-5", false, 0},
      // Trailing characters are not ignored: the text must be the number.
      {10, L"12AB", false, 0},
      {10, L"12zz", false, 0},
      {16, L"1g", false, 0},
      {10, L"1 2", false, 0},
      {10, L"0x10", false, 0},
      {16, L"0x", false, 0},
      {16, L"0xg", false, 0},
      {7, L"1", false, 0},
  };
  for (const Case& c : cases) {
    int value = -99;
    EXPECT_EQ(ParseIntWithBase(c.base, c.text, value), c.ok) << c.base << " " << c.text;
    EXPECT_EQ(value, c.ok ? c.value : -99) << c.text;
  }
  int value = 0;
  EXPECT_TRUE(WStringToInt(L"-5", value));
  EXPECT_EQ(value, -5);
  EXPECT_FALSE(WStringToInt(L"1F", value));
}

TEST(Utilities, ParseLeadingIntStopsAtTheFirstCharacterThatEndsTheNumber) {
  struct Case {
    int base;
    std::wstring text;
    bool ok;
    int value;
    size_t consumed;
  };
  const Case cases[] = {
      {10, L"12AB", true, 12, 2},  {10, L" -3x", true, -3, 3}, {16, L"0x1Fz", true, 31, 4},
      {16, L"0xg", true, 0, 1},    {10, L"abc", false, 0, 0},  {10, L"4294967296x", false, 0, 0},
  };
  for (const Case& c : cases) {
    int value = -99;
    size_t consumed = 1234;
    EXPECT_EQ(ParseLeadingInt(c.base, c.text, value, &consumed), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
      EXPECT_EQ(consumed, c.consumed) << c.text;
    }
  }
}

TEST(Utilities, FillWCharVectorAndNormalizeRect) {
  std::vector<wchar_t> chars = {L'q'};
  FillWCharVector(chars, 3, L'x');
  EXPECT_EQ(chars, (std::vector<wchar_t>{L'x', L'x', L'x'}));
  EXPECT_THROW(FillWCharVector(chars, -1, L'x'), std::length_error);

  Rect rect{10, 20, 1, 2};
  NormalizeRect(rect);
  EXPECT_EQ(rect, (Rect{1, 2, 10, 20}));
  rect = {1, 9, 5, 3};
  NormalizeRect(rect);
  EXPECT_EQ(rect, (Rect{1, 3, 5, 9}));
}

TEST(Clipboard, TextAndBlockRoundTripThroughTheInstalledService) {
  testsupport::MemoryClipboard clipboard;
  ASSERT_TRUE(PutClipboardText(L"Network 1\r\nLD I0.0"));
  std::wstring text;
  ASSERT_TRUE(GetClipboardText(text));
  EXPECT_EQ(text, L"Network 1\r\nLD I0.0");

  const Bytes record = {'k', 0, 3, 0, 0, 0, 1, 2, 3};
  ASSERT_TRUE(PutClipboardBlock(record));
  ASSERT_TRUE(clipboard.block.has_value());
  Bytes expected_block = {9, 0, 0, 0};
  expected_block.insert(expected_block.end(), record.begin(), record.end());
  EXPECT_EQ(*clipboard.block, expected_block);
  Bytes read;
  ASSERT_TRUE(GetClipboardBlock(read));
  EXPECT_EQ(read, record);
  EXPECT_FALSE(GetClipboardText(text));  // putting the block emptied the clipboard

  ASSERT_TRUE(PutClipboardBlock({}));
  read = {1};
  ASSERT_TRUE(GetClipboardBlock(read));
  EXPECT_TRUE(read.empty());
}

TEST(Clipboard, BlocksThatAreNotOursAreRefused) {
  testsupport::MemoryClipboard clipboard;
  struct Case {
    Bytes planted;
    bool ok;
    Bytes bytes;
  };
  const Case cases[] = {
      {{}, false, {}},
      {{2, 0, 0}, false, {}},
      {{3, 0, 0, 0, 7, 8}, false, {}},                 // claims more than it holds
      {{0xFF, 0xFF, 0xFF, 0xFF, 1}, false, {}},        // absurd length
      {{2, 0, 0, 0, 7, 8, 0, 0}, true, {7, 8}},        // memory larger than the block
      {{0, 0, 0, 0}, true, {}},
  };
  for (const Case& c : cases) {
    clipboard.block = c.planted;
    Bytes read = {42};
    EXPECT_EQ(GetClipboardBlock(read), c.ok);
    EXPECT_EQ(read, c.ok ? c.bytes : Bytes{42});
  }
}

TEST(Clipboard, FailsWithoutServiceFormatOrAccess) {
  std::wstring text = L"kept";
  Bytes bytes = {1};
  EXPECT_FALSE(PutClipboardText(L"x"));
  EXPECT_FALSE(GetClipboardText(text));
  EXPECT_FALSE(PutClipboardBlock({1}));
  EXPECT_FALSE(GetClipboardBlock(bytes));

  testsupport::MemoryClipboard clipboard;
  clipboard.private_format = false;
  EXPECT_FALSE(PutClipboardBlock({1}));
  EXPECT_FALSE(clipboard.block.has_value());
  clipboard.block = Bytes{1, 0, 0, 0, 5};
  EXPECT_FALSE(GetClipboardBlock(bytes));

  clipboard.private_format = true;
  clipboard.open_fails = true;
  EXPECT_FALSE(PutClipboardText(L"x"));
  EXPECT_FALSE(GetClipboardText(text));
  EXPECT_FALSE(GetClipboardBlock(bytes));
  EXPECT_EQ(text, L"kept");
  EXPECT_EQ(bytes, Bytes{1});
}
