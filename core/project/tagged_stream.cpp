#include "core/project/tagged_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <limits>

#include "core/env/language.h"
#include "core/env/utilities.h"

namespace Brenno {

namespace {

// The 32-bit little-endian number at `at` (four bytes that lie inside the buffer).
inline uint32_t ReadLength(const uint8_t* data, size_t at) {
  uint32_t value;
  std::memcpy(&value, data + at, sizeof(value));
  if constexpr (std::endian::native == std::endian::big) value = __builtin_bswap32(value);
  return value;
}

inline uint32_t ReadLength(StreamBuffer buffer, size_t at) { return ReadLength(buffer.data(), at); }

// Writes the 32-bit little-endian form of `length` at `at`.
inline void StoreLength(uint8_t* at, uint32_t length) {
  if constexpr (std::endian::native == std::endian::big) length = __builtin_bswap32(length);
  std::memcpy(at, &length, sizeof(length));
}

void AppendLength(StreamBytes& bytes, uint32_t length) {
  uint8_t le[4];
  StoreLength(le, length);
  bytes.insert(bytes.end(), le, le + 4);
}

void AppendKey(StreamBytes& bytes, std::string_view key) {
  const auto* begin = reinterpret_cast<const uint8_t*>(key.data());
  bytes.insert(bytes.end(), begin, begin + key.size());
  bytes.push_back(0);
}

// Keys up to this length have their record header put together on the stack.
constexpr size_t kShortKeyLength = 27;

// Writes a record header (the key, its zero byte, `length`) to `at`, which has room for it;
// returns the end of what was written.
inline uint8_t* PutHeader(uint8_t* at, std::string_view key, uint32_t length) {
  for (const char c : key) *at++ = static_cast<uint8_t>(c);
  *at++ = 0;
  StoreLength(at, length);
  return at + 4;
}

// Appends a record header in one piece: every field and every scalar begins with one, and the
// vector is grown once instead of three times.
void AppendHeader(StreamBytes& bytes, std::string_view key, uint32_t length) {
  if (key.size() > kShortKeyLength) {
    AppendKey(bytes, key);
    AppendLength(bytes, length);
    return;
  }
  uint8_t header[kShortKeyLength + 5];
  bytes.insert(bytes.end(), header, PutHeader(header, key, length));
}

std::wstring KeyText(std::string_view key) { return std::wstring(key.begin(), key.end()); }

// The failures of reading a record. Kept out of line: the readers run for every record of a
// file, and only their fast path belongs there.
[[noreturn, gnu::cold, gnu::noinline]] void ThrowKeyHasNoEnd() {
  ThrowStreamError(PickText(L"a record key has no end", L"记录键没有结束符"));
}

[[noreturn, gnu::cold, gnu::noinline]] void ThrowLengthCutShort() {
  ThrowStreamError(PickText(L"a record length is cut short", L"记录长度不完整"));
}

[[noreturn, gnu::cold, gnu::noinline]] void ThrowLengthExceedsRange() {
  ThrowStreamError(PickText(L"a record length exceeds the bytes that follow", L"记录长度超出剩余字节"));
}

[[noreturn, gnu::cold, gnu::noinline]] void ThrowStreamTooLarge() {
  ThrowStreamError(PickText(L"the stream is larger than 4 GB", L"流大于 4 GB"));
}

[[noreturn, gnu::cold, gnu::noinline]] void ThrowRangePastEnd() {
  ThrowStreamError(PickText(L"a range reaches past the end of the stream", L"范围超出流的末尾"));
}

// The zero byte ending a key longer than the first bytes looked at, searched from `from`.
[[gnu::noinline]] uint32_t FindLongKeyEnd(const uint8_t* data, uint32_t from, uint32_t end) {
  const void* zero = from < end ? std::memchr(data + from, 0, end - from) : nullptr;
  if (zero == nullptr) ThrowKeyHasNoEnd();
  return static_cast<uint32_t>(static_cast<const uint8_t*>(zero) - data);
}

// The position of the first zero byte among the eight at `at`, or 8 when there is none.
inline uint32_t FirstZeroOfEight(const uint8_t* at) {
  // The eight bytes as a little-endian number on every machine: the first byte is the least
  // significant one.
  uint64_t word;
  std::memcpy(&word, at, sizeof(word));
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  // A byte of `zeros` has its top bit set where `word` has a zero byte. The borrow of the
  // subtraction runs from less to more significant bytes, so a byte more significant than a
  // zero byte (one that comes later) may be marked too, never a less significant one: the least
  // significant mark is the first zero.
  const uint64_t zeros = (word - 0x0101010101010101u) & ~word & 0x8080808080808080u;
  if (zeros == 0) return 8;
  return static_cast<uint32_t>(std::countr_zero(zeros)) / 8;
}

// One record starting at `position` of a range that ends at `end` (end <= buffer size).
inline StreamRecordRef ReadRecordAt(const uint8_t* data, uint32_t position, uint32_t end) {
  // Keys are short: the first eight bytes are looked at in one piece (one at a time near the end
  // of the range) before a longer key is handed to memchr.
  uint32_t zeroAt;
  if (end - position >= 8) {
    zeroAt = position + FirstZeroOfEight(data + position);
  } else {
    zeroAt = position;
    while (zeroAt < end && data[zeroAt] != 0) ++zeroAt;
  }
  if (zeroAt - position == 8 || zeroAt == end) zeroAt = FindLongKeyEnd(data, zeroAt, end);
  if (end - zeroAt - 1 < 4) ThrowLengthCutShort();
  const uint32_t length = ReadLength(data, zeroAt + 1);
  const uint32_t valueOffset = zeroAt + 5;
  if (length > end - valueOffset) ThrowLengthExceedsRange();
  return {position, valueOffset, valueOffset + length};
}

// The checks of SplitStreamRecords on a range before its records are read.
inline bool CheckRange(StreamBuffer buffer, uint32_t begin, uint32_t end) {
  if (buffer.size() > std::numeric_limits<uint32_t>::max()) ThrowStreamTooLarge();
  if (end <= begin) return false;
  if (end > buffer.size()) ThrowRangePastEnd();
  return true;
}

[[noreturn, gnu::cold, gnu::noinline]] void ThrowWrongType(std::string_view typeKey) {
  ThrowStreamError(PickText(L"expected a value of type ", L"应为类型 ") + KeyText(typeKey));
}

[[noreturn, gnu::cold, gnu::noinline]] void ThrowWrongLength(std::string_view typeKey) {
  ThrowStreamError(PickText(L"wrong value length for type ", L"值长度错误，类型 ") + KeyText(typeKey));
}

// A range that is not one whole record: split in full, so that it fails as any range does.
[[gnu::noinline]] StreamRecordRef SplitSingleRecord(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset) {
  StreamRecords records;
  SplitStreamRecords(buffer, valueOffset, endOffset, records);
  if (records.size() != 1) {
    ThrowStreamError(PickText(L"a scalar value must hold exactly one record", L"标量值必须只含一个记录"));
  }
  return records.front();
}

// The single record of a scalar value, checked for its type key and payload length (0: any).
// Read in place: a range that is not one whole record goes through the full split, so that it
// fails as any range does.
// Inlined into each decoder, where the type key is a constant.
[[gnu::always_inline]] inline StreamRecordRef ScalarRecord(StreamBuffer buffer, uint32_t valueOffset,
                                                          uint32_t endOffset, std::string_view typeKey,
                                                          uint32_t payloadLength) {
  // Nearly every value is exactly one well-formed record of the expected type: the type key, its
  // zero, a length that reaches the end of the range (the expected one where it is fixed).
  const size_t headerLength = typeKey.size() + 5;
  if (buffer.size() <= std::numeric_limits<uint32_t>::max() && endOffset <= buffer.size() &&
      valueOffset <= endOffset && endOffset - valueOffset >= headerLength) {
    const uint8_t* data = buffer.data() + valueOffset;
    const uint32_t length = ReadLength(data, typeKey.size() + 1);
    if (std::memcmp(data, typeKey.data(), typeKey.size()) == 0 && data[typeKey.size()] == 0 &&
        length == endOffset - valueOffset - headerLength && (payloadLength == 0 || length == payloadLength)) {
      const uint32_t payloadOffset = valueOffset + static_cast<uint32_t>(headerLength);
      return {valueOffset, payloadOffset, endOffset};
    }
  }
  // Anything else takes the full way, and fails as any range does.
  StreamRecordRef record;
  bool single = false;
  if (CheckRange(buffer, valueOffset, endOffset)) {
    record = ReadRecordAt(buffer.data(), valueOffset, endOffset);
    single = record.EndOffset == endOffset;
  }
  if (!single) record = SplitSingleRecord(buffer, valueOffset, endOffset);
  if (!RecordHasKey(buffer, record, typeKey)) ThrowWrongType(typeKey);
  if (payloadLength != 0 && record.EndOffset - record.ValueOffset != payloadLength) ThrowWrongLength(typeKey);
  return record;
}

// Per-thread vectors for ScopedStreamRecords. A vector grown for a very long range is not kept.
constexpr size_t kPooledRecordsCapacity = 4096;

std::vector<std::unique_ptr<StreamRecords>>& RecordsPool() {
  thread_local std::vector<std::unique_ptr<StreamRecords>> pool;
  return pool;
}

void ReturnToPool(StreamRecords* records) {
  std::unique_ptr<StreamRecords> owned(records);
  if (owned->capacity() > kPooledRecordsCapacity) return;
  owned->clear();
  RecordsPool().push_back(std::move(owned));
}

thread_local StreamTextCollector* t_textCollector = nullptr;
thread_local StreamWorkCount t_workCount;

// The text up to its first zero character as code page 936 bytes, in a per-thread buffer that
// stays valid until the next call. When the code page cannot hold the text: with a collector
// installed, the empty text, and the ":s" record about to be written at `recordOffset` is
// collected; otherwise an error naming the text.
const std::string& TextBytes(std::wstring_view text, size_t recordOffset) {
  thread_local std::string encoded;
  if (!WStringToMultiByte(text, encoded)) {
    const std::wstring_view shown = text.substr(0, text.find(L'\0'));
    if (t_textCollector == nullptr) {
      ThrowStreamError(PickText(L"this text cannot be stored in code page 936: ", L"此文本无法以 936 代码页保存: ") +
                       std::wstring(shown));
    }
    t_textCollector->Add(recordOffset, shown);
    encoded.clear();
  }
  return encoded;
}

// A field holding a scalar of fixed length (":t", ":b" one byte, ":d" four bytes), built in one
// piece: the field key, its zero and length, the type key, its zero and length, the payload
// least significant byte first.
void AppendFixedScalarField(StreamBytes& bytes, std::string_view key, std::string_view typeKey, uint32_t payload,
                            uint32_t payloadLength) {
  if (key.size() > kShortKeyLength || typeKey.size() > kShortKeyLength || payloadLength > 4) {
    const size_t at = BeginStreamField(bytes, key);
    AppendKey(bytes, typeKey);
    AppendLength(bytes, payloadLength);
    for (uint32_t i = 0; i < payloadLength; ++i) bytes.push_back(static_cast<uint8_t>(payload >> (8 * i)));
    EndStreamField(bytes, at);
    return;
  }
  uint8_t record[2 * (kShortKeyLength + 5) + 4];
  uint8_t* end = PutHeader(record, key, static_cast<uint32_t>(typeKey.size() + 5 + payloadLength));
  end = PutHeader(end, typeKey, payloadLength);
  for (uint32_t i = 0; i < payloadLength; ++i) *end++ = static_cast<uint8_t>(payload >> (8 * i));
  bytes.insert(bytes.end(), record, end);
}

void AppendScalarHeader(StreamBytes& bytes, std::string_view typeKey, uint32_t length) {
  AppendHeader(bytes, typeKey, length);
}

}  // namespace

std::string FieldKey(int position) { return "#" + std::to_string(position); }

StreamWorkCount& ThreadStreamWorkCount() { return t_workCount; }

StreamTextCollector::StreamTextCollector() : previous_(t_textCollector) { t_textCollector = this; }

StreamTextCollector::~StreamTextCollector() { t_textCollector = previous_; }

StreamTextCollector* StreamTextCollector::Installed() { return t_textCollector; }

void StreamTextCollector::Add(size_t offset, std::wstring_view text) {
  if (offset > std::numeric_limits<uint32_t>::max()) {
    ThrowStreamError(PickText(L"the stream is larger than 4 GB", L"流大于 4 GB"));
  }
  offsets_.push_back(static_cast<uint32_t>(offset));
  texts_.emplace_back(text);
}

void ThrowStreamError(const std::wstring& detail) {
  ExceptionParseStreamError error;
  if (!detail.empty()) error.AppendDetail(L"\r\n  " + detail);
  throw error;
}

void SplitStreamRecords(StreamBuffer buffer, uint32_t begin, uint32_t end, StreamRecords& records) {
  records.clear();
  if (!CheckRange(buffer, begin, end)) return;
  const uint8_t* data = buffer.data();
  uint32_t position = begin;
  while (position < end) {
    records.push_back(ReadRecordAt(data, position, end));
    position = records.back().EndOffset;
  }
  t_workCount.RecordsSplit += records.size();
}

ScopedStreamRecords::ScopedStreamRecords(StreamBuffer buffer, uint32_t begin, uint32_t end) {
  auto& pool = RecordsPool();
  if (pool.empty()) {
    records_ = new StreamRecords();
  } else {
    records_ = pool.back().release();
    pool.pop_back();
  }
  try {
    SplitStreamRecords(buffer, begin, end, *records_);
  } catch (...) {
    ReturnToPool(records_);
    throw;
  }
}

ScopedStreamRecords::~ScopedStreamRecords() { ReturnToPool(records_); }

void SplitStreamRecords(StreamBuffer buffer, StreamRecords& records) {
  if (buffer.size() > std::numeric_limits<uint32_t>::max()) {
    records.clear();
    ThrowStreamError(PickText(L"the stream is larger than 4 GB", L"流大于 4 GB"));
  }
  SplitStreamRecords(buffer, 0, static_cast<uint32_t>(buffer.size()), records);
}

std::string_view RecordKey(StreamBuffer buffer, const StreamRecordRef& record) {
  return std::string_view(reinterpret_cast<const char*>(buffer.data()) + record.KeyOffset,
                          record.ValueOffset - 5 - record.KeyOffset);
}

const StreamRecordRef* FindStreamRecord(StreamBuffer buffer, const StreamRecords& records, std::string_view key) {
  return FindRecord(buffer, records, key);
}

void ThrowMissingRecord(std::string_view key) {
  ThrowStreamError(PickText(L"missing record ", L"缺少记录 ") + KeyText(key));
}

// ---- Scalars.

void DecodeFlagValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, uint8_t& flag) {
  flag = buffer[ScalarRecord(buffer, valueOffset, endOffset, kFlagTypeKey, 1).ValueOffset];
}

void DecodeFlagValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, bool& flag) {
  uint8_t stored = 0;
  DecodeFlagValue(buffer, valueOffset, endOffset, stored);
  flag = stored != 0;
}

void DecodeByteValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, uint8_t& value) {
  value = buffer[ScalarRecord(buffer, valueOffset, endOffset, kByteTypeKey, 1).ValueOffset];
}

void DecodeIntValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, int32_t& value) {
  value = static_cast<int32_t>(ReadLength(buffer, ScalarRecord(buffer, valueOffset, endOffset, kIntTypeKey, 4).ValueOffset));
}

void DecodeKeyValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, int32_t& key) {
  DecodeIntValue(buffer, valueOffset, endOffset, key);
}

void DecodeStringValue(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, std::wstring& text) {
  const StreamRecordRef record = ScalarRecord(buffer, valueOffset, endOffset, kStringTypeKey, 0);
  const std::string_view bytes(reinterpret_cast<const char*>(buffer.data()) + record.ValueOffset,
                               record.EndOffset - record.ValueOffset);
  if (!MultiByteToWString(bytes, text)) {
    if (t_textCollector == nullptr) {
      ThrowStreamError(PickText(L"a text is not valid code page 936", L"文本不是有效的 936 代码页文本"));
    }
    text.clear();
    t_textCollector->Add(record.KeyOffset, {});
  }
}

