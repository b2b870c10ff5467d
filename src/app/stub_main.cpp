// The run-time stub: runs the BASIC program appended to its own file.
#include "platform.h"
#include "program_runner.h"

int main() {
  basic::platform::InitConsole();
  return basic::app::RunStub(basic::platform::ExecutablePath(), basic::app::ProcessStreams(),
                             basic::platform::WriteErrorLine);
}
