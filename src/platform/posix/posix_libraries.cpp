// Library functions on POSIX: shared objects opened with dlopen, exports
// found with dlsym, called in the C calling convention. A callee that faults
// (a bad pointer, a wrong declaration, a runaway recursion) raises "Access
// violation" instead of ending the process; a fault anywhere else still does.
#include <dlfcn.h>
#include <setjmp.h>
#include <signal.h>

#include <cstdint>
#include <string>

#include "call_words.h"
#include "errors.h"
#include "platform.h"

namespace basic::platform {

namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL};
constexpr size_t kFaultSignalCount = sizeof kFaultSignals / sizeof kFaultSignals[0];

// Set only while a library function runs: the handler's sign that the fault
// is the callee's.
volatile std::sig_atomic_t inLibraryCall = 0;
sigjmp_buf afterFault;
struct sigaction previousActions[kFaultSignalCount];
// The handler runs here, so that a callee that used up the stack is caught.
alignas(16) char faultStack[256 * 1024];

extern "C" void OnFault(int signal, siginfo_t* info, void*) {
  if (inLibraryCall != 0) {
    inLibraryCall = 0;
    siglongjmp(afterFault, 1);
  }
  // Our own fault: the handler there before (the system's, or a
  // sanitizer's) takes it when the instruction runs again.
  for (size_t i = 0; i < kFaultSignalCount; ++i)
    if (kFaultSignals[i] == signal) sigaction(signal, &previousActions[i], nullptr);
  // A signal that was sent rather than raised by an instruction would not
  // come again.
  if (info == nullptr || info->si_code <= 0) raise(signal);
}

void InstallFaultHandlers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  stack_t current;
  if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) != 0) {
    stack_t ours{};
    ours.ss_sp = faultStack;
    ours.ss_size = sizeof faultStack;
    sigaltstack(&ours, nullptr);
  }
  struct sigaction action {};
  action.sa_sigaction = OnFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (size_t i = 0; i < kFaultSignalCount; ++i)
    sigaction(kFaultSignals[i], &action, &previousActions[i]);
}

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
    InstallFaultHandlers();
    // Back here from the handler, with the signal mask as it is now.
    if (sigsetjmp(afterFault, 1) != 0) throw LibraryFault();
    inLibraryCall = 1;
    const int32_t result = CallCallerCleansWords(entry, words, count);
    inLibraryCall = 0;
    return result;
  }
};

}  // namespace

ExternalCode& NativeLibraries() {
  static PosixLibraries libraries;
  return libraries;
}

}  // namespace basic::platform