void EncodeFlagValue(StreamBytes& bytes, uint8_t flag) {
  AppendScalarHeader(bytes, kFlagTypeKey, 1);
  bytes.push_back(flag);
}

void EncodeFlagValue(StreamBytes& bytes, bool flag) { EncodeFlagValue(bytes, static_cast<uint8_t>(flag ? 1 : 0)); }

void EncodeByteValue(StreamBytes& bytes, uint8_t value) {
  AppendScalarHeader(bytes, kByteTypeKey, 1);
  bytes.push_back(value);
}

void EncodeIntValue(StreamBytes& bytes, int32_t value) {
  AppendScalarHeader(bytes, kIntTypeKey, 4);
  AppendLength(bytes, static_cast<uint32_t>(value));
}

void EncodeKeyValue(StreamBytes& bytes, int32_t key) { EncodeIntValue(bytes, key); }

void EncodeStringValue(StreamBytes& bytes, std::wstring_view text) {
  const std::string& encoded = TextBytes(text, bytes.size());
  AppendScalarHeader(bytes, kStringTypeKey, static_cast<uint32_t>(encoded.size()));
  bytes.insert(bytes.end(), encoded.begin(), encoded.end());
}

// ---- Fields.

size_t BeginStreamField(StreamBytes& bytes, std::string_view key) {
  AppendHeader(bytes, key, 0);
  return bytes.size() - 4;
}

