// TBasic: the interpreter, the coordinator of its parts. The stored
// program, the variables, the control stack, the DATA reader, the COMMON
// block, the expression cache and the console are classes of their own;
// TBasic owns one of each, holds the read cursor and the state of the
// current run, and runs statements. Its own operations are private and
// implemented one subsystem per file; the comment before each group names
// the file.
#pragma once

#include <cmath>
#include <csignal>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common.h"
#include "console.h"
#include "control_stack.h"
#include "data_reader.h"
#include "errors.h"
#include "expression_cache.h"
#include "file_system.h"
#include "numeric.h"
#include "operations.h"
#include "program_store.h"
#include "registry.h"
#include "statement_observer.h"
#include "tokens.h"
#include "values.h"

namespace basic {

class TBasic;

// Line numbers from low to high, both included.
struct LineRange {
  int64_t low;
  int64_t high;
};

// Created by each Execute call and handed to every statement handler.
struct StatementContext {
  bool lineJumped = false;    // currentLine is where execution goes on
  bool skipEndCheck = false;  // nextToken starts a further statement
};

class TBasic : public TInterpreter {
 public:
  explicit TBasic(Console& console);
  ~TBasic() override;

  // command_processor.cpp
  void NameRegistered(const std::string& upperName, TFuncDefs* defs) override;
  void ProcessText(std::string_view text) override;
  void RunConsole() override;

  // --- What the embedder sets up and reads back --------------------------
  Console& console() { return console_; }
  // Program files for LOAD, MERGE, SAVE and RUN "file"; not owned.
  void SetFileSystem(FileSystem& files) { files_ = &files; }
  // The process environment: where COMMON values come from, and the base of
  // a child's environment.
  void SetEnvironment(std::vector<std::string> entries) {
    commonBlock.SetEnvironment(std::move(entries));
  }
  // The environment with the current COMMON values written in.
  std::vector<std::string> ChildEnvironment() const;
  // Optional file-name hook for LOAD, MERGE and SAVE: gets the name and the
  // mode (kReadMode, kWriteMode) and fills in the name to use.
  std::function<void(TBasic&, const std::string&, uint8_t, std::string&)> onFileName;
  static constexpr uint8_t kReadMode = 0, kWriteMode = 1;
  // Set asynchronously (Ctrl-C); the next statement to start raises "Break"
  // as STOP does and clears it.
  volatile std::sig_atomic_t& BreakFlag() { return breakRequested; }
  // Clears a pending Break and says whether there was one: a wait that
  // Ctrl-C ends (a Shell child) takes the Break for itself.
  bool TakeBreakRequest() {
    if (breakRequested == 0) return false;
    breakRequested = 0;
    return true;
  }
  // Statements left before every run stops for good and the command loop
  // ends, for callers that must see any program end (the fuzzer).
  void SetStatementBudget(uint64_t statements) {
    (observer_ != nullptr ? observedBudget_ : statementBudget) = statements;
  }
  // Sees every statement from now on, or none again (nullptr); not owned.
  // While one is set every statement takes the loop's slow way, so that
  // runs without one pay nothing for it (statement_observer.cpp).
  void SetStatementObserver(StatementObserver* observer);
  // An error was reported, other than the Break that STOP and Ctrl-C give:
  // a program text that ran into one ends with a failure status.
  bool ErrorReported() const { return errorReported; }

  // --- tokenizer.cpp, lister.cpp: text to tokens and back ----------------
  void Tokenize(std::string_view text, TokenList& out) { Tokenize(text, out, variables); }
  // The text of a token list, as LIST and SAVE write it.
  void ListTokens(const Token* first, std::string& out) const;
  // The stored program in line order (follow Next); null when there is none.
  const ProgramLine* FirstLine() const { return program.First(); }

