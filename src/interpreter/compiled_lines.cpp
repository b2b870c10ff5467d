// Compiling stored lines and running them compiled (line_code.h). Each
// routine does what its statement's handler does once the keywords are
// read, and the run between statements does what the statement loop does:
// the budget, Ctrl-C, the current line, the statement that comes next.
#include <cmath>
#include <cstdint>

#include "basic.h"
#include "errors.h"
#include "invariant.h"
#include "line_code.h"
#include "operations.h"

namespace basic {

namespace {

// The line a jump's literal line number names, as GetTargetEntry finds it:
// only a whole number of the 32-bit range that no operator follows (that
// one is evaluated) and whose line exists (else the handler reports it).
ProgramLine* LiteralTarget(const Program& program, const Token& literal) {
  if (literal.code != tcNumber || LevelOf((&literal)[1].code) != kNone) return nullptr;
  const double n = literal.number;
  if (!(n >= INT32_MIN && n <= INT32_MAX) || n != std::floor(n)) return nullptr;
  return program.Find(static_cast<int32_t>(n));
}

bool IsNumericScalar(const Token& token) {
  return token.code == tcVariable && token.variable->dimCount == 0 && !token.variable->isString &&
         (&token)[1].code != tcOpen;
}

bool EndsStatement(const Token* t) { return t->code == tcColon || AtEol(t); }

}  // namespace

struct CompiledRunners {
  using Statement = CompiledStatement;

  // Any statement, through its handler.
  [[gnu::noinline]] static const Statement* Walked(TBasic& basic, const Statement& s) {
    const uint64_t stamp = basic.runStamp_;
    const Statement* usual = s.next;  // what came after it last time
    basic.currentToken = s.start;
    basic.nextToken = s.start + 1;
    StatementContext ctx;
    TBasic::kDispatch[s.start->code](basic, ctx);
    // The handler may have changed lines or shapes, even removed this line:
    // then `s` is not touched again.
    basic.runStamp_ = basic.CodeStamp();
    if (basic.runStamp_ != stamp) return basic.AfterHandler(ctx, nullptr);
    const Statement* after = basic.AfterHandler(ctx, usual);
    if (after != nullptr) s.next = after;
    return after;
  }

  // V = expression, V a numeric scalar.
  static const Statement* Assign(TBasic& basic, const Statement& s) {
    *s.value = basic.expressions_.At(s.expression).Run();
    return s.next != nullptr ? s.next : basic.NextLine(s);
  }

  // V(subscripts) = expression, V a numeric array. The target's
  // translation leaves the element in valuePtr, as ExecLet takes it.
  static const Statement* AssignElement(TBasic& basic, const Statement& s) {
    basic.expressions_.At(s.reference).Run();
    double* const target = static_cast<double*>(s.variable->valuePtr);
    *target = basic.expressions_.At(s.expression).Run();
    return s.next != nullptr ? s.next : basic.NextLine(s);
  }

  // IF expression THEN statement, with no ELSE after it on the line.
  static const Statement* IfThen(TBasic& basic, const Statement& s) {
    const double condition = basic.expressions_.At(s.expression).Run();
    BASIC_ASSERT(!std::isnan(condition));
    if (condition == 0) return basic.NextLine(s);
    return s.next;
  }

  // IF expression THEN n, nothing after n.
  static const Statement* IfGoto(TBasic& basic, const Statement& s) {
    const double condition = basic.expressions_.At(s.expression).Run();
    BASIC_ASSERT(!std::isnan(condition));
    if (condition == 0) return basic.NextLine(s);
    basic.currentLine = s.target;
    return basic.LineStart(*s.target);
  }

  static const Statement* Goto(TBasic& basic, const Statement& s) {
    basic.currentLine = s.target;
    return basic.LineStart(*s.target);
  }

  // RETURN resumes at the line number, and passes over it.
  static const Statement* Gosub(TBasic& basic, const Statement& s) {
    basic.nextToken = s.start + 1;
    basic.PushFrame(fkGosub);
    basic.currentLine = s.target;
    return basic.LineStart(*s.target);
  }