void EndStreamField(StreamBytes& bytes, size_t lengthPosition) {
  const size_t length = bytes.size() - lengthPosition - 4;
  if (length > std::numeric_limits<uint32_t>::max()) {
    ThrowStreamError(PickText(L"a value is larger than 4 GB", L"值大于 4 GB"));
  }
  StoreLength(bytes.data() + lengthPosition, static_cast<uint32_t>(length));
}

void DecodeIntField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, int32_t& value) {
  const StreamRecordRef& record = RequireStreamRecord(buffer, records, key);
  DecodeIntValue(buffer, record.ValueOffset, record.EndOffset, value);
}

void DecodeFlagField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, uint8_t& flag) {
  const StreamRecordRef& record = RequireStreamRecord(buffer, records, key);
  DecodeFlagValue(buffer, record.ValueOffset, record.EndOffset, flag);
}

void DecodeFlagField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, bool& flag) {
  const StreamRecordRef& record = RequireStreamRecord(buffer, records, key);
  DecodeFlagValue(buffer, record.ValueOffset, record.EndOffset, flag);
}

void DecodeKeyField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, int32_t& value) {
  const StreamRecordRef& record = RequireStreamRecord(buffer, records, key);
  DecodeKeyValue(buffer, record.ValueOffset, record.EndOffset, value);
}

