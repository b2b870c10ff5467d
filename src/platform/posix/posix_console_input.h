// What the POSIX console input readers and file reads share: the Ctrl-C flag
// and the text already standing on the terminal's current output line.
#pragma once

#include <string>

namespace basic::platform {

// True when a caught Ctrl-C has not been taken yet.
bool InterruptPending();
// Takes a pending Ctrl-C: true once per caught Ctrl-C.
bool TakeInterrupt();
// A read was cut short by Ctrl-C: takes it and raises "Break", after moving
// the terminal to a fresh line so the report does not run on from the typing.
[[noreturn]] void RaiseInterruptedRead(const char* echo);
// For a system call that a signal cut short (EINTR): raises "Break" like an
// interrupted read when a Ctrl-C is pending; otherwise returns, and the
// caller repeats the call.
void BreakIfInterrupted();

// The bytes written to standard output since its last line end (CR or LF),
// or nothing when they are too long or hold control characters: the
// prompt that a line editor has to keep in front of the typed text.
std::string CurrentOutputLine();

}  // namespace basic::platform
