// The tagged record stream: the byte form of the project file and of the program editor's
// clipboard block.
//
// A record is a key (8-bit text without a zero byte), a zero byte, the value length N as an
// unsigned 32-bit little-endian number, and N value bytes. A stream is a run of records that
// fills its byte range exactly. A value is either a scalar (exactly one record keyed ":t",
// ":b", ":d" or ":s" holding the payload) or a structure (field records keyed "#1", "#2", ...;
// a list field repeats its key once per element; a map field repeats its key once per entry,
// each entry holding a "key" and a "value" field).
//
// Readers parse a buffer they do not own, in place: SplitStreamRecords turns one level of a
// range into offset triples that always count from the start of the whole buffer, so a nested
// value is split by passing its value and end offsets. Writers append to one growing byte
// vector and patch each length once the value is written.
//
// Every reader failure is an ExceptionParseStreamError. Writers fail only for a text that code
// page 936 cannot hold (ExceptionParseStreamError naming the text): such a text is never
// written as an empty string unless a StreamTextCollector asks for it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/env/exception_error.h"

namespace Brenno {

using StreamBuffer = std::span<const uint8_t>;
using StreamBytes = std::vector<uint8_t>;

// One record of a split range; all three offsets count from the start of the whole buffer.
// The key is the zero-ended text at KeyOffset (its zero byte sits at ValueOffset - 5); the
// value is [ValueOffset, EndOffset).
struct StreamRecordRef {
  uint32_t KeyOffset = 0;
  uint32_t ValueOffset = 0;
  uint32_t EndOffset = 0;

  bool operator==(const StreamRecordRef&) const = default;
};

using StreamRecords = std::vector<StreamRecordRef>;

// Type keys of the scalar forms.
inline constexpr std::string_view kFlagTypeKey = ":t";
inline constexpr std::string_view kByteTypeKey = ":b";
inline constexpr std::string_view kIntTypeKey = ":d";
inline constexpr std::string_view kStringTypeKey = ":s";
// The two fields of a map entry.
inline constexpr std::string_view kMapEntryKey = "key";
inline constexpr std::string_view kMapEntryValue = "value";

// "#" and the 1-based field position: "#1" ... "#11".
std::string FieldKey(int position);

// Throws an ExceptionParseStreamError whose message names what was wrong.
[[noreturn]] void ThrowStreamError(const std::wstring& detail);

// ---- Texts that do not convert.
//
// Without a collector, a ":s" value whose bytes are not valid code page 936 fails to read, and a
// text the code page cannot hold fails to write (both ExceptionParseStreamError). While a
// collector is installed on the thread, such a text is read, or written, as the empty text and
// the offset of its ":s" record (its first key byte) is kept, so that the caller can tell the
// user where each one was (LocateStreamRecord). Collectors nest; the innermost one collects.
class StreamTextCollector {
 public:
  StreamTextCollector();
  ~StreamTextCollector();
  StreamTextCollector(const StreamTextCollector&) = delete;
  StreamTextCollector& operator=(const StreamTextCollector&) = delete;

  // Offsets of the ":s" records, in the order they were met.
  const std::vector<uint32_t>& Offsets() const { return offsets_; }
  // For a writing collector: the texts that were written empty, one per offset.
  const std::vector<std::wstring>& Texts() const { return texts_; }

  // The collector installed on this thread, or null.
  static StreamTextCollector* Installed();
  void Add(size_t offset, std::wstring_view text);

