#include "core/env/plc_config.h"

#include <array>
#include <tuple>

#include "core/env/exception_error.h"
#include "core/env/ip_address.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"

namespace Brenno {

namespace {

enum class ValueKind { Integer, Text, Address };

// The attributes of `PlcConfig` in the order the writer writes them (the reader takes any order).
struct AttributeDef {
  const wchar_t* name;
  ValueKind kind;
  int PlcConfig::*integer;
  std::wstring PlcConfig::*text;
};

constexpr AttributeDef Int(const wchar_t* name, int PlcConfig::*member) { return {name, ValueKind::Integer, member, nullptr}; }
constexpr AttributeDef Text(const wchar_t* name, std::wstring PlcConfig::*member) { return {name, ValueKind::Text, nullptr, member}; }

const AttributeDef kAttributes[] = {
    Int(L"Lang", &PlcConfig::Lang),
    Text(L"PlcName", &PlcConfig::PlcName),
    Int(L"ViewZoom", &PlcConfig::ViewZoom),
    Int(L"SymbolicAddr", &PlcConfig::SymbolicAddr),
    Int(L"LinkStation", &PlcConfig::LinkStation),
    Text(L"LinkPortPath", &PlcConfig::LinkPortPath),
    Int(L"LinkBaudrate", &PlcConfig::LinkBaudrate),
    Int(L"LinkParity", &PlcConfig::LinkParity),
    {L"LinkIpAddr", ValueKind::Address, nullptr, nullptr},
    Int(L"LinkTimeWaitSend", &PlcConfig::LinkTimeWaitSend),
    Int(L"LinkTimeWaitReceive", &PlcConfig::LinkTimeWaitReceive),
    Int(L"LinkTimeUpdateUi", &PlcConfig::LinkTimeUpdateUi),
    Int(L"LinkTimeUpdateSleep", &PlcConfig::LinkTimeUpdateSleep),
    Int(L"LinkTimeUpdateMark", &PlcConfig::LinkTimeUpdateMark),
    Int(L"LinkTimeUpdateError", &PlcConfig::LinkTimeUpdateError),
    Int(L"LinkTimeReadIntervalTimeout", &PlcConfig::LinkTimeReadIntervalTimeout),
    Int(L"LinkTimeReadTotalTimeoutMultiplier", &PlcConfig::LinkTimeReadTotalTimeoutMultiplier),
    Int(L"LinkTimeReadTotalTimeoutConstant", &PlcConfig::LinkTimeReadTotalTimeoutConstant),
    Int(L"LinkTimeWriteTotalTimeoutMultiplier", &PlcConfig::LinkTimeWriteTotalTimeoutMultiplier),
    Int(L"LinkTimeWriteTotalTimeoutConstant", &PlcConfig::LinkTimeWriteTotalTimeoutConstant),
};

// Parse state inside the file: 0 outside the element, 1 inside it.
constexpr int kInsidePlcConfig = 1;

// The link address as one number, first number of the dotted form in the most significant
// byte (as the communication dialog and the transports hold it). The file carries it as that
// number; a dotted address written by hand reads as that address; any other text reads as its
// leading decimal number (0 without one) and is never refused.
uint32_t ReadLinkIpAddr(const std::wstring& text) {
  std::array<uint8_t, 4> bytes{};
  if (text.find(L'.') != std::wstring::npos && ParseIpv4Text(text, bytes)) {
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
  }
  return ReadUnsignedDecimal(text);
}

bool ReadAttributeValue(PlcConfig& config, const AttributeDef& def, const std::wstring& value) {
  switch (def.kind) {
    case ValueKind::Integer: return ParseBasedInteger(config.*def.integer, value);
    case ValueKind::Text: return SelectLocalizedText(value, config.*def.text);
    case ValueKind::Address: config.LinkIpAddr = ReadLinkIpAddr(value); return true;
  }
  return false;
}

// Copies the values the file carries (all but the TCP port and the telephone number).
void CopyFileValues(PlcConfig& target, const PlcConfig& source) {
  for (const AttributeDef& def : kAttributes) {
    switch (def.kind) {
      case ValueKind::Integer: target.*def.integer = source.*def.integer; break;
      case ValueKind::Text: target.*def.text = source.*def.text; break;
      case ValueKind::Address: target.LinkIpAddr = source.LinkIpAddr; break;
    }
  }
}

}  // namespace

void PlcConfig::PlcConfigStartElement(void* record, const std::wstring& name, const XmlAttributeList& attributes) {
  auto& config = *static_cast<PlcConfig*>(record);
  XmlParseArea& area = config.ParseArea;
  if (attributes.size() % 2 != 0) ThrowXmlParseError(area, L"Attribute size error");
  if (area.ParseState != 0) ThrowXmlParseError(area, L"Status error");
  if (name != L"PlcConfig") ThrowXmlParseError(area, L"Name error");
  area.ParseState = kInsidePlcConfig;
  for (size_t i = 0; i + 1 < attributes.size(); i += 2) {
    const AttributeDef* found = nullptr;
    for (const AttributeDef& def : kAttributes) {
      if (attributes[i] == def.name) {
        found = &def;
        break;
      }
    }
    if (found == nullptr) ThrowXmlParseError(area, L"Attribute error");
    if (!ReadAttributeValue(config, *found, attributes[i + 1])) ThrowXmlParseError(area, L"Value error");
  }
}

void PlcConfig::PlcConfigEndElement(void* record, const std::wstring& name) {
  auto& config = *static_cast<PlcConfig*>(record);
  XmlParseArea& area = config.ParseArea;
  if (area.ParseState != kInsidePlcConfig) ThrowXmlParseError(area, L"Status error");
  if (name != L"PlcConfig") ThrowXmlParseError(area, L"Name error");
  area.ParseState = 0;
}

void PlcConfig::ReadPlcConfig(const std::wstring& path) {
  std::vector<uint8_t> bytes = ReadXmlFileBytes(path);
  ReadPlcConfigFromBytes(bytes.data(), bytes.size(), path);
}

void PlcConfig::ReadPlcConfigFromBytes(const uint8_t* data, size_t size, const std::wstring& path) {
  // The values are read into a record of defaults and taken over only when the whole file has
  // been read, so a missing attribute gets its default and a bad file changes nothing.
  PlcConfig read;
  ParseXmlBuffer(read.ParseArea, path, data, size, &read, &PlcConfigStartElement, &PlcConfigEndElement);
  CopyFileValues(*this, read);
  ParseArea.Reset();
}

bool PlcConfig::FormatPlcConfig(std::vector<uint8_t>& bytes, std::wstring* badAttribute) const {
  std::wstring text = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<PlcConfig\r\n";
  for (const AttributeDef& def : kAttributes) {
    std::wstring value;
    switch (def.kind) {
      case ValueKind::Integer: value = std::to_wstring(this->*def.integer); break;
      case ValueKind::Address: value = std::to_wstring(LinkIpAddr); break;
      case ValueKind::Text:
        if (!IsXmlText(this->*def.text)) {
          if (badAttribute != nullptr) *badAttribute = def.name;
          return false;
        }
        value = EscapeXmlAttribute(this->*def.text);
        break;
    }
    text += L"  ";
    text += def.name;
    text += L"=\"" + value + L"\"\r\n";
  }
  text += L"  >\r\n</PlcConfig>\r\n";

  std::optional<std::vector<uint8_t>> encoded = platform::WideToUtf16LeBytes(text);
  if (!encoded) {
    if (badAttribute != nullptr) badAttribute->clear();
    return false;
  }
  bytes.assign({0xFF, 0xFE});
  bytes.insert(bytes.end(), encoded->begin(), encoded->end());
  return true;
}

void PlcConfig::WritePlcConfig(const std::wstring& path) const {
  std::vector<uint8_t> bytes;
  std::wstring badAttribute;
  if (!FormatPlcConfig(bytes, &badAttribute)) {
    throw MakeParseXmlError(L"\r\n  Value error : \"" + badAttribute + L"\"\r\n  In file \"" + path + L"\"");
  }
  if (!platform::WriteFileBytes(path, bytes)) {
    throw MakeParseXmlError(L"\r\n  Open file error : \"" + path + L"\"");
  }
}

bool PlcConfig::operator==(const PlcConfig& other) const {
  auto values = [](const PlcConfig& c) {
    return std::tie(c.Lang, c.PlcName, c.ViewZoom, c.SymbolicAddr, c.LinkStation, c.LinkPortPath, c.LinkBaudrate,
                    c.LinkParity, c.LinkIpAddr, c.LinkTcpPort, c.LinkTelephone, c.LinkTimeWaitSend,
                    c.LinkTimeWaitReceive, c.LinkTimeUpdateUi, c.LinkTimeUpdateSleep, c.LinkTimeUpdateMark,
                    c.LinkTimeUpdateError, c.LinkTimeReadIntervalTimeout, c.LinkTimeReadTotalTimeoutMultiplier,
                    c.LinkTimeReadTotalTimeoutConstant, c.LinkTimeWriteTotalTimeoutMultiplier,
                    c.LinkTimeWriteTotalTimeoutConstant);
  };
  return values(*this) == values(other);
}

}  // namespace Brenno
