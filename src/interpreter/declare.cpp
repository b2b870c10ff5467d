// DECLARE: binds a library export to a name that programs then call like a
// built-in function.
//
//   DECLARE (FUNCTION | SUB) name LIB library [ALIAS export]
//           [( [[BYVAL | BYREF] param AS type {, ...}] )] [AS type]
#include <cstdint>
#include <string>

#include "basic.h"
#include "errors.h"

namespace basic {

namespace {

// A library call passes at most this many arguments.
constexpr size_t kMaxDeclaredParameters = 6;

// The words are ordinary identifiers, so DECLARE adds no keywords and a
// program may still use them as variable names.
uint8_t ReadTypeCode(TBasic& basic) {
  basic.ExpectWord("AS");
  if (basic.AcceptWord("STRING")) return 1;
  if (basic.AcceptWord("LONG") || basic.AcceptWord("INTEGER")) return 2;
  SyntaxError();
}

// A name is an identifier, or a name registered before: its token is then a
// function token, and the registered spelling is kept.
std::string ReadName(TBasic& basic) {
  const Token& token = basic.PeekToken();
  std::string name;
  if (token.code == tcVariable)
    name = token.variable->name;
  else if (token.code == tcFunction)
    name = token.funcDefs->Name();
  else
    SyntaxError();
  basic.Advance();
  return name;
}

std::string ReadParameterCodes(TBasic& basic) {
  std::string codes;
  if (basic.PeekCode() != tcOpen) return codes;
  basic.Advance();
  // A list that runs to the end of the line without ")" is accepted.
  while (basic.PeekCode() != tcClose && basic.PeekCode() != tcEol) {
    if (!codes.empty()) basic.ExpectToken(tcComma);
    if (codes.size() == kMaxDeclaredParameters) SyntaxError();
    const bool byValue = basic.AcceptWord("BYVAL");
    if (!byValue) basic.AcceptWord("BYREF");
    ReadName(basic);
    const uint8_t type = ReadTypeCode(basic);
    uint8_t code = static_cast<uint8_t>(kSigByRef | type);
    if (byValue) code = type == 1 ? 3 : 2;  // a string by value goes as a C string
    codes.push_back(static_cast<char>(code));
  }
  if (basic.PeekCode() == tcClose) basic.Advance();
  return codes;
}

}  // namespace

void TBasic::ExecDeclare(StatementContext&) {
  const bool isFunction = AcceptWord("FUNCTION");
  if (!isFunction) ExpectWord("SUB");
  const std::string name = ReadName(*this);
  ExpectWord("LIB");
  const Str library = EvalString();
  std::string entry = name;
  if (AcceptWord("ALIAS")) entry.assign(EvalString().view());
  const std::string codes = ReadParameterCodes(*this);
  const uint8_t resultType = isFunction ? ReadTypeCode(*this) : 0;
  if (!AtStatementEnd()) SyntaxError();
  AddExternal(name, static_cast<uint8_t>(kSigStdcall | resultType), entry,
              std::string(library.view()), codes);
}

}  // namespace basic
