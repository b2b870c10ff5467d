// PLACEHOLDER: owned by the program-store work; replace the whole file.
#include "basic.h"
#include "errors.h"
namespace basic {
ProgramLine* Program::Find(int32_t) const { RaiseMessage("not built yet"); }
void Program::Enter(int32_t, TokenList) { RaiseMessage("not built yet"); }
void Program::Remove(ProgramLine*) { RaiseMessage("not built yet"); }
void Program::Clear() {}
void Program::RebuildIndex() const {}
void TBasic::EnterLine(TokenList&) { RaiseMessage("not built yet"); }
void TBasic::StopExecution() {}
void TBasic::ClearControlStack() {}
void TBasic::ResetDataPointer() {}
void TBasic::NewProgram() {}
}  // namespace basic
