#include "shell_basic.h"

namespace basic::shell {

TShellBasic::TShellBasic(Console& console) : TBasic(console) {}

}  // namespace basic::shell
