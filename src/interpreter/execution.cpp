// The statement loop: walks token lists statement by statement, dispatching
// on the code of each statement's first token, and reports the error that
// ends a run.
#include <exception>
#include <new>
#include <string>

#include "basic.h"
#include "errors.h"
#include "numeric.h"

namespace basic {

// The entry past the keywords is the end of a line's: an empty statement.
// clang-format off
constexpr TBasic::Dispatcher TBasic::kDispatch[kTokenCodeCount + 1] = {
#define BASIC_TOKEN_HANDLER(name, text, handler) \
  [](TBasic& basic, StatementContext& ctx) { basic.handler(ctx); },
    BASIC_TOKENS(BASIC_TOKEN_HANDLER)
#undef BASIC_TOKEN_HANDLER
    [](TBasic& basic, StatementContext& ctx) { basic.ExecEmpty(ctx); },
};
// clang-format on
static_assert(tcEol == kTokenCodeCount);

TBasic::TBasic(Console& console) : console_(console) {}

TBasic::~TBasic() {
  // Tokens point at variables and definitions; release the lines first.
  immediateTokens.FreeTokens();
  controlStack.Clear();
  program.Clear();
  variables.RemoveAll();
}

void TBasic::Execute() {
  try {
    // The statement's first token stays in a register; currentToken is
    // written for the handlers (and for a budget that stops here) but never
    // read back here.
    Token* token = currentToken;
    for (;;) {
      // Stored lines run compiled from a line's start; the statements a
      // compiled run does not take come back here.
      if (currentLine != nullptr && token == currentLine->Tokens.begin() && MayRunCompiled() &&
          !RunCompiled(token))
        return;
      currentToken = token;
      if (--statementBudget == 0) [[unlikely]] {
        if (StatementBudgetSpent(token)) {
          stopRequested = true;
          return;
        }
      }
      StatementContext ctx;
      if (breakRequested) [[unlikely]] {
        breakRequested = 0;
        RaiseError(kBreakCode, msg::kBreak);
      }
      // One past the statement's keyword; ExecEmpty takes it back at a
      // colon or a line's end, so that no check is needed here.
      nextToken = token + 1;
      kDispatch[token->code](*this, ctx);
      if (!GoOn(ctx, token)) return;
    }
  } catch (const LibraryFault& error) {
    libraryFaulted = true;
    ReportRunError(error, error.errorCode, true);
  } catch (const EBasic& error) {
    ReportRunError(error, error.errorCode, true);
  } catch (const OutputFailure&) { throw; } catch (const std::bad_alloc&) {
    ReportRunError(RuntimeFault(msg::kOutOfMemory), 0, false);
  } catch (const std::exception& error) { ReportRunError(error, 0, false); }
}

void TBasic::ReportRunError(const std::exception& error, int code, bool hasCode) {
  PauseObserver(StatementObserver::Pause::kError);
  if (!hasCode || code != kBreakCode) errorReported = true;
  std::string report = "\a";
  if (hasCode) report += "(" + std::to_string(code) + ") ";
  report += error.what();
  console_.Write(report);
  console_.Flush();
  if (currentLine != nullptr) console_.Write(" in " + std::to_string(currentLine->LineNo));
  console_.NewLine();
  console_.Flush();
}

void TBasic::CheckStatementEnd() {
  if (!AtEol(nextToken)) RaiseMessage(msg::kExtraInformation);
}

ProgramLine* TBasic::FindLine(int64_t number) const { return program.Find(Low32(number)); }

ProgramLine* TBasic::GetTargetLine() { return GetTargetEntry().line; }

const LineEntry& TBasic::GetOtherTargetEntry() {
  const Token* expression = nextToken;
  const int32_t number = Low32(EvalInteger());
  const LineEntry* entry = program.FindEntry(number, expression->lineHint);
  if (entry == nullptr) RaiseMessage(msg::kUndefinedLine);
  return *entry;
}

ProgramLine* TBasic::GetLine(int64_t number) const {
  ProgramLine* line = FindLine(number);
  if (line == nullptr) RaiseMessage(msg::kUndefinedLine);
  return line;
}

}  // namespace basic
