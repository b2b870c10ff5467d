// Numeric expressions evaluated from their cached translation must give
// exactly what walking the tokens gives, and the cache must notice every way
// its tokens or variables can change under it.
#include <gtest/gtest.h>

#include <string>

#include "interpreter_limits.h"
#include "test_support.h"

namespace basic::test {
namespace {

TEST(ExpressionCache, AgreesWithTheWalkingEvaluator) {
  // Each expression runs twice in a loop (translated, then the translation
  // reused) on a machine that translates, and on one that walks every
  // expression, function arguments included: the printed values must agree
  // digit for digit.
  const char* expressions[] = {
      "-(2+3)*4/8 - -1",
      "1+2*3-4/5",
      "((7))",
      "A*B-C/D",
      "A<B",
      "A>=B+C",
      "A=B",
      "A<>B",
      "-A+-B*+C",
      "1<2<3",
      "3>2>1",
      "A/3",
      "0.1+0.2",
      "B-A*1E300*1E8/1E8",
      "M(2)*M(I)+M(M(1)-6)",
      "M(I)",
      "M(D)",
      "M(2.5)",
      "C MOD I",
      "C AND I",
      "D OR C",
      "I XOR C",
      "C ^ I",
      "B ^ 2",
      "SIN(I)",
      "LOG C",
      "SQR(D)",
      "INT(B)",
      "ABS(-7)",
      "G(I, 2) - G(1, I) / 2",
      "C MOD 3 + -7.5 MOD 2 * I",
      "C AND 6 OR 1 XOR D",
      "(C > 1) AND (B < 0) OR A = 2",
      "-C MOD -I XOR -1",
      "2^3^2",
      "-A^2 + B^2",
      "B^I * 2^-I",
      "C^0.5 - (A + 1)^-A",
      "D^I^2",
      "SIN(A) * 1E6 + INT(-C / 2) - SQR B + ABS(B) ^ 0.5 + LOG(C) - SGN -A",
      "COS(I) + TAN(D) - ARCTAN(C) * EXP(-A) + SQRT(C + I) - INT 2.5",
      "SIN(M(I) * A)",
      "1 / (I - 2)",
      "M(I + 5)"};
  for (const char* expression : expressions) {
    const std::string program =
        std::string(
            "10 A = 1.5: B = -2: C = 7: D = 0.25: M(1) = 7: M(2) = 3: DIM G(2, 2): "
            "G(1, 2) = 5\r\n20 FOR I = 1 TO 2: X = ") +
        expression + ": PRINT X: NEXT\r\nRUN";
    Machine translating, walking;
    walking.inside.WalkEverything();
    const std::string out = translating.Run(program);
    EXPECT_EQ(out, walking.Run(program)) << expression;
    EXPECT_GT(translating.inside.expressions.size(), 0u) << expression;
  }
}

// The first expression of the first line that was given a translation (or
// was walked), in readable form.
std::string FirstTranslation(Machine& m) {
  for (const Token& token : m.inside.program.First()->Tokens)
    if (const CompiledExpression* made = m.inside.expressions.Made(&token))
      return DescribeTranslation(*made);
  return "none\n";
}

TEST(ExpressionCache, DescribesTheTranslationItRuns) {
  const std::string program = "10 A = 2: B = 3: DIM M(3): X = -A*B + M(A) / 4 - SIN(B)\r\nRUN";
  Machine translating, walking;
  walking.inside.WalkEverything();
  translating.Run(program);
  walking.Run(program);
  EXPECT_EQ(FirstTranslation(translating), "lone 2\n");
  // Operands pushed just before a binary operator or a subscript are folded into it.
  translating.Run("10 X = -A*B + M(A) / 4 - SIN(B) + G(2, B) + G(A - 1, 1)\r\nRUN");
  EXPECT_EQ(FirstTranslation(translating),
            "0 variable A\n"
            "1 negate\n"
            "2 multiply B\n"
            "3 element1 M A\n"
            "4 divide 4\n"
            "5 add\n"
            "6 variable B\n"
            "7 function SIN\n"
            "8 subtract\n"
            "9 element2 G 2 B\n"
            "10 add\n"
            "11 variable A\n"
            "12 subtract 1\n"
            "13 subscript G 0\n"
            "14 subscript G 1 1\n"
            "15 element G 2\n"
            "16 add\n");
  EXPECT_EQ(FirstTranslation(walking), "walked\n");
}

TEST(ExpressionCache, ErrorsAreTheEvaluatorsOwn) {
  Machine m;
  EXPECT_EQ(m.Run("10 FOR I = 0 TO 1: X = 1 / I: NEXT\r\nRUN"),
            "\aFloating point division by zero in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1 TO 2: X = 1E300 * 1E300 * I: NEXT\r\nRUN"),
            "\aFloating point overflow in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1 TO 2: X = (1 + 2: NEXT\r\nRUN"), "\a(42) Syntax error in 10\r\n");
  // Each subscript is checked before the next one is evaluated.
  EXPECT_EQ(m.Run("10 DIM A(3, 3): FOR I = 3 TO 4: X = A(I, 1E300 * 1E300): NEXT\r\nRUN"),
            "\aFloating point overflow in 10\r\n");
  EXPECT_EQ(
      m.Run("10 DIM A(3, 3): FOR I = 3 TO 4: X = A(I, 1) + A(1, 1E300 * 1E300 * I): NEXT\r\nRUN"),
      "\aFloating point overflow in 10\r\n");
  EXPECT_EQ(m.Run("10 DIM A(3, 3): FOR I = 3 TO 4: X = A(I + 1, 1E300 * 1E300): NEXT\r\nRUN"),
            "\a(42) Bad subscript in 10\r\n");
  EXPECT_EQ(
      m.Run("10 DIM A(3, 3): FOR I = 3 TO 4: X = A(I, 2.5) + A(-0.5, I): NEXT: PRINT X\r\nRUN"),
      "\a(42) Bad subscript in 10\r\n");
  EXPECT_EQ(m.Run("10 DIM A(3): FOR I = 2 TO 5: X = A(I): NEXT\r\nRUN"),
            "\a(42) Bad subscript in 10\r\n");
  EXPECT_EQ(m.Run("10 DIM A(3): FOR I = 0 TO -1 STEP -0.75: A(I) = 1: NEXT\r\nRUN"),
            "\a(42) Bad subscript in 10\r\n");
  EXPECT_EQ(m.Run("10 DIM A(3, 3): FOR I = 1 TO 2: X = A(I): NEXT\r\nRUN"),
            "\a(42) Syntax error in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 3 TO 0 STEP -1: X = 7 MOD I: NEXT\r\nRUN"),
            "\aDivision by zero in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 2 TO 0 STEP -1: X = (I - 2) ^ 2 + 5 ^ (I - 0.5): NEXT\r\nRUN"),
            "\aFloating point division by zero in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1 TO 2: X = (-8) ^ (I / 3): NEXT\r\nRUN"),
            "\aInvalid floating point operation in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1 TO 2: X = SQRT(1 - I) + 1 / (2 - I): NEXT\r\nRUN"),
            "\aInvalid floating point operation in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1 TO 2: X = LOG(I - 1) + 1: NEXT\r\nRUN"),
            "\aFloating point division by zero in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1 TO 0 STEP -1: X = LOG(I): NEXT\r\nRUN"),
            "\aFloating point division by zero in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1 TO -1 STEP -1: X = SQRT I: NEXT\r\nRUN"),
            "\aInvalid floating point operation in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1 TO 0 STEP -1: X = I ^ -1: NEXT\r\nRUN"),
            "\aFloating point division by zero in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1E18 TO 2E19 STEP 9E18: X = I OR 1: NEXT\r\nRUN"),
            "\aInvalid floating point operation in 10\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1 TO 2: X = 3 AND 1E19 * I: NEXT\r\nRUN"),
            "\aInvalid floating point operation in 10\r\n");
}

