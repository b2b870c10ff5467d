// The tokenizer: one line of text (its number already taken off) into tokens.
// Names are bound here and nowhere else: registered names to their
// definitions, keywords to their codes, every other word to its variable.
// Tokenizing never reports bad syntax; only a number literal out of the
// double range is refused.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "basic.h"
#include "errors.h"
#include "interpreter_limits.h"
#include "numeric.h"

namespace basic {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsWordStart(char c) { return IsLetter(c) || c == '_'; }
bool IsWordChar(char c) { return IsWordStart(c) || IsDigit(c) || c == '$'; }
// Editors indent with tabs: outside strings and remarks a tab is a blank.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// String and REM texts were NUL-terminated buffers: a NUL ends them.
std::string_view UpToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

// Every form of the keywords a word can be (codes 21 and up, REM aside),
// sorted for binary search. Built once from KeywordText.
class KeywordTable {
 public:
  KeywordTable() {
    for (int code = tcAnd; code < kTokenCodeCount; ++code) {
      if (code == tcRem) continue;
      std::string_view entry = KeywordText[code];
      for (;;) {
        const size_t split = entry.find('\x01');
        forms_.push_back({entry.substr(0, split), static_cast<TokenCode>(code)});
        if (split == std::string_view::npos) break;
        entry.remove_prefix(split + 1);
      }
    }
    std::sort(forms_.begin(), forms_.end(),
              [](const Form& a, const Form& b) { return a.text < b.text; });
  }

  // The code of an upper-case word, or tcEol when it is no keyword.
  TokenCode Find(std::string_view upperWord) const {
    auto it = std::lower_bound(forms_.begin(), forms_.end(), upperWord,
                               [](const Form& f, std::string_view w) { return f.text < w; });
    return (it != forms_.end() && it->text == upperWord) ? it->code : tcEol;
  }

 private:
  struct Form {
    std::string_view text;
    TokenCode code;
  };
  std::vector<Form> forms_;
};

const KeywordTable& Keywords() {
  static const KeywordTable table;
  return table;
}

// Buffers reused by every call, so a line costs one allocation (its token
// list) plus one per string token. A call empties them before returning.
struct Scratch {
  std::vector<Token> tokens;
  std::string text;  // a string literal with its doubled quotes undone
};

Scratch& TokenizerScratch() {
  static Scratch scratch;
  return scratch;
}

// On any exit the scratch tokens give up the texts they hold (after a
// successful hand-over to a TokenList there are none left), and a scratch
// grown by one very long line is given back rather than kept for good.
class ScratchGuard {
 public:
  explicit ScratchGuard(Scratch& scratch) : scratch_(scratch) {}
  ~ScratchGuard() {
    for (Token& t : scratch_.tokens)
      if (OwnsText(t.code)) Str::DropHandle(t.text);
    scratch_.tokens.clear();
    if (scratch_.tokens.capacity() > kKeptScratchTokens) std::vector<Token>().swap(scratch_.tokens);
    if (scratch_.text.capacity() > kKeptScratchBytes) std::string().swap(scratch_.text);
  }
  ScratchGuard(const ScratchGuard&) = delete;
  ScratchGuard& operator=(const ScratchGuard&) = delete;

 private:
  static constexpr size_t kKeptScratchTokens = 4096;
  static constexpr size_t kKeptScratchBytes = size_t{64} * 1024;
  Scratch& scratch_;
};

// After the opening quote: up to the closing quote or the end of the text.
// A doubled quote stands for one quote character.
Str ReadStringLiteral(std::string_view text, size_t& pos, std::string& buffer) {
  const size_t close = text.find('"', pos);
  if (close == std::string_view::npos || close + 1 == text.size() || text[close + 1] != '"') {
    // No doubled quote: the text is taken as it stands.
    const size_t end = std::min(close, text.size());
    Str literal(UpToNul(text.substr(pos, end - pos)));
    pos = std::min(end + 1, text.size());
    return literal;
  }
  buffer.clear();
  for (;;) {
    const size_t quote = text.find('"', pos);
    if (quote == std::string_view::npos) {
      buffer.append(text.substr(pos));
      pos = text.size();
      break;
    }
    buffer.append(text.substr(pos, quote - pos));
    pos = quote + 1;
    if (pos < text.size() && text[pos] == '"') {
      buffer.push_back('"');
      ++pos;
    } else {
      break;
    }
  }
  return Str(UpToNul(buffer));
}

// A byte that means nothing to BASIC outside a string or a remark: what the
// tokenizer's switch below leaves to its last branch.
bool IsStrayByte(char c) {
  switch (c) {
    case ' ':
    case '\t':
    case '"':
    case '(':
    case '[':
    case ')':
    case ']':
    case '*':
    case '+':
    case ',':
    case '-':
    case '/':
    case ':':
    case ';':
    case '=':
    case '?':
    case '^':
    case '<':
    case '>':
    case '.': return false;
    default: return !IsDigit(c) && !IsWordStart(c);
  }
}

// A run of stray bytes, blanks between them dropped: they list alike however
// they are grouped. "{c}" with a stray c is how the lister writes c, and
// reads back as c alone, so that a listing reads back as the line it came from.
Str ReadStrayRun(std::string_view text, size_t& pos, std::string& buffer) {
  const size_t start = pos;
  size_t bytes = 0;
  char first = 0;
  bool plain = true;  // no blank or braces: the run is the text as it stands
  while (pos < text.size()) {
    const char c = text[pos];
    if (IsBlank(c)) {
      plain = false;
      ++pos;
      continue;
    }
    if (c == '{' && pos + 2 < text.size() && text[pos + 2] == '}' && IsStrayByte(text[pos + 1])) {
      plain = false;
      if (bytes++ == 0) first = text[pos + 1];
      pos += 3;
    } else if (IsStrayByte(c)) {
      if (bytes++ == 0) first = c;
      ++pos;
    } else {
      break;
    }
  }
  if (bytes == 1) return Str::OfByte(static_cast<unsigned char>(first));  // cached: no allocation
  if (plain) return Str(text.substr(start, pos - start));
  buffer.clear();
  buffer.reserve(bytes);
  for (size_t i = start; i < pos;) {
    if (IsBlank(text[i])) {
      ++i;
    } else if (text[i] == '{' && i + 2 < pos && text[i + 2] == '}' && IsStrayByte(text[i + 1])) {
      buffer += text[i + 1];
      i += 3;
    } else {
      buffer += text[i++];
    }
  }
  return Str(buffer);
}

double CheckedLiteral(double x) {
  if (std::isinf(x)) RaiseRuntime(msg::kFpOverflow);
  return x;
}

// Digits and at most one point, then an optional exponent: E or e, an
// optional sign and digits (none at all is an exponent of 0, so "1E+-5" is 1
// followed by -5). The value is the double nearest the decimal written; a
// literal outside the double range is refused instead of turning into
// infinity, and one too small for it is 0.
double ReadNumber(std::string_view text, size_t& pos) {
  const size_t start = pos;
  bool point = false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '.' && !point) {
      point = true;
    } else if (!IsDigit(c)) {
      break;
    }
  }
  size_t end = pos;
  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    const size_t digits = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    if (pos > digits) end = pos;  // an exponent without digits counts as none
  }
  return CheckedLiteral(NearestDouble(text.substr(start, end - start)));
}

}  // namespace

