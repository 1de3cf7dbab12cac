// libFuzzer harness for the instruction library reader: the input is taken as the bytes of a
// "ManagerFun.xml" file. A malformed file must end in an ExceptionError, never a crash.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "platform/text_codec.h"

namespace {

const std::string& ScratchFile() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/fuzz_manager_fun_XXXXXX";
    int fd = mkstemp(name.data());
    if (fd < 0) std::abort();
    close(fd);
    std::atexit([] { std::remove(ScratchFile().c_str()); });
    return name;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = ScratchFile();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);

  // Both languages pick different pieces of the localized texts.
  Brenno::SetCurrentLanguage((size & 1) != 0 ? Brenno::kLanguageChinese : Brenno::kLanguageEnglish);
  Brenno::InstructionLibrary library;
  try {
    Brenno::ReadManagerFun(library, *platform::Utf8ToWide(path), 2);
  } catch (const Brenno::ExceptionError&) {
  }
  return 0;
}