 private:
  StreamTextCollector* previous_;
  std::vector<uint32_t> offsets_;
  std::vector<std::wstring> texts_;
};

// ---- Work done on this thread, counted so that a test can see how the work of a reader grows
// with its input without timing it.
struct StreamWorkCount {
  uint64_t RecordsSplit = 0;        // records SplitStreamRecords has yielded
  uint64_t NameCharactersSplit = 0;  // characters the split of stored instruction names looked at
};
StreamWorkCount& ThreadStreamWorkCount();

// ---- Splitting.

// Empties `records`, then fills it with the records of [begin, end) in stream order. Throws
// when the range lies outside the buffer, ends inside a key, a length field or a value.
void SplitStreamRecords(StreamBuffer buffer, uint32_t begin, uint32_t end, StreamRecords& records);
// The whole buffer as one range.
void SplitStreamRecords(StreamBuffer buffer, StreamRecords& records);

// The records of one range, split into a vector lent by a per-thread pool: decoding many small
// structures then allocates no vector for each. The vector goes back to the pool with the
// object; nested ranges take vectors of their own.
class ScopedStreamRecords {
 public:
  // Splits [begin, end) as SplitStreamRecords does (and throws as it does).
  ScopedStreamRecords(StreamBuffer buffer, uint32_t begin, uint32_t end);
  ~ScopedStreamRecords();
  ScopedStreamRecords(const ScopedStreamRecords&) = delete;
  ScopedStreamRecords& operator=(const ScopedStreamRecords&) = delete;

  operator const StreamRecords&() const { return *records_; }
  const StreamRecords& Records() const { return *records_; }

 private:
  StreamRecords* records_;
};

// The key bytes of a record of that buffer.
std::string_view RecordKey(StreamBuffer buffer, const StreamRecordRef& record);
// Keys are a few bytes long and compared for every field read: inline, length first.
[[gnu::always_inline]] inline bool RecordHasKey(StreamBuffer buffer, const StreamRecordRef& record,
                                                std::string_view key) {
  if (record.ValueOffset - 5 - record.KeyOffset != key.size()) return false;
  const uint8_t* stored = buffer.data() + record.KeyOffset;
  for (size_t i = 0; i < key.size(); ++i) {
    if (stored[i] != static_cast<uint8_t>(key[i])) return false;
  }
  return true;
}
// The first record with the key, or null.
const StreamRecordRef* FindStreamRecord(StreamBuffer buffer, const StreamRecords& records, std::string_view key);
// Throws the error of a structure without a record of the key.
[[noreturn, gnu::cold]] void ThrowMissingRecord(std::string_view key);
// FindStreamRecord inline, for the decoders that look up every field of every structure.
inline const StreamRecordRef* FindRecord(StreamBuffer buffer, const StreamRecords& records, std::string_view key) {
  for (const StreamRecordRef& record : records) {
    if (RecordHasKey(buffer, record, key)) return &record;
  }
  return nullptr;
}
// The first record with the key; throws when there is none.
inline const StreamRecordRef& RequireStreamRecord(StreamBuffer buffer, const StreamRecords& records,
                                                  std::string_view key) {
  const StreamRecordRef* record = FindRecord(buffer, records, key);
  if (record == nullptr) ThrowMissingRecord(key);
  return *record;
}

// ---- Scalar values. Decoders read [valueOffset, endOffset), which must hold exactly one
// record of the form's type key and payload length; encoders append one complete scalar record.

void DecodeFlagValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, uint8_t& flag);
void DecodeFlagValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, bool& flag);
void DecodeByteValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, uint8_t& value);
void DecodeIntValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, int32_t& value);
// The 32-bit key of a map entry: the same bytes as an integer.
void DecodeKeyValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, int32_t& key);
// Code page 936 bytes up to the first zero byte or the end of the value. Bytes that are not
// valid in the code page throw (the text is not silently replaced), unless a
// StreamTextCollector is installed: the text is then empty and its place collected.
void DecodeStringValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, std::wstring& text);

void EncodeFlagValue(StreamBytes& bytes, uint8_t flag);
void EncodeFlagValue(StreamBytes& bytes, bool flag);
void EncodeByteValue(StreamBytes& bytes, uint8_t value);
void EncodeIntValue(StreamBytes& bytes, int32_t value);
void EncodeKeyValue(StreamBytes& bytes, int32_t key);
// The text up to its first zero character in code page 936. A character the code page cannot
// hold throws, and nothing is appended (with a StreamTextCollector installed: the empty text is
// written and its place collected).
void EncodeStringValue(StreamBytes& bytes, std::wstring_view text);

