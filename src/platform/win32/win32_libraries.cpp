// Library functions on Windows: DLLs loaded with LoadLibraryA, exports found
// with GetProcAddress, called through a guarded thunk (stdcall on 32-bit
// Windows, the x64 convention on 64-bit Windows). A callee that faults raises
// "Access violation" instead of ending the process.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdint>
#include <string>

#include "errors.h"
#include "platform.h"
#include "win32_guarded_call.h"

namespace basic::platform {

namespace {

// A BASIC string may hold NUL bytes; the loader would see only the part
// before the first, which names some other file or export.
bool UsableName(const std::string& name) {
  return !name.empty() && name.find('\0') == std::string::npos;
}

class Win32Libraries final : public ExternalCode {
 public:
  void* OpenLibrary(const std::string& name) override {
    if (!UsableName(name)) return nullptr;
    // A missing library is reported when its function is called, never by
    // a system dialog box.
    const UINT previous = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = ::LoadLibraryA(name.c_str());
    ::SetErrorMode(previous);
    return reinterpret_cast<void*>(module);
  }

  void* FindExport(void* library, const std::string& name) override {
    if (!UsableName(name)) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
  }

  void CloseLibrary(void* library) override { ::FreeLibrary(static_cast<HMODULE>(library)); }

  int32_t Call(void* entry, const intptr_t* words, size_t count) override {
    int32_t result = 0;
    if (!CallLibraryFunction(entry, words, count, &result)) throw LibraryFault();
    return result;
  }
};

}  // namespace

ExternalCode& NativeLibraries() {
  static Win32Libraries libraries;
  return libraries;
}

}  // namespace basic::platform
