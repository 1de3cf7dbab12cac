#include "core/project/tagged_stream.h"

#include <gtest/gtest.h>

#include <map>

#include "core/env/exception_error.h"

using namespace Brenno;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A raw record: key, zero, little-endian length, value.
Bytes Record(std::string_view key, const Bytes& value) {
  Bytes bytes(key.begin(), key.end());
  bytes.push_back(0);
  const uint32_t n = static_cast<uint32_t>(value.size());
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(n >> (8 * i)));
  bytes.insert(bytes.end(), value.begin(), value.end());
  return bytes;
}

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

StreamRecords Split(const Bytes& bytes) {
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  return records;
}

template <class F>
void ExpectStreamError(F&& f) {
  EXPECT_THROW(f(), ExceptionParseStreamError);
}

int32_t DecodeWholeInt(const Bytes& bytes) {
  int32_t value = 0;
  DecodeIntValue(bytes, 0, static_cast<uint32_t>(bytes.size()), value);
  return value;
}

}  // namespace

TEST(TaggedStream, KeyedIntegerFieldHasTheDocumentedBytes) {
  Bytes bytes;
  EncodeIntField(bytes, "#1", 7);
  const Bytes expected = {0x23, 0x31, 0x00, 0x0B, 0x00, 0x00, 0x00, 0x3A, 0x64, 0x00,
                          0x04, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00};
  EXPECT_EQ(bytes, expected);

  StreamRecords records;
  SplitStreamRecords(bytes, records);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0], (StreamRecordRef{0, 7, 18}));
  int32_t value = 0;
  DecodeIntField("#1", bytes, records, value);
  EXPECT_EQ(value, 7);
}