  // --- Reading a statement: the cursor and the evaluator's entries -------
  // What statement handlers and the built-in functions read operands with.
  // values.cpp: cursor helpers and variable references.
  bool AtStatementEnd() const { return AtEndOfStatement(nextToken); }
  TokenCode PeekCode() const { return nextToken->code; }
  const Token& PeekToken() const { return *nextToken; }
  // Reads on in another token list (VAL's text); a SavedCursor around it
  // brings the cursor back.
  void ReadFrom(Token* first) { nextToken = first; }
  void Advance() { ++nextToken; }  // only when not at tcEol
  void ExpectToken(TokenCode code) {
    if (PeekCode() != code) SyntaxError();
    Advance();
  }
  bool AcceptWord(std::string_view upperWord);
  void ExpectWord(std::string_view upperWord);
  // A reference to the variable or element at the cursor. Scalars, the
  // commonest, are taken here; the rest in GetOtherVariable.
  VarLocation GetVariable() {
    if (PeekCode() == tcVariable && nextToken[1].code != tcOpen) {
      varrec& v = *nextToken->variable;
      if (v.dimCount == 0) {
        Advance();
        if (v.isString) return {&v, nullptr, &v.strValue};
        return {&v, &v.numValue, nullptr};
      }
    }
    return GetOtherVariable();
  }
  // A numeric expression. One translated before runs straight from the
  // cache; anything else goes the longer way.
  double EvalNumber() {
    double value;
    if (nextToken->exprSlot != 0 && RunTranslation(expressions_.Current(nextToken), value))
      return value;
    return EvalNumberOtherwise();
  }
  Str EvalString();
  int64_t EvalInteger();
  double FactorNumber();
  Str FactorString();
  int64_t FactorInteger();
  // evaluator.cpp: an expression of either kind.
  void EvalExpression(valrec& result) { EvalOperators(result, 1); }
  // calls.cpp: a call of a registered name, its arguments at the cursor.
  void CallFunction(TFuncDefs* defs, bool inExpression, valrec& result);

 private:
  friend class SavedCursor;
  friend class CallsForbidden;
  friend class DepthGuard;
  friend struct TBasicInternals;  // white-box unit tests
  friend struct CompiledRunners;  // compiled_lines.cpp

  // The statement handlers by token code (execution.cpp). Plain function
  // pointers rather than member pointers: one indirect call per statement.
  using Dispatcher = void (*)(TBasic&, StatementContext&);
  static const Dispatcher kDispatch[kTokenCodeCount + 1];

  // --- State -------------------------------------------------------------
  std::string inputLine;
  Program program;
  VariableList variables;
  ControlStack controlStack;
  DataReader dataReader;
  CommonBlock commonBlock;
  int32_t enteredLineNumber = 0;
  ProgramLine* currentLine = nullptr;
  Token* currentToken = NilToken();
  TokenList immediateTokens;
  bool stopRequested = false;
  // A library call faulted: a program text stops at once, and the console
  // warns that the process is no longer to be trusted.
  bool libraryFaulted = false;
  bool errorReported = false;                     // see ErrorReported
  volatile std::sig_atomic_t breakRequested = 0;  // see BreakFlag
  // Counts down on each statement; the default outlasts any real run.
  uint64_t statementBudget = UINT64_MAX;
  // A budget at least this large is never spent: compiled statements leave
  // it alone, which spares them a store and a load in a chain from each
  // statement to the next.
  static constexpr uint64_t kUncountedBudget = uint64_t{1} << 63;
  Token* nextToken = NilToken();  // the read cursor
  StatementObserver* observer_ = nullptr;
  // The real statementBudget while an observer keeps that one at 1.
  uint64_t observedBudget_ = 0;
  ObservedStatement observed_;
  uint32_t rndState = 0;

  // --- values.cpp --------------------------------------------------------
  void SkipSubscript();
  void SkipParenthesised();
  VarLocation GetOtherVariable();
  // Runs a translation of the expression at the cursor when there is one and
  // it may run at this depth; false leaves the cursor where it was.
  bool RunTranslation(const CompiledExpression* compiled, double& value) {
    if (compiled == nullptr || !compiled->Runnable(evalDepth, variables.ShapeEpoch())) return false;
    value = compiled->Run();
    nextToken = const_cast<Token*>(compiled->End());
    return true;
  }
  double EvalNumberOtherwise();
  // First subscripted use: counts the subscripts, evaluating nothing, and
  // makes every dimension 0..10. The cursor goes back to the "(". The array
  // stays even if a subscript then fails.
  [[gnu::noinline]] void DimensionOnFirstUse(varrec& v);

