// Where a text of a tagged stream sits, told in the user's words: the table or program unit,
// the page, the row or network and the field ("Data Block DB_1 (DB1), row 4, comment";
// "MAIN (INT0), NETWORK 2, statement-list line 3, operand").
//
// A StreamTextCollector gives the offsets of texts that did not convert; LocateStreamRecord
// turns an offset into the chain of records that hold it, and the Describe functions read that
// chain with the layouts of the project file and the clipboard block. Nothing here runs unless
// a text failed: the readers and writers keep no track of where they are.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/project/tagged_stream.h"

namespace Brenno {

class Project;

// One record on the way from the top of a stream down to a text.
struct StreamPathStep {
  std::string Key;
  int Occurrence = 0;  // how many records of the same key stand before it in its structure
  // A map entry (a record holding "key" and "value" fields): the entry's key.
  bool HasEntryKey = false;
  int32_t EntryKey = 0;

  bool operator==(const StreamPathStep&) const = default;
};

// The records that hold the record starting at `recordOffset`, outermost first, ending with the
// record whose value is that record (the scalar record itself is not part of the path). Empty
// when no record of the buffer starts there. Throws ExceptionParseStreamError only for a
// malformed buffer.
std::vector<StreamPathStep> LocateStreamRecord(StreamBuffer buffer, uint32_t recordOffset);

// A text of a project file. `legacy` says the file is of version 1.0 (whose sections have other
// layouts); the project gives page names (a page without a working name is named after its
// reference page, or by its key).
std::wstring DescribeProjectTextPlace(const Project& project, bool legacy, const std::vector<StreamPathStep>& path);

// A text of a clipboard block of networks or ladder elements. Networks are numbered as they
// stand (or will stand) in the page: the first one as `firstNetwork`.
std::wstring DescribeClipTextPlace(const std::vector<StreamPathStep>& path, int firstNetwork);

// A message lists this many places of texts at most; the rest are counted.
inline constexpr size_t kMostTextPlacesListed = 20;

// Where the collected texts of a stream were: the first ones described, the rest counted.
struct StreamTextPlaces {
  std::vector<std::wstring> Listed;  // one line each, in the order the texts were met
  size_t Further = 0;                // places beyond the listed ones

  bool empty() const { return Listed.empty(); }
  bool operator==(const StreamTextPlaces&) const = default;
};

// The distinct offsets of the collector's texts in the order they were met (a record read twice
// counts once).
std::vector<uint32_t> DistinctCollectedOffsets(const StreamTextCollector& collector);

// The places of the collected texts of a stream, through `describe`: the first
// kMostTextPlacesListed are located and described, the others only counted (locating one
// splits every level of the stream above it again).
template <class Describe>
StreamTextPlaces DescribeCollectedTexts(StreamBuffer buffer, const StreamTextCollector& collector,
                                        Describe&& describe) {
  const std::vector<uint32_t> offsets = DistinctCollectedOffsets(collector);
  StreamTextPlaces places;
  const size_t listed = std::min(offsets.size(), kMostTextPlacesListed);
  for (size_t i = 0; i < listed; ++i) places.Listed.push_back(describe(LocateStreamRecord(buffer, offsets[i])));
  places.Further = offsets.size() - listed;
  return places;
}

// The message for texts a reader emptied: a heading, one line per listed place and the count of
// the further ones.
std::wstring EmptiedTextsMessage(const StreamTextPlaces& places);

// Builds a stream with `build`; when a text the code page cannot hold stops it, builds it again
// with those texts empty only to find where they are, and throws ExceptionParseStreamError
// naming each text and its place (`describe` as above). The bytes of the failed build are
// never returned.
template <class Build, class Describe>
StreamBytes BuildStreamNamingUnstorableTexts(Build&& build, Describe&& describe);

// The message of that error, from the texts (one per collected record, in order: a writer
// writes each record once) and their places.
std::wstring UnstorableTextsMessage(const std::vector<std::wstring>& texts, const StreamTextPlaces& places);
[[noreturn]] void ThrowUnstorableTexts(const std::vector<std::wstring>& texts, const StreamTextPlaces& places);

template <class Build, class Describe>
StreamBytes BuildStreamNamingUnstorableTexts(Build&& build, Describe&& describe) {
  try {
    return build();
  } catch (const ExceptionParseStreamError&) {
    StreamTextCollector collector;
    const StreamBytes bytes = build();
    if (collector.Offsets().empty()) throw;  // another fault: the first error stands
    ThrowUnstorableTexts(collector.Texts(), DescribeCollectedTexts(bytes, collector, describe));
  }
}

}  // namespace Brenno
