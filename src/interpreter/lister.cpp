// The lister: token lists back into text, for LIST and SAVE. The text is
// rebuilt from the tokens alone, so a listing shows the normalised layout,
// and LOAD of a saved file gives back the same tokens.
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "basic.h"
#include "errors.h"
#include "numeric.h"

namespace basic {

namespace {

// Appends pieces of a line, never two blanks where one piece ends in a blank
// and the next starts with one.
class LineWriter {
 public:
  explicit LineWriter(std::string& out) : out_(out) {}

  void Put(std::string_view piece) {
    if (piece.empty()) return;
    const bool endsInBlank = piece.back() == ' ';
    if (trailingBlank_ && piece.front() == ' ') piece.remove_prefix(1);
    out_.append(piece);
    trailingBlank_ = endsInBlank;
  }
  void Put(char c) { Put(std::string_view(&c, 1)); }

 private:
  std::string& out_;
  bool trailingBlank_ = false;
};

// Names, numbers, NOT, the functions, REM and the statement keywords: two of
// them in a row need a blank between them.
bool IsWordClass(TokenCode code) {
  return code == tcVariable || code == tcNumber || code == tcFunction ||
         (code >= tcNot && code <= tcRenum);
}

bool IsSpacedOperator(TokenCode code) {
  return (code >= tcColon && code <= tcMod) || (code >= tcThen && code <= tcStep);
}

void PutString(LineWriter& w, std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  quoted += '"';
  w.Put(quoted);
}

}  // namespace

void TBasic::ListLine(const ProgramLine& line, std::string& out) const {
  out += std::to_string(line.LineNo);
  out += ' ';
  ListTokens(line.Tokens.begin(), out);
}

void TBasic::ListTokens(const Token* first, std::string& out) const {
  LineWriter w(out);
  bool pendingBlank = false;
  for (const Token* t = first; !AtEol(t); ++t) {
    const TokenCode code = t->code;
    if (IsWordClass(code)) {
      if (pendingBlank) w.Put(' ');
      pendingBlank = code != tcNot;
    } else {
      pendingBlank = false;
    }

    switch (code) {
      case tcVariable: w.Put(t->variable->name); break;
      case tcNumber: w.Put(FormatExactNumber(t->number)); break;
      case tcString:
        // Written together, "A""B" would read back as the one string A"B.
        if (t != first && t[-1].code == tcString) w.Put(' ');
        PutString(w, t->Text().view());
        break;
      case tcFunction: w.Put(t->funcDefs->Name()); break;
      case tcChar: {
        const Str run = t->Text();
        std::string braced;
        braced.reserve(3 * run.size());
        for (const char c : run.view()) {
          braced += '{';
          braced += c;
          braced += '}';
        }
        w.Put(braced);
        break;
      }
      case tcNot: w.Put("NOT "); break;
      case tcRem: {
        std::string remark = "REM";
        remark += t->Text().view();
        w.Put(remark);
        break;
      }
      default:
        if (IsSpacedOperator(code)) {
          std::string spaced = " ";
          spaced += FirstForm(code);
          spaced += ' ';
          w.Put(spaced);
        } else {
          w.Put(FirstForm(code));
        }
        break;
    }
  }
}

// n, n-, -m, n-m or "-": plain number tokens only, never expressions,
// truncated toward zero; a missing end is the lowest or highest line.
LineRange TBasic::ReadLineRange() {
  auto takeNumber = [this] {
    const int64_t n = TruncToInt64(nextToken->number);
    Advance();
    return n;
  };
  LineRange range{0, std::numeric_limits<int32_t>::max()};
  if (PeekCode() == tcNumber) {
    range.low = takeNumber();
    if (PeekCode() != tcMinus) range.high = range.low;
  }
  if (PeekCode() == tcMinus) {
    Advance();
    if (PeekCode() == tcNumber) range.high = takeNumber();
  }
  return range;
}

void TBasic::ExecList(StatementContext&) {
  for (;;) {
    const auto [low, high] = ReadLineRange();

    std::string text;
    for (const ProgramLine& line : program.Lines(low, high)) {
      text.clear();
      ListLine(line, text);
      console_.Write(text);
      console_.NewLine();
    }

    if (AtStatementEnd()) return;
    ExpectToken(tcComma);
    if (AtStatementEnd()) return;
  }
}

}  // namespace basic