  // --- tokenizer.cpp -----------------------------------------------------
  // Tokenize, with the names bound to the variables of `names`.
  void Tokenize(std::string_view text, TokenList& out, VariableList& names);

  // --- program_store.cpp -------------------------------------------------
  void EnterLine(TokenList& head);  // works on inputLine
  void StopExecution();
  void ClearControlStack();
  void ResetDataPointer();
  void NewProgram();

  // --- evaluator.cpp -----------------------------------------------------
  // A factor and the operators binding at least as tightly as `lowest` (>= 1).
  void EvalOperators(valrec& result, int lowest);
  void ApplyOperators(valrec& result, int lowest);  // those after a factor
  void FinishOperand(valrec& result, valrec& right, TokenCode op, int level);
  // When the expression at the cursor is one number literal or numeric
  // scalar, its value, read without the evaluator: the commonest operands
  // of FOR, THEN, GOSUB and subscripts.
  bool TakeLoneNumber(double& value) {
    const Token& token = *nextToken;
    if (token.code == tcNumber) {
      value = token.number;
    } else if (token.code == tcVariable && token.variable->dimCount == 0 &&
               !token.variable->isString && nextToken[1].code != tcOpen) {
      value = token.variable->numValue;
    } else {
      return false;
    }
    // An operator after it, or a factor too deep, goes the evaluator's way.
    if (LevelOf(nextToken[1].code) != kNone || evalDepth >= kMaxEvalDepth) return false;
    Advance();
    value = CheckFinite(value);  // as the literal's factor checks it
    return true;
  }
  // A number literal or a scalar variable, read in place: most operands are
  // one of these. False for anything else, and at the depth limit, where
  // EvalOtherFactor raises the error.
  bool TakeSimpleFactor(valrec& result) {
    const Token& token = *nextToken;
    if (evalDepth >= kMaxEvalDepth) return false;
    if (token.code == tcNumber) {
      Advance();
      result.SetNumber(CheckFinite(token.number));
      return true;
    }
    if (token.code != tcVariable || nextToken[1].code == tcOpen) return false;
    const varrec& v = *token.variable;
    if (v.dimCount != 0) return false;
    Advance();
    if (v.isString)
      result.SetString(v.strValue);
    else
      result.SetNumber(v.numValue);
    return true;
  }

  // --- builtins.cpp ------------------------------------------------------
  // One factor: the simple ones in place, the others in EvalOtherFactor.
  void EvalFactor(valrec& result) {
    if (!TakeSimpleFactor(result)) EvalOtherFactor(result);
  }
  void EvalOtherFactor(valrec& result);

  // --- execution.cpp -----------------------------------------------------
  void Execute();
  // After a handler: where the statement loop goes on (`token`, in
  // currentLine). False when the run has ended.
  bool GoOn(const StatementContext& ctx, Token*& token) {
    token = nextToken;
    if (!ctx.skipEndCheck && !AtEndOfStatement(token)) RaiseMessage(msg::kExtraInformation);
    if (token->code == tcColon) {
      ++token;
      return true;
    }
    if (!AtEol(token)) return true;
    // The line is finished.
    currentToken = token;
    if (currentLine == nullptr) return false;
    if (!ctx.lineJumped) currentLine = currentLine->Next;
    if (currentLine == nullptr) return false;
    token = currentLine->Tokens.begin();
    return true;
  }

