#include "core/project/stream_text_places.h"

#include <string_view>
#include <unordered_set>

#include "core/env/language.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

using Path = std::vector<StreamPathStep>;

std::wstring Number(long value) { return std::to_wstring(value); }

// The step at `index`, if it has the key.
const StreamPathStep* StepAt(const Path& path, size_t index, std::string_view key) {
  if (index >= path.size() || path[index].Key != key) return nullptr;
  return &path[index];
}

std::wstring Join(std::wstring text, const std::wstring& more) {
  if (more.empty()) return text;
  if (text.empty()) return more;
  return text + PickText(L", ", L"，") + more;
}

// "Name (Address)" of a page or unit: the working page's name when it has one, else the
// reference page's, else the key.
template <class PageMap>
std::wstring PageTitle(const PageMap& working, const PageMap& reference, int key) {
  const auto describe = [](const auto& page) {
    return page.Address.empty() || page.Address == page.Name ? page.Name : page.Name + L" (" + page.Address + L")";
  };
  const auto found = working.find(key);
  if (found != working.end() && !found->second.Name.empty()) return describe(found->second);
  const auto fallback = reference.find(key);
  if (fallback != reference.end() && !fallback->second.Name.empty()) return describe(fallback->second);
  return PickText(L"page ", L"页 ") + Number(key);
}

template <class Table>
std::wstring TablePageTitle(const Table& table, int key) {
  return PageTitle(table.Working, table.Reference, key);
}

std::wstring TitleField(const std::string& key) {
  if (key == "#1") return PickText(L"name", L"名称");
  if (key == "#2") return PickText(L"address", L"地址");
  return PickText(L"comment", L"注释");
}

std::wstring RowText(int row) { return PickText(L"row ", L"第 ") + Number(row + 1) + PickText(L"", L" 行"); }

std::wstring LineText(int line) { return PickText(L"line ", L"第 ") + Number(line + 1) + PickText(L"", L" 行"); }

// A VarEntry row's field.
std::wstring VarEntryField(const std::string& key) {
  if (key == "#4") return PickText(L"symbol", L"符号");
  if (key == "#5") return PickText(L"address", L"地址");
  return PickText(L"comment", L"注释");
}

// A DataRow's field.
std::wstring DataRowField(const std::string& key) {
  if (key == "#3") return PickText(L"address", L"地址");
  if (key == "#4") return PickText(L"value", L"值");
  return PickText(L"comment", L"注释");
}

std::wstring StatusRowField(const std::string&) { return PickText(L"address", L"地址"); }

// The part of a path below a row: the row and the field.
template <class Field>
std::wstring RowPlace(int row, const Path& path, size_t fieldAt, Field&& field) {
  std::wstring text = RowText(row);
  if (fieldAt < path.size()) text = Join(text, field(path[fieldAt].Key));
  return text;
}

// Below a table page of versions 1.1 and 1.2 ("#1" titles, "#2" rows).
template <class Field>
std::wstring TablePagePlace(const Path& path, size_t at, Field&& field) {
  if (const StreamPathStep* titles = StepAt(path, at, "#1")) {
    (void)titles;
    return at + 1 < path.size() ? PickText(L"page ", L"页") + TitleField(path[at + 1].Key) : std::wstring();
  }
  if (const StreamPathStep* row = StepAt(path, at, "#2")) return RowPlace(row->Occurrence, path, at + 1, field);
  return {};
}

// The working pages of a table: "#1" a map of pages. Version 1.0: "#1" a map whose "value"
// records are the rows.
template <class Table, class Field>
std::wstring TablePlace(const std::wstring& tableName, const Table& table, bool legacy, const Path& path,
                        Field&& field) {
  std::wstring text = tableName;
  const StreamPathStep* page = StepAt(path, 1, "#1");
  if (page == nullptr || !page->HasEntryKey) return text;
  text = Join(text, TablePageTitle(table, page->EntryKey));
  const StreamPathStep* value = StepAt(path, 2, "value");
  if (value == nullptr) return text;
  if (legacy) return Join(text, RowPlace(value->Occurrence, path, 3, field));
  return Join(text, TablePagePlace(path, 3, field));
}

std::wstring StlLineField(const std::string& key, int occurrence) {
  if (key == "#1") return PickText(L"instruction", L"指令");
  if (key == "#2") return PickText(L"operand ", L"操作数 ") + Number(occurrence + 1);
  return PickText(L"comment", L"注释");
}

std::wstring LadElementField(const Path& path, size_t at) {
  if (at >= path.size()) return {};
  const std::string& key = path[at].Key;
  if (key == "#5") return PickText(L"instruction", L"指令");
  if (key == "#6" || key == "#7") return PickText(L"pin", L"引脚");
  if (key == "#8" || key == "#9" || key == "#10") return PickText(L"operand", L"操作数");
  if (key == "#11") return PickText(L"comment", L"注释");
  return {};
}

