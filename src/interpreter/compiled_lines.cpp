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

bool IsScalar(const Token& token) {
  return token.code == tcVariable && token.variable->dimCount == 0 && (&token)[1].code != tcOpen;
}

bool IsNumericScalar(const Token& token) { return IsScalar(token) && !token.variable->isString; }

}  // namespace

struct CompiledRunners {
  using Statement = CompiledStatement;

  // A statement that has no routine of its own, through its handler.
  [[gnu::noinline]] static const Statement* Walked(TBasic& basic, const Statement& s) {
    const uint64_t stamp = basic.runStamp_;
    const Statement* usual = s.next;  // what came after it last time
    StatementContext ctx;
    RunHandler(basic, s, ctx);
    // The handler may have changed lines or shapes, even removed this line:
    // then `s` is not touched again.
    if (basic.runStamp_ != stamp) return basic.AfterHandler(ctx, nullptr);
    const Statement* after = basic.AfterHandler(ctx, usual);
    if (after != nullptr) s.next = after;
    return after;
  }

  // A compiled statement in a case its routine leaves to the handler.
  [[gnu::noinline]] static const Statement* Fallback(TBasic& basic, const Statement& s) {
    StatementContext ctx;
    RunHandler(basic, s, ctx);
    return basic.AfterHandler(ctx, nullptr);
  }

  static void RunHandler(TBasic& basic, const Statement& s, StatementContext& ctx) {
    basic.currentToken = s.start;
    basic.nextToken = s.start + 1;
    TBasic::kDispatch[s.start->code](basic, ctx);
    basic.runStamp_ = basic.CodeStamp();
  }

  static const Statement* Next(TBasic& basic, const Statement& s) {
    return s.next != nullptr ? s.next : basic.NextLine(s);
  }
  static const Statement* JumpTo(TBasic& basic, ProgramLine* line) {
    basic.currentLine = line;
    return basic.LineStart(*line);
  }
  static const Statement* JumpTo(TBasic& basic, ProgramLine* line, LineLink& link) {
    basic.currentLine = line;
    return basic.LineStart(*line, link);
  }
  static double Value(const TBasic& basic, uint16_t slot) {
    return basic.expressions_.At(slot).Run();
  }

  // V = expression, V a numeric scalar.
  static const Statement* Assign(TBasic& basic, const Statement& s) {
    *s.value = Value(basic, s.expression);
    return Next(basic, s);
  }
  static const Statement* AssignSteps(TBasic& basic, const Statement& s) {
    *s.value = basic.expressions_.At(s.expression).RunSteps();
    return Next(basic, s);
  }

  // V(subscripts) = expression, V a numeric array. The target's
  // translation leaves the element in valuePtr, as ExecLet takes it.
  static const Statement* AssignElement(TBasic& basic, const Statement& s) {
    basic.expressions_.At(s.reference).Run();
    double* const target = static_cast<double*>(s.variable->valuePtr);
    *target = Value(basic, s.expression);
    return Next(basic, s);
  }

  // The same with a one-dimensional target subscripted by an operand
  // (*s.left), and a value of one operand (*s.right) or any.
  static const Statement* AssignElement1(TBasic& basic, const Statement& s) {
    double* const target = Element(s);
    *target = *s.right;
    return Next(basic, s);
  }
  static const Statement* AssignElement1Value(TBasic& basic, const Statement& s) {
    double* const target = Element(s);
    *target = Value(basic, s.expression);
    return Next(basic, s);
  }
  static double* Element(const Statement& s) {
    varrec& array = *s.variable;
    return array.NumericElement(array.Subscript(0, *s.left));
  }

  // V = a value of one operation, `op` known here, so that it costs what
  // the operation costs: of two operands, or of an element and an operand.
  // (kByOperation makes a table of each, by operation.)
  struct AssignOperation {
    template <BinaryOp op>
    static const Statement* Run(TBasic& basic, const Statement& s) {
      *s.value = Compute(op, *s.left, *s.right);
      return Next(basic, s);
    }
  };
  struct AssignElementOperation {
    template <BinaryOp op>
    static const Statement* Run(TBasic& basic, const Statement& s) {
      *s.value = Compute(op, *Element(s), *s.right);
      return Next(basic, s);
    }
  };