  // --- compiled_lines.cpp: stored lines run compiled (line_code.h) -------
  // Runs from `token`, the first token of currentLine. False when the run
  // has ended; otherwise `token` is the statement the loop is to read next,
  // in currentLine: one that the budget or Ctrl-C stops, or one outside the
  // stored program.
  bool RunCompiled(Token*& token);
  // Whether the loop may hand stored lines to RunCompiled: not while an
  // observer sees each statement, nor where the loop would stop anyway.
  bool MayRunCompiled() const {
    return !walkStatements_ && observer_ == nullptr && evalDepth == 0 && statementBudget > 1 &&
           breakRequested == 0;
  }
  // What compiled lines rely on; grows whenever any of it may change.
  uint64_t CodeStamp() const {
    return program.Edits() + variables.ShapeEpoch() + expressions_.Generation();
  }
  // The compiled statement that starts at `token`, a statement start of
  // `line`, compiled now if need be.
  const CompiledStatement* StatementAt(ProgramLine& line, Token* token);
  const CompiledStatement* LineStart(ProgramLine& line) {
    const LineCode* code = line.code.get();
    if (code != nullptr && code->stamp == runStamp_) [[likely]]
      return &code->statements.front();
    return StatementAt(line, line.Tokens.begin());
  }
  // The same through a link that remembers it, for a link that always
  // leads to the same line (a record's target, the line after its own).
  const CompiledStatement* LineStart(ProgramLine& line, LineLink& link) {
    if (link.first != nullptr) [[likely]] {
      BASIC_ASSERT(link.first->line == &line);
      return link.first;
    }
    link.first = LineStart(line);  // compiling leaves the stamp as it is
    return link.first;
  }
  // The statement after one whose handler ran, as GoOn finds it; `usual`,
  // when not null, is the one expected there.
  const CompiledStatement* AfterHandler(const StatementContext& ctx,
                                        const CompiledStatement* usual);
  // After a statement that ends its line.
  const CompiledStatement* NextLine(const CompiledStatement& s) {
    if (const CompiledStatement* after = s.lineAfter.first) [[likely]] {
      currentLine = after->line;
      return after;
    }
    currentLine = s.line->Next;
    if (currentLine == nullptr) return EndCompiled();
    return LineStart(*currentLine, s.lineAfter);
  }
  const CompiledStatement* EndCompiled();
  CompiledStatement& Compile(LineCode& code, ProgramLine& line, Token* token);
  const CompiledStatement& StatementIn(LineCode& code, ProgramLine& line, Token* token);
  static const CompiledStatement* Made(const LineCode& code, const Token* token);
  static constexpr int kMaxLinkedEntries = 16;  // ON lists longer than this look lines up
  void LinkEntries(LineCode& code, CompiledStatement& s);
  const Token* CompileForm(LineCode& code, CompiledStatement& s);
  // statement_observer.cpp: the statement loop's slow way. True when the
  // budget is spent; otherwise the statement at token was observed.
  [[gnu::noinline]] bool StatementBudgetSpent(const Token* token);
  void ObserveStatement(const Token* token);
  void PauseObserver(StatementObserver::Pause why) {
    if (observer_ != nullptr) observer_->OnPause(why);
  }
  // Called by each handler that sends execution elsewhere than the next
  // statement, once it has: only the handler knows it did.
  void NoteTransfer() {
    if (observer_ != nullptr) [[unlikely]]
      observed_.transferred = true;
  }
  void CheckStatementEnd();
  void SkipStatement() {
    while (!AtStatementEnd()) Advance();
  }
  ProgramLine* FindLine(int64_t number) const;
  ProgramLine* GetLine(int64_t number) const;  // "Undefined line" when absent
  // The line whose number the expression at the cursor gives ("Undefined
  // line" when absent); its first token remembers where the line was found.
  ProgramLine* GetTargetLine();
  // The same, with its first token. Nearly always the target is a literal
  // line number found where the jump found it last time.
  const LineEntry& GetTargetEntry() {
    const Token& literal = *nextToken;
    if (literal.code == tcNumber && LevelOf(nextToken[1].code) == kNone &&
        evalDepth < kMaxEvalDepth) {
      if (const LineEntry* entry = program.EntryAtHint(literal.lineHint, literal.number)) {
        Advance();
        return *entry;
      }
    }
    return GetOtherTargetEntry();
  }
  const LineEntry& GetOtherTargetEntry();

