#include "core/project/clipboard_records.h"

#include "core/env/exception_error.h"
#include "core/env/utilities.h"
#include "core/project/program_stream.h"
#include "core/project/stream_text_places.h"

namespace Brenno {

void EncodeClipNetworks(const std::vector<Network>& networks, StreamBytes& bytes) {
  EncodeNetworkList(bytes, "#1", networks);
}

void EncodeClipElements(const std::vector<LadElement>& elements, StreamBytes& bytes) {
  EncodeLadElementList(bytes, "#1", elements);
}

void DecodeClipNetworks(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, std::vector<Network>& networks) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeNetworkList("#1", buffer, records, networks);
}

void DecodeClipElements(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset,
                        std::vector<LadElement>& elements) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeLadElementList("#1", buffer, records, elements);
}

void WriteClipNetworksRecord(StreamBytes& bytes, const std::vector<Network>& networks) {
  EncodeStructField(bytes, kClipNetworksKey, networks, EncodeClipNetworks);
}

void WriteClipElementsRecord(StreamBytes& bytes, const std::vector<LadElement>& elements) {
  EncodeStructField(bytes, kClipElementsKey, elements, EncodeClipElements);
}

void ReadClipNetworksRecord(StreamBuffer buffer, const StreamRecords& records, std::vector<Network>& networks) {
  DecodeStructField(kClipNetworksKey, buffer, records, networks, DecodeClipNetworks);
}

void ReadClipElementsRecord(StreamBuffer buffer, const StreamRecords& records, std::vector<LadElement>& elements) {
  DecodeStructField(kClipElementsKey, buffer, records, elements, DecodeClipElements);
}

ClipBlockContent ReadClipBlock(StreamBuffer block, bool acceptElements, int firstNetwork) {
  ClipBlockContent content;
  if (block.empty()) return content;
  try {
    StreamTextCollector badTexts;
    StreamRecords records;
    SplitStreamRecords(block, records);
    if (records.size() != 1) return content;
    const std::string_view key = RecordKey(block, records.front());
    if (key == kClipNetworksKey) {
      ReadClipNetworksRecord(block, records, content.NetworkList);
      content.Held = ClipBlockContent::Networks;
    } else if (acceptElements && key == kClipElementsKey) {
      ReadClipElementsRecord(block, records, content.ElementList);
      content.Held = ClipBlockContent::Elements;
    }
    content.EmptiedTexts = DescribeCollectedTexts(block, badTexts, [&](const std::vector<StreamPathStep>& path) {
      return DescribeClipTextPlace(path, firstNetwork);
    });
  } catch (const ExceptionParseStreamError&) {
    return ClipBlockContent();
  }
  return content;
}

StreamBytes MakeClipNetworksBlock(const std::vector<Network>& networks, int firstNetwork) {
  return BuildStreamNamingUnstorableTexts(
      [&] {
        StreamBytes bytes;
        WriteClipNetworksRecord(bytes, networks);
        return bytes;
      },
      [&](const std::vector<StreamPathStep>& path) { return DescribeClipTextPlace(path, firstNetwork); });
}

StreamBytes MakeClipElementsBlock(const std::vector<LadElement>& elements) {
  return BuildStreamNamingUnstorableTexts(
      [&] {
        StreamBytes bytes;
        WriteClipElementsRecord(bytes, elements);
        return bytes;
      },
      [](const std::vector<StreamPathStep>& path) { return DescribeClipTextPlace(path, 0); });
}

bool CopyNetworksToClipboard(const std::vector<Network>& networks, int firstNetwork) {
  if (networks.empty()) return false;
  return PutClipboardBlock(MakeClipNetworksBlock(networks, firstNetwork));
}

bool CopyElementsToClipboard(const std::vector<LadElement>& elements) {
  if (elements.empty()) return false;
  return PutClipboardBlock(MakeClipElementsBlock(elements));
}

ClipBlockContent ReadClipboardForPaste(bool acceptElements, int firstNetwork) {
  std::vector<uint8_t> block;
  if (!GetClipboardBlock(block)) return ClipBlockContent();
  return ReadClipBlock(block, acceptElements, firstNetwork);
}

}  // namespace Brenno