  static const Statement* If(TBasic& basic, const Statement& s) {
    return Branch(basic, s, Value(basic, s.expression));
  }
  static const Statement* IfSteps(TBasic& basic, const Statement& s) {
    return Branch(basic, s, basic.expressions_.At(s.expression).RunSteps());
  }
  struct IfOperation {
    template <BinaryOp op>
    static const Statement* Run(TBasic& basic, const Statement& s) {
      return Branch(basic, s, Compute(op, *s.left, *s.right));
    }
  };
  struct IfElementOperation {
    template <BinaryOp op>
    static const Statement* Run(TBasic& basic, const Statement& s) {
      return Branch(basic, s, Compute(op, *Element(s), *s.right));
    }
  };
  static const Statement* Branch(TBasic& basic, const Statement& s, double condition) {
    BASIC_ASSERT(!std::isnan(condition));
    if (condition != 0) return s.target != nullptr ? JumpTo(basic, s.target, s.jump) : s.next;
    if (s.otherTarget != nullptr) return JumpTo(basic, s.otherTarget);
    return s.otherwise != nullptr ? s.otherwise : basic.NextLine(s);
  }

  // Met after a THEN branch: the rest of the line goes.
  static const Statement* Else(TBasic& basic, const Statement& s) { return basic.NextLine(s); }

  static const Statement* Goto(TBasic& basic, const Statement& s) {
    return JumpTo(basic, s.target, s.jump);
  }

  // RETURN resumes at the line number, and passes over it: in the frame,
  // the GOSUB's successor says where that is.
  static const Statement* Gosub(TBasic& basic, const Statement& s) {
    basic.nextToken = s.start + 1;
    PushReturn(basic, s);
    return JumpTo(basic, s.target, s.jump);
  }
  static void PushReturn(TBasic& basic, const Statement& s) {
    framerec& frame = basic.PushFrame(fkGosub);
    frame.compiled = &s;
    frame.codeStamp = basic.runStamp_;
  }

  // ON selector GOTO|GOSUB a list of line numbers. The selected number is
  // looked up where ExecOn looks it up, after GOSUB's frame is pushed.
  template <bool isGosub>
  static const Statement* On(TBasic& basic, const Statement& s) {
    const int64_t selector = RoundToInt64(Value(basic, s.expression));
    if (selector < 1 || selector > s.entries) return Next(basic, s);
    basic.nextToken = s.end + 2 * (selector - 1);  // numbers between commas
    if (isGosub) PushReturn(basic, s);
    if (const Statement* entry = s.otherwise) {  // each entry's line, found when compiled
      for (int64_t i = 1; i < selector; ++i) entry = entry->next;
      return JumpTo(basic, entry->target, entry->jump);
    }
    const LineEntry& target = basic.GetTargetEntry();
    return JumpTo(basic, target.line);
  }

  // Back to the innermost GOSUB; anything else (frames of loops left
  // open, no GOSUB) through ExecReturn.
  static const Statement* Return(TBasic& basic, const Statement& s) {
    ControlStack& stack = basic.controlStack;
    if (stack.empty() || stack.Top().kind != fkGosub) return Fallback(basic, s);
    const framerec& frame = stack.Top();
    if (frame.codeStamp == basic.runStamp_) {
      const Statement& caller = *frame.compiled;
      stack.Pop();
      basic.currentLine = caller.line;
      return Next(basic, caller);
    }
    basic.currentLine = frame.line;
    basic.nextToken = frame.resumeToken;
    stack.Pop();
    basic.SkipStatement();
    return basic.AfterHandler(StatementContext{}, nullptr);
  }

