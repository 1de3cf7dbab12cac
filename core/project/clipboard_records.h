// The program editor's private clipboard block: one tagged-stream record whose key says what it
// holds. "clipboard_editmix" holds whole networks, "clipboard_ladunit" ladder elements with
// their column, row, pins, operands and comments; the value is one "#1" record per network or
// element, in order, with the program layouts. Nothing else is in the block.
#pragma once

#include <string_view>
#include <vector>

#include "core/program/ladder_grid.h"
#include "core/program/network.h"
#include "core/project/stream_text_places.h"
#include "core/project/tagged_stream.h"

namespace Brenno {

inline constexpr std::string_view kClipNetworksKey = "clipboard_editmix";
inline constexpr std::string_view kClipElementsKey = "clipboard_ladunit";

// The value of each record: one "#1" record per network or element.
void EncodeClipNetworks(const std::vector<Network>& networks, StreamBytes& bytes);
void EncodeClipElements(const std::vector<LadElement>& elements, StreamBytes& bytes);
// Empty the target, then append every "#1" record decoded.
void DecodeClipNetworks(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, std::vector<Network>& networks);
void DecodeClipElements(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset,
                        std::vector<LadElement>& elements);

// The keyed writers append the whole record; the keyed readers decode the first top-level
// record of their key and throw ExceptionParseStreamError when there is none.
void WriteClipNetworksRecord(StreamBytes& bytes, const std::vector<Network>& networks);
void WriteClipElementsRecord(StreamBytes& bytes, const std::vector<LadElement>& elements);
void ReadClipNetworksRecord(StreamBuffer buffer, const StreamRecords& records, std::vector<Network>& networks);
void ReadClipElementsRecord(StreamBuffer buffer, const StreamRecords& records, std::vector<LadElement>& elements);

// What a clipboard block holds for a paste.
struct ClipBlockContent {
  enum Kind { None, Networks, Elements };
  Kind Held = None;
  std::vector<Network> NetworkList;
  std::vector<LadElement> ElementList;
  // Where texts stood whose bytes are not valid code page 936: each was read as empty.
  StreamTextPlaces EmptiedTexts;
};

// Reads a block for a paste. Accepts only a block of exactly one record keyed
// "clipboard_editmix", or "clipboard_ladunit" when `acceptElements` (the ladder view); anything
// else, and any malformed block, gives None with empty lists. Never throws a stream error. A
// text that is not valid code page 936 is read as empty and its place listed, networks
// numbered from `firstNetwork` (where the paste puts them).
ClipBlockContent ReadClipBlock(StreamBuffer block, bool acceptElements, int firstNetwork = 0);

// Builds the block for a copy; throws ExceptionParseStreamError naming each text the code page
// cannot hold and its place, networks numbered from `firstNetwork` (where they stand in the
// page). The clipboard is then left alone by the caller.
StreamBytes MakeClipNetworksBlock(const std::vector<Network>& networks, int firstNetwork = 0);
StreamBytes MakeClipElementsBlock(const std::vector<LadElement>& elements);

// The program editor's copy and paste through the private clipboard block. Copying an empty
// list does nothing and returns false; so does a copy the clipboard refuses. A text the code
// page cannot hold throws ExceptionParseStreamError and leaves the clipboard as it was.
bool CopyNetworksToClipboard(const std::vector<Network>& networks, int firstNetwork = 0);
bool CopyElementsToClipboard(const std::vector<LadElement>& elements);
// What the clipboard's block holds for a paste (None when there is no block or it is not one
// the editor can paste there).
ClipBlockContent ReadClipboardForPaste(bool acceptElements, int firstNetwork = 0);

}  // namespace Brenno
