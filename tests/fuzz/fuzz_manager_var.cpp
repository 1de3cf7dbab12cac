// libFuzzer harness for the memory-area library reader: the input is taken as the bytes of a
// "ManagerVar.xml" file. A malformed file must end in an ExceptionError, never a crash; a file
// that loads is then put through the operand conversions, which must cope with any map.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/manager_var_reader.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"
#include "platform/text_codec.h"
#include "tests/fuzz/fuzz_scratch_file.h"

namespace {

void ExerciseManager(const Brenno::MemoryAreaManager& manager) {
  static const wchar_t* const kTexts[] = {L"I0.0", L"VB100", L"&VB0", L"*VD0", L"K4M10", L"D0Z1", L"X17", L"T37"};
  for (const wchar_t* text : kTexts) {
    try {
      std::wstring normal = text;
      Brenno::NormalizeOperandText(manager, normal);
      Brenno::OperandWord word = 0;
      Brenno::ParseOperandText(text, manager, L"Dcavpz:", word);
    } catch (const Brenno::ExceptionError&) {
      // A region that reaches beyond the operand word cannot be packed.
    }
  }
  for (Brenno::OperandWord word : {0x00000000u, 0x00640131u, 0x005012B9u, 0xFFFFFFF1u}) {
    try {
      std::wstring text;
      Brenno::OperandWordToText(manager, text, word);
    } catch (const Brenno::ExceptionError&) {
    }
  }
  std::vector<std::wstring> ranges;
  Brenno::ListOperandFormatRanges(6, L"Dcavpz:", manager, ranges);
  std::wstring constant = L"16#-1";
  Brenno::CheckConstantOperand(manager, 4, constant);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = fuzzsupport::ScratchFile("fuzz_manager_var");
  if (!fuzzsupport::WriteScratchFile(path, data, size)) std::abort();

  // Both languages pick different pieces of the localized texts.
  Brenno::SetCurrentLanguage((size & 1) != 0 ? Brenno::kLanguageChinese : Brenno::kLanguageEnglish);
  Brenno::MemoryAreaManager manager;
  try {
    Brenno::ReadManagerVar(manager, *platform::Utf8ToWide(path));
  } catch (const Brenno::ExceptionError&) {
    return 0;
  }
  ExerciseManager(manager);
  return 0;
}
