// Program files: SAVE writes the listing, LOAD and MERGE enter a file's lines
// as if they had been typed with their numbers.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "basic.h"
#include "errors.h"

namespace basic {

std::string NoFileSystem::ReadFile(const std::string&) { throw RuntimeFault(FileErrorMessage(2)); }
void NoFileSystem::WriteFile(const std::string&, std::string_view) {
  throw RuntimeFault(FileErrorMessage(5));
}

namespace {

constexpr char kEndOfFile = 26;

// Cuts the next line off the front of a program file. A line ends at CR (an
// LF right after it belongs to the break), and at a lone LF when lfEndsLine;
// otherwise a lone LF is part of the line. Byte 26 ends the file. False when
// no line is left.
bool NextFileLine(std::string_view& rest, std::string_view& line, bool lfEndsLine) {
  if (rest.empty() || rest.front() == kEndOfFile) return false;
  const std::string_view breaks =
      lfEndsLine ? std::string_view("\r\n\x1a", 3) : std::string_view("\r\x1a", 2);
  const size_t end = rest.find_first_of(breaks);
  line = rest.substr(0, end);
  if (end == std::string_view::npos || rest[end] == kEndOfFile) {
    rest = {};
  } else {
    const bool afterCr = rest[end] == '\r';
    rest.remove_prefix(end + 1);
    if (afterCr && !rest.empty() && rest.front() == '\n') rest.remove_prefix(1);
  }
  return true;
}

// A numbered line of a file, tokenized and waiting to be entered; no tokens
// delete the line of that number.
struct StagedLine {
  int32_t number;
  TokenList tokens;
};

// The system reads a name only up to its first NUL: it would open another file.
const std::string& CheckFileName(const std::string& name) {
  if (name.find('\0') != std::string::npos) throw RuntimeFault(FileErrorMessage(3));
  return name;
}

}  // namespace

std::string TBasic::MapFileName(const std::string& name, uint8_t mode) {
  CheckFileName(name);
  if (!onFileName) return name;
  std::string mapped;
  onFileName(*this, name, mode, mapped);
  return CheckFileName(mapped);
}

void TBasic::ExecLoad(StatementContext&) { LoadProgram(false, std::string(EvalString().view())); }

void TBasic::ExecMerge(StatementContext&) { LoadProgram(true, std::string(EvalString().view())); }

void TBasic::ExecSave(StatementContext&) { SaveProgram(std::string(EvalString().view())); }

// The whole file is read and tokenized before the program changes, so a
// file that fails part way (a literal out of range, a line number too large,
// no memory left) leaves the program and its variables as they were.
void TBasic::LoadProgram(bool merge, const std::string& fileName) {
  const std::string bytes = files().ReadFile(MapFileName(fileName, kReadMode));

  // LOAD binds the file's names to variables of their own, which replace
  // the old ones; MERGE binds them to the program's, taking back the names
  // it added when it fails.
  VariableList fileVariables;
  VariableList& names = merge ? variables : fileVariables;
  const size_t knownNames = variables.size();
  std::vector<StagedLine> staged;
  try {
    std::string_view rest = WithoutByteOrderMark(bytes);
    std::string_view text;
    while (NextFileLine(rest, text, console_.LfEndsLine())) {
      int32_t number = 0;
      if (!TakeLineNumber(text, number)) SyntaxError();
      TokenList tokens;
      Tokenize(text, tokens, names);
      if (number == 0) {
        console_.Write(msg::kBadLineInFile);
        console_.NewLine();
        continue;
      }
      staged.push_back({number, std::move(tokens)});
    }
  } catch (...) {
    staged.clear();
    if (merge) variables.RemoveNewerThan(knownNames);
    throw;
  }

  if (!merge) {
    // Entered into a program of its own first: later lines of a file may
    // edit earlier ones, and running out of memory here still changes nothing.
    Program loaded;
    for (StagedLine& line : staged) loaded.Enter(line.number, std::move(line.tokens));
    NewProgram();
    program.Swap(loaded);
    variables.ReplaceWith(fileVariables);
    return;
  }

  // Entering a line frees the tokens of the line it replaces or deletes. If
  // that is the running line, the statement loop's cursor into it must not be
  // followed: the run ends after this statement.
  const int32_t runningNumber = currentLine != nullptr ? currentLine->LineNo : 0;
  bool runningLineChanged = false;
  for (StagedLine& line : staged) {
    program.Enter(line.number, std::move(line.tokens));
    if (line.number == runningNumber) {
      runningLineChanged = true;
      nextToken = NilToken();
      // Kept valid (nullptr once deleted) for an error report that names it.
      currentLine = program.Find(runningNumber);
    }
  }
  if (!staged.empty()) {
    // Frames and the DATA pointer may point into the lines just replaced.
    ClearControlStack();
    ResetDataPointer();
  }
  if (runningLineChanged) StopExecution();
}

void TBasic::SaveProgram(const std::string& fileName) {
  const std::string name = MapFileName(fileName, kWriteMode);
  std::string text;
  for (const ProgramLine& line : program) {
    ListLine(line, text);
    text += "\r\n";
  }
  files().WriteFile(name, text);
}

}  // namespace basic