void TBasic::Tokenize(std::string_view text, TokenList& out, VariableList& names) {
  out.FreeTokens();
  Scratch& scratch = TokenizerScratch();
  std::vector<Token>& tokens = scratch.tokens;
  ScratchGuard guard(scratch);

  size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (IsBlank(c)) {
      ++pos;
      continue;
    }
    // Placed first and filled in after, so a thrown error never strands a
    // text reference outside the scratch.
    Token& token = tokens.emplace_back();
    token.code = tcChar;
    token.number = 0;
    ++pos;
    switch (c) {
      case '"': {
        Str literal = ReadStringLiteral(text, pos, scratch.text);
        token.text = literal.ReleaseHandle();
        token.code = tcString;
        break;
      }
      case '(':
      case '[': token.code = tcOpen; break;
      case ')':
      case ']': token.code = tcClose; break;
      case '*': token.code = tcStar; break;
      case '+': token.code = tcPlus; break;
      case ',': token.code = tcComma; break;
      case '-': token.code = tcMinus; break;
      case '/': token.code = tcSlash; break;
      case ':': token.code = tcColon; break;
      case ';': token.code = tcSemicolon; break;
      case '=': token.code = tcEqual; break;
      case '?': token.code = tcPrint; break;
      case '^': token.code = tcCaret; break;
      case '<':
        token.code = tcLess;
        if (pos < text.size() && text[pos] == '=') {
          token.code = tcLessEqual;
          ++pos;
        } else if (pos < text.size() && text[pos] == '>') {
          token.code = tcNotEqual;
          ++pos;
        }
        break;
      case '>':
        token.code = tcGreater;
        if (pos < text.size() && text[pos] == '=') {
          token.code = tcGreaterEqual;
          ++pos;
        }
        break;
      default:
        if (IsDigit(c) || c == '.') {
          --pos;
          token.number = ReadNumber(text, pos);
          token.code = tcNumber;
        } else if (IsWordStart(c)) {
          const size_t start = pos - 1;
          while (pos < text.size() && IsWordChar(text[pos])) ++pos;
          const size_t wordEnd = pos;
          const std::string_view word =
              text.substr(start, std::min(wordEnd - start, kMaxNameLength));

          // The registry compares the line from the word's first character,
          // so it gets the position after the retained part; a word cut
          // short still ends where its last character stood.
          size_t nameEnd = start + word.size();
          const int index = FindName(word, text, nameEnd);
          if (index >= 0) {
            pos = std::max(nameEnd, wordEnd);
            token.funcDefs = DefsAt(index);
            token.code = tcFunction;
            break;
          }

          char upperBytes[kMaxNameLength];
          for (size_t i = 0; i < word.size(); ++i) upperBytes[i] = UpperAscii(word[i]);
          const std::string_view upper(upperBytes, word.size());
          if (const TokenCode code = Keywords().Find(upper); code != tcEol) {
            token.code = code;
          } else if (upper == "REM") {
            Str remark(UpToNul(text.substr(pos)));
            pos = text.size();
            token.text = remark.ReleaseHandle();
            token.code = tcRem;
          } else {
            token.variable = names.FindOrAdd(word);
            token.code = tcVariable;
          }
        } else {
          --pos;
          token.text = ReadStrayRun(text, pos, scratch.text).ReleaseHandle();
        }
        break;
    }
  }
  out = TokenList(tokens);
}

}  // namespace basic
