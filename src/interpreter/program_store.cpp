// The stored program and the entry of typed or loaded lines, with the small
// resets that every edit of the program implies.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>
#include <utility>

#include "basic.h"
#include "errors.h"
#include "invariant.h"

namespace basic {

namespace {

// The first index entry whose number is not below `number`.
std::vector<LineEntry>::iterator LowerBound(std::vector<LineEntry>& index, int32_t number) {
  return std::lower_bound(index.begin(), index.end(), number,
                          [](const LineEntry& entry, int32_t n) { return entry.number < n; });
}

LineEntry EntryOf(ProgramLine* line) { return {line, line->Tokens.begin(), line->LineNo}; }

}  // namespace

// The index is kept in step with every edit; only RENUM, which changes
// numbers behind its back, leaves it to be rebuilt on the next use.
void Program::RebuildIndex() const {
  index_.clear();
  for (ProgramLine& line : *this) index_.push_back(EntryOf(&line));
  indexValid_ = true;
}

ProgramLine* Program::Find(int32_t number) const {
  uint32_t hint = 0;
  return Find(number, hint);
}

const LineEntry* Program::Search(int32_t number, uint32_t& hint) const {
  if (!indexValid_) RebuildIndex();
  auto it = LowerBound(index_, number);
  if (it == index_.end() || it->number != number) return nullptr;
  hint = static_cast<uint32_t>(it - index_.begin());
  return &*it;
}

void Program::Enter(int32_t number, TokenList tokens) {
  ++edits_;
  if (last_ == nullptr || number > last_->LineNo) {
    // Lines loaded in order: no search.
    if (tokens.empty()) return;
    auto line = std::make_unique<ProgramLine>();
    line->LineNo = number;
    line->Tokens = std::move(tokens);
    if (indexValid_) index_.push_back(EntryOf(line.get()));
    (last_ != nullptr ? last_->Next : first_) = line.get();
    last_ = line.release();
    return;
  }

  if (!indexValid_) RebuildIndex();
  auto it = LowerBound(index_, number);  // not the end: number <= last_->LineNo
  ProgramLine* found = it->line;
  if (found->LineNo == number) {
    if (tokens.empty()) {
      Remove(found);
    } else {
      found->Tokens = std::move(tokens);
      it->tokens = found->Tokens.begin();
    }
    return;
  }
  if (tokens.empty()) return;

  auto line = std::make_unique<ProgramLine>();
  line->LineNo = number;
  line->Tokens = std::move(tokens);
  line->Next = found;
  ProgramLine* before = it == index_.begin() ? nullptr : (it - 1)->line;
  BASIC_ASSERT(number < found->LineNo && (before == nullptr || before->LineNo < number));
  index_.insert(it, EntryOf(line.get()));  // the only step that can throw
  (before != nullptr ? before->Next : first_) = line.release();
}

void Program::Remove(ProgramLine* line) {
  ++edits_;
  if (!indexValid_) RebuildIndex();
  auto it = LowerBound(index_, line->LineNo);
  if (it == index_.end() || it->line != line) return;  // not one of ours
  ProgramLine* before = it == index_.begin() ? nullptr : (it - 1)->line;
  (before != nullptr ? before->Next : first_) = line->Next;
  if (last_ == line) last_ = before;
  index_.erase(it);
  delete line;
}

void Program::Clear() {
  ++edits_;
  // One line at a time: a long program must not recurse.
  while (first_ != nullptr) {
    ProgramLine* line = first_;
    first_ = line->Next;
    delete line;
  }
  last_ = nullptr;
  index_.clear();
  indexValid_ = true;
}

void Program::Swap(Program& other) noexcept {
  ++edits_;
  ++other.edits_;
  std::swap(first_, other.first_);
  std::swap(last_, other.last_);
  index_.swap(other.index_);
  std::swap(indexValid_, other.indexValid_);
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return text;
}

bool TakeLineNumber(std::string_view& text, int32_t& number) {
  size_t pos = std::min(text.find_first_not_of(" \t"), text.size());
  int64_t value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    value = value * 10 + (text[pos] - '0');
    if (value > std::numeric_limits<int32_t>::max()) return false;
  }
  text.remove_prefix(pos);
  number = static_cast<int32_t>(value);
  return true;
}

void TBasic::EnterLine(TokenList& head) {
  enteredLineNumber = 0;
  std::string_view text = inputLine;
  int32_t number = 0;
  if (!TakeLineNumber(text, number)) {
    head.FreeTokens();
    SyntaxError();
  }
  Tokenize(text, head);
  if (number == 0) return;  // immediate, also when written as 0

  enteredLineNumber = number;
  program.Enter(enteredLineNumber, std::move(head));
  // Frames and the DATA pointer may point into the line just replaced.
  ClearControlStack();
  ResetDataPointer();
}

void TBasic::StopExecution() {
  currentLine = nullptr;
  nextToken = NilToken();
}

void TBasic::ClearControlStack() { controlStack.Clear(); }

void TBasic::ResetDataPointer() { dataReader.Reset(); }

void TBasic::NewProgram() {
  StopExecution();
  ClearControlStack();
  ResetDataPointer();
  program.Clear();
  // NEW typed on an immediate line ends that line, but its tokens live on
  // until the line is released: none of them may keep a freed variable.
  expressions_.TokensRewritten();
  for (Token* t = immediateTokens.begin(); t != immediateTokens.end(); ++t) {
    if (t->code == tcVariable) {
      t->code = tcEol;
      t->number = 0;
    }
  }
  variables.RemoveAll();
}

}  // namespace basic
