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

// The places of every collected text of a stream, one line each, through `describe`; a record
// read twice is named once.
template <class Describe>
std::vector<std::wstring> DescribeCollectedTexts(StreamBuffer buffer, const StreamTextCollector& collector,
                                                 Describe&& describe) {
  std::vector<std::wstring> places;
  std::vector<uint32_t> seen;
  for (uint32_t offset : collector.Offsets()) {
    if (std::find(seen.begin(), seen.end(), offset) != seen.end()) continue;
    seen.push_back(offset);
    places.push_back(describe(LocateStreamRecord(buffer, offset)));
  }
  return places;
}

// The message for texts a reader emptied: a heading and one line per place (at most a screenful;
// the rest is counted).
std::wstring EmptiedTextsMessage(const std::vector<std::wstring>& places);

// Builds a stream with `build`; when a text the code page cannot hold stops it, builds it again
// with those texts empty only to find where they are, and throws ExceptionParseStreamError
// naming each text and its place (`describe` as above). The bytes of the failed build are
// never returned.
template <class Build, class Describe>
StreamBytes BuildStreamNamingUnstorableTexts(Build&& build, Describe&& describe);

// The message of that error, from the texts and their places.
std::wstring UnstorableTextsMessage(const std::vector<std::wstring>& texts, const std::vector<std::wstring>& places);
[[noreturn]] void ThrowUnstorableTexts(const std::vector<std::wstring>& texts, const std::vector<std::wstring>& places);

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
