// The tagged record stream as the project file and the program editor's clipboard hold it:
// splitting, every table and program layout, and the clipboard block. Whatever decodes must
// encode again to bytes that decode to the same thing and encode to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/env/exception_error.h"
#include "core/project/clipboard_records.h"
#include "core/project/program_stream.h"
#include "core/project/table_stream.h"
#include "core/project/tagged_stream.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Decode the whole input with one layout; when that works, encode, decode and encode again: the
// two encodings must be equal.
template <class T, class Decode, class Encode>
void RoundTrip(const Bytes& input, Decode decode, Encode encode) {
  T value;
  try {
    decode(input, 0, static_cast<uint32_t>(input.size()), value);
  } catch (const Brenno::ExceptionParseStreamError&) {
    return;
  }
  Bytes first;
  try {
    encode(value, first);
  } catch (const Brenno::ExceptionParseStreamError&) {
    return;  // a decoded text the code page cannot hold again (never silently dropped)
  }
  T again;
  decode(first, 0, static_cast<uint32_t>(first.size()), again);
  Bytes second;
  encode(again, second);
  if (first != second) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const Bytes input(data + 1, data + size);

  // Splitting never reads outside the range and yields records that tile it exactly.
  try {
    Brenno::StreamRecords records;
    Brenno::SplitStreamRecords(input, records);
    uint32_t position = 0;
    for (const auto& record : records) {
      if (record.KeyOffset != position || record.ValueOffset < record.KeyOffset + 5 ||
          record.EndOffset < record.ValueOffset || record.EndOffset > input.size()) {
        std::abort();
      }
      position = record.EndOffset;
    }
    if (position != input.size()) std::abort();
  } catch (const Brenno::ExceptionParseStreamError&) {
  }

  using namespace Brenno;
  switch (selector % 8) {
    case 0:
      RoundTrip<ProgramBlock>(input, DecodeProgramBlock, EncodeProgramBlock);
      break;
    case 1:
      RoundTrip<Network>(input, DecodeNetwork, EncodeNetwork);
      break;
    case 2:
      RoundTrip<LadElement>(input, DecodeLadElement, EncodeLadElement);
      break;
    case 3:
      RoundTrip<SymbolTable>(input, DecodeSymbolTable, EncodeSymbolTable);
      break;
    case 4:
      RoundTrip<DataBlockTable>(input, DecodeDataBlockTable, EncodeDataBlockTable);
      break;
    case 5:
      RoundTrip<SystemBlockTable>(input, DecodeSystemBlockTable, EncodeSystemBlockTable);
      break;
    case 6:
      RoundTrip<StatusChart>(input, DecodeStatusChartTable, EncodeStatusChartTable);
      break;
    default: {
      const ClipBlockContent content = ReadClipBlock(input, (selector & 8) != 0);
      if (content.Held == ClipBlockContent::Networks) {
        try {
          const Bytes block = MakeClipNetworksBlock(content.NetworkList);
          if (ReadClipBlock(block, false).NetworkList != content.NetworkList) std::abort();
        } catch (const ExceptionParseStreamError&) {
        }
      } else if (content.Held == ClipBlockContent::Elements) {
        try {
          const Bytes block = MakeClipElementsBlock(content.ElementList);
          if (ReadClipBlock(block, true).ElementList != content.ElementList) std::abort();
        } catch (const ExceptionParseStreamError&) {
        }
      }
      break;
    }
  }
  return 0;
}
