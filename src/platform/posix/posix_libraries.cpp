// Library functions on POSIX: shared objects opened with dlopen, exports
// found with dlsym, called in the C calling convention.
#include <dlfcn.h>

#include <cstdint>
#include <string>

#include "call_words.h"
#include "platform.h"

namespace basic::platform {

namespace {

// A BASIC string may hold NUL bytes; the loader would see only the part
// before the first, which names some other file or export.
bool UsableName(const std::string& name) {
  return !name.empty() && name.find('\0') == std::string::npos;
}

class PosixLibraries final : public ExternalCode {
 public:
  void* OpenLibrary(const std::string& name) override {
    if (!UsableName(name)) return nullptr;
    // Bound now: a library with unresolvable symbols fails here, not in
    // the middle of a later call.
    return ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  }

  void* FindExport(void* library, const std::string& name) override {
    if (!UsableName(name)) return nullptr;
    return ::dlsym(library, name.c_str());
  }

  void CloseLibrary(void* library) override { ::dlclose(library); }

  int32_t Call(void* entry, const intptr_t* words, size_t count) override {
    return CallCallerCleansWords(entry, words, count);
  }
};

}  // namespace

ExternalCode& NativeLibraries() {
  static PosixLibraries libraries;
  return libraries;
}

}  // namespace basic::platform