std::wstring LadElementPlace(int element, const Path& path, size_t fieldAt) {
  return Join(PickText(L"ladder element ", L"梯形图元件 ") + Number(element + 1), LadElementField(path, fieldAt));
}

// Below a network: "#2" the statement-list part ("#1" lines), "#3" the ladder part ("#3"
// elements), "#4" the comment lines.
std::wstring NetworkPlace(int number, const Path& path, size_t at) {
  std::wstring text = L"NETWORK " + Number(number);
  if (StepAt(path, at, "#2") != nullptr) {
    const StreamPathStep* line = StepAt(path, at + 1, "#1");
    if (line == nullptr) return text;
    text = Join(text, PickText(L"statement-list ", L"语句表") + LineText(line->Occurrence));
    if (at + 2 < path.size()) text = Join(text, StlLineField(path[at + 2].Key, path[at + 2].Occurrence));
    return text;
  }
  if (StepAt(path, at, "#3") != nullptr) {
    const StreamPathStep* element = StepAt(path, at + 1, "#3");
    return element == nullptr ? text : Join(text, LadElementPlace(element->Occurrence, path, at + 2));
  }
  if (const StreamPathStep* comment = StepAt(path, at, "#4")) {
    return Join(text, PickText(L"comment ", L"注释") + LineText(comment->Occurrence));
  }
  return text;
}

std::wstring LocalVariablePlace(const Path& path, size_t at) {
  const StreamPathStep* row = StepAt(path, at, "value");
  if (row == nullptr) row = StepAt(path, at, "#2");
  if (row == nullptr) return PickText(L"local variables", L"局部变量");
  return Join(PickText(L"local variables", L"局部变量"), RowPlace(row->Occurrence, path, at + 1, VarEntryField));
}

std::wstring UnitTitle(const Project& project, int key) {
  const ProgramBlock& program = project.Program;
  if (program.InterruptTable.HasWorkingPage(key) || program.InterruptTable.HasReferencePage(key)) {
    return PageTitle(program.InterruptTable.Working, program.InterruptTable.Reference, key);
  }
  return PageTitle(program.SubroutineTable.Working, program.SubroutineTable.Reference, key);
}

// "ProgramBlock" of versions 1.1 and 1.2: "#2"/"#3" maps of units; a unit is "#1" titles and
// "#2" the page ("#1" networks, "#2" local variables). Version 1.0: "#3"/"#4" maps of units,
// each with "#4" networks.
std::wstring ProgramPlace(const Project& project, bool legacy, const Path& path) {
  std::wstring text = PickText(L"Program Block", L"程序块");
  const StreamPathStep* unit = path.size() > 1 ? &path[1] : nullptr;
  if (unit == nullptr || !unit->HasEntryKey) return text;
  text = UnitTitle(project, unit->EntryKey);
  if (StepAt(path, 2, "value") == nullptr) return text;
  if (legacy) {
    const StreamPathStep* network = StepAt(path, 3, "#4");
    return network == nullptr ? text : Join(text, NetworkPlace(network->Occurrence, path, 4));
  }
  if (StepAt(path, 3, "#1") != nullptr) {
    return 4 < path.size() ? Join(text, PickText(L"page ", L"页") + TitleField(path[4].Key)) : text;
  }
  if (StepAt(path, 3, "#2") == nullptr) return text;
  if (const StreamPathStep* network = StepAt(path, 4, "#1")) return Join(text, NetworkPlace(network->Occurrence, path, 5));
  if (StepAt(path, 4, "#2") != nullptr) return Join(text, LocalVariablePlace(path, 4));
  return text;
}

// Version 1.0 keeps the titles and local variables of program units in "SymbolFun" and in
// "SymbolVar" fields "#2" and "#3".
std::wstring LegacyUnitPlace(const Project& project, const Path& path, bool locals) {
  const StreamPathStep* unit = path.size() > 1 ? &path[1] : nullptr;
  if (unit == nullptr || !unit->HasEntryKey) return PickText(L"Program Block", L"程序块");
  const std::wstring text = UnitTitle(project, unit->EntryKey);
  if (locals) return Join(text, LocalVariablePlace(path, 2));
  return 3 < path.size() ? Join(text, PickText(L"page ", L"页") + TitleField(path[3].Key)) : text;
}

}  // namespace