  // NEXT, or NEXT V, closing the innermost FOR; any other through ExecNext.
  static const Statement* Next(TBasic& basic, const Statement& s) {
    ControlStack& stack = basic.controlStack;
    if (stack.empty()) return Walked(basic, s);
    framerec& frame = stack.Top();
    if (frame.kind != fkFor || (s.variable != nullptr && s.variable != frame.loopVar))
      return Walked(basic, s);
    if (!StepLoop(frame)) {
      stack.Pop();
      return s.next != nullptr ? s.next : basic.NextLine(s);
    }
    basic.currentLine = frame.line;
    if (frame.atLineStart) return basic.LineStart(*frame.line);
    basic.nextToken = frame.resumeToken;
    return basic.AfterHandler(StatementContext{}, nullptr);
  }
};

bool TBasic::RunCompiled(Token*& token) {
  runStamp_ = CodeStamp();
  const CompiledStatement* s = LineStart(*currentLine);
  while (s != nullptr) {
    // The statement loop takes the statement that stops or breaks.
    if (statementBudget <= 1 || breakRequested != 0) [[unlikely]] {
      currentLine = s->line;
      token = s->start;
      return true;
    }
    --statementBudget;
    s = s->run(*this, *s);
  }
  if (compiledExit_ == nullptr) return false;
  token = compiledExit_;
  return true;
}

const CompiledStatement* TBasic::AfterHandler(const StatementContext& ctx,
                                              const CompiledStatement* usual) {
  Token* token = nullptr;
  if (!GoOn(ctx, token)) return EndCompiled();
  if (currentLine == nullptr) {  // an immediate line's tokens
    compiledExit_ = token;
    return nullptr;
  }
  if (usual != nullptr && usual->start == token && usual->line == currentLine) return usual;
  return StatementAt(*currentLine, token);
}

const CompiledStatement* TBasic::EndCompiled() {
  compiledExit_ = nullptr;
  return nullptr;
}

const CompiledStatement* TBasic::StatementAt(ProgramLine& line, Token* token) {
  if (line.code == nullptr) line.code = std::make_unique<LineCode>();
  LineCode& code = *line.code;
  if (code.stamp != runStamp_ || code.statements.empty()) {
    code.statements.clear();
    code.stamp = runStamp_;
    Compile(code, line, line.Tokens.begin());
  }
  return &StatementIn(code, line, token);
}

// The statement at `token` and, while each ends at a colon without leaving
// the line, the ones after it.
CompiledStatement& TBasic::Compile(LineCode& code, ProgramLine& line, Token* token) {
  CompiledStatement* first = nullptr;
  CompiledStatement* previous = nullptr;
  for (;;) {
    CompiledStatement& s = code.statements.emplace_back();
    s.line = &line;
    s.start = token;
    const Token* end = CompileForm(s);
    if (previous != nullptr)
      previous->next = &s;
    else
      first = &s;
    if (s.run == CompiledRunners::IfThen) {  // end is THEN
      s.next = &StatementIn(code, line, const_cast<Token*>(end) + 1);
      break;
    }
    if (end == nullptr || end->code != tcColon) break;
    token = const_cast<Token*>(end) + 1;
    if (const CompiledStatement* made = Made(code, token)) {
      s.next = made;
      break;
    }
    previous = &s;
  }
  return *first;
}

const CompiledStatement* TBasic::Made(const LineCode& code, const Token* token) {
  for (const CompiledStatement& s : code.statements)
    if (s.start == token) return &s;
  return nullptr;
}

const CompiledStatement& TBasic::StatementIn(LineCode& code, ProgramLine& line, Token* token) {
  if (const CompiledStatement* made = Made(code, token)) return *made;
  return Compile(code, line, token);
}

// Chooses the routine for the statement at s.start. Returns the token that
// ends it when execution goes on after it within the line (a colon or the
// line's end), THEN for IfThen; nullptr for the jumps and for statements
// run by handlers.
const Token* TBasic::CompileForm(CompiledStatement& s) {
  s.run = CompiledRunners::Walked;
  Token* t = s.start;
  const auto usable = [this](const CompiledExpression* e) {
    return e != nullptr && e->Runnable(0, variables.ShapeEpoch());
  };
  switch (t->code) {
    case tcLet:
      if (t[1].code != tcVariable) return nullptr;
      ++t;
      [[fallthrough]];
    case tcVariable: {
      if (t->variable->dimCount != 0 && !t->variable->isString && t[1].code == tcOpen) {
        const CompiledExpression* element = expressions_.FindReference(t);
        if (!usable(element) || element->End()->code != tcEqual) return nullptr;
        const CompiledExpression* value = expressions_.Find(element->End() + 1);
        if (!usable(value) || !EndsStatement(value->End())) return nullptr;
        s.run = CompiledRunners::AssignElement;
        s.variable = t->variable;
        s.reference = t->exprSlot;
        s.expression = element->End()[1].exprSlot;
        return value->End();
      }
      if (!IsNumericScalar(*t) || t[1].code != tcEqual) return nullptr;
      const CompiledExpression* value = expressions_.Find(t + 2);
      if (!usable(value) || !EndsStatement(value->End())) return nullptr;
      s.run = CompiledRunners::Assign;
      s.value = &t->variable->numValue;
      s.expression = t[2].exprSlot;
      return value->End();
    }
    case tcIf: {
      const CompiledExpression* condition = expressions_.Find(t + 1);
      if (!usable(condition)) return nullptr;
      const Token* then = condition->End();
      if (then->code != tcThen) return nullptr;
      s.expression = t[1].exprSlot;
      if (then[1].code != tcNumber) {
        // Without an ELSE a false condition goes on at the next line.
        if (EndsStatement(then + 1)) return nullptr;
        for (const Token* rest = then + 1; !AtEol(rest); ++rest)
          if (rest->code == tcElse) return nullptr;
        s.run = CompiledRunners::IfThen;
        return then;
      }
      if (!AtEol(then + 2)) return nullptr;
      s.target = LiteralTarget(program, then[1]);
      if (s.target == nullptr) return nullptr;
      s.run = CompiledRunners::IfGoto;
      return nullptr;
    }
    case tcGoto:
    case tcGosub:
      s.target = LiteralTarget(program, t[1]);
      if (s.target != nullptr)
        s.run = t->code == tcGoto ? CompiledRunners::Goto : CompiledRunners::Gosub;
      return nullptr;
    case tcNext:
      s.run = CompiledRunners::Next;
      if (EndsStatement(t + 1)) return t + 1;
      if (IsNumericScalar(t[1]) && EndsStatement(t + 2)) {
        s.variable = t[1].variable;
        return t + 2;
      }
      s.run = CompiledRunners::Walked;
      return nullptr;
    default: return nullptr;
  }
}

}  // namespace basic
