// Reader of a PLC type's memory-area library "ManagerVar.xml":
//
//   <ManagerVar FxMode Prefix8 Prefix10 Prefix16 PrefixAutoBase>
//     <Region Slot Name Area AreaBegin AreaEnd Use GroupEnable OffsetBegin OffsetBase OffsetLength
//             BitOffsetBegin BitOffsetBase BitOffsetLength Comment>
//       <Access Name Width Step Offset>
//         <Marker Begin End BitBegin BitEnd Value/>
//
// Every attribute is optional; a number that an element leaves out is 0 (Use: no kind).
// FxMode must be 0 or 1 and PrefixAutoBase 8, 10 or 16 (given on the root element).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/env/memory_area_manager.h"
#include "core/env/xml_parse_area.h"

namespace Brenno {

// What the reader collects while a file is parsed; the parse state is the element level
// (0 outside, 1 ManagerVar, 2 Region, 3 Access, 4 Marker).
struct ManagerVarReadState {
  XmlParseArea Area;
  MemoryRegion Region;
  MemoryAccess Access;
  MemoryMarker Marker;
  int32_t FxMode = 0;
  std::wstring Prefix8;
  std::wstring Prefix10;
  std::wstring Prefix16;
  int32_t PrefixAutoBase = 0;
  std::vector<MemoryRegion> Regions;
};

// Level 0, no parser, empty path, every staged record and value emptied (numbers 0).
void ResetManagerVarReadState(ManagerVarReadState& state);

// Fills the manager from the file. Every failure throws ExceptionParseXmlError: the open-file
// or empty-file detail, the handler's word ("Attribute size error", "Name error", "Value error",
// "Attribute error", "Status error") or expat's error text with file, row and column, or the bare
// message when there is not exactly one Local and one Const region. The manager is replaced only
// when the whole file has been read and checked.
void ReadManagerVar(MemoryAreaManager& manager, const std::wstring& path);

// The element handlers; `record` is a ManagerVarReadState.
void ManagerVarStartElement(void* record, const std::wstring& name, const XmlAttributeList& attributes);
void ManagerVarEndElement(void* record, const std::wstring& name);

}  // namespace Brenno