  // --- Statement handlers (the dispatch table in tokens.h) ---------------
  // statements.cpp
  void ExecIllegal(StatementContext& ctx);
  void ExecEmpty(StatementContext& ctx);
  void ExecImplicitLet(StatementContext& ctx);
  void ExecLet(StatementContext& ctx);
  bool AppendToItself(const VarLocation& target);  // A$ = A$ + ...
  void ExecDim(StatementContext& ctx);
  void ExecRem(StatementContext& ctx);
  void ExecEnd(StatementContext& ctx);
  void ExecStop(StatementContext& ctx);
  void ExecBye(StatementContext& ctx);
  void ExecNew(StatementContext& ctx);
  void ExecRun(StatementContext& ctx);
  // print_input.cpp
  void ExecPrint(StatementContext& ctx);
  void ExecInput(StatementContext& ctx);
  std::string ReadInputLine();  // "Read beyond end of file" at the end
  // control_flow.cpp
  void ExecGoto(StatementContext& ctx);
  void ExecIf(StatementContext& ctx);
  void ExecElse(StatementContext& ctx);
  void ExecOn(StatementContext& ctx);
  void ExecFor(StatementContext& ctx);
  void ExecNext(StatementContext& ctx);
  void ExecWhile(StatementContext& ctx);
  void ExecWend(StatementContext& ctx);
  void ExecGosub(StatementContext& ctx);
  void ExecReturn(StatementContext& ctx);
  // data.cpp
  void ExecRead(StatementContext& ctx);
  // The next DATA item into `target`. Most items are a lone literal, taken
  // here as the evaluator would take it; the rest are evaluated.
  void ReadItem(const VarLocation& target) {
    Token* const item = dataReader.NextItem(program);
    const bool isString = target.var->isString;
    if (LevelOf(item[1].code) == kNone && evalDepth < kMaxEvalDepth &&
        item->code == (isString ? tcString : tcNumber)) [[likely]] {
      if (isString)
        *target.str = item->Text();
      else
        *target.num = CheckFinite(item->number);
      dataReader.ItemEnded(item + 1);
      return;
    }
    EvaluateItem(target, item);
  }
  void EvaluateItem(const VarLocation& target, Token* item);
  void ExecData(StatementContext& ctx);
  void ExecRestore(StatementContext& ctx);
  // lister.cpp
  void ExecList(StatementContext& ctx);
  // program_files.cpp
  void ExecLoad(StatementContext& ctx);
  void ExecMerge(StatementContext& ctx);
  void ExecSave(StatementContext& ctx);
  // line_editing.cpp
  void ExecDel(StatementContext& ctx);
  void ExecRenum(StatementContext& ctx);
  // common.cpp
  void ExecCommon(StatementContext& ctx);
  // lister.cpp: the line ranges of LIST and DEL.
  LineRange ReadLineRange();
  // The line as LIST shows it and SAVE writes it: number, blank, text.
  void ListLine(const ProgramLine& line, std::string& out) const;
  // program_files.cpp
  void LoadProgram(bool merge, const std::string& fileName);
  void SaveProgram(const std::string& fileName);
  std::string MapFileName(const std::string& name, uint8_t mode);
  // calls.cpp
  void ExecCallStatement(StatementContext& ctx);
  // declare.cpp
  void ExecDeclare(StatementContext& ctx);

  // Set while VAL's text or a typed INPUT item is evaluated (CallsForbidden):
  // a registered name there is a syntax error, so that what a person types
  // never starts a program or calls into a library. Such text is not
  // translated either: its tokens last for one evaluation, and would only
  // use up the expression cache's entries.
  bool callsForbidden = false;

  // Depth of the evaluator's recursion; see kMaxEvalDepth.
  int evalDepth = 0;

