// One PLC type of the catalog: the description read from "PlcType.xml" in the type's folder,
// the type's image, instruction library and memory-area library, its two bound libraries, and
// the list of link command codes it supports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/env/instruction_library.h"
#include "core/env/manager_var_reader.h"
#include "core/env/memory_area_manager.h"
#include "core/env/plugin_library.h"
#include "core/env/xml_parse_area.h"

namespace Brenno {

struct KeyValueItem {
  std::wstring Key;
  std::wstring Value;
  bool operator==(const KeyValueItem&) const = default;
};

// A command code c is supported when (c & Mask) == Value for some entry.
struct ExchSupportEntry {
  uint16_t Mask = 0;
  uint16_t Value = 0;
};

// Parse states of the description reader.
enum PlcTypeParseState {
  kPtBeforeRoot = 0, kPtPlcType, kPtDescribe, kPtItem, kPtSymbolVar, kPtDataBlock,
  kPtSystemBlock, kPtProgramBlock, kPtStatusChart, kPtCommunication
};

struct SymbolVarSizes {
  int SizeItemInt = 0, SizeItemInitInt = 0, SizeItemSbr = 0, SizeItemInitSbr = 0;
  int SizePageUser = 0, SizePageInitUser = 0, SizeItemUser = 0, SizeItemInitUser = 0;
};
struct DataBlockSizes {
  int SizePage = 0, SizePageInit = 0, SizeItem = 0, SizeItemInit = 0;
};
struct ProgramBlockSizes {
  int SizePageInt = 0, SizePageInitInt = 0, SizeItemInt = 0, SizeItemInitInt = 0;
  int SizePageSbr = 0, SizePageInitSbr = 0, SizeItemSbr = 0, SizeItemInitSbr = 0;
  int SizeBinaryConst = 0, SizeBinaryInstruction = 0;
};
struct StatusChartSizes {
  int SizePage = 0, SizePageInit = 0, SizeItemRow = 0, SizeItemColumn = 0;
};

// The values of the description file, as the reader collects them.
struct PlcTypeDescription {
  std::wstring Name;
  std::wstring Information;
  int FxMode = 0;
  std::wstring ImgFile;
  std::vector<KeyValueItem> Items;
  SymbolVarSizes SymbolVar;
  DataBlockSizes DataBlock;
  std::wstring SystemBlockFileName;
  int SystemBlockSizePage = 0;
  int SystemBlockSizeBinary = 0;
  ProgramBlockSizes ProgramBlock;
  StatusChartSizes StatusChart;
  std::wstring CommunicationFileName;
  int ExchSelf = 0;
  int ExchPackSize = 0;
  std::wstring ExchSupport;
};

class PlcType {
 public:
  PlcType() = default;
  ~PlcType();
  PlcType(const PlcType&) = delete;
  PlcType& operator=(const PlcType&) = delete;

  // Parse area with its scratch slots; cleared by ResetPlcTypeParse.
  XmlParseArea ParseArea;
  PlcTypeDescription ParseSlots;
  KeyValueItem ParseItem;

  PlcTypeDescription Description;   // fields read from the file
  std::wstring DescriptionPath;     // full path of the "PlcType.xml" read
  std::wstring TypeFolder;          // its folder
  std::vector<uint8_t> Image;       // the image file's bytes (checked to be a bitmap or PNG)
  InstructionLibrary Instructions;
  MemoryAreaManager MemoryAreas;
  PluginLibrary SystemBlockLibrary;
  PluginLibrary ExchangeLibrary;
  std::vector<ExchSupportEntry> SupportList;

  const std::wstring& Name() const { return Description.Name; }
  bool IsFxMode() const { return Description.FxMode != 0; }
  // Whether the link command code is in the support list.
  bool IsPackCodeSupported(uint16_t code) const;

  static void PlcTypeStartElement(void* record, const std::wstring& name, const XmlAttributeList& attributes);
  static void PlcTypeEndElement(void* record, const std::wstring& name);
};

// Reads one catalog folder completely into a fresh record: the description at `path`, then the
// image, the instruction and memory-area libraries, the two libraries, the support list. Throws
// the ExceptionError of the first step that fails.
void ReadPlcType(PlcType& record, const std::wstring& path);
// Only the first step: the description at `path` into Description, DescriptionPath and
// TypeFolder, nothing checked or loaded beyond it.
void ReadPlcTypeDescription(PlcType& record, const std::wstring& path);
void ResetPlcTypeParse(PlcType& record);

void LoadPlcTypeImage(PlcType& record);
void LoadPlcTypeInstructions(PlcType& record);
void LoadPlcTypeMemoryAreas(PlcType& record);
void LoadPlcTypeSystemBlockLibrary(PlcType& record);
void LoadPlcTypeExchangeLibrary(PlcType& record);
void BuildExchSupportList(PlcType& record);
// Checks the values the link layer relies on (FX mode, frame size); throws on a bad one.
void CheckPlcTypeValues(PlcType& record);

// Unsigned 16-bit number of the whole text (blanks around allowed) in the base.
bool ParseUShortWithBase(int base, const std::wstring& text, uint16_t& value);

}  // namespace Brenno
