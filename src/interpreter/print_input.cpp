// PLACEHOLDER
#include "basic.h"
#include "errors.h"
namespace basic {
void TBasic::ExecPrint(StatementContext&) { RaiseMessage("not built yet"); }
void TBasic::ExecInput(StatementContext&) { RaiseMessage("not built yet"); }
}  // namespace basic