// ---- Writing a field: the key, a zero byte, a length placeholder; then the value; then the
// placeholder is patched with the value's length.

// Appends key, zero byte and placeholder; returns the placeholder's position.
size_t BeginStreamField(StreamBytes& bytes, std::string_view key);
// Patches the placeholder at `lengthPosition` with the bytes written after it.
void EndStreamField(StreamBytes& bytes, size_t lengthPosition);

template <class WriteValue>
void EncodeStructField(StreamBytes& bytes, std::string_view key, WriteValue&& writeValue) {
  const size_t at = BeginStreamField(bytes, key);
  writeValue(bytes);
  EndStreamField(bytes, at);
}

// ---- Single fields. Decoders read the first record with the key among the records of the
// enclosing structure (later ones are ignored) and throw when there is none.

void DecodeIntField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, int32_t& value);
void DecodeFlagField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, uint8_t& flag);
void DecodeFlagField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, bool& flag);
void DecodeKeyField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, int32_t& value);
void DecodeStringField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, std::wstring& text);

void EncodeIntField(StreamBytes& bytes, std::string_view key, int32_t value);
void EncodeFlagField(StreamBytes& bytes, std::string_view key, uint8_t flag);
void EncodeFlagField(StreamBytes& bytes, std::string_view key, bool flag);
void EncodeKeyField(StreamBytes& bytes, std::string_view key, int32_t value);
void EncodeStringField(StreamBytes& bytes, std::string_view key, std::wstring_view text);

// ---- Lists.

// Empties the list, then appends one text per record of the key, in order.
void DecodeStringList(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                      std::vector<std::wstring>& texts);
void EncodeStringList(StreamBytes& bytes, std::string_view key, const std::vector<std::wstring>& texts);
// Empties the target, then collects every record of the key as one ":b" byte, in order.
void ReadByteRecords(std::vector<uint8_t>& target, std::string_view key, const StreamRecords& records,
                     StreamBuffer buffer);
void WriteByteRecords(StreamBytes& bytes, std::string_view key, std::span<const uint8_t> values);

// ---- Generic forms over a structure's own decoder and encoder.
// A structure decoder has the shape  void(StreamBuffer, uint32_t valueOffset, uint32_t
// endOffset, T& target)  and an encoder  void(const T&, StreamBytes&).

// The first record with the key, decoded as a structure into the target; throws when absent.
template <class T, class Decode>
void DecodeStructField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, T& target,
                       Decode&& decode) {
  const StreamRecordRef& record = RequireStreamRecord(buffer, records, key);
  decode(buffer, record.ValueOffset, record.EndOffset, target);
}

template <class T, class Encode>
void EncodeStructField(StreamBytes& bytes, std::string_view key, const T& value, Encode&& encode) {
  const size_t at = BeginStreamField(bytes, key);
  encode(value, bytes);
  EndStreamField(bytes, at);
}

// Empties the list, then for every record of the key appends a copy of `prototype` (without
// one: a default-constructed element) and decodes the record into it.
template <class T, class Decode, class Append>
void DecodeStructListWith(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                          std::vector<T>& target, Decode&& decode, Append&& append) {
  target.clear();
  // Room for every element first: growing the list element by element would move the decoded
  // elements again and again. The records of the key are noted as they are counted (most lists
  // are short), so the decoding pass need not look at every record again.
  constexpr size_t kNoted = 16;
  uint32_t noted[kNoted];
  size_t count = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    if (!RecordHasKey(buffer, records[i], key)) continue;
    if (count < kNoted) noted[count] = static_cast<uint32_t>(i);
    ++count;
  }
  if (count == 0) return;
  target.reserve(count);
  const auto decodeAt = [&](const StreamRecordRef& record) {
    append(target);
    decode(buffer, record.ValueOffset, record.EndOffset, target.back());
  };
  if (count <= kNoted) {
    for (size_t n = 0; n < count; ++n) decodeAt(records[noted[n]]);
    return;
  }
  for (size_t i = noted[0]; i < records.size(); ++i) {
    if (RecordHasKey(buffer, records[i], key)) decodeAt(records[i]);
  }
}