TEST(ExpressionCache, AssignedElementsAreTheOnesGetVariableFinds) {
  Machine m;
  EXPECT_EQ(m.Run("10 DIM M(4), G(2, 2)\r\n20 FOR I = 0 TO 4: M(I) = I * I: M(4 - I) = M(4 - I) + "
                  "1: NEXT\r\n"
                  "30 FOR I = 0 TO 2: G(I, 2 - I) = I: NEXT\r\n"
                  "40 PRINT M(0); M(1); M(2); M(3); M(4); G(0, 2); G(2, 0)\r\nRUN"),
            "1 2 5 9 16 0 2 \r\n");
  // The target's subscript fails before the value is computed.
  EXPECT_EQ(m.Run("NEW\r\n10 FOR I = 8 TO 12: M(I) = 1 / (I - 11): NEXT\r\nRUN"),
            "\a(42) Bad subscript in 10\r\n");
  // RUN turns arrays back into scalars: a cached element must not outlive that.
  EXPECT_EQ(m.Run("NEW\r\n10 FOR I = 1 TO 2: X = M(1): PRINT X;: M(1) = I: NEXT\r\nRUN\r\nRUN"),
            "0 1 0 1 ");
  // A cached target whose array has another shape in the next run.
  EXPECT_EQ(m.Run("NEW\r\n10 DIM M(2, 2)\r\n20 M(1) = 5: PRINT M(1)\r\nRUN 20\r\nRUN"),
            "5 \r\n\a(42) Syntax error in 20\r\n");
}

TEST(ExpressionCache, NoticesChangedTokensAndVariables) {
  Machine m;
  // A variable that becomes an array after its expression was cached.
  EXPECT_EQ(m.Run("10 FOR I = 1 TO 2: X = A + 1: PRINT X: A(1) = 5: NEXT\r\nRUN"),
            "1 \r\n\a(42) Bad subscript in 10\r\n");
  // RENUM rewrites a line number that starts a cached expression.
  m.Run("NEW");
  EXPECT_EQ(
      m.Run("10 K = K + 1: IF K > 2 THEN END\r\n20 GOTO 100 + 0\r\n100 PRINT \"at\"; K: GOTO 10\r\n"
            "RUN\r\nRENUM 1000, 10\r\nLIST 1010\r\nRUN"),
      "at1 \r\nat2 \r\n1010 GOTO 1020+0\r\nat1 \r\nat2 \r\n");
  // A name registered later turns a cached variable into a call.
  m.Run("NEW");
  EXPECT_EQ(
      m.Run(
          "10 X = Fn + 1: PRINT X\r\nRUN\r\nDECLARE FUNCTION Fn LIB \"no such library\" AS LONG\r\n"
          "RUN"),
      "1 \r\n\a(42) external function missing in 10\r\n");
}