  // FOR V = first TO limit [STEP step], V a numeric scalar: V is set before
  // the limit is evaluated, as ExecFor sets it. A lone first value or limit
  // is read where it stands (*s.left, *s.right).
  static const Statement* For(TBasic& basic, const Statement& s) {
    *s.value = s.left != nullptr ? *s.left : Value(basic, s.expression);
    const double limit = s.right != nullptr ? *s.right : Value(basic, s.limit);
    const double step = s.step != 0 ? Value(basic, s.step) : 1;
    basic.nextToken = s.end;
    framerec* const frame = basic.PushLoop(VarLocation{s.variable, s.value, nullptr}, limit, step);
    if (frame == nullptr) [[unlikely]]
      return SkipLoop(basic, limit, step, s);
    const Statement* body = s.next;
    if (frame->atLineStart) body = basic.LineStart(*frame->line, s.lineAfter);
    if (body == nullptr) return Next(basic, s);
    frame->compiled = body;
    frame->codeStamp = basic.runStamp_;
    basic.currentLine = frame->line;
    return body;
  }
  [[gnu::noinline]] static const Statement* SkipLoop(TBasic& basic, double limit, double step,
                                                     const Statement& s) {
    basic.EnterLoop(VarLocation{s.variable, s.value, nullptr}, limit, step);
    return basic.AfterHandler(StatementContext{}, nullptr);
  }

  // NEXT, or NEXT V (Named), closing the innermost FOR; any other through
  // ExecNext.
  template <bool Named>
  static const Statement* NextLoop(TBasic& basic, const Statement& s) {
    framerec* const frame = basic.controlStack.TopOrNull();
    if (frame == nullptr || frame->kind != fkFor || (Named && s.variable != frame->loopVar))
        [[unlikely]]
      return Fallback(basic, s);
    const CountedStep counted = StepCounted(*frame);
    if (counted == CountedStep::kNotCounting) [[unlikely]]
      return NextByAdding(basic, s, *frame);
    if (counted == CountedStep::kFinished) [[unlikely]]
      return LeaveLoop(basic, s);
    return LoopOn(basic, *frame);
  }
  [[gnu::noinline]] static const Statement* NextByAdding(TBasic& basic, const Statement& s,
                                                         framerec& frame) {
    if (!StepLoopByAdding(frame)) return LeaveLoop(basic, s);
    return LoopOn(basic, frame);
  }
  // Back to the body of the loop whose frame is on top.
  static const Statement* LoopOn(TBasic& basic, const framerec& frame) {
    basic.currentLine = frame.line;
    if (frame.codeStamp == basic.runStamp_) [[likely]]
      return frame.compiled;
    return LoopAgain(basic, frame);
  }
  [[gnu::noinline]] static const Statement* LeaveLoop(TBasic& basic, const Statement& s) {
    basic.controlStack.Pop();
    return Next(basic, s);
  }
  // The body's first record is not known here: FOR was walked, or lines
  // changed since.
  [[gnu::noinline]] static const Statement* LoopAgain(TBasic& basic, const framerec& frame) {
    if (frame.atLineStart) return basic.LineStart(*frame.line);
    basic.nextToken = frame.resumeToken;
    return basic.AfterHandler(StatementContext{}, nullptr);
  }

  // READ of scalars only: the names are read from the tokens, the items as
  // ExecRead reads them.
  static const Statement* Read(TBasic& basic, const Statement& s) {
    for (const Token* name = s.start + 1; name < s.end; name += 2) {
      varrec& v = *name->variable;
      basic.ReadItem(v.isString ? VarLocation{&v, nullptr, &v.strValue}
                                : VarLocation{&v, &v.numValue, nullptr});
    }
    return Next(basic, s);
  }

  // RESTORE n, the line found when compiled.
  static const Statement* Restore(TBasic& basic, const Statement& s) {
    basic.dataReader.RestoreTo(*s.target);
    return Next(basic, s);
  }