template <class T, class Decode>
void DecodeStructList(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                      std::vector<T>& target, Decode&& decode) {
  DecodeStructListWith(key, buffer, records, target, decode, [](std::vector<T>& list) { list.emplace_back(); });
}

template <class T, class Decode>
void DecodeStructList(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                      std::vector<T>& target, Decode&& decode, const T& prototype) {
  DecodeStructListWith(key, buffer, records, target, decode,
                       [&](std::vector<T>& list) { list.push_back(prototype); });
}

template <class T, class Encode>
void EncodeStructList(StreamBytes& bytes, std::string_view key, const std::vector<T>& values, Encode&& encode) {
  for (const T& value : values) EncodeStructField(bytes, key, value, encode);
}

// The entries of a map keyed by int, in ascending unsigned 32-bit key order (the order every
// map is written in), whatever the map's own ordering.
template <class Map>
std::vector<const typename Map::value_type*> UnsignedKeyOrder(const Map& map) {
  std::vector<const typename Map::value_type*> order;
  order.reserve(map.size());
  for (const auto& entry : map) order.push_back(&entry);
  std::stable_sort(order.begin(), order.end(), [](const auto* a, const auto* b) {
    return static_cast<uint32_t>(a->first) < static_cast<uint32_t>(b->first);
  });
  return order;
}

// A map field: empties the map; for every record of the key, starts from `makeDefault()`,
// reads the entry's "key" and its "value" (both required) and inserts the pair unless the key
// is present already (the first entry of a key wins).
template <class Map, class MakeDefault, class DecodeValue>
void DecodeStructMap(std::string_view key, StreamBuffer buffer, const StreamRecords& records, Map& target,
                     MakeDefault&& makeDefault, DecodeValue&& decodeValue) {
  target.clear();
  StreamRecords entry;
  for (const StreamRecordRef& record : records) {
    if (!RecordHasKey(buffer, record, key)) continue;
    SplitStreamRecords(buffer, record.ValueOffset, record.EndOffset, entry);
    typename Map::mapped_type value = makeDefault();
    int32_t entryKey = 0;
    DecodeKeyField(kMapEntryKey, buffer, entry, entryKey);
    DecodeStructField(kMapEntryValue, buffer, entry, value, decodeValue);
    target.emplace(entryKey, std::move(value));
  }
}

template <class Map, class EncodeValue>
void EncodeStructMap(StreamBytes& bytes, std::string_view key, const Map& map, EncodeValue&& encodeValue) {
  for (const auto* entry : UnsignedKeyOrder(map)) {
    const size_t at = BeginStreamField(bytes, key);
    EncodeKeyField(bytes, kMapEntryKey, entry->first);
    EncodeStructField(bytes, kMapEntryValue, entry->second, encodeValue);
    EndStreamField(bytes, at);
  }
}

// The read-only map form of version-1.0 project files: each entry holds "key" once and
// "value" zero or more times, each "value" one element of the entry's list. First entry of a
// key wins.
template <class T, class DecodeElement>
void DecodeLegacyListMap(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                         std::map<int, std::vector<T>>& target, DecodeElement&& decodeElement,
                         const T& prototype = T()) {
  target.clear();
  StreamRecords entry;
  for (const StreamRecordRef& record : records) {
    if (!RecordHasKey(buffer, record, key)) continue;
    SplitStreamRecords(buffer, record.ValueOffset, record.EndOffset, entry);
    int32_t entryKey = 0;
    DecodeKeyField(kMapEntryKey, buffer, entry, entryKey);
    std::vector<T> elements;
    DecodeStructList(kMapEntryValue, buffer, entry, elements, decodeElement, prototype);
    target.emplace(entryKey, std::move(elements));
  }
}

}  // namespace Brenno
