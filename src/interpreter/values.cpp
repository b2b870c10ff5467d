// PLACEHOLDER: owned by the values work; replace the whole file.
#include "basic.h"
#include "errors.h"
namespace basic {
uint64_t varrec::ElementCount() const { return 0; }
void ClearVariable(varrec&) {}
varrec* VariableList::FindOrAdd(std::string_view) { RaiseMessage("not built yet"); }
void VariableList::ClearAll() {}
void VariableList::RemoveAll() {}
void TBasic::ExpectToken(TokenCode) { RaiseMessage("not built yet"); }
bool TBasic::AcceptWord(std::string_view) { RaiseMessage("not built yet"); }
void TBasic::ExpectWord(std::string_view) { RaiseMessage("not built yet"); }
void TBasic::SkipSubscript() { RaiseMessage("not built yet"); }
void TBasic::SkipParenthesised() { RaiseMessage("not built yet"); }
VarLocation TBasic::GetVariable() { RaiseMessage("not built yet"); }
double TBasic::EvalNumber() { RaiseMessage("not built yet"); }
Str TBasic::EvalString() { RaiseMessage("not built yet"); }
int64_t TBasic::EvalInteger() { RaiseMessage("not built yet"); }
double TBasic::FactorNumber() { RaiseMessage("not built yet"); }
Str TBasic::FactorString() { RaiseMessage("not built yet"); }
int64_t TBasic::FactorInteger() { RaiseMessage("not built yet"); }
DepthGuard::DepthGuard(TBasic& basic) : basic_(basic) { ++basic_.evalDepth; }
}  // namespace basic