  // WHILE, or WHILE condition.
  static const Statement* While(TBasic& basic, const Statement& s) {
    basic.nextToken = s.start + 1;
    basic.PushFrame(fkWhile);
    if (s.expression == 0 || Value(basic, s.expression) != 0) return Next(basic, s);
    basic.nextToken = s.end;
    basic.SkipWhileBody();
    return basic.AfterHandler(StatementContext{}, nullptr);
  }

  // WEND without a condition of its own, closing the innermost WHILE: the
  // WHILE's condition is evaluated where it stands, as ExecWend does.
  static const Statement* Wend(TBasic& basic, const Statement& s) {
    ControlStack& stack = basic.controlStack;
    if (stack.empty() || stack.Top().kind != fkWhile) return Fallback(basic, s);
    const framerec& frame = stack.Top();
    basic.currentLine = frame.line;
    basic.nextToken = frame.resumeToken;
    if (basic.AtStatementEnd() || basic.EvalNumber() != 0)
      return basic.AfterHandler(StatementContext{}, nullptr);
    basic.currentLine = s.line;
    stack.Pop();
    return Next(basic, s);
  }
};

namespace {

// Form::Run<op> for every binary operation, in BinaryOp's order.
template <typename Form>
constexpr StatementRunner kByOperation[kBinaryOpCount] = {
#define BASIC_RUNNER_ENTRY(name, token, level, value, strings) \
  &Form::template Run<BinaryOp::k##name>,
    BASIC_BINARY_OPERATIONS(BASIC_RUNNER_ENTRY)
#undef BASIC_RUNNER_ENTRY
};

// A value of one operation runs in place: the runner for it, and its
// operands (an element's array and subscript, and the operand).
using RunnersByOperation = StatementRunner[kBinaryOpCount];
StatementRunner InPlace(const CompiledExpression& e, const RunnersByOperation& ofOperands,
                        const RunnersByOperation& ofElement, StatementRunner otherwise,
                        CompiledStatement& s) {
  if (!e.IsOneOperation() && !e.IsElementOperation()) return otherwise;
  s.left = e.Operand(0);
  s.right = e.Operand(1);
  if (e.IsOneOperation()) return ofOperands[static_cast<size_t>(e.Operation())];
  s.variable = e.Array();
  return ofElement[static_cast<size_t>(e.Operation())];
}

}  // namespace

bool TBasic::RunCompiled(Token*& token) {
  runStamp_ = CodeStamp();
  const CompiledStatement* s = LineStart(*currentLine);
  while (s != nullptr) {
    const uint64_t budget = statementBudget;
    if (budget < kUncountedBudget || breakRequested != 0) [[unlikely]] {
      // The statement loop takes the statement that stops or breaks.
      if (budget <= 1 || breakRequested != 0) {
        currentLine = s->line;
        token = s->start;
        return true;
      }
      statementBudget = budget - 1;
    }
    BASIC_ASSERT(currentLine == s->line);
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
  if (token == currentLine->Tokens.begin()) return LineStart(*currentLine);
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
    if (previous != nullptr)
      previous->next = &s;
    else
      first = &s;
    const Token* end = CompileForm(code, s);
    if (end == nullptr || AtEol(end)) break;
    if (end->code == tcElse) {  // a THEN branch ends: ELSE runs next
      s.next = &StatementIn(code, line, const_cast<Token*>(end));
      break;
    }
    token = const_cast<Token*>(end) + 1;
    if (const CompiledStatement* made = Made(code, token)) {
      s.next = made;
      break;
    }
    previous = &s;
  }
  return *first;
}

