#include "core/env/program_paths.h"

#include <cstdlib>

#include "platform/file_util.h"
#include "platform/text_codec.h"

namespace Brenno {

std::wstring GetProgramDirectory() { return platform::GetProgramDirectory(); }

std::wstring GetPathVariable() {
  const char* value = std::getenv("PATH");
  return value == nullptr ? std::wstring() : platform::FromUtf8Lossy(value);
}

void ListSubdirectories(std::vector<std::wstring>& list, const std::wstring& folder) {
  list.clear();
  std::vector<std::wstring> names;
  platform::ListSubfolders(folder, names);
  for (const std::wstring& name : names) {
    if (!name.empty() && name[0] == L'.') continue;
    list.push_back(platform::JoinPath(folder, name));
  }
}

}  // namespace Brenno