TEST(TaggedStream, ScalarFormsEncodeAndDecode) {
  Bytes bytes;
  EncodeStringValue(bytes, L"");
  EXPECT_EQ(bytes, (Bytes{0x3A, 0x73, 0x00, 0x00, 0x00, 0x00, 0x00}));

  bytes.clear();
  EncodeFlagValue(bytes, static_cast<uint8_t>(2));
  EXPECT_EQ(bytes, Record(":t", {2}));
  uint8_t flag = 0;
  DecodeFlagValue(bytes, 0, static_cast<uint32_t>(bytes.size()), flag);
  EXPECT_EQ(flag, 2);  // read back as stored

  bytes.clear();
  EncodeByteValue(bytes, 0xA5);
  EXPECT_EQ(bytes, Record(":b", {0xA5}));

  bytes.clear();
  EncodeIntValue(bytes, -2);
  EXPECT_EQ(bytes, Record(":d", {0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(DecodeWholeInt(bytes), -2);

  // ASCII byte for byte, Chinese as two-byte code page 936 characters.
  bytes.clear();
  EncodeStringValue(bytes, L"A\x4E2D");
  EXPECT_EQ(bytes, Record(":s", {0x41, 0xD6, 0xD0}));
  std::wstring text = L"old";
  DecodeStringValue(bytes, 0, static_cast<uint32_t>(bytes.size()), text);
  EXPECT_EQ(text, L"A\x4E2D");
}

TEST(TaggedStream, TextStopsAtZero) {
  // A value with a zero byte inside reads up to the zero; a written text stops at its first
  // zero character.
  const Bytes value = Record(":s", {'a', 'b', 0, 'c'});
  std::wstring text;
  DecodeStringValue(value, 0, static_cast<uint32_t>(value.size()), text);
  EXPECT_EQ(text, L"ab");

  Bytes bytes;
  EncodeStringValue(bytes, std::wstring(L"xy\0z", 4));
  EXPECT_EQ(bytes, Record(":s", Text("xy")));
}

TEST(TaggedStream, TextOutsideCodePage936IsAnErrorNotAnEmptyText) {
  Bytes bytes = {9};
  try {
    EncodeStringField(bytes, "#4", L"snow \x2603");
    FAIL() << "no error";
  } catch (const ExceptionParseStreamError& error) {
    EXPECT_NE(error.Message().find(L"snow \x2603"), std::wstring::npos);
  }
  EXPECT_EQ(bytes, Bytes{9});  // nothing half written

  // Bytes that are not code page 936 text are refused too, instead of reading as empty.
  const Bytes bad = Record(":s", {0x81, 0x20});
  std::wstring text = L"kept";
  ExpectStreamError([&] { DecodeStringValue(bad, 0, static_cast<uint32_t>(bad.size()), text); });
  EXPECT_EQ(text, L"kept");
}

TEST(TaggedStream, ACollectorTakesTextsThatDoNotConvertAsEmptyAndKeepsTheirRecords) {
  // Reading: the ":s" record at offset 7 of the field holds bytes that are not code page 936.
  const Bytes field = Record("#1", Record(":s", {0x81, 0x20}));
  std::wstring text = L"old";
  {
    StreamTextCollector collector;
    DecodeStringField("#1", field, Split(field), text);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(collector.Offsets(), std::vector<uint32_t>{7});
  }
  // Without the collector the same bytes are an error again.
  ExpectStreamError([&] { DecodeStringField("#1", field, Split(field), text); });

  // Writing: the text goes out empty; the collector keeps the place and the text.
  Bytes bytes = {9};
  StreamTextCollector collector;
  EncodeStringField(bytes, "#4", L"snow \x2603");
  EncodeStringValue(bytes, L"ok");
  EncodeStringValue(bytes, L"\x2603");
  EXPECT_EQ(bytes, Concat({Bytes{9}, Record("#4", Record(":s", {})), Record(":s", Text("ok")), Record(":s", {})}));
  EXPECT_EQ(collector.Offsets(), (std::vector<uint32_t>{8, 24}));
  EXPECT_EQ(collector.Texts(), (std::vector<std::wstring>{L"snow \x2603", L"\x2603"}));
}

TEST(TaggedStream, SplitterRefusesEveryShortRecord) {
  const Bytes good = Concat({Record("#1", Text("abc")), Record("", {}), Record("#2", {})});
  StreamRecords records;
  SplitStreamRecords(good, records);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(RecordKey(good, records[1]), "");  // an empty key is a record like any other
  EXPECT_EQ(records[2].EndOffset, good.size());

  // An empty range has no records.
  SplitStreamRecords(good, 4, 4, records);
  EXPECT_TRUE(records.empty());

  const Bytes cases[] = {
      Concat({Record("#1", {}), Text("#2x")}),             // three bytes without a zero
      Concat({Text("#1"), Bytes{0, 1, 0, 0}}),             // length field cut short
      Concat({Text("#1"), Bytes{0, 5, 0, 0, 0, 1, 2}}),    // value cut short
      Concat({Text("#1"), Bytes{0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}}),  // length with top bit
      Concat({Text("#1"), Bytes{0, 0x00, 0x00, 0x00, 0x80}}),
  };
  for (const Bytes& bytes : cases) {
    records.assign(2, StreamRecordRef{});
    ExpectStreamError([&] { SplitStreamRecords(bytes, records); });
  }

  // A range reaching past the buffer is refused instead of read.
  ExpectStreamError([&] { SplitStreamRecords(good, 0, static_cast<uint32_t>(good.size()) + 1, records); });
}

TEST(TaggedStream, KeysOfEveryLengthAreReadWhole) {
  // Key ends on either side of the first eight bytes, near the end of a range or not. Keys of
  // 01 bytes, whose neighbour the zero byte borrows from when eight bytes are looked at as one
  // number, and of bytes with the top bit set, are read as whole as any other.
  for (size_t length = 0; length <= 20; ++length) {
    for (const char fill : {'k', '\x01', '\x80', '\xFF'}) {
      for (const Bytes& value : {Bytes{}, Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}}) {
        const std::string key(length, fill);
        const Bytes bytes = Concat({Record(key, value), Record("#2", {})});
        StreamRecords records;
        SplitStreamRecords(bytes, records);
        ASSERT_EQ(records.size(), 2u) << length;
        EXPECT_EQ(RecordKey(bytes, records[0]), key);
        EXPECT_EQ(records[0].EndOffset - records[0].ValueOffset, value.size());
        EXPECT_EQ(RecordKey(bytes, records[1]), "#2");
        // A range that ends inside the key (its zero byte lies beyond) is refused.
        for (uint32_t end = 1; end <= length; ++end) {
          ExpectStreamError([&] { SplitStreamRecords(bytes, 0, end, records); });
        }
      }
    }
  }
}

TEST(TaggedStream, LongInterleavedListsKeepTheirOrder) {
  Bytes bytes;
  for (int i = 0; i < 40; ++i) {
    EncodeIntField(bytes, i % 2 == 0 ? "#2" : "#3", i);
    if (i % 3 == 0) EncodeStringField(bytes, "#1", L"other");
  }
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  std::vector<int32_t> even, odd;
  const auto decodeInt = [](StreamBuffer b, uint32_t v, uint32_t e, int32_t& t) { DecodeIntValue(b, v, e, t); };
  DecodeStructList("#2", bytes, records, even, decodeInt);
  DecodeStructList("#3", bytes, records, odd, decodeInt, int32_t{-1});
  ASSERT_EQ(even.size(), 20u);
  ASSERT_EQ(odd.size(), 20u);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(even[i], 2 * i);
    EXPECT_EQ(odd[i], 2 * i + 1);
  }
}

TEST(TaggedStream, NestedRangesAreSplitInPlace) {
  Bytes bytes;
  EncodeStructField(bytes, "outer", [](StreamBytes& out) {
    EncodeIntField(out, "#1", 1);
    EncodeStringField(out, "#2", L"two");
  });
  StreamRecords top;
  SplitStreamRecords(bytes, top);
  ASSERT_EQ(top.size(), 1u);
  StreamRecords inner;
  SplitStreamRecords(bytes, top[0].ValueOffset, top[0].EndOffset, inner);
  ASSERT_EQ(inner.size(), 2u);
  EXPECT_EQ(inner[0].KeyOffset, top[0].ValueOffset);  // offsets count from the buffer start
  std::wstring text;
  DecodeStringField("#2", bytes, inner, text);
  EXPECT_EQ(text, L"two");
}

TEST(TaggedStream, MalformedScalarsThrow) {
  const Bytes cases[] = {
      Record(":d", {1, 2, 3}),
      Record(":d", {1, 2, 3, 4, 5}),
      Record(":t", {1, 0}),
      Record(":b", {}),
      Record(":s", {1}) ,  // wrong type key for an integer
      Concat({Record(":d", {1, 0, 0, 0}), Record(":d", {2, 0, 0, 0})}),  // two records
      {},                                                                 // no record
  };
  for (const Bytes& bytes : cases) {
    ExpectStreamError([&] { DecodeWholeInt(bytes); });
  }
  const Bytes twoFlagBytes = Record(":t", {1, 0});
  bool flag = false;
  ExpectStreamError([&] { DecodeFlagValue(twoFlagBytes, 0, static_cast<uint32_t>(twoFlagBytes.size()), flag); });
}

TEST(TaggedStream, FieldsListsAndUnknownKeys) {
  Bytes bytes;
  EncodeIntField(bytes, "#1", 5);
  EncodeStringField(bytes, "#9", L"unknown");
  EncodeIntField(bytes, "#1", 6);  // a later duplicate is ignored
  EncodeStringList(bytes, "#10", {L"a", L"", L"c"});
  WriteByteRecords(bytes, "#2", Bytes{1, 2, 255});

  StreamRecords records;
  SplitStreamRecords(bytes, records);
  int32_t value = 0;
  DecodeIntField("#1", bytes, records, value);
  EXPECT_EQ(value, 5);
  std::vector<std::wstring> texts = {L"stale"};
  DecodeStringList("#10", bytes, records, texts);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"a", L"", L"c"}));
  Bytes collected = {7};
  ReadByteRecords(collected, "#2", records, bytes);
  EXPECT_EQ(collected, (Bytes{1, 2, 255}));
  ReadByteRecords(collected, "#3", records, bytes);
  EXPECT_TRUE(collected.empty());

  // A missing single field throws; a missing list is empty.
  ExpectStreamError([&] { DecodeIntField("#3", bytes, records, value); });
  DecodeStringList("#4", bytes, records, texts);
  EXPECT_TRUE(texts.empty());
}

