// Library functions as the interpreter sees them: loading a library, finding
// an export and calling it. The platform supplies the real loader and the
// calling convention; without one nothing loads and every DECLAREd function
// reports "external function missing" when called.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace basic {

// A call passes at most this many machine words: six arguments and, for a
// function returning a string, the address of its result slot.
inline constexpr size_t kMaxCallWords = 7;

class ExternalCode {
 public:
  virtual ~ExternalCode() = default;
  // The loaded library, or nullptr when it cannot be loaded. Every non-null
  // handle is given back once through CloseLibrary.
  virtual void* OpenLibrary(const std::string& name) = 0;
  // The export of that exact (case-sensitive) name, or nullptr.
  virtual void* FindExport(void* library, const std::string& name) = 0;
  virtual void CloseLibrary(void* library) = 0;
  // Calls entry with count (<= kMaxCallWords) words, the first word as the
  // first argument, in the platform's convention for library functions
  // (stdcall on 32-bit Windows, the C convention elsewhere). Returns the
  // callee's result read as a signed 32-bit integer.
  virtual int32_t Call(void* entry, const intptr_t* words, size_t count) = 0;
};

// Loads nothing.
class NoExternalCode : public ExternalCode {
 public:
  void* OpenLibrary(const std::string&) override { return nullptr; }
  void* FindExport(void*, const std::string&) override { return nullptr; }
  void CloseLibrary(void*) override {}
  int32_t Call(void*, const intptr_t*, size_t) override { return 0; }
};

}  // namespace basic
