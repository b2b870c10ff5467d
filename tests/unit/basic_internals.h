// White-box access to an interpreter's parts, for the tests that check one
// part's state directly; TBasic names this struct its friend.
#pragma once

#include <cstdint>
#include <string>

#include "basic.h"

namespace basic {

struct TBasicInternals {
  explicit TBasicInternals(TBasic& b)
      : program(b.program),
        variables(b.variables),
        controlStack(b.controlStack),
        dataReader(b.dataReader),
        commonBlock(b.commonBlock),
        expressions(b.expressions_),
        inputLine(b.inputLine),
        enteredLineNumber(b.enteredLineNumber),
        immediateTokens(b.immediateTokens),
        currentLine(b.currentLine),
        currentToken(b.currentToken),
        nextToken(b.nextToken),
        evalDepth(b.evalDepth),
        libraryFaulted(b.libraryFaulted),
        basic_(b) {}

  void EnterLine(TokenList& head) { basic_.EnterLine(head); }
  void Execute() { basic_.Execute(); }
  void NewProgram() { basic_.NewProgram(); }
  void ResetDataPointer() { basic_.ResetDataPointer(); }
  // Every statement and expression read from its tokens: the reference for
  // the compiled lines and the translations.
  void WalkEverything() {
    basic_.expressions_.WalkOnly();
    basic_.walkStatements_ = true;
  }

  Program& program;
  VariableList& variables;
  ControlStack& controlStack;
  DataReader& dataReader;
  CommonBlock& commonBlock;
  ExpressionCache& expressions;
  std::string& inputLine;
  int32_t& enteredLineNumber;
  TokenList& immediateTokens;
  ProgramLine*& currentLine;
  Token*& currentToken;
  Token*& nextToken;
  int& evalDepth;
  bool& libraryFaulted;

 private:
  TBasic& basic_;
};

}  // namespace basic