// ON's entries, when each names a line that exists: a chain of records
// from s.otherwise, each a jump to its entry's line, so that ON finds the
// line the way GOTO does. Never run themselves, and starting at no
// statement, they are never found by Made.
void TBasic::LinkEntries(LineCode& code, CompiledStatement& s) {
  const Token* const last = s.end + 2 * ptrdiff_t{s.entries - 1};  // numbers between commas
  for (const Token* number = s.end; number <= last; number += 2)
    if (LiteralTarget(program, *number) == nullptr) return;
  CompiledStatement* previous = nullptr;
  for (const Token* number = s.end; number <= last; number += 2) {
    CompiledStatement& entry = code.statements.emplace_back();
    entry.line = s.line;
    entry.target = LiteralTarget(program, *number);
    if (previous != nullptr)
      previous->next = &entry;
    else
      s.otherwise = &entry;
    previous = &entry;
  }
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

// Chooses the routine for the statement s.start begins. Returns the token
// that ends it (a colon, ELSE or the line's end) when what follows runs
// after it; nullptr when its routine decides (jumps, IF, statements run by
// their handlers). IF's branches are compiled here.
const Token* TBasic::CompileForm(LineCode& code, CompiledStatement& s) {
  using R = CompiledRunners;
  s.run = R::Walked;
  Token* t = s.start;
  const auto usable = [this](const CompiledExpression* e) {
    return e != nullptr && e->Runnable(0, variables.ShapeEpoch());
  };
  // A translated value at `at`: its end, or nullptr.
  const auto value = [&](const Token* at, uint16_t& slot) -> const Token* {
    const CompiledExpression* e = expressions_.Find(at);
    if (!usable(e)) return nullptr;
    slot = at->exprSlot;
    return e->End();
  };
  switch (t->code) {
    case tcLet:
      if (t[1].code != tcVariable) return nullptr;
      ++t;
      [[fallthrough]];
    case tcVariable: {
      varrec& v = *t->variable;
      if (v.isString) return nullptr;
      if (v.dimCount != 0 && t[1].code == tcOpen) {
        const CompiledExpression* element = expressions_.FindReference(t);
        if (!usable(element) || element->End()->code != tcEqual) return nullptr;
        const Token* end = value(element->End() + 1, s.expression);
        if (end == nullptr || !AtEndOfStatement(end)) return nullptr;
        s.run = R::AssignElement;
        s.variable = &v;
        s.reference = t->exprSlot;
        // Translating the value may have moved the target's translation.
        const CompiledExpression& target = expressions_.At(s.reference);
        if (target.IsLoneElement()) {
          const CompiledExpression& e = expressions_.At(s.expression);
          s.left = target.Operand(0);
          s.right = e.IsLone() ? e.Operand(0) : nullptr;
          s.run = e.IsLone() ? R::AssignElement1 : R::AssignElement1Value;
        }
        return end;
      }
      if (!IsNumericScalar(*t) || t[1].code != tcEqual) return nullptr;
      const Token* end = value(t + 2, s.expression);
      if (end == nullptr || !AtEndOfStatement(end)) return nullptr;
      const CompiledExpression& e = expressions_.At(s.expression);
      s.run = InPlace(e, kByOperation<R::AssignOperation>, kByOperation<R::AssignElementOperation>,
                      e.IsSteps() ? R::AssignSteps : R::Assign, s);
      s.value = &v.numValue;
      return end;
    }
    case tcIf: {
      const Token* then = value(t + 1, s.expression);
      if (then == nullptr || then->code != tcThen) return nullptr;
      Token* const thenBranch = const_cast<Token*>(then) + 1;
      Token* const elseBranch = ElseBranchOf(thenBranch);
      // THEN n and ELSE n jump; any other branch is a statement of the line.
      const auto branch = [&](Token* at, ProgramLine*& jump) {
        if (at->code == tcNumber) {
          jump = LiteralTarget(program, *at);
          return jump != nullptr;
        }
        return !AtEndOfStatement(at);
      };
      if (!branch(thenBranch, s.target)) return nullptr;
      if (!AtEol(elseBranch) && !branch(elseBranch, s.otherTarget)) return nullptr;
      const CompiledExpression& e = expressions_.At(s.expression);
      s.run = InPlace(e, kByOperation<R::IfOperation>, kByOperation<R::IfElementOperation>,
                      e.IsSteps() ? R::IfSteps : R::If, s);
      if (s.target == nullptr) s.next = &StatementIn(code, *s.line, thenBranch);
      if (!AtEol(elseBranch) && s.otherTarget == nullptr)
        s.otherwise = &StatementIn(code, *s.line, elseBranch);
      return nullptr;
    }
    case tcElse: s.run = R::Else; return nullptr;
    case tcGoto:
      s.target = LiteralTarget(program, t[1]);
      if (s.target != nullptr) s.run = R::Goto;
      return nullptr;
    case tcGosub: {
      s.target = LiteralTarget(program, t[1]);
      if (s.target == nullptr) return nullptr;
      s.run = R::Gosub;
      // Where RETURN goes on: the end of the statement (SkipStatement's).
      const Token* end = t + 1;
      while (!AtEndOfStatement(end)) ++end;
      return end;
    }
    case tcReturn: s.run = R::Return; return nullptr;
    case tcOn: {
      const Token* keyword = value(t + 1, s.expression);
      if (keyword == nullptr || (keyword->code != tcGoto && keyword->code != tcGosub))
        return nullptr;
      const Token* entry = keyword + 1;
      int entries = 1;
      for (; entry->code == tcNumber && entry[1].code == tcComma; entry += 2) ++entries;
      if (entry->code != tcNumber || !AtEndOfStatement(entry + 1) || entries > UINT16_MAX)
        return nullptr;
      s.run = keyword->code == tcGosub ? R::On<true> : R::On<false>;
      s.end = const_cast<Token*>(keyword) + 1;
      s.entries = static_cast<uint16_t>(entries);
      if (entries <= kMaxLinkedEntries) LinkEntries(code, s);
      return entry + 1;  // also where RETURN goes on
    }
    case tcFor: {
      if (!IsNumericScalar(t[1]) || t[2].code != tcEqual) return nullptr;
      const Token* to = value(t + 3, s.expression);
      if (to == nullptr || to->code != tcTo) return nullptr;
      const Token* end = value(to + 1, s.limit);
      if (end != nullptr && end->code == tcStep) end = value(end + 1, s.step);
      if (end == nullptr || !AtEndOfStatement(end)) return nullptr;
      s.run = R::For;
      const auto lone = [this](uint16_t slot) {
        const CompiledExpression& e = expressions_.At(slot);
        return e.IsLone() ? e.Operand(0) : nullptr;
      };
      s.left = lone(s.expression);
      s.right = lone(s.limit);
      s.variable = t[1].variable;
      s.value = &t[1].variable->numValue;
      s.end = const_cast<Token*>(end);
      return end;
    }
    case tcNext:
      if (AtEndOfStatement(t + 1)) {
        s.run = R::NextLoop<false>;
        return t + 1;
      }
      if (IsNumericScalar(t[1]) && AtEndOfStatement(t + 2)) {
        s.run = R::NextLoop<true>;
        s.variable = t[1].variable;
        return t + 2;
      }
      return nullptr;
    case tcWhile: {
      const Token* end = t + 1;
      if (!AtEndOfStatement(end)) end = value(t + 1, s.expression);
      if (end == nullptr || !AtEndOfStatement(end)) return nullptr;
      s.run = R::While;
      s.end = const_cast<Token*>(end);
      return end;
    }
    case tcRead: {
      const Token* name = t + 1;
      while (IsScalar(*name) && name[1].code == tcComma) name += 2;
      if (!IsScalar(*name) || !AtEndOfStatement(name + 1)) return nullptr;
      s.run = R::Read;
      s.end = const_cast<Token*>(name) + 1;
      return s.end;
    }
    case tcRestore:
      s.target = LiteralTarget(program, t[1]);
      if (s.target == nullptr || !AtEndOfStatement(t + 2)) return nullptr;
      s.run = R::Restore;
      return t + 2;
    case tcWend:
      if (!AtEndOfStatement(t + 1)) return nullptr;
      s.run = R::Wend;
      return t + 1;
    default: return nullptr;
  }
}

}  // namespace basic
