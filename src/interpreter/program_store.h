// The stored program: numbered lines in ascending order, each owning its
// tokens. Lines are linked in order (the statement loop steps along Next);
// lookup by number goes through a sorted index rebuilt after edits, so a
// jump costs O(log n) while FindLine's result stays that of a walk.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "line_code.h"
#include "tokens.h"

namespace basic {

struct ProgramLine {
  int32_t LineNo = 0;
  int32_t NewLineNo = 0;  // scratch of RENUM
  TokenList Tokens;
  ProgramLine* Next = nullptr;
  std::unique_ptr<LineCode> code;  // made when the line is first run (line_code.h)
};

// Walks the lines in order; `end` is where a walk stops: after the last
// line, or before the first line numbered above `high`.
class LineIterator {
 public:
  explicit LineIterator(ProgramLine* line) : line_(line) {}
  ProgramLine& operator*() const { return *line_; }
  LineIterator& operator++() {
    line_ = line_->Next;
    return *this;
  }
  bool operator==(const LineIterator& other) const { return line_ == other.line_; }

  struct UpTo {
    int64_t high;
  };
  bool operator==(UpTo end) const { return line_ == nullptr || line_->LineNo > end.high; }

 private:
  ProgramLine* line_;
};

// The lines numbered low to high (LIST, DEL), bounds as typed.
class NumberedLines {
 public:
  NumberedLines(ProgramLine* first, int64_t low, int64_t high) : first_(first), high_(high) {
    while (first_ != nullptr && first_->LineNo < low) first_ = first_->Next;
  }
  LineIterator begin() const { return LineIterator(first_); }
  LineIterator::UpTo end() const { return {high_}; }

 private:
  ProgramLine* first_;
  int64_t high_;
};

// An index entry: the line's number and first token are copied here, so
// that a jump reads neither the line record nor anything but its tokens.
// Padded to 32 bytes: finding entry i needs no multiplication.
struct alignas(32) LineEntry {
  ProgramLine* line;
  Token* tokens;
  int32_t number;
};

// Moves `cursor` past line ends onto the next token of a later line, `line`
// following it (the searches of FOR, WHILE and READ); false at the end of
// the program, where the cursor stays on the last line end.
inline bool StepOverLineEnds(ProgramLine*& line, Token*& cursor) {
  while (AtEol(cursor)) {
    if (line == nullptr || line->Next == nullptr) return false;
    line = line->Next;
    cursor = line->Tokens.begin();
  }
  return true;
}

// Windows editors start a UTF-8 file with a byte order mark (EF BB BF); it
// is no part of the program, and would hide the first line's number.
std::string_view WithoutByteOrderMark(std::string_view text);

// Cuts the line number (after any blanks or tabs) off the front of a typed
// or loaded line into `number`, 0 when there is none. False when it is past
// the 32-bit range.
bool TakeLineNumber(std::string_view& text, int32_t& number);

class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() { Clear(); }

  ProgramLine* First() const { return first_; }
  LineIterator begin() const { return LineIterator(first_); }
  LineIterator end() const { return LineIterator(nullptr); }
  NumberedLines Lines(int64_t low, int64_t high) const { return NumberedLines(first_, low, high); }
  bool empty() const { return first_ == nullptr; }
  // The line with that number, or nullptr.
  ProgramLine* Find(int32_t number) const;
  // The same, trying the index position `hint` first and leaving the
  // position found there: a jump that goes where it went before costs the
  // same however long the program is.
  ProgramLine* Find(int32_t number, uint32_t& hint) const {
    const LineEntry* entry = FindEntry(number, hint);
    return entry != nullptr ? entry->line : nullptr;
  }
  const LineEntry* FindEntry(int32_t number, uint32_t& hint) const {
    if (indexValid_ && hint < index_.size() && index_[hint].number == number) return &index_[hint];
    return Search(number, hint);
  }
  // The entry at index position `hint` if its number is `number`: a jump's
  // line number compared as the literal holds it, so that a literal that is
  // not a whole number in range can never match.
  const LineEntry* EntryAtHint(uint32_t hint, double number) const {
    if (!indexValid_ || hint >= index_.size() || index_[hint].number != number) return nullptr;
    return &index_[hint];
  }
  // Stores tokens under number, replacing a line of that number; an empty
  // list only deletes. The list is taken over.
  void Enter(int32_t number, TokenList tokens);
  // Unlinks and frees one line (DEL, MERGE); `line` must be in the program.
  void Remove(ProgramLine* line);
  // Every line freed.
  void Clear();
  // Exchanges the lines of two programs (a LOAD built aside).
  void Swap(Program& other) noexcept;
  // Call after line numbers change in place (RENUM).
  void Renumbered() {
    indexValid_ = false;
    ++edits_;
  }
  // Grows with every change of lines, numbers or tokens: what was worked
  // out from the program holds while this stays the same.
  uint64_t Edits() const { return edits_; }

 private:
  void RebuildIndex() const;
  const LineEntry* Search(int32_t number, uint32_t& hint) const;  // sets hint when found

  ProgramLine* first_ = nullptr;
  ProgramLine* last_ = nullptr;
  mutable std::vector<LineEntry> index_;
  mutable bool indexValid_ = true;
  uint64_t edits_ = 0;
};

}  // namespace basic
