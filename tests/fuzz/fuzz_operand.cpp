// libFuzzer harness for the operand and constant codecs. Two small memory maps (one per operand
// word layout) are read once from embedded "ManagerVar.xml" texts. The first input byte picks the
// map, the data type and what the rest is: an operand or constant text, a format text, or an
// operand word. Besides not crashing, canonical forms must be stable: a normalised operand or a
// checked constant normalises / checks to itself.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/manager_var_reader.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"
#include "platform/text_codec.h"

namespace {

const char kByteMap[] = R"(<?xml version="1.0" encoding="utf-8"?>
<ManagerVar FxMode="0" Prefix8="8#" Prefix10="10#" Prefix16="16#" PrefixAutoBase="10">
  <Region Slot="0" Name="I" Area="Di" AreaBegin="0" AreaEnd="16" Use="AV" OffsetBase="10" BitOffsetBase="10">
    <Access Name="" Width="Bit" Step="Byte" Offset="Byte"/>
    <Access Name="B" Width="Byte" Step="Byte" Offset="Byte"/>
    <Access Name="W" Width="Word" Step="Byte" Offset="Byte"/>
  </Region>
  <Region Slot="1" Name="V" Area="Ro" AreaBegin="0" AreaEnd="8192" Use="AVP" OffsetBase="10" BitOffsetBase="10">
    <Access Name="" Width="Bit" Step="Byte" Offset="Byte"/>
    <Access Name="B" Width="Byte" Step="Byte" Offset="Byte"/>
    <Access Name="W" Width="Word" Step="Byte" Offset="Byte"/>
    <Access Name="D" Width="Dword" Step="Byte" Offset="Byte"/>
    <Access Name="X" Width="Bit" Step="Word" Offset="Word"/>
  </Region>
  <Region Slot="2" Name="AI" Area="Ri" AreaBegin="0" AreaEnd="64" Use="V" OffsetBase="10">
    <Access Name="W" Width="Word" Step="Word" Offset="Byte"/>
  </Region>
  <Region Slot="3" Name="T" Area="Di" AreaBegin="0" AreaEnd="32" Use="V" OffsetBase="10">
    <Access Name="" Width="Bit" Step="Bit" Offset="Bit"><Marker Begin="-1" End="5" BitBegin="-1" BitEnd="0" Value="low"/></Access>
  </Region>
  <Region Slot="4" Name="T" Area="Ri" AreaBegin="0" AreaEnd="512" Use="V" OffsetBase="10">
    <Access Name="" Width="Word" Step="Word" Offset="Word"/>
  </Region>
  <Region Slot="5" Name="Q" Area="Do" AreaBegin="0" AreaEnd="8" Use="V" OffsetBegin="100" OffsetBase="8" OffsetLength="3">
    <Access Name="" Width="Word" Step="Word" Offset="Bit"/>
  </Region>
  <Region Slot="14" Name="L" Area="Local" AreaBegin="0" AreaEnd="64" Use="AVP" OffsetBase="10" BitOffsetBase="10">
    <Access Name="B" Width="Byte" Step="Byte" Offset="Byte"/>
    <Access Name="D" Width="Dword" Step="Byte" Offset="Byte"/>
  </Region>
  <Region Slot="15" Name="K" Area="Const"/>
</ManagerVar>
)";

const char kFxMap[] = R"(<?xml version="1.0" encoding="utf-8"?>
<ManagerVar FxMode="1" Prefix8="" Prefix10="K" Prefix16="H" PrefixAutoBase="10">
  <Region Slot="0" Name="X" Area="Di" AreaBegin="0" AreaEnd="16" Use="V" GroupEnable="1" OffsetBase="8">
    <Access Name="" Width="Bit" Step="Bit" Offset="Bit"/>
    <Access Name="" Width="Word" Step="Bit" Offset="Bit"/>
  </Region>
  <Region Slot="2" Name="M" Area="Do" AreaBegin="0" AreaEnd="1024" Use="V" GroupEnable="1" OffsetBase="10">
    <Access Name="" Width="Bit" Step="Bit" Offset="Bit"><Marker Begin="8000" End="8001" BitBegin="-1" BitEnd="-1" Value="run"/></Access>
    <Access Name="" Width="Word" Step="Bit" Offset="Bit"/>
    <Access Name="" Width="Dword" Step="Bit" Offset="Bit"/>
  </Region>
  <Region Slot="8" Name="D" Area="Ro" AreaBegin="0" AreaEnd="8192" Use="VZ" OffsetBase="10">
    <Access Name="" Width="Word" Step="Word" Offset="Word"/>
    <Access Name="" Width="Dword" Step="Word" Offset="Word"/>
  </Region>
  <Region Slot="9" Name="V" Area="Ro" AreaBegin="0" AreaEnd="16" Use="V" OffsetBase="10">
    <Access Name="" Width="Word" Step="Word" Offset="Word"/>
  </Region>
  <Region Slot="11" Name="L" Area="Local" AreaBegin="0" AreaEnd="64" Use="V" OffsetBase="10">
    <Access Name="" Width="Word" Step="Word" Offset="Word"/>
  </Region>
  <Region Slot="12" Name="K" Area="Const"/>