void DecodeStringField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, std::wstring& text) {
  const StreamRecordRef& record = RequireStreamRecord(buffer, records, key);
  DecodeStringValue(buffer, record.ValueOffset, record.EndOffset, text);
}

void EncodeIntField(StreamBytes& bytes, std::string_view key, int32_t value) {
  AppendFixedScalarField(bytes, key, kIntTypeKey, static_cast<uint32_t>(value), 4);
}

void EncodeFlagField(StreamBytes& bytes, std::string_view key, uint8_t flag) {
  AppendFixedScalarField(bytes, key, kFlagTypeKey, flag, 1);
}

void EncodeFlagField(StreamBytes& bytes, std::string_view key, bool flag) {
  EncodeFlagField(bytes, key, static_cast<uint8_t>(flag ? 1 : 0));
}

void EncodeKeyField(StreamBytes& bytes, std::string_view key, int32_t value) {
  AppendFixedScalarField(bytes, key, kIntTypeKey, static_cast<uint32_t>(value), 4);
}

void EncodeStringField(StreamBytes& bytes, std::string_view key, std::wstring_view text) {
  // Convert the text first so that a text the code page cannot hold leaves no half record. The
  // scalar record follows the field's key, its zero byte and its length.
  const std::string& encoded = TextBytes(text, bytes.size() + key.size() + 5);
  const size_t at = BeginStreamField(bytes, key);
  AppendScalarHeader(bytes, kStringTypeKey, static_cast<uint32_t>(encoded.size()));
  bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  EndStreamField(bytes, at);
}

// ---- Lists.

void DecodeStringList(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                      std::vector<std::wstring>& texts) {
  DecodeStructList(key, buffer, records, texts,
                   [](StreamBuffer b, uint32_t v, uint32_t e, std::wstring& t) { DecodeStringValue(b, v, e, t); });
}

void EncodeStringList(StreamBytes& bytes, std::string_view key, const std::vector<std::wstring>& texts) {
  for (const std::wstring& text : texts) EncodeStringField(bytes, key, text);
}

void ReadByteRecords(std::vector<uint8_t>& target, std::string_view key, const StreamRecords& records,
                     StreamBuffer buffer) {
  DecodeStructList(key, buffer, records, target,
                   [](StreamBuffer b, uint32_t v, uint32_t e, uint8_t& t) { DecodeByteValue(b, v, e, t); });
}

void WriteByteRecords(StreamBytes& bytes, std::string_view key, std::span<const uint8_t> values) {
  for (uint8_t value : values) AppendFixedScalarField(bytes, key, kByteTypeKey, value, 1);
}

}  // namespace Brenno
