#include "platform/dynamic_library.h"

#include <cwctype>
#include <dlfcn.h>

#include "platform/file_util.h"
#include "platform/text_codec.h"

namespace platform {

std::wstring ResolveLibraryPath(const std::wstring& path) {
  const auto slash = path.find_last_of(L'/');
  const std::wstring folder = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::wstring dll = L".dll";
  if (name.size() > dll.size()) {
    std::wstring ext = name.substr(name.size() - dll.size());
    for (auto& c : ext) c = static_cast<wchar_t>(std::towlower(c));
    if (ext == dll) {
      const std::wstring candidate = folder + L"lib" + name.substr(0, name.size() - dll.size()) + L".so";
      if (FileExists(candidate)) return candidate;
    }
  }
  return path;
}

DynamicLibrary::~DynamicLibrary() { Release(); }

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

bool DynamicLibrary::Load(const std::wstring& path, std::wstring* error) {
  Release();
  const std::string file = ToUtf8Lossy(ResolveLibraryPath(path));
  // A bare name would make dlopen search the system paths; keep the load inside the folder given.
  const std::string spec = file.find('/') == std::string::npos ? "./" + file : file;
  // A library stays mapped until the process ends, even after Release: the libraries it brings
  // in (a toolkit such as Qt, and what that links) are not made to be unloaded, and unloading
  // them loses what their start-up allocated (LeakSanitizer sees it as a leak of the plug-in).
  // Release still drops this handle's reference; nothing of the library is called after it.
  handle_ = dlopen(spec.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (handle_ == nullptr && error != nullptr) {
    const char* reason = dlerror();
    *error = FromUtf8Lossy(reason ? reason : "unknown error");
  }
  return handle_ != nullptr;
}

void DynamicLibrary::Release() {
  if (handle_ != nullptr) {
    dlclose(handle_);
    handle_ = nullptr;
  }
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  return dlsym(handle_, name);
}

}  // namespace platform
