// `basic`, the developer front end; see `basic --help`.
#include <string>
#include <vector>

#include "front_end.h"
#include "platform.h"

int main(int argc, char** argv) {
  basic::platform::InitConsole();
  std::vector<std::string> args(argv + 1, argv + argc);
  // Someone may be at the keyboard: edited input lines, and Ctrl-C stops the
  // program rather than the front end.
  basic::app::ConsoleStreams streams{basic::platform::StandardOutput(),
                                     basic::platform::InteractiveInput(),
                                     basic::platform::DefaultConsoleOptions(), true};
  return basic::app::RunFrontEnd(args, basic::platform::ExecutablePath(), streams,
                                 basic::platform::WriteErrorLine);
}
