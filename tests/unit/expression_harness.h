// Evaluates expressions straight through the tokenizer and the evaluator,
// outside any statement, and runs code on a thread with a small stack.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "errors.h"
#include "numeric.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace basic::test {

class ExpressionHarness {
 public:
  // Tokenizes the text and evaluates one expression from its start; the
  // cursor is left where the evaluator stopped.
  valrec Eval(std::string_view text) {
    Start(text);
    valrec value;
    basic().EvalExpression(value);
    return value;
  }
  double Number(std::string_view text) {
    valrec v = Eval(text);
    EXPECT_FALSE(v.isString) << text;
    return v.numValue;
  }
  std::string String(std::string_view text) {
    valrec v = Eval(text);
    EXPECT_TRUE(v.isString) << text;
    return std::string(v.strValue.view());
  }
  // What evaluating the text gives: a number as PRINT shows it, a string
  // itself, or the error as Error() writes it.
  std::string Outcome(std::string_view text) {
    std::string value;
    std::string error = Catch([&] {
      valrec v = Eval(text);
      value = v.isString ? std::string(v.strValue.view()) : FormatNumber(v.numValue);
    });
    return error == "no error" ? value : error;
  }
  // The error evaluating the text raises, written as the reports write it:
  // "(42) Syntax error" for EBasic, the bare message for runtime faults.
  std::string Error(std::string_view text) {
    return Catch([&] { Eval(text); });
  }
  std::string Catch(const std::function<void()>& action) {
    std::string what = "no error";
    try {
      action();
    } catch (const EBasic& e) {
      what = "(" + std::to_string(e.errorCode) + ") " + e.what();
    } catch (const RuntimeFault& e) { what = e.what(); }
    // Every level of recursion was given back.
    EXPECT_EQ(inside().evalDepth, 0);
    return what;
  }
  // Positions the cursor at the start of the text's tokens.
  void Start(std::string_view text) {
    basic().Tokenize(text, tokens);
    inside().nextToken = tokens.begin();
  }
  TokenCode StoppedAt() const { return machine.inside.nextToken->code; }
  bool CursorInLine() const {
    const Token* t = machine.inside.nextToken;
    return t >= tokens.begin() && t <= tokens.end();
  }

  varrec& Var(std::string_view name) { return *inside().variables.FindOrAdd(name); }
  TBasic& basic() { return machine.basic; }
  TBasicInternals& inside() { return machine.inside; }

  Machine machine;
  TokenList tokens;
};

// Table-driven expression tests: each file instantiates its own tables.
inline const std::string kSyntaxError = "(42) Syntax error";
inline const std::string kTypeMismatch = "(42) Type mismatch error";
inline const std::string kBadSubscript = "(42) Bad subscript";

// Runs body on a thread whose stack is `bytes` large and rethrows what it
// threw, so tests can prove deep recursion stays within a small stack.
struct StackJob {
  const std::function<void()>* body;
  std::exception_ptr error;
  void Run() {
    try {
      (*body)();
    } catch (...) { error = std::current_exception(); }
  }
};

#ifdef _WIN32
inline DWORD WINAPI RunStackJob(LPVOID job) {
  static_cast<StackJob*>(job)->Run();
  return 0;
}
#else
inline void* RunStackJob(void* job) {
  static_cast<StackJob*>(job)->Run();
  return nullptr;
}
#endif

inline void RunOnStack(size_t bytes, const std::function<void()>& body) {
  StackJob job{&body, nullptr};
#ifdef _WIN32
  HANDLE thread =
      CreateThread(nullptr, bytes, RunStackJob, &job, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
#else
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, bytes);
  pthread_t thread;
  int rc = pthread_create(&thread, &attr, RunStackJob, &job);
  pthread_attr_destroy(&attr);
  ASSERT_EQ(rc, 0);
  pthread_join(thread, nullptr);
#endif
  if (job.error) std::rethrow_exception(job.error);
}

}  // namespace basic::test
