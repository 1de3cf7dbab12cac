// libFuzzer harness for the instruction library reader: the input is taken as the bytes of a
// "ManagerFun.xml" file. A malformed file must end in an ExceptionError, never a crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "platform/text_codec.h"
#include "tests/fuzz/fuzz_scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = fuzzsupport::ScratchFile("fuzz_manager_fun");
  if (!fuzzsupport::WriteScratchFile(path, data, size)) std::abort();

  // Both languages pick different pieces of the localized texts.
  Brenno::SetCurrentLanguage((size & 1) != 0 ? Brenno::kLanguageChinese : Brenno::kLanguageEnglish);
  Brenno::InstructionLibrary library;
  try {
    Brenno::ReadManagerFun(library, *platform::Utf8ToWide(path), 2);
  } catch (const Brenno::ExceptionError&) {
  }
  return 0;
}
