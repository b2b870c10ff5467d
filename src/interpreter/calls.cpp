// Calls of registered names: reads the argument list from the tokens,
// converts each argument by the signature, calls, and makes the result a value.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

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

// The words of one call and the storage they point into, which lives until
// the callee returns. A system method gets `method`; a library function gets
// `machine`, whose first word is the string result slot's address when it
// returns a string.
struct CallWords {
  std::array<ArgWord, kMaxCallArguments> method{};
  std::array<intptr_t, kMaxCallWords> machine{};
  size_t first = 0;  // index of the first argument in `machine`
  std::array<Str, kMaxCallArguments> strings;
  std::array<std::string, kMaxCallArguments> copies;
  std::array<int32_t, kMaxCallArguments> integers{};
  char* resultSlot = nullptr;

  void SetPointer(size_t i, char* p) {
    method[i].cstring = p;
    machine[first + i] = reinterpret_cast<intptr_t>(p);
  }
};

// A by-reference argument: the callee gets a pointer to a 32-bit integer or
// to a writable NUL-terminated copy of the variable's string.
void PassReference(const CallArgument& arg, bool given, uint8_t code, size_t i, CallWords& w) {
  const uint8_t type = code & kSigTypeMask;
  if (type < 1 || type > 3) SyntaxError();
  if (!given) {  // an omitted optional reference
    w.SetPointer(i, nullptr);
    return;
  }
  const VarLocation& at = arg.reference;
  if (type == 2) {
    if (at.num == nullptr) TypeMismatch();
    w.integers[i] = Low32(TruncToInt64(*at.num));
    w.method[i].integerRef = &w.integers[i];
    w.machine[w.first + i] = reinterpret_cast<intptr_t>(&w.integers[i]);
  } else {
    if (at.str == nullptr) TypeMismatch();
    w.copies[i].assign(at.str->view());
    w.SetPointer(i, w.copies[i].data());
  }
}

void PassValue(const CallArgument& arg, bool given, uint8_t code, size_t i, CallWords& w) {
  const valrec& value = arg.value;
  switch (code & kSigKindMask) {
    case 1:
    case 0x41:
      if (given) {
        if (!value.isString) TypeMismatch();
        w.strings[i] = value.strValue;
      }
      w.method[i].string = &w.strings[i];
      // A library reads the bytes, which Str keeps NUL-terminated.
      w.machine[w.first + i] = reinterpret_cast<intptr_t>(w.strings[i].data());
      return;
    case 2:
    case 0x42: {
      int32_t n = 0;
      if (given) {
        if (value.isString) TypeMismatch();
        n = Low32(TruncToInt64(value.numValue));
      }
      w.method[i].integer = n;
      w.machine[w.first + i] = n;  // sign-extended to the machine word
      return;
    }
    case 3:
    case 0x43:
      if (given) {
        if (!value.isString) TypeMismatch();
        w.copies[i].assign(value.strValue.view());
      }
      // A private, writable copy; nil for the empty string.
      w.SetPointer(i, w.copies[i].empty() ? nullptr : w.copies[i].data());
      return;
    default: SyntaxError();
  }
}

// What the callee left in the referenced variables goes back into them.
void WriteBack(const TFuncDef& def, const CallArgument* args, size_t count, const CallWords& w) {
  for (size_t i = 0; i < count; ++i) {
    if (!(def.ParameterCode(i) & kSigByRef)) continue;
    const VarLocation& at = args[i].reference;
    if (at.num != nullptr)
      *at.num = w.integers[i];
    else
      *at.str = Str(std::string_view(w.copies[i].c_str()));  // up to the first NUL
  }
}

// Converts the arguments by the signature and calls. Kept out of line so that
// its buffers are not part of the frame that nested calls recurse through.
[[gnu::noinline]] void Invoke(const TFuncDef& def, const CallArgument* args, size_t count,
                              Console& console, ExternalCode& libraries, valrec& result) {
  const size_t parameterCount = def.ParameterCount();
  const uint8_t resultKind = def.ResultCode() & kSigKindMask;
  // Whichever entry is bound decides the convention; with neither bound the
  // arguments are still converted, so that their errors come first.
  const bool library = def.method == nullptr;
  CallWords w;
  if (library && resultKind == 1) {
    w.machine[0] = reinterpret_cast<intptr_t>(&w.resultSlot);
    w.first = 1;
  }
  for (size_t i = 0; i < parameterCount; ++i) {
    const uint8_t code = def.ParameterCode(i);
    const bool given = i < count;
    if (code & kSigByRef)
      PassReference(args[i], given, code, i, w);
    else
      PassValue(args[i], given, code, i, w);
  }
  if (!def.Bound()) RaiseMessage(msg::kExternalMissing);

  // Whatever the callee does with the console, what was printed comes first.
  console.Flush();
  Str returned;
  int32_t code;
  if (library) {
    code = libraries.Call(def.libraryEntry, w.machine.data(), w.first + parameterCount);
    if (resultKind == 1 && w.resultSlot != nullptr) returned = Str(std::string_view(w.resultSlot));
  } else {
    code = def.method(def.instance, w.method.data(), parameterCount, &returned);
  }
  WriteBack(def, args, count, w);
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
  if (callsForbidden) SyntaxError();
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

  Invoke(def, args.data(), count, console_, externalCode(), result);
}

}  // namespace basic
