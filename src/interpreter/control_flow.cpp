// Control flow: GOTO, IF/THEN/ELSE, ON, FOR/NEXT, WHILE/WEND, GOSUB/RETURN.
// Blocks are not matched before a run: FOR, WHILE and IF scan forward for
// their partners when they need them; NEXT, WEND and RETURN search the stack.
#include <cmath>

#include "basic.h"
#include "errors.h"
#include "invariant.h"
#include "numeric.h"

namespace basic {

// Execution goes on at the target line's first token, read from the index
// rather than the line record.
void TBasic::Jump(StatementContext& ctx) {
  const LineEntry& target = GetTargetEntry();
  currentLine = target.line;
  nextToken = target.tokens;
  ctx.lineJumped = true;
  ctx.skipEndCheck = true;
  NoteTransfer();
}

bool TBasic::ScanBlock(TokenCode opening, TokenCode closing) {
  ProgramLine* const startLine = currentLine;
  int depth = 0;
  for (;;) {
    if (!StepOverLineEnds(currentLine, nextToken)) {
      currentLine = startLine;
      return false;
    }
    const TokenCode code = PeekCode();
    Advance();
    if (code == opening) ++depth;
    if (code == closing && --depth < 0) return true;
  }
}

void TBasic::ExecGoto(StatementContext& ctx) { Jump(ctx); }

void TBasic::ExecIf(StatementContext& ctx) {
  const double condition = EvalNumber();
  ExpectToken(tcThen);
  // Every operation raises an error instead of making a NaN.
  BASIC_ASSERT(!std::isnan(condition));
  if (condition == 0) nextToken = ElseBranchOf(nextToken);
  if (PeekCode() == tcNumber) {
    Jump(ctx);
    return;
  }
  ctx.skipEndCheck = true;
}

// Met as a statement: the THEN branch has ended, so the rest of the line goes.
void TBasic::ExecElse(StatementContext&) { nextToken = NilToken(); }

void TBasic::ExecOn(StatementContext& ctx) {
  int64_t selector = EvalInteger();
  const bool isGosub = PeekCode() == tcGosub;
  if (isGosub)
    Advance();
  else
    ExpectToken(tcGoto);
  if (selector < 1) {
    SkipStatement();
    return;
  }
  // Entries before the selected one must be plain line numbers.
  while (selector > 1 && !AtStatementEnd()) {
    ExpectToken(tcNumber);
    if (!AtStatementEnd()) ExpectToken(tcComma);
    --selector;
  }
  if (AtStatementEnd()) return;
  // RETURN resumes at the selected entry and passes over the rest of the list.
  if (isGosub) PushFrame(fkGosub);
  Jump(ctx);
}

void TBasic::ExecFor(StatementContext&) {
  const VarLocation target = GetVariable();
  if (target.var->isString) SyntaxError();
  ExpectToken(tcEqual);
  *target.num = EvalNumber();
  ExpectToken(tcTo);
  const double limit = EvalNumber();
  double step = 1;
  if (PeekCode() == tcStep) {
    Advance();
    step = EvalNumber();
  }
  EnterLoop(target, limit, step);
}

void TBasic::EnterLoop(const VarLocation& target, double limit, double step) {
  if (PushLoop(target, limit, step) != nullptr) return;

  // Not entered: skip to the matching NEXT. NEXT with this variable pairs
  // with FOR of this variable; any other NEXT pairs with any other FOR.
  ProgramLine* const startLine = currentLine;
  int mine = 0;
  int others = 0;
  for (;;) {
    if (!StepOverLineEnds(currentLine, nextToken)) {
      currentLine = startLine;
      RaiseMessage(msg::kForWithoutNext);
    }
    const Token* token = nextToken;
    Advance();
    if (token->code != tcFor && token->code != tcNext) continue;
    const bool isMine = token[1].code == tcVariable && token[1].variable == target.var;
    int& counter = isMine ? mine : others;
    counter += token->code == tcFor ? 1 : -1;
    if (counter < 0) break;
  }
  SkipStatement();
  NoteTransfer();
}

void TBasic::ExecNext(StatementContext& ctx) {
  framerec* frame = controlStack.empty() ? nullptr : &controlStack.Top();
  // Nearly every NEXT closes the innermost FOR, naming its scalar or nothing.
  const Token& named = *nextToken;
  const bool innermost =
      frame != nullptr && frame->kind == fkFor &&
      (AtStatementEnd() || (named.code == tcVariable && named.variable == frame->loopVar &&
                            named.variable->dimCount == 0 && nextToken[1].code != tcOpen));
  if (innermost) {
    if (!AtStatementEnd()) Advance();
  } else {
    frame = &FindLoopFrame();
  }
  BASIC_ASSERT(frame->kind == fkFor && frame->loopValue != nullptr);
  if (!StepLoop(*frame)) {
    controlStack.Pop();
    return;
  }
  currentLine = frame->line;
  nextToken = frame->resumeToken;
  ctx.lineJumped = ctx.skipEndCheck = frame->atLineStart;
  NoteTransfer();
}

framerec& TBasic::FindLoopFrame() {
  varrec* wanted = AtStatementEnd() ? nullptr : GetVariable().var;
  for (;;) {
    if (controlStack.empty() || controlStack.Top().kind == fkGosub)
      RaiseMessage(msg::kNextWithoutFor);
    const framerec& top = controlStack.Top();
    if (top.kind == fkFor && (wanted == nullptr || wanted == top.loopVar)) break;
    controlStack.Pop();
  }
  return controlStack.Top();
}

void TBasic::ExecWhile(StatementContext&) {
  PushFrame(fkWhile);
  if (AtStatementEnd()) return;  // no condition: tested at WEND only
  if (EvalNumber() != 0) return;
  SkipWhileBody();
}

void TBasic::SkipWhileBody() {
  if (!ScanBlock(tcWhile, tcWend)) RaiseMessage(msg::kWhileWithoutWend);
  controlStack.Pop();
  SkipStatement();  // an exit condition on that WEND is not evaluated
  NoteTransfer();
}

void TBasic::ExecWend(StatementContext&) {
  for (;;) {
    if (controlStack.empty() || controlStack.Top().kind == fkGosub)
      RaiseMessage(msg::kWendWithoutWhile);
    if (controlStack.Top().kind == fkWhile) break;
    controlStack.Pop();
  }
  bool again = true;
  if (!AtStatementEnd() && EvalNumber() != 0) again = false;
  ProgramLine* const afterLine = currentLine;
  Token* const afterToken = nextToken;
  if (again) {
    const framerec& frame = controlStack.Top();
    BASIC_ASSERT(frame.kind == fkWhile);
    currentLine = frame.line;
    nextToken = frame.resumeToken;
    if (!AtStatementEnd() && EvalNumber() == 0) again = false;
  }
  if (again) {  // the body follows the WHILE condition
    NoteTransfer();
    return;
  }
  currentLine = afterLine;
  nextToken = afterToken;
  controlStack.Pop();
}

void TBasic::ExecGosub(StatementContext& ctx) {
  PushFrame(fkGosub);
  Jump(ctx);
}

void TBasic::ExecReturn(StatementContext&) {
  for (;;) {
    if (controlStack.empty()) RaiseMessage(msg::kReturnWithoutGosub);
    if (controlStack.Top().kind == fkGosub) break;
    controlStack.Pop();
  }
  const framerec& frame = controlStack.Top();
  currentLine = frame.line;
  nextToken = frame.resumeToken;
  controlStack.Pop();
  // Passes over the GOSUB target (or the rest of ON's list) to the statement end.
  SkipStatement();
  NoteTransfer();
}

}  // namespace basic
