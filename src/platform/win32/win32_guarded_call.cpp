// The one place where a library function runs. Each thunk is a frame with an
// exception handler of its own, so that a fault in the callee (a bad
// pointer, a wrong declaration, a runaway recursion) comes back here as a
// failed call; a fault anywhere else in the process never reaches this
// handler and still ends the process. The callee's own handlers come first:
// functions such as lstrlenA catch their own faults and are left to do so.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include "win32_guarded_call.h"

#include <malloc.h>
#include <windows.h>

namespace basic::platform {

namespace {

// Read after the landing, on the same thread.
DWORD lastFaultCode = 0;

bool IsCalleeFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW: return true;
    default: return false;
  }
}

}  // namespace

#ifdef _WIN64

// Calls entry with the seven words (four in registers, three on the stack
// above the home area) and stores its 32-bit result; returns 0. After a
// fault the handler unwinds the callee's frames and resumes at the landing,
// which returns 1. The thunk keeps no register of its own across the call,
// so the unwind restores everything its caller relies on.
extern "C" int GuardedCallWords(void* entry, const intptr_t* words,
                                int32_t* result) asm("basic_win64_guarded_call");
extern "C" char FaultLanding[] asm("basic_win64_fault_landing");
extern "C" EXCEPTION_DISPOSITION OnCalleeFault(
    EXCEPTION_RECORD* record, void* frame, CONTEXT*,
    DISPATCHER_CONTEXT* dispatch) asm("basic_win64_fault_handler");

asm(R"(
    .text
    .p2align 4
    .globl basic_win64_guarded_call
    .def basic_win64_guarded_call; .scl 2; .type 32; .endef
    .seh_proc basic_win64_guarded_call
basic_win64_guarded_call:
    subq $72, %rsp
    .seh_stackalloc 72
    .seh_endprologue
    # The result's address, in its home slot.
    movq %r8, 96(%rsp)
    movq %rcx, %rax
    movq %rdx, %r10
    movq 32(%r10), %r11
    movq %r11, 32(%rsp)
    movq 40(%r10), %r11
    movq %r11, 40(%rsp)
    movq 48(%r10), %r11
    movq %r11, 48(%rsp)
    movq (%r10), %rcx
    movq 8(%r10), %rdx
    movq 16(%r10), %r8
    movq 24(%r10), %r9
    callq *%rax
    movq 96(%rsp), %rcx
    movl %eax, (%rcx)
    xorl %eax, %eax
    addq $72, %rsp
    ret
    .globl basic_win64_fault_landing
basic_win64_fault_landing:
    movl $1, %eax
    addq $72, %rsp
    ret
    .seh_handler basic_win64_fault_handler, @except
    .seh_endproc
)");

extern "C" EXCEPTION_DISPOSITION OnCalleeFault(EXCEPTION_RECORD* record, void* frame, CONTEXT*,
                                               DISPATCHER_CONTEXT* dispatch) {
  if ((record->ExceptionFlags & EXCEPTION_UNWIND) != 0 || !IsCalleeFault(record->ExceptionCode))
    return ExceptionContinueSearch;
  lastFaultCode = record->ExceptionCode;
  // Runs the callee's termination handlers and resumes in the thunk's frame.
  RtlUnwindEx(frame, FaultLanding, record, nullptr, dispatch->ContextRecord,
              dispatch->HistoryTable);
  return ExceptionContinueSearch;
}

bool CallLibraryFunction(void* entry, const intptr_t* words, size_t count, int32_t* result) {
  intptr_t padded[kMaxCallWords] = {};
  for (size_t i = 0; i < count && i < kMaxCallWords; ++i) padded[i] = words[i];
  static_assert(kMaxCallWords == 7, "the thunk passes seven words");
  lastFaultCode = 0;
  if (GuardedCallWords(entry, padded, result) == 0) return true;
  // The guard page that caught the recursion is spent; without a new one
  // the next overflow would end the process.
  if (lastFaultCode == EXCEPTION_STACK_OVERFLOW) _resetstkoflw();
  return false;
}

#else

// Calls entry with count 32-bit words, the first word as the first
// argument, stores its result and returns 0. A stdcall callee removes the
// words, a cdecl callee leaves them: the thunk keeps the stack pointer in
// EBP (which both conventions preserve) and restores it from there, so
// either kind returns to a sound stack. The stack is 16-byte aligned at the
// call, as code built by current compilers may assume.
//
// Around the call an exception registration (the previous head of the
// thread's chain at FS:0, then the handler) sits at EBP-20, below the saved
// ESI, EDI and EBX. After a fault the handler resumes the landing with that
// frame, which returns 1; the landing, like the normal exit, puts the head
// of the chain back as it was before the call, dropping any registration
// the callee left behind.
extern "C" int GuardedCallWords(void* entry, const intptr_t* words, size_t count,
                                int32_t* result) asm("basic_win32_guarded_call");
extern "C" char FaultLanding[] asm("basic_win32_fault_landing");
extern "C" EXCEPTION_DISPOSITION __cdecl OnCalleeFault(EXCEPTION_RECORD* record, void* registration,
                                                       CONTEXT* context,
                                                       void*) asm("basic_win32_fault_handler");

constexpr DWORD kRegistrationBelowFrame = 20;

asm(R"(
    .text
    .p2align 4
    .globl basic_win32_guarded_call
basic_win32_guarded_call:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    pushl $basic_win32_fault_handler
    pushl %fs:0
    movl %esp, %fs:0
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
    movl 20(%ebp), %ecx
    movl %eax, (%ecx)
    xorl %eax, %eax
    jmp 3f
    .globl basic_win32_fault_landing
basic_win32_fault_landing:
    movl $1, %eax
3:
    # Whatever the callee removed or left behind.
    leal -20(%ebp), %esp
    popl %fs:0
    addl $4, %esp
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret
)");

extern "C" EXCEPTION_DISPOSITION __cdecl OnCalleeFault(EXCEPTION_RECORD* record, void* registration,
                                                       CONTEXT* context, void*) {
  if ((record->ExceptionFlags & EXCEPTION_UNWIND) != 0 || !IsCalleeFault(record->ExceptionCode))
    return ExceptionContinueSearch;
  lastFaultCode = record->ExceptionCode;
  const auto at = reinterpret_cast<DWORD>(registration);
  context->Esp = at;
  context->Ebp = at + kRegistrationBelowFrame;
  context->Eip = reinterpret_cast<DWORD>(FaultLanding);
  return ExceptionContinueExecution;
}

bool CallLibraryFunction(void* entry, const intptr_t* words, size_t count, int32_t* result) {
  if (count > kMaxCallWords) count = kMaxCallWords;
  lastFaultCode = 0;
  if (GuardedCallWords(entry, words, count, result) == 0) return true;
  if (lastFaultCode == EXCEPTION_STACK_OVERFLOW) _resetstkoflw();
  return false;
}

#endif

}  // namespace basic::platform