std::vector<StreamPathStep> LocateStreamRecord(StreamBuffer buffer, uint32_t recordOffset) {
  std::vector<StreamPathStep> path;
  if (buffer.size() > UINT32_MAX) return path;
  uint32_t begin = 0;
  uint32_t end = static_cast<uint32_t>(buffer.size());
  StreamRecords records;
  while (begin < end) {
    SplitStreamRecords(buffer, begin, end, records);
    const StreamRecordRef* hit = nullptr;
    int occurrence = 0;
    for (const StreamRecordRef& record : records) {
      if (record.KeyOffset <= recordOffset && recordOffset < record.EndOffset) {
        hit = &record;
        break;
      }
    }
    if (hit == nullptr) return {};
    if (hit->KeyOffset == recordOffset) return path;
    const std::string_view key = RecordKey(buffer, *hit);
    for (const StreamRecordRef& record : records) {
      if (&record == hit) break;
      if (RecordKey(buffer, record) == key) ++occurrence;
    }
    // The "value" of a map entry: its sibling "key" names the entry.
    if (key == kMapEntryValue && !path.empty()) {
      if (const StreamRecordRef* entryKey = FindStreamRecord(buffer, records, kMapEntryKey)) {
        try {
          DecodeKeyValue(buffer, entryKey->ValueOffset, entryKey->EndOffset, path.back().EntryKey);
          path.back().HasEntryKey = true;
        } catch (const ExceptionParseStreamError&) {
          // A key that does not read leaves the entry unnamed.
        }
      }
    }
    path.push_back({std::string(key), occurrence});
    begin = hit->ValueOffset;
    end = hit->EndOffset;
  }
  return {};
}

std::wstring DescribeProjectTextPlace(const Project& project, bool legacy, const std::vector<StreamPathStep>& path) {
  if (path.empty()) return PickText(L"(unknown place)", L"(位置未知)");
  const std::string& section = path.front().Key;
  if (section == "FileVer") return PickText(L"file version", L"文件版本");
  if (section == "PlcType") return PickText(L"PLC type", L"PLC 类型");
  if (section == "SymbolVar") {
    if (legacy && path.size() > 1 && (path[1].Key == "#2" || path[1].Key == "#3")) return LegacyUnitPlace(project, path, true);
    return TablePlace(PickText(L"Variable Symbol", L"变量符号"), project.Symbols, legacy, path, VarEntryField);
  }
  if (section == "SymbolFun") return LegacyUnitPlace(project, path, false);
  if (section == "DataBlock") {
    return TablePlace(PickText(L"Data Block", L"数据块"), project.DataBlocks, legacy, path, DataRowField);
  }
  if (section == "SystemBlock") {
    return TablePlace(PickText(L"System Block", L"系统块"), project.SystemBlocks, legacy, path, StatusRowField);
  }
  if (section == "StatusChart") {
    return TablePlace(PickText(L"Status Chart", L"状态表"), project.StatusChart, legacy, path, StatusRowField);
  }
  if (section == "ProgramBlock") return ProgramPlace(project, legacy, path);
  return std::wstring(section.begin(), section.end());
}

std::wstring DescribeClipTextPlace(const std::vector<StreamPathStep>& path, int firstNetwork) {
  const std::wstring clipboard = PickText(L"clipboard", L"剪贴板");
  if (path.size() < 2 || path[1].Key != "#1") return clipboard;
  if (path[0].Key == "clipboard_ladunit") return LadElementPlace(path[1].Occurrence, path, 2);
  return NetworkPlace(firstNetwork + path[1].Occurrence, path, 2);
}

std::vector<uint32_t> DistinctCollectedOffsets(const StreamTextCollector& collector) {
  std::vector<uint32_t> offsets;
  offsets.reserve(collector.Offsets().size());
  std::unordered_set<uint32_t> seen;
  seen.reserve(collector.Offsets().size());
  for (const uint32_t offset : collector.Offsets()) {
    if (seen.insert(offset).second) offsets.push_back(offset);
  }
  return offsets;
}

namespace {

// The heading, one line per listed place (`line` gives it) and the count of the further ones.
template <class Line>
std::wstring PlacesMessage(std::wstring heading, const StreamTextPlaces& places, Line&& line) {
  for (size_t i = 0; i < places.Listed.size(); ++i) heading += L"\r\n  " + line(i);
  if (places.Further > 0) {
    heading += std::wstring(L"\r\n  ") + PickText(L"... and ", L"……另有 ") + Number(static_cast<long>(places.Further)) +
               PickText(L" more", L" 处");
  }
  return heading;
}

}  // namespace

std::wstring EmptiedTextsMessage(const StreamTextPlaces& places) {
  return PlacesMessage(PickText(L"These texts are not valid code page 936 text and were read as empty:",
                                L"以下文本不是有效的 936 代码页文本，已按空文本读入:"),
                       places, [&](size_t i) { return places.Listed[i]; });
}

std::wstring UnstorableTextsMessage(const std::vector<std::wstring>& texts, const StreamTextPlaces& places) {
  return PlacesMessage(PickText(L"These texts cannot be stored in code page 936:", L"以下文本无法以 936 代码页保存:"),
                       places, [&](size_t i) {
                         return places.Listed[i] + L": \"" + (i < texts.size() ? texts[i] : std::wstring()) + L"\"";
                       });
}

void ThrowUnstorableTexts(const std::vector<std::wstring>& texts, const StreamTextPlaces& places) {
  ThrowStreamError(UnstorableTextsMessage(texts, places));
}

}  // namespace Brenno
