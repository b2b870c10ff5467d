// PLACEHOLDER
#include "basic.h"
#include "errors.h"
namespace basic {
void TBasic::ExecCallStatement(StatementContext&) { RaiseMessage("not built yet"); }
void TBasic::CallFunction(TFuncDefs*, bool, valrec&) { RaiseMessage("not built yet"); }
}  // namespace basic
