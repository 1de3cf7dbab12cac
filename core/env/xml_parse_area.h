// What the XML readers of the workbench share: the parse area at the head of each reader's
// record (parse state, the expat parser while a file is read, the file's path), the driver that
// runs one file through expat, the error text with the parse position, and the value readers
// for integers and bilingual texts. The configuration file, the PLC type descriptions and the
// instruction and memory-area libraries are all read this way.
#pragma once

#include <expat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Brenno {

struct XmlParseArea {
  // 0 outside the root element; each reader numbers its own states inside it.
  int ParseState = 0;
  // The expat parser, only while ParseXmlBuffer runs.
  XML_Parser Parser = nullptr;
  // The file being read, for the error texts.
  std::wstring FilePath;

  XmlParseArea() = default;
  // A parser belongs to the one parse that created it: a copy starts as a fresh area, and
  // assigning a record keeps the target's own area.
  XmlParseArea(const XmlParseArea&) {}
  XmlParseArea& operator=(const XmlParseArea&) { return *this; }
  ~XmlParseArea();

  // State 0, no parser (a held one is freed), empty path.
  void Reset();
};

// Attributes as expat lists them: name, value, name, value, ...
using XmlAttributeList = std::vector<std::wstring>;
// Element handlers of a reader. `record` is the reader's record (which begins with its parse
// area); a handler reports a fault by calling ThrowXmlParseError.
using XmlStartHandler = void (*)(void* record, const std::wstring& name, const XmlAttributeList& attributes);
using XmlEndHandler = void (*)(void* record, const std::wstring& name);

// Reads a whole file for a reader. Throws ExceptionParseXmlError with the detail
// "\r\n  Open file error : \"<path>\"" when it cannot be read.
std::vector<uint8_t> ReadXmlFileBytes(const std::wstring& path);

// Runs the bytes of one XML document through expat (the encoding comes from the byte-order
// mark or the declaration; UTF-16 and UTF-8 both work) and calls the handlers with wide texts.
// No bytes: ExceptionParseXmlError "\r\n  File is empty : \"<path>\"". Not well-formed:
// ThrowXmlParseError with expat's own error text. A handler's error passes through unchanged.
// The area is reset before the parse and again afterwards, whether the parse succeeds or not,
// and the parser is always freed.
void ParseXmlBuffer(XmlParseArea& area, const std::wstring& path, const uint8_t* data, size_t size,
                    void* record, XmlStartHandler start, XmlEndHandler end);

// Throws ExceptionParseXmlError whose detail names the fault, the file and the parser's current
// row and column:
//   "\r\n  <text>\r\n  In file \"<path>\"\r\n  row = <line> column = <column>"
// Inside an element handler the position is that of the element being handled. The parser
// itself is freed by ParseXmlBuffer when the error leaves it.
[[noreturn]] void ThrowXmlParseError(const XmlParseArea& area, const std::wstring& text);

// Integer value: "16#" then hexadecimal (an optional "0x" allowed), "10#" then decimal, or
// decimal. White space around the number and a sign are allowed; anything else after the
// number, no digit at all, or a value outside the signed 32-bit range gives false.
bool ParseBasedInteger(int& value, const std::wstring& text);

// Unsigned 32-bit decimal value read as strtoul reads it: white space before it skipped, an
// optional sign ("-" negates modulo 2^32), the digits up to the first other character; 0 when
// there is no digit, 4294967295 when the number is too large. Never refuses a text.
uint32_t ReadUnsignedDecimal(const std::wstring& text);

// Text value: a text not beginning with "${" is taken whole. A text of the form
// "${English}${Chinese}" gives the piece of the current language without its first and last
// character; false when that piece is missing or has two characters or fewer.
bool SelectLocalizedText(const std::wstring& text, std::wstring& result);

// True when every character may appear in an XML 1.0 document.
bool IsXmlText(const std::wstring& text);

// Escapes a text for a double-quoted attribute value so that a reader gets exactly the text
// back: & < > " ' as entities, tab, line feed and carriage return as character references
// (a reader would otherwise turn them into blanks).
std::wstring EscapeXmlAttribute(const std::wstring& text);

}  // namespace Brenno
