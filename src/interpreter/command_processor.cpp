// PLACEHOLDER
#include "basic.h"
#include "errors.h"
namespace basic {
void TBasic::NameRegistered(const std::string&, TFuncDefs*) {}
void TBasic::ProcessText(std::string_view) { RaiseMessage("not built yet"); }
void TBasic::RunConsole() { RaiseMessage("not built yet"); }
void TBasic::HandleLine() {}
void TBasic::ReportOutsideRun(const std::exception&) {}
}  // namespace basic
