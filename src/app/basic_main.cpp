// `basic`, the developer front end; see `basic --help`.
#include <string>
#include <vector>

#include "front_end.h"
#include "platform.h"

int main(int argc, char** argv) {
  basic::platform::InitConsole();
  std::vector<std::string> args(argv + 1, argv + argc);
  return basic::app::RunFrontEnd(args, basic::platform::ExecutablePath(),
                                 basic::app::ProcessStreams(), basic::platform::WriteErrorLine);
}
