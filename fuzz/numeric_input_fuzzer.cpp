// Typed input: what a person answers to INPUT, numeric and string, and the
// text VAL reads, from arbitrary bytes on standard input. Each line of the
// text is its own command, so an error in one leaves the next to run.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_machine.h"

namespace {

// A program line for the typed items to refer to (variables, an array and
// a registered name that must not be callable from input).
constexpr std::string_view kCommands =
    "DIM B(3): X = 7: Y$ = \"Y\"\r\n"
    "INPUT A\r\n"
    "INPUT A, B(1), C: PRINT A; B(1); C\r\n"
    "INPUT S$: PRINT VAL(S$); VAL(S$ + S$)\r\n"
    "INPUT \"prompt\"; A, B(A)\r\n"
    "INPUT S$, T$: A = VAL(S$) + VAL(T$)\r\n"
    "INPUT A: INPUT B(2): PRINT A + B(2)\r\n"
    "INPUT S$: PRINT VAL(\"VAL(S$)\")\r\n";

int32_t Nothing(void*, const basic::ArgWord*, size_t, basic::Str*) { return 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses how lines end, as on a terminal or in a pipe.
  basic::ConsoleOptions options;
  options.flushEachItem = true;
  options.lfEndsLine = (data[0] & 1) != 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  basic::fuzz::FuzzMachine machine(input, options);
  machine.basic.AddMethod("Beep", 2, Nothing, nullptr, std::string(1, '\x02'));
  std::string commands(kCommands);
  commands += commands;  // more than one answer of each kind
  machine.basic.ProcessText(commands);
  machine.console.Flush();
  return 0;
}
