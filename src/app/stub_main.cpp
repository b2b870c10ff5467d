// The run-time stub: runs the BASIC program appended to its own file.
#include "platform.h"
#include "program_runner.h"
#include "stub_marker.h"

namespace {
// `basic --bind` refuses a stub without this. Data survives stripping; the
// attribute and the use in main keep compiler and linker from dropping it.
[[gnu::used]] const char kStubMarker[] = BASIC_STUB_MARKER_HEAD BASIC_STUB_MARKER_TAIL;
}  // namespace

int main() {
  asm volatile("" : : "r"(kStubMarker));
  basic::platform::InitConsole();
  return basic::app::RunStub(basic::platform::ExecutablePath(), basic::app::ProcessStreams(),
                             basic::platform::WriteErrorLine);
}
