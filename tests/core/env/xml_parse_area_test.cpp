#include "core/env/xml_parse_area.h"

#include <gtest/gtest.h>

#include <string>

#include "core/env/exception_error.h"
#include "core/env/language.h"

using namespace Brenno;

namespace {

struct LanguageGuard {
  explicit LanguageGuard(int language) { SetCurrentLanguage(language); }
  ~LanguageGuard() { SetCurrentLanguage(kLanguageEnglish); }
};

// A tiny reader built the way the workbench's readers are: its record begins with the parse
// area, its handlers count the elements and fail on an element named "Bad".
struct CountingReader {
  XmlParseArea Area;
  int Elements = 0;
  bool SawParserInHandler = false;

  static void Start(void* record, const std::wstring& name, const XmlAttributeList&) {
    auto& reader = *static_cast<CountingReader*>(record);
    reader.SawParserInHandler = reader.Area.Parser != nullptr;
    ++reader.Area.ParseState;
    ++reader.Elements;
    if (name == L"Bad") ThrowXmlParseError(reader.Area, L"Name error");
  }
  static void End(void* record, const std::wstring&) { --static_cast<CountingReader*>(record)->Area.ParseState; }

  std::wstring Run(const std::string& utf8) {
    try {
      ParseXmlBuffer(Area, L"/x/y.xml", reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size(), this, Start, End);
    } catch (const ExceptionParseXmlError& e) {
      return e.Message();
    }
    return L"";
  }
};

}  // namespace

TEST(ParseBasedInteger, ReadsWholeTokensOnly) {
  struct Case {
    const wchar_t* text;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {L"0", true, 0},           {L"150", true, 150},        {L"-7", true, -7},
      {L"+7", true, 7},          {L" 42", true, 42},         {L"42 ", true, 42},
      {L"10#150", true, 150},    {L"16#2", true, 2},         {L"16#1F", true, 31},
      {L"16#1f", true, 31},      {L"16#0x1F", true, 31},     {L"16#-10", true, -16},
      {L"16#7FFFFFFF", true, 2147483647},                    {L"-2147483648", true, -2147483647 - 1},
      {L"2147483647", true, 2147483647},
      // no number, a number with something after it, or out of range
      {L"", false, 0},           {L"  ", false, 0},          {L"abc", false, 0},
      {L"12zz", false, 0},       {L"16#1g", false, 0},       {L"10#1A", false, 0},
      {L"1F", false, 0},         {L"16#", false, 0},         {L"16#0x", false, 0},
      {L"1 2", false, 0},        {L"1.5", false, 0},         {L"-", false, 0},
      {L"2147483648", false, 0}, {L"-2147483649", false, 0}, {L"16#80000000", false, 0},
      {L"99999999999999999999", false, 0},                   {L"8#7", false, 0},
  };
  for (const Case& c : cases) {
    int value = 12345;
    EXPECT_EQ(ParseBasedInteger(value, c.text), c.ok) << "text: \"" << c.text << "\"";
    if (c.ok) {
      EXPECT_EQ(value, c.value) << "text: " << c.text;
    }
  }
}

TEST(SelectLocalizedText, PicksThePieceOfTheCurrentLanguage) {
  struct Case {
    const wchar_t* text;
    bool ok1;
    const wchar_t* english;
    bool ok2;
    const wchar_t* chinese;
  };
  const Case cases[] = {
      {L"plain text", true, L"plain text", true, L"plain text"},
      {L"", true, L"", true, L""},
      {L"a${b}", true, L"a${b}", true, L"a${b}"},
      {L"${Start}${启动}", true, L"Start", true, L"启动"},
      {L"${only English}", true, L"only English", false, L""},
      {L"${}${中}", false, L"", true, L"中"},
      {L"${}", false, L"", false, L""},
      {L"${x}", true, L"x", false, L""},
      // the stripped characters are not checked to be braces
      {L"$(ab)$(cd)", true, L"$(ab)$(cd)", true, L"$(ab)$(cd)"},
      {L"${ab)${cd]", true, L"ab", true, L"cd"},
  };
  for (const Case& c : cases) {
    std::wstring result = L"unchanged";
    EXPECT_EQ(SelectLocalizedText(c.text, result), c.ok1) << c.text;
    if (c.ok1) {
      EXPECT_EQ(result, c.english);
    }
  }
  LanguageGuard chinese(kLanguageChinese);
  for (const Case& c : cases) {
    std::wstring result;
    EXPECT_EQ(SelectLocalizedText(c.text, result), c.ok2) << c.text;
    if (c.ok2) {
      EXPECT_EQ(result, c.chinese);
    }
  }
}

TEST(ParseXmlBuffer, HandlerErrorCarriesItsElementPositionAndFreesTheParser) {
  CountingReader reader;
  std::wstring message = reader.Run("<Root>\n  <A/>\n  <A/><Bad/>\n  <A/>\n</Root>");
  EXPECT_EQ(message, L"Parse XML Error\r\n  Name error\r\n  In file \"/x/y.xml\"\r\n  row = 3 column = 6");
  EXPECT_EQ(reader.Elements, 4);  // nothing after the failing element was handled
  EXPECT_TRUE(reader.SawParserInHandler);
  EXPECT_EQ(reader.Area.Parser, nullptr);
  EXPECT_EQ(reader.Area.ParseState, 0);
  EXPECT_TRUE(reader.Area.FilePath.empty());
}

TEST(ParseXmlBuffer, ExpatErrorsNameTheirTextAndPosition) {
  CountingReader reader;
  EXPECT_EQ(reader.Run("<Root>\n  <A>\n</Root>"),
            L"Parse XML Error\r\n  mismatched tag\r\n  In file \"/x/y.xml\"\r\n  row = 3 column = 2");
  EXPECT_EQ(reader.Run("<Root></Root><Second/>"),
            L"Parse XML Error\r\n  junk after document element\r\n  In file \"/x/y.xml\"\r\n  row = 1 column = 13");
  EXPECT_EQ(reader.Run(""), L"Parse XML Error\r\n  File is empty : \"/x/y.xml\"");
  EXPECT_EQ(reader.Area.Parser, nullptr);
  // The same area serves the next read.
  EXPECT_EQ(reader.Run("<Root><A/></Root>"), L"");
  EXPECT_EQ(reader.Area.ParseState, 0);
}

TEST(EscapeXmlAttribute, EscapesEveryCharacterThatWouldChangeOnReading) {
  EXPECT_EQ(EscapeXmlAttribute(L"a&b<c>d\"e'f\tg\nh\ri &amp;"),
            L"a&amp;b&lt;c&gt;d&quot;e&apos;f&#9;g&#10;h&#13;i &amp;amp;");
  EXPECT_TRUE(IsXmlText(L"中文 \t\n\r\U0001F600"));
  EXPECT_FALSE(IsXmlText(std::wstring(1, L'\x01')));
  EXPECT_FALSE(IsXmlText(std::wstring(1, static_cast<wchar_t>(0xD800))));
  EXPECT_FALSE(IsXmlText(std::wstring(1, static_cast<wchar_t>(0xFFFF))));
}
