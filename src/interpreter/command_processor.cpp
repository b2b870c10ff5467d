// The command processor: takes lines from a text or from the console and
// treats each as typed. Numbered lines go into the program; others run at
// once. Errors outside a run are reported here in the short form.
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "basic.h"
#include "errors.h"

namespace basic {

namespace {

// Cuts the next non-empty line off the front of the text. CR LF separates
// lines, and so does a lone LF when lfEndsLine; a lone CR stays inside the line.
std::string_view NextTextLine(std::string_view& rest, bool lfEndsLine) {
  for (;;) {
    std::string_view line;
    size_t end = rest.find("\r\n");
    size_t breakLength = 2;
    if (lfEndsLine) {
      const size_t lf = rest.find('\n');
      if (lf != std::string_view::npos && (lf == 0 || rest[lf - 1] != '\r')) {
        end = lf;
        breakLength = 1;
      }
    }
    if (end == std::string_view::npos) {
      line = rest;
      rest = {};
    } else {
      line = rest.substr(0, end);
      rest.remove_prefix(end + breakLength);
    }
    if (!line.empty() || rest.empty()) return line;
  }
}

// `help` at READY: a reminder of the words, not a manual.
constexpr const char* kConsoleHelp[] = {
    "Lines with a number are stored; lines without one run at once.",
    "Commands:   RUN [line | \"file\"[, line]]  LIST [range]  NEW  DEL range",
    "            RENUM  LOAD \"file\"  MERGE \"file\"  SAVE \"file\"  BYE (QUIT)",
    "Statements: LET  PRINT (?)  INPUT  IF THEN ELSE  GOTO  GOSUB  RETURN",
    "            FOR TO STEP  NEXT  WHILE  WEND  ON GOTO/GOSUB  DIM  DATA  READ",
    "            RESTORE  REM  END  STOP  COMMON  DECLARE  Shell",
    "Ctrl-C stops a running program; BYE or the end of input leaves basic.",
    "More: man basic, and the language reference language.md.",
};

bool IsAsciiBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view WithoutOuterBlanks(std::string_view line) {
  while (!line.empty() && IsAsciiBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && IsAsciiBlank(line.back())) line.remove_suffix(1);
  return line;
}

}  // namespace

void TBasic::ProcessText(std::string_view text) {
  std::string_view rest = text;
  inputLine = NextTextLine(rest, console_.LfEndsLine());
  const bool hadText = !inputLine.empty();
  ClearControlStack();
  variables.ClearVariables();
  stopRequested = false;
  CommandLoop(&rest, hadText);
}

void TBasic::RunConsole() {
  stopRequested = false;
  CommandLoop(nullptr, false);
}

// Takes lines until BYE, the end of the text or the end of the console input.
// An error outside a run drops its line; the loop goes on with the next one.
void TBasic::CommandLoop(std::string_view* text, bool hadText) {
  while (!stopRequested) {
    try {
      if (!NextCommandLine(text, hadText)) {
        stopRequested = true;
        continue;
      }
      if (text == nullptr && IsHelpRequest(inputLine)) {
        ShowHelp();
      } else {
        HandleLine();
      }
      inputLine.clear();
      if (libraryFaulted) AfterLibraryFault(text != nullptr);
    } catch (const OutputFailure&) { throw; } catch (const std::bad_alloc&) {
      ReportOutsideRun(RuntimeFault(msg::kOutOfMemory));
      inputLine.clear();
    } catch (const std::exception& error) {
      ReportOutsideRun(error);
      inputLine.clear();
    }
  }
  console_.Flush();
}

// The next line of the text; when a text held no line at all (or there is
// none), the console's, after the prompt.
bool TBasic::NextCommandLine(std::string_view* text, bool hadText) {
  if (!inputLine.empty()) return true;
  if (text != nullptr) {
    inputLine = NextTextLine(*text, console_.LfEndsLine());
    if (!inputLine.empty()) return true;
    if (hadText) return false;
  }
  console_.WriteLine("READY");
  return ReadConsoleLine();
}

bool TBasic::ReadConsoleLine() {
  // A Ctrl-C that came after the last statement has nothing left to stop.
  breakRequested = 0;
  console_.Flush();
  if (console_.AtEnd()) return false;
  return console_.ReadLine(inputLine);
}

void TBasic::HandleLine() {
  EnterLine(immediateTokens);
  if (enteredLineNumber != 0) return;
  currentLine = nullptr;
  currentToken = immediateTokens.begin();
  observed_.seen = false;
  if (!immediateTokens.empty()) Execute();
  ReleaseImmediateLine();
  PauseObserver(StatementObserver::Pause::kCommandDone);
}

// Frames pushed by the immediate line point into its tokens: they go with it.
void TBasic::ReleaseImmediateLine() {
  controlStack.RemoveImmediateFrames();
  currentToken = NilToken();
  nextToken = NilToken();
  immediateTokens.FreeTokens();
}

void TBasic::AfterLibraryFault(bool fromText) {
  if (fromText) {
    stopRequested = true;
    return;
  }
  // The user may still SAVE the program; each fault warns again.
  libraryFaulted = false;
  console_.WriteLine(msg::kRestartAfterFault);
  console_.Flush();
}

void TBasic::ShowHelp() {
  for (const char* line : kConsoleHelp) console_.WriteLine(line);
}

// The word help alone, in any case; a name DECLARE registered is called by
// it instead, whatever the name.
bool TBasic::IsHelpRequest(std::string_view line) const {
  const std::string_view word = WithoutOuterBlanks(line);
  if (word.size() != 4 || UpperAscii(word) != "HELP") return false;
  size_t end = word.size();
  return FindName(word, word, end) < 0;
}

void TBasic::ReportOutsideRun(const std::exception& error) {
  PauseObserver(StatementObserver::Pause::kError);
  const auto* coded = dynamic_cast<const EBasic*>(&error);
  if (coded == nullptr || coded->errorCode != kBreakCode) errorReported = true;
  std::string report = "\a";
  report += error.what();
  console_.WriteLine(report);
  console_.Flush();
}

void TBasic::NameRegistered(const std::string& upperName, TFuncDefs* defs) {
  expressions_.TokensRewritten();
  for (ProgramLine& line : program) {
    for (Token* t = line.Tokens.begin(); !AtEol(t); ++t) {
      if (t->code == tcVariable && UpperAscii(t->variable->name) == upperName) {
        t->code = tcFunction;
        t->funcDefs = defs;
      }
    }
  }
}

}  // namespace basic