</ManagerVar>
)";

Brenno::MemoryAreaManager LoadEmbedded(const char* text) {
  const char* tmp = std::getenv("TMPDIR");
  std::string name = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/fuzz_operand_XXXXXX";
  int fd = mkstemp(name.data());
  if (fd < 0) std::abort();
  const size_t length = std::strlen(text);
  if (write(fd, text, length) != static_cast<ssize_t>(length)) std::abort();
  close(fd);
  Brenno::MemoryAreaManager manager;
  try {
    Brenno::ReadManagerVar(manager, *platform::Utf8ToWide(name));
  } catch (const Brenno::ExceptionError&) {
    std::abort();  // the embedded maps are well formed
  }
  std::remove(name.c_str());
  return manager;
}

const Brenno::MemoryAreaManager& Map(int which) {
  static const Brenno::MemoryAreaManager byteMap = LoadEmbedded(kByteMap);
  static const Brenno::MemoryAreaManager fxMap = LoadEmbedded(kFxMap);
  return which == 0 ? byteMap : fxMap;
}

const wchar_t* const kFormats[] = {L"Tv:", L"Bv:", L"Wvz:", L"Dcavp:", L"Bv:-:Lv:", L"Dv:+:Vvd:Lpd:"};

void FuzzOperandText(const Brenno::MemoryAreaManager& manager, const std::wstring& text) {
  Brenno::OperandAddress address;
  if (Brenno::ScanOperandText(text, address)) {
    std::wstring printed;
    Brenno::PrintOperandAddress(address, printed);
  }
  std::wstring normal = text;
  if (Brenno::NormalizeOperandText(manager, normal)) {
    std::wstring again = normal;
    if (!Brenno::NormalizeOperandText(manager, again) || again != normal) std::abort();
  }
  for (const wchar_t* format : kFormats) {
    Brenno::OperandWord word = 0;
    if (Brenno::ParseOperandText(text, manager, format, word)) {
      std::wstring shown;
      if (!Brenno::FormatOperandWord(manager, format, word, shown)) std::abort();
    }
    Brenno::OperandFields fields;
    std::wstring marker;
    if (Brenno::ScanOperandText(text, address)) Brenno::MatchOperandMarker(format, manager, address, fields, marker);
  }
}

void FuzzConstantText(const Brenno::MemoryAreaManager& manager, int dataType, const std::wstring& text) {
  std::wstring checked = text;
  if (Brenno::CheckConstantText(manager, checked, dataType)) {
    std::wstring again = checked;
    if (!Brenno::CheckConstantText(manager, again, dataType) || again != checked) std::abort();
  }
  std::wstring operand = text;
  if (Brenno::CheckConstantOperand(manager, dataType, operand)) {
    std::wstring again = operand;
    if (!Brenno::CheckConstantOperand(manager, dataType, again) || again != operand) std::abort();
  }
  Brenno::ConstantOperand value;
  if (Brenno::ParseConstantOperand(value, manager, dataType, text)) {
    std::wstring shown;
    if (!Brenno::FormatConstantOperand(manager, value, dataType, shown)) std::abort();
  }
}

void FuzzFormatText(const Brenno::MemoryAreaManager& manager, int dataType, const std::wstring& format) {
  try {
    std::wstring description;
    Brenno::DescribeOperandFormat(description, format, manager, L"\r\n", dataType);
    std::vector<Brenno::OperandCandidate> candidates;
    Brenno::GroupOperandCandidates(manager, format, candidates);
    Brenno::OperandFields fields;
    Brenno::OperandAddress address;
    if (Brenno::ScanOperandText(L"VB10", address)) {
      Brenno::MatchOperandTextWithFormat(format, manager, address, fields);
    }
  } catch (const Brenno::ExceptionFormatError&) {
  }
}

void FuzzWord(const Brenno::MemoryAreaManager& manager, const uint8_t* data, size_t size) {
  if (size < 4) return;
  Brenno::OperandWord word = 0;
  std::memcpy(&word, data, 4);
  try {
    std::wstring text;
    if (Brenno::OperandWordToText(manager, text, word)) {
      Brenno::OperandWord again = 0;
      if (!Brenno::OperandTextToWord(text, manager, again)) std::abort();
    }
    for (const wchar_t* format : kFormats) Brenno::FormatOperandWord(manager, format, word, text);
  } catch (const Brenno::ExceptionLogicError&) {
    // A kind code the layout does not define.
  }
  Brenno::OperandFields fields;
  Brenno::UnpackOperandWordRaw(word, manager, fields);
  Brenno::OperandWord packed = 0;
  Brenno::PackOperandWordRaw(packed, manager, fields);
  if (packed != word) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const Brenno::MemoryAreaManager& manager = Map(selector & 1);
  const int dataType = (selector >> 1) % 11;
  const std::wstring text = platform::FromUtf8Lossy(
      std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  switch (selector >> 6) {
    case 0:
    case 1:
      FuzzOperandText(manager, text);
      FuzzConstantText(manager, dataType, text);
      break;
    case 2:
      FuzzFormatText(manager, dataType, text);
      break;
    default:
      FuzzWord(manager, data + 1, size - 1);
      break;
  }
  return 0;
}