  // execution.cpp
  void ReportRunError(const std::exception& error, int code, bool hasCode);
  // command_processor.cpp
  void CommandLoop(std::string_view* text, bool hadText);
  bool NextCommandLine(std::string_view* text, bool hadText);
  void HandleLine();
  bool ReadConsoleLine();  // into inputLine; false at the end of input
  void ReleaseImmediateLine();
  void ReportOutsideRun(const std::exception& error);
  void ShowHelp();
  bool IsHelpRequest(std::string_view line) const;  // at READY
  void AfterLibraryFault(bool fromText);
  // control_flow.cpp
  framerec& PushFrame(FrameKind kind) {
    return controlStack.Push(
        [&] { return framerec{.line = currentLine, .resumeToken = nextToken, .kind = kind}; });
  }
  // FOR's end, with the loop variable set and the cursor after the
  // statement: the frame pushed, or the body skipped.
  void EnterLoop(const VarLocation& target, double limit, double step);
  // EnterLoop's first half: the frame of a loop whose value has not passed
  // its limit, pushed; nullptr, with nothing pushed, when it has.
  [[gnu::always_inline]] framerec* PushLoop(const VarLocation& target, double limit, double step) {
    const double first = *target.num;
    const int8_t direction = StepDirection(step);
    if (LoopFinished(first, limit, direction)) return nullptr;
    const auto whole = [](double x) {
      return std::fabs(x) <= 0x1p52 && static_cast<double>(static_cast<int64_t>(x)) == x;
    };
    const bool counts = step != 0 && whole(first) && whole(step) && whole(limit);
    // A FOR that ends its line resumes at the next line's first token, so
    // that NEXT need not pass through the end of the FOR line every time.
    const bool atLineStart =
        AtEol(nextToken) && currentLine != nullptr && currentLine->Next != nullptr;
    ProgramLine* const line = atLineStart ? currentLine->Next : currentLine;
    // The frame keeps the location FOR assigned, so NEXT steps that element
    // even when another element of the array was referenced since.
    return &controlStack.Push([&] {
      return framerec{.line = line,
                      .resumeToken = atLineStart ? line->Tokens.begin() : nextToken,
                      .kind = fkFor,
                      .atLineStart = atLineStart,
                      .loopVar = target.var,
                      .loopValue = target.num,
                      .limit = limit,
                      .step = step,
                      .direction = direction,
                      .counts = counts,
                      .count = counts ? static_cast<int64_t>(first) : 0,
                      .countStep = counts ? static_cast<int64_t>(step) : 0,
                      .stepsLeft = counts ? StepsWithin(first, limit, step) : 0};
    });
  }
  // WHILE's condition was false: on after the WEND that pairs with it.
  void SkipWhileBody();
  // The FOR frame a NEXT closes, dropping the frames inside it.
  framerec& FindLoopFrame();
  void Jump(StatementContext& ctx);
  bool ScanBlock(TokenCode opening, TokenCode closing);

  FileSystem& files() { return *files_; }

  Console& console_;
  ExpressionCache expressions_;
  uint64_t runStamp_ = 0;          // CodeStamp while RunCompiled runs
  Token* compiledExit_ = nullptr;  // where the statement loop goes on; nullptr: the end
  // Every statement read from its tokens: the reference the compiled lines
  // are compared with.
  bool walkStatements_ = false;
  NoFileSystem noFiles_;
  FileSystem* files_ = &noFiles_;
};

// Puts the read cursor back when a scope ends, also when it ends by an
// error: the cursor must never be left in a temporary token list (VAL, a
// typed INPUT line) or in the DATA statements READ was reading.
class SavedCursor {
 public:
  explicit SavedCursor(TBasic& basic) : basic_(basic), saved_(basic.nextToken) {}
  ~SavedCursor() { basic_.nextToken = saved_; }
  SavedCursor(const SavedCursor&) = delete;
  SavedCursor& operator=(const SavedCursor&) = delete;

 private:
  TBasic& basic_;
  Token* saved_;
};

// Forbids calls of registered names for a scope (see TBasic::callsForbidden).
class CallsForbidden {
 public:
  explicit CallsForbidden(TBasic& basic) : basic_(basic), saved_(basic.callsForbidden) {
    basic_.callsForbidden = true;
  }
  ~CallsForbidden() { basic_.callsForbidden = saved_; }
  CallsForbidden(const CallsForbidden&) = delete;
  CallsForbidden& operator=(const CallsForbidden&) = delete;

 private:
  TBasic& basic_;
  bool saved_;
};

// Guards one level of evaluator recursion ("Stack overflow" past the limit).
class DepthGuard {
 public:
  explicit DepthGuard(TBasic& basic) : basic_(basic) {
    if (basic_.evalDepth >= kMaxEvalDepth) RaiseStackOverflow();
    ++basic_.evalDepth;
  }
  ~DepthGuard() { --basic_.evalDepth; }
  [[noreturn]] static void RaiseStackOverflow();
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  TBasic& basic_;
};

}  // namespace basic
