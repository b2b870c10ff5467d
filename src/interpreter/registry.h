// The name registry: callable names (the Shell command, DECLAREd library
// functions, methods registered by the system) with their definitions, and
// TInterpreter, the base of the interpreter that owns it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "external_code.h"
#include "str.h"

namespace basic {

// Signature code bits.
inline constexpr uint8_t kSigTypeMask = 0x0F;  // 0 none, 1 string, 2 integer, 3 C string
inline constexpr uint8_t kSigOptional = 0x10;
inline constexpr uint8_t kSigStdcall = 0x20;  // result: a library function
inline constexpr uint8_t kSigLetter = 0x40;   // "A".."C" count as 1..3
inline constexpr uint8_t kSigByRef = 0x80;
inline constexpr uint8_t kSigKindMask = 0xCF;  // code without optional and stdcall bits

// One argument word of a call, as the callee's convention receives it.
union ArgWord {
  int32_t integer;      // code 2
  const Str* string;    // code 1: the interpreter's own string value
  char* cstring;        // code 3: a private NUL-terminated copy, nullptr for "";
                        // a string reference: a writable copy of its value
  int32_t* integerRef;  // an integer reference; nullptr when omitted
  intptr_t raw;
};

// A method of an object inside the system: gets its instance, the argument
// words in order, and for a string result the slot to fill; returns an integer.
using MethodEntry = int32_t (*)(void* instance, const ArgWord* args, size_t count, Str* result);

struct TFuncDef {
  std::string signature;     // result code, then one code per parameter
  void* instance = nullptr;  // nullptr for a library function
  MethodEntry method = nullptr;
  void* libraryEntry = nullptr;  // export address; nullptr when not bound

  uint8_t ResultCode() const { return static_cast<uint8_t>(signature[0]); }
  size_t ParameterCount() const { return signature.size() - 1; }
  uint8_t ParameterCode(size_t i) const { return static_cast<uint8_t>(signature[i + 1]); }
  bool Bound() const { return method != nullptr || libraryEntry != nullptr; }
};

// The definitions of one name; calls use the first.
class TFuncDefs {
 public:
  explicit TFuncDefs(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }  // spelled as first registered
  const TFuncDef& First() const { return *defs_.front(); }
  size_t size() const { return defs_.size(); }
  const TFuncDef& at(size_t i) const { return *defs_[i]; }
  // Replaces the newest definition with the same signature, else appends.
  void Add(std::unique_ptr<TFuncDef> def);

 private:
  std::string name_;
  std::vector<std::unique_ptr<TFuncDef>> defs_;
};

// One library handle, given back through the loader that produced it.
class LoadedLibrary {
 public:
  LoadedLibrary(ExternalCode& loader, void* handle) : loader_(&loader), handle_(handle) {}
  LoadedLibrary(LoadedLibrary&& other) noexcept
      : loader_(other.loader_), handle_(std::exchange(other.handle_, nullptr)) {}
  LoadedLibrary& operator=(LoadedLibrary&&) = delete;
  ~LoadedLibrary() {
    if (handle_ != nullptr) loader_->CloseLibrary(handle_);
  }

 private:
  ExternalCode* loader_;
  void* handle_;
};

class TInterpreter {
 public:
  TInterpreter() = default;
  TInterpreter(const TInterpreter&) = delete;
  TInterpreter& operator=(const TInterpreter&) = delete;
  virtual ~TInterpreter();

  // Called for a name new to the registry, in upper case.
  virtual void NameRegistered(const std::string& upperName, TFuncDefs* defs);
  virtual void ProcessText(std::string_view text) = 0;
  virtual void RunConsole() = 0;

  void AddDefinition(std::string_view name, uint8_t resultCode, MethodEntry method,
                     void* libraryEntry, void* instance, std::string_view parameterCodes);
  void AddMethod(std::string_view name, uint8_t resultCode, MethodEntry method, void* instance,
                 std::string_view parameterCodes) {
    AddDefinition(name, resultCode, method, nullptr, instance, parameterCodes);
  }
  // Loads the library and registers its export under name; a library or an
  // export that is not found registers an unbound definition, reported only
  // when it is called.
  void AddExternal(std::string_view name, uint8_t resultCode, const std::string& entryName,
                   const std::string& libraryName, std::string_view parameterCodes);
  // The loader and caller of library functions; not owned, and it must
  // outlive the interpreter. Until set, no library loads.
  void SetExternalCode(ExternalCode& code) { external_ = &code; }
  ExternalCode& externalCode() const { return *external_; }

  // The index of the registered name that the word (ending just before
  // `position`, 0-based, in `line`) stands for, or -1. When a longer name
  // matches the line from the word's start, position moves past it.
  int FindName(std::string_view word, std::string_view line, size_t& position) const;
  TFuncDefs* DefsAt(int index) const { return names_[static_cast<size_t>(index)].get(); }
  size_t NameCount() const { return names_.size(); }

 private:
  // Declared before the names, so that code a definition points into is
  // unloaded only after the definitions are gone.
  NoExternalCode noExternalCode_;
  ExternalCode* external_ = &noExternalCode_;
  std::vector<LoadedLibrary> libraries_;  // in load order
  // Sorted by name without regard to ASCII letter case.
  std::vector<std::unique_ptr<TFuncDefs>> names_;
};

// ASCII-only case folding, as the registry and keywords compare.
char UpperAscii(char c);
std::string UpperAscii(std::string_view s);
// <0, 0, >0 comparing without regard to ASCII letter case, else by byte value.
int CompareNoCase(std::string_view a, std::string_view b);

}  // namespace basic