TEST(TaggedStream, MapsWriteInUnsignedKeyOrderAndKeepTheFirstEntry) {
  const std::map<int, int> map = {{-1, 30}, {0x10001, 20}, {0, 10}};
  const auto encodeInt = [](const int& v, StreamBytes& out) { EncodeIntField(out, "#1", v); };
  const auto decodeInt = [](StreamBuffer b, uint32_t v, uint32_t e, int& target) {
    StreamRecords r;
    SplitStreamRecords(b, v, e, r);
    DecodeIntField("#1", b, r, target);
  };
  Bytes bytes;
  EncodeStructMap(bytes, "#1", map, encodeInt);

  StreamRecords records;
  SplitStreamRecords(bytes, records);
  ASSERT_EQ(records.size(), 3u);
  std::vector<int> keys;
  for (const StreamRecordRef& record : records) {
    StreamRecords entry;
    SplitStreamRecords(bytes, record.ValueOffset, record.EndOffset, entry);
    int32_t key = 0;
    DecodeKeyField("key", bytes, entry, key);
    keys.push_back(key);
  }
  EXPECT_EQ(keys, (std::vector<int>{0, 0x10001, -1}));

  // A duplicate entry for key 0 after the others is dropped.
  EncodeStructMap(bytes, "#1", std::map<int, int>{{0, 99}}, encodeInt);
  SplitStreamRecords(bytes, records);
  std::map<int, int> decoded = {{5, 5}};
  DecodeStructMap("#1", bytes, records, decoded, [] { return 0; }, decodeInt);
  EXPECT_EQ(decoded, map);

  // An entry without "value" throws.
  Bytes broken;
  EncodeStructField(broken, "#1", [](StreamBytes& out) { EncodeKeyField(out, "key", 3); });
  SplitStreamRecords(broken, records);
  ExpectStreamError([&] { DecodeStructMap("#1", broken, records, decoded, [] { return 0; }, decodeInt); });
}

TEST(TaggedStream, LegacyListMapCollectsEveryValue) {
  Bytes bytes;
  EncodeStructField(bytes, "#1", [](StreamBytes& out) {
    EncodeKeyField(out, "key", 4);
    WriteByteRecords(out, "value", Bytes{9, 8});
  });
  EncodeStructField(bytes, "#1", [](StreamBytes& out) { EncodeKeyField(out, "key", 2); });
  EncodeStructField(bytes, "#1", [](StreamBytes& out) {
    EncodeKeyField(out, "key", 4);
    WriteByteRecords(out, "value", Bytes{1});
  });
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  std::map<int, std::vector<uint8_t>> map;
  DecodeLegacyListMap("#1", bytes, records, map,
                      [](StreamBuffer b, uint32_t v, uint32_t e, uint8_t& t) { DecodeByteValue(b, v, e, t); });
  EXPECT_EQ(map, (std::map<int, std::vector<uint8_t>>{{2, {}}, {4, {9, 8}}}));
}
