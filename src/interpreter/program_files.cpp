// PLACEHOLDER: owned by the program-files work; replace the whole file.
#include "basic.h"
#include "errors.h"
namespace basic {
std::string NoFileSystem::ReadFile(const std::string&) { throw ERuntime(FileErrorMessage(2)); }
void NoFileSystem::WriteFile(const std::string&, std::string_view) { throw ERuntime(FileErrorMessage(5)); }
void TBasic::ExecLoad(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecMerge(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecSave(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
}  // namespace basic
namespace basic {
void TBasic::LoadProgram(bool, const std::string&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::SaveProgram(const std::string&) { RaiseMessage(msg::kIllegalCommand); }
}  // namespace basic
