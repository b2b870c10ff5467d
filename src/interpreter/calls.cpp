// Calls of registered names: reads the argument list from the tokens,
// converts each argument by the signature, calls, and makes the result a value.
#include <array>
#include <string>

#include "basic.h"
#include "errors.h"
#include "numeric.h"

namespace basic {

namespace {

// A call takes at most this many arguments (the argument table's slots).
constexpr size_t kMaxCallArguments = 6;

struct CallArgument {
  valrec value;
  VarLocation reference;
  bool isReference = false;
};

// Converts the arguments by the signature and calls. Kept out of line so that
// its buffers are not part of the frame that nested calls recurse through.
[[gnu::noinline]] void Invoke(const TFuncDef& def, const CallArgument* args, size_t count,
                              Console& console, valrec& result) {
  const size_t parameterCount = def.ParameterCount();
  const uint8_t resultKind = def.ResultCode() & kSigKindMask;
  // Argument words, in parameter order. The strings they point at live in
  // this frame until the call returns.
  std::array<ArgWord, kMaxCallArguments> words{};
  std::array<Str, kMaxCallArguments> strings;
  std::array<std::string, kMaxCallArguments> copies;
  for (size_t i = 0; i < parameterCount; ++i) {
    const bool given = i < count;
    const valrec& value = args[i].value;
    switch (def.ParameterCode(i) & kSigKindMask) {
      case 1:
      case 0x41:
        if (given) {
          if (!value.isString) TypeMismatch();
          strings[i] = value.strValue;
        }
        words[i].string = &strings[i];
        break;
      case 2:
      case 0x42:
        if (given) {
          if (value.isString) TypeMismatch();
          words[i].integer = Low32(TruncToInt64(value.numValue));
        }
        break;
      case 3:
      case 0x43:
        if (given) {
          if (!value.isString) TypeMismatch();
          copies[i].assign(value.strValue.view());
        }
        // A private, writable copy; nil for the empty string.
        words[i].cstring = copies[i].empty() ? nullptr : copies[i].data();
        break;
      default:
        SyntaxError();
    }
  }
  if (!def.Bound()) RaiseMessage(msg::kExternalMissing);
  if (def.method == nullptr) RaiseMessage(msg::kExternalMissing);  // library calls: not on this build

  // Whatever the callee does with the console, what was printed comes first.
  console.Flush();
  Str returned;
  const int32_t code = def.method(def.instance, words.data(), parameterCount, &returned);
  if (resultKind == 1)
    result.SetString(std::move(returned));
  else
    result.SetNumber(code);
}

}  // namespace

void TBasic::ExecCallStatement(StatementContext&) {
  valrec ignored;
  CallFunction(currentToken->funcDefs, false, ignored);
}

void TBasic::CallFunction(TFuncDefs* defs, bool inExpression, valrec& result) {
  const TFuncDef& def = defs->First();
  const size_t parameterCount = def.ParameterCount();
  const uint8_t resultKind = def.ResultCode() & kSigKindMask;
  if (inExpression && resultKind == 0) TypeMismatch();
  if (parameterCount > kMaxCallArguments) SyntaxError();

  std::array<CallArgument, kMaxCallArguments> args;
  size_t count = 0;
  if (parameterCount == 0) {
    if (PeekCode() == tcOpen) {
      Advance();
      ExpectToken(tcClose);
    }
  } else if (!AtEol(nextToken)) {
    // A bracketed list takes full expressions; without brackets each
    // argument is a single factor, so "Shell X + 1" passes X only.
    const bool bracketed = PeekCode() == tcOpen;
    if (bracketed) Advance();
    for (;;) {
      if (AtStatementEnd()) {
        if (bracketed) SyntaxError();
        break;
      }
      if (bracketed && PeekCode() == tcClose) {
        Advance();
        break;
      }
      CallArgument& arg = args[count];
      if (def.ParameterCode(count) & kSigByRef) {
        arg.reference = GetVariable();
        arg.isReference = true;
      } else if (bracketed) {
        EvalExpression(arg.value);
      } else {
        EvalFactor(arg.value);
      }
      ++count;
      if (!bracketed && (AtStatementEnd() || count == parameterCount)) break;
      if (AtEol(nextToken)) SyntaxError();
      const TokenCode next = PeekCode();
      if (next == tcComma) {
        Advance();
      } else if (next == tcClose) {
        if (bracketed) {
          Advance();
          break;
        }
      } else {
        if (bracketed) SyntaxError();
        break;
      }
      if (count == parameterCount) SyntaxError();  // too many arguments
    }
  }
  for (size_t i = count; i < parameterCount; ++i)
    if (!(def.ParameterCode(i) & kSigOptional)) SyntaxError();

  Invoke(def, args.data(), count, console_, result);
}

}  // namespace basic
