// Library functions on Windows: DLLs loaded with LoadLibraryA, exports found
// with GetProcAddress. On 32-bit Windows they are called as stdcall functions
// through a thunk that survives a callee of the C convention; 64-bit Windows
// has the one x64 convention, in which the caller removes the arguments.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdint>
#include <string>

#include "call_words.h"
#include "platform.h"

namespace basic::platform {

namespace {

#ifndef _WIN64
// Calls entry with count 32-bit words, the first word as the first
// argument. A stdcall callee removes the words, a cdecl callee leaves them:
// the thunk keeps the stack pointer in EBP (which both conventions preserve)
// and restores it from there, so either kind returns to a sound stack. The
// stack is 16-byte aligned at the call, as code built by current compilers
// may assume.
extern "C" int32_t CallStdcallWords(void* entry, const intptr_t* words,
                                    size_t count) asm("basic_win32_call_stdcall_words");

asm(R"(
    .text
    .p2align 4
    .globl basic_win32_call_stdcall_words
basic_win32_call_stdcall_words:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    # Room for the words, placed so that ESP is 16-byte aligned once they
    # are pushed.
    leal 0(,%ecx,4), %eax
    movl %esp, %edx
    subl %eax, %edx
    andl $-16, %edx
    addl %eax, %edx
    movl %edx, %esp
    testl %ecx, %ecx
    jz 2f
1:
    pushl -4(%esi,%ecx,4)
    decl %ecx
    jnz 1b
2:
    call *8(%ebp)
    # Whatever the callee removed or left behind.
    leal -4(%ebp), %esp
    popl %esi
    popl %ebp
    ret
)");
#endif

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
    if (count > kMaxCallWords) count = kMaxCallWords;
#ifdef _WIN64
    return CallCallerCleansWords(entry, words, count);
#else
    return CallStdcallWords(entry, words, count);
#endif
  }
};

}  // namespace

ExternalCode& NativeLibraries() {
  static Win32Libraries libraries;
  return libraries;
}

}  // namespace basic::platform