TEST(ExpressionCache, StopsAtTheDepthLimitLikeTheEvaluator) {
  // On each side of the limit, LET (cached) and PRINT (walked) agree.
  std::string outcomes;
  for (int depth : {kMaxEvalDepth, kMaxEvalDepth + 1}) {
    const std::string brackets = std::string(depth - 1, '(') + "1" + std::string(depth - 1, ')');
    Machine walked, cached;
    const std::string expected = walked.Run("10 PRINT " + brackets + " + 1\r\nRUN");
    EXPECT_EQ(cached.Run("10 FOR I = 1 TO 2: X = " + brackets + " + 1: NEXT: PRINT X\r\nRUN"),
              expected);
    outcomes += expected;
  }
  EXPECT_EQ(outcomes, "2 \r\n\aStack overflow in 10\r\n");
}

TEST(ExpressionCache, TypedTextIsNotTranslated) {
  // VAL's text and typed INPUT items are tokenized for one evaluation each:
  // translating them would only use up the cache.
  Machine m("1+2*3\r\n4*SQR(5)\r\n");
  EXPECT_EQ(m.Run("10 FOR I = 1 TO 3: S = S + VAL(\"I*(2+\" + STR$(I) + \")-ABS(-I)\"): NEXT\r\n"
                  "20 INPUT A, B: PRINT S; A; B\r\nRUN"),
            "? ?? 20 7 100 \r\n");
  const size_t translated = m.inside.expressions.size();
  EXPECT_EQ(m.Run("RUN"), "? \aRead beyond end of file in 20\r\n");
  EXPECT_EQ(m.inside.expressions.size(), translated);  // the second run made none
}

TEST(ExpressionCache, FunctionArgumentsAgreeWithTheWalkingEvaluator) {
  // N becomes an array during the first pass, so the first pass walks every
  // argument and the second runs their translations.
  const char* expressions[] = {"SQR(C MOD 4 + N(0)) + INT(-B / 3 + N(0))",
                               "SIN(N(1) + A) * 1E6",
                               "ABS(N(0) - C * 2) - SGN(N(0) - B)",
                               "CHR$(65 + N(0) + I)",
                               "SQRT(N(0) + 1 - I)",
                               "LOG(N(0) + 2 - I)"};
  for (const char* expression : expressions) {
    Machine m;
    const std::string out =
        m.Run(std::string("10 A = 1.5: B = -2: C = 7\r\n20 FOR I = 1 TO 2: PRINT ") + expression +
              ";\r\n30 NEXT\r\nRUN");
    const size_t half = out.find(' ') + 1;
    if (out.find('\a') == std::string::npos)
      EXPECT_EQ(out.substr(0, half), out.substr(half, half)) << expression << ": " << out;
    else  // the error of the second pass, after the first pass's value
      EXPECT_TRUE(out.find("in 20") != std::string::npos && out[0] != '\a')
          << expression << ": " << out;
  }
  // Near the depth limit, deep brackets walked around a function argument
  // that is translated: (1) + 1 runs as a translation; LEN "A" + 1 nests
  // exactly as deep but stops the translator, so it is walked throughout.
  std::string outcomes;
  for (int brackets = kMaxEvalDepth - 6; brackets <= kMaxEvalDepth; ++brackets) {
    auto nest = [&](const std::string& inner) {
      return "10 PRINT " + std::string(brackets, '(') + "ABS(" + inner + ")" +
             std::string(brackets, ')') + "\r\nRUN";
    };
    Machine walked, cached;
    const std::string expected = walked.Run(nest("LEN \"A\" + 1"));
    EXPECT_EQ(cached.Run(nest("(1) + 1")), expected) << brackets;
    Machine walkedCall, cachedCall;
    EXPECT_EQ(cachedCall.Run(nest("ABS(ABS(1)) + 1")), walkedCall.Run(nest("ABS(LEN(\"A\")) + 1")))
        << brackets;
    // "^" takes its right operand one level deeper.
    Machine walkedPower, cachedPower;
    EXPECT_EQ(cachedPower.Run(nest("1 ^ (1) + 1")), walkedPower.Run(nest("1 ^ LEN \"A\" + 1")))
        << brackets;
    outcomes += expected.find("Stack overflow") != std::string::npos ? 'F' : 'S';
  }
  // Both sides of the limit were reached.
  EXPECT_NE(outcomes.find("SF"), std::string::npos) << outcomes;
}

}  // namespace
}  // namespace basic::test
