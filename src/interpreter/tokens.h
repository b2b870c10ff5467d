// Token codes, the keyword table and the token record.
//
// BASIC_TOKENS is the one table of every token code: its enum name, its
// keyword forms (separated by \x01, the first being the listed form) and the
// statement handler the execution loop dispatches to. The enum, KeywordText
// and the dispatch table are all generated from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "str.h"

namespace basic {

struct varrec;
class TFuncDefs;

// X(name, keyword text, handler)
#define BASIC_TOKENS(X)                \
  X(tcVariable, "", ExecImplicitLet)   \
  X(tcNumber, "", ExecIllegal)         \
  X(tcString, "", ExecIllegal)         \
  X(tcFunction, "", ExecCallStatement) \
  X(tcChar, "", ExecIllegal)           \
  X(tcPlus, "+", ExecIllegal)          \
  X(tcMinus, "-", ExecIllegal)         \
  X(tcStar, "*", ExecIllegal)          \
  X(tcSlash, "/", ExecIllegal)         \
  X(tcCaret, "^", ExecIllegal)         \
  X(tcOpen, "(\x01[", ExecIllegal)     \
  X(tcClose, ")\x01]", ExecIllegal)    \
  X(tcComma, ",", ExecIllegal)         \
  X(tcSemicolon, ";", ExecIllegal)     \
  X(tcColon, ":", ExecEmpty)           \
  X(tcEqual, "=", ExecIllegal)         \
  X(tcLess, "<", ExecIllegal)          \
  X(tcGreater, ">", ExecIllegal)       \
  X(tcLessEqual, "<=", ExecIllegal)    \
  X(tcGreaterEqual, ">=", ExecIllegal) \
  X(tcNotEqual, "<>", ExecIllegal)     \
  X(tcAnd, "AND", ExecIllegal)         \
  X(tcOr, "OR", ExecIllegal)           \
  X(tcXor, "XOR", ExecIllegal)         \
  X(tcMod, "MOD", ExecIllegal)         \
  X(tcNot, "NOT", ExecIllegal)         \
  X(tcSqr, "SQR", ExecIllegal)         \
  X(tcSqrt, "SQRT", ExecIllegal)       \
  X(tcSin, "SIN", ExecIllegal)         \
  X(tcCos, "COS", ExecIllegal)         \
  X(tcTan, "TAN", ExecIllegal)         \
  X(tcArctan, "ARCTAN", ExecIllegal)   \
  X(tcLog, "LOG", ExecIllegal)         \
  X(tcExp, "EXP", ExecIllegal)         \
  X(tcAbs, "ABS", ExecIllegal)         \
  X(tcSgn, "SGN", ExecIllegal)         \
  X(tcStrFn, "STR$", ExecIllegal)      \
  X(tcVal, "VAL", ExecIllegal)         \
  X(tcChr, "CHR$", ExecIllegal)        \
  X(tcAsc, "ASC", ExecIllegal)         \
  X(tcLen, "LEN", ExecIllegal)         \
  X(tcMid, "MID$", ExecIllegal)        \
  X(tcInt, "INT", ExecIllegal)         \
  X(tcRnd, "RND", ExecIllegal)         \
  X(tcRem, "REM", ExecRem)             \
  X(tcLet, "LET", ExecLet)             \
  X(tcPrint, "PRINT", ExecPrint)       \
  X(tcInput, "INPUT", ExecInput)       \
  X(tcGoto, "GOTO", ExecGoto)          \
  X(tcIf, "IF", ExecIf)                \
  X(tcEnd, "END", ExecEnd)             \
  X(tcStop, "STOP", ExecStop)          \
  X(tcFor, "FOR", ExecFor)             \
  X(tcNext, "NEXT", ExecNext)          \
  X(tcWhile, "WHILE", ExecWhile)       \
  X(tcWend, "WEND", ExecWend)          \
  X(tcGosub, "GOSUB", ExecGosub)       \
  X(tcReturn, "RETURN", ExecReturn)    \
  X(tcRead, "READ", ExecRead)          \
  X(tcData, "DATA", ExecData)          \
  X(tcRestore, "RESTORE", ExecRestore) \
  X(tcOn, "ON", ExecOn)                \
  X(tcCommon, "COMMON", ExecCommon)    \
  X(tcDim, "DIM", ExecDim)             \
  X(tcList, "LIST", ExecList)          \
  X(tcRun, "RUN", ExecRun)             \
  X(tcNew, "NEW", ExecNew)             \
  X(tcLoad, "LOAD", ExecLoad)          \
  X(tcMerge, "MERGE", ExecMerge)       \
  X(tcSave, "SAVE", ExecSave)          \
  X(tcBye, "BYE\x01QUIT", ExecBye)     \
  X(tcDel, "DEL", ExecDel)             \
  X(tcDeclare, "DECLARE", ExecDeclare) \
  X(tcRenum, "RENUM", ExecRenum)       \
  X(tcThen, "THEN", ExecIllegal)       \
  X(tcElse, "ELSE", ExecElse)          \
  X(tcTo, "TO", ExecIllegal)           \
  X(tcStep, "STEP", ExecIllegal)

enum TokenCode : uint8_t {
#define BASIC_TOKEN_ENUM(name, text, handler) name,
  BASIC_TOKENS(BASIC_TOKEN_ENUM)
#undef BASIC_TOKEN_ENUM
      kTokenCodeCount,
  // Not a token of the text: ends every token list, so the cursor can always
  // look at the code under it. A cursor on it is the "nil" cursor.
  tcEol = kTokenCodeCount,
};
static_assert(tcRem == 44 && tcPrint == 46 && tcBye == 70 && tcStep == 77 && kTokenCodeCount == 78);

// The keyword table: forms separated by \x01; empty for codes 0 to 4.
extern const char* const KeywordText[kTokenCodeCount];
// The first form of a code, the one the lister writes.
std::string_view FirstForm(TokenCode code);

// One token. Strings, REM texts and runs of stray characters own one
// reference of their Str (see TokenList); variables and function definitions
// are not owned.
struct Token {
  TokenCode code;
  // The expression cache's entry for an expression starting here, plus one;
  // 0 when there is none yet (see expression_cache.h).
  mutable uint16_t exprSlot = 0;
  // Where the line a jump from this token went was found in the program's
  // index last time: checked before use, so it is only ever a hint. It sits
  // in what would otherwise be padding.
  mutable uint32_t lineHint = 0;
  union {
    varrec* variable;  // tcVariable
    double number;     // tcNumber
    // tcString, tcRem; tcChar: the bytes of a run of characters that mean
    // nothing to BASIC (one token for the run: a line of them costs little
    // more than its text).
    Str::Handle text;
    TFuncDefs* funcDefs;  // tcFunction
  };
  Str Text() const { return Str::Borrow(text); }
};
static_assert(sizeof(Token) == 16, "a token is a code, two caches and one 8-byte payload");

// The codes whose token holds a reference to its text.
inline bool OwnsText(TokenCode code) { return code == tcString || code == tcRem || code == tcChar; }

// The shared end-of-list token: the cursor of an empty list, and the "nil"
// cursor wherever a handler ends a line or execution.
inline Token nilToken{tcEol, 0, 0, {}};
inline Token* NilToken() { return &nilToken; }
inline bool AtEol(const Token* t) { return t->code == tcEol; }
// A statement ends at a colon, at ELSE or with its line.
inline bool AtEndOfStatement(const Token* t) {
  return t->code == tcEol || t->code == tcColon || t->code == tcElse;
}
// Where a false IF goes on, from the token after THEN: after the ELSE that
// pairs with that THEN (an IF inside the branch takes the next one), or at
// the line's end.
inline Token* ElseBranchOf(Token* t) {
  int depth = 0;
  while (!AtEol(t)) {
    const TokenCode code = t->code;
    ++t;
    if (code == tcIf) ++depth;
    if (code == tcElse && --depth < 0) break;
  }
  return t;
}

// The tokens of one line, stored contiguously and ended by a tcEol token.
// Pointers to its tokens stay valid for the life of the list.
class TokenList {
 public:
  TokenList() = default;
  // Takes the tokens (and the text references they hold) of a scratch vector,
  // which is left empty for reuse.
  explicit TokenList(std::vector<Token>& scratch);
  TokenList(TokenList&& other) noexcept;
  TokenList& operator=(TokenList&& other) noexcept;
  TokenList(const TokenList&) = delete;
  TokenList& operator=(const TokenList&) = delete;
  ~TokenList() { FreeTokens(); }

  Token* begin() const { return tokens_ ? tokens_.get() : NilToken(); }
  Token* end() const { return begin() + count_; }
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  // Releases every token and its text; the list is empty after.
  void FreeTokens() noexcept;

 private:
  std::unique_ptr<Token[]> tokens_;
  size_t count_ = 0;
};

}  // namespace basic
