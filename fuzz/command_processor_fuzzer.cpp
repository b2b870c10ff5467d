// Arbitrary text through the command processor, then RUN, as a bound stub
// would take it, with nothing on standard input. Endless programs end at the
// statement budget. The text is also the file "F", for LOAD, MERGE and RUN
// "F" to read as a program file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  basic::ConsoleOptions options;
  options.flushEachItem = true;  // nothing piles up in the console
  basic::fuzz::FuzzMachine machine({}, options);
  machine.files.WriteFile("F", text);
  std::string lines(text);
  lines += "\r\nRUN";
  machine.basic.ProcessText(lines);
  machine.console.Flush();
  return 0;
}
