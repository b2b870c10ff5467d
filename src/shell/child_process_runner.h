// The child process runner: starts a program file with its standard output
// and input on pipes, relays what it writes, and returns its exit code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace basic::shell {

// Gives one character for the child's input when it returns true.
using InputHook = std::function<bool(char& c)>;
// Receives each chunk the child wrote, in order; may change the bytes.
using OutputHook = std::function<void(char* bytes, size_t count)>;
// Takes a pending Ctrl-C: true once for each.
using BreakCheck = std::function<bool()>;

// How long a child has, after Ctrl-C was passed on to it, to end by itself.
inline constexpr uint32_t kInterruptGraceMs = 2000;

// Starts program with parameters and the environment block (entries each
// followed by one NUL; empty: inherit), relays until the child ends or closes
// its output, and returns its exit code (259 when it still runs 5 s after
// closing its output). Unset hooks: no input (the child reads end of file) /
// output dropped. Failures raise RuntimeFault.
// When breakRequested reports Ctrl-C, the child is asked to stop, ended
// outright after kInterruptGraceMs, and the call raises "Break" (code -20).
uint32_t RunProcess(const std::string& program, const std::string& parameters,
                    const std::string& environmentBlock, const InputHook& input,
                    const OutputHook& output, const BreakCheck& breakRequested = {});

}  // namespace basic::shell
