// Variables and arrays, and the small cursor operations every statement
// handler and the evaluator are built on: expect a token, accept a word, skip
// an argument, reference a variable, evaluate a value of a required kind.
#include <algorithm>
#include <cstdint>
#include <new>

#include "basic.h"
#include "errors.h"
#include "numeric.h"

namespace basic {

namespace {

// Extent of each dimension of an array made by its first subscripted use.
constexpr int32_t kImplicitExtent = 11;

bool SameWordIgnoringCase(std::string_view name, std::string_view upperWord) {
  if (name.size() != upperWord.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (UpperAscii(name[i]) != upperWord[i]) return false;
  return true;
}

}  // namespace

// First subscripted use: counts the subscripts, evaluating nothing, and
// makes every dimension 0..10. The cursor goes back to the "(". The array
// stays even if a subscript then fails.
void TBasic::DimensionOnFirstUse(varrec& v) {
  Token* open = nextToken;
  int32_t extents[kMaxDimensions];
  int count = 0;
  do {
    if (count == kMaxDimensions) BadSubscript();
    Advance();  // "(" or ","
    SkipSubscript();
    extents[count++] = kImplicitExtent;
  } while (PeekCode() != tcClose);
  variables.Dimension(v, extents, count);
  nextToken = open;
}

// --- Variables ------------------------------------------------------------

uint64_t varrec::ElementCount() const {
  if (dimCount == 0) return 0;
  uint64_t count = 1;
  for (int i = 0; i < dimCount; ++i) count *= static_cast<uint64_t>(extents[i]);
  return count;
}

void ClearVariable(varrec& v) {
  v.numElements.reset();
  v.strElements.reset();
  v.dimCount = 0;
  for (int32_t& extent : v.extents) extent = 0;
  v.strValue = Str();
  v.numValue = 0;
  v.valuePtr = v.isString ? nullptr : &v.numValue;
}

void DimensionArray(varrec& v, const int32_t* extents, int count) {
  if (count < 1 || count > kMaxDimensions) BadSubscript();
  const uint64_t elementSize = v.isString ? sizeof(Str) : sizeof(double);
  const uint64_t maxElements = kMaxArrayBytes / elementSize;
  // Each factor is below 2^31 and the running count stays below 2^31, so
  // the product cannot wrap before the limit is checked.
  uint64_t elements = 1;
  for (int i = 0; i < count; ++i) {
    if (extents[i] < 1) BadSubscript();
    elements *= static_cast<uint64_t>(extents[i]);
    if (elements > maxElements) RaiseRuntime(msg::kOutOfMemory);
  }
  const size_t n = static_cast<size_t>(elements);

  // Allocate before touching v, so a failure leaves it as it was.
  std::unique_ptr<double[]> numbers;
  std::unique_ptr<Str[]> strings;
  if (v.isString) {
    strings.reset(new (std::nothrow) Str[n]);
    if (!strings) RaiseRuntime(msg::kOutOfMemory);
  } else {
    numbers.reset(new (std::nothrow) double[n]());
    if (!numbers) RaiseRuntime(msg::kOutOfMemory);
  }

  v.numElements = std::move(numbers);
  v.strElements = std::move(strings);
  v.dimCount = static_cast<uint8_t>(count);
  for (int i = 0; i < kMaxDimensions; ++i) v.extents[i] = i < count ? extents[i] : 0;
  v.strValue = Str();
  v.numValue = 0;
  v.valuePtr = v.isString ? static_cast<void*>(&v.strElements[0]) : &v.numElements[0];
}

varrec* VariableList::FindOrAdd(std::string_view name) {
  name = name.substr(0, kMaxNameLength);
  if (auto it = byName_.find(name); it != byName_.end()) return it->second;

  // Room first, so the map and the list never disagree after a failure.
  if (order_.size() == order_.capacity()) order_.reserve(order_.size() * 2 + 16);
  auto v = std::make_unique<varrec>();
  v->name.assign(name);
  v->isString = !v->name.empty() && v->name.back() == '$';
  v->valuePtr = v->isString ? nullptr : &v->numValue;
  // The key views the name inside the heap record, which never moves.
  byName_.emplace(std::string_view(v->name), v.get());
  order_.push_back(std::move(v));
  return order_.back().get();
}

void VariableList::Dimension(varrec& v, const int32_t* extents, int count) {
  DimensionArray(v, extents, count);
  ++shapeEpoch_;
}

void VariableList::ClearVariables() {
  ++shapeEpoch_;
  for (auto& v : order_) ClearVariable(*v);
}

void VariableList::RemoveAll() {
  ++shapeEpoch_;
  byName_.clear();
  order_.clear();
}

void VariableList::ReplaceWith(VariableList& other) noexcept {
  // Above both: a translation made against either list must not run again.
  shapeEpoch_ = std::max(shapeEpoch_, other.shapeEpoch_) + 1;
  order_.swap(other.order_);
  byName_.swap(other.byName_);
  other.RemoveAll();
}

void VariableList::RemoveNewerThan(size_t count) noexcept {
  ++shapeEpoch_;
  while (order_.size() > count) {
    byName_.erase(std::string_view(order_.back()->name));
    order_.pop_back();
  }
}

// --- Cursor operations ------------------------------------------------------

bool TBasic::AcceptWord(std::string_view upperWord) {
  const Token& token = *nextToken;
  if (AtEol(&token)) return false;
  bool match = token.code == tcVariable ? SameWordIgnoringCase(token.variable->name, upperWord)
                                        : upperWord == KeywordText[token.code];
  if (match) Advance();
  return match;
}

void TBasic::ExpectWord(std::string_view upperWord) {
  if (!AcceptWord(upperWord)) SyntaxError();
}

void TBasic::SkipSubscript() {
  int depth = 0;
  for (;;) {
    TokenCode code = PeekCode();
    if (code == tcEol) SyntaxError();
    if (depth == 0 && (code == tcComma || code == tcClose)) return;
    if (code == tcOpen) ++depth;
    if (code == tcClose) --depth;
    Advance();
  }
}

void TBasic::SkipParenthesised() {
  if (PeekCode() != tcOpen) return;
  int depth = 0;
  do {
    if (AtStatementEnd()) SyntaxError();
    if (PeekCode() == tcOpen) ++depth;
    if (PeekCode() == tcClose) --depth;
    Advance();
  } while (depth > 0);
}

// --- Variable references ----------------------------------------------------

VarLocation TBasic::GetOtherVariable() {
  if (PeekCode() != tcVariable) SyntaxError();
  varrec& v = *nextToken->variable;
  Advance();

  if (PeekCode() != tcOpen) {
    if (v.dimCount > 0) BadSubscript();  // an array named without subscripts
    if (v.isString) return {&v, nullptr, &v.strValue};
    return {&v, &v.numValue, nullptr};
  }

  if (v.dimCount == 0) DimensionOnFirstUse(v);

  Advance();  // "("
  const int dims = v.dimCount;
  int64_t offset = 0;
  for (int i = 0; i < dims; ++i) {
    offset = v.NextOffset(offset, i, v.Subscript(i, EvalNumber()));
    if (i + 1 < dims) ExpectToken(tcComma);
  }
  ExpectToken(tcClose);

  const size_t index = static_cast<size_t>(offset);
  if (v.isString) {
    v.valuePtr = &v.strElements[index];
    return {&v, nullptr, &v.strElements[index]};
  }
  return {&v, v.NumericElement(offset), nullptr};
}

// --- Values of a required kind ------------------------------------------------

namespace {

double NumberOf(const valrec& value) {
  if (value.isString) TypeMismatch();
  return value.numValue;
}

Str StringOf(valrec& value) {
  if (!value.isString) TypeMismatch();
  return std::move(value.strValue);
}

}  // namespace

double TBasic::EvalNumberOtherwise() {
  // Translated the first time it is met; walked when it cannot be.
  double number;
  if (!callsForbidden && RunTranslation(expressions_.Find(nextToken), number)) return number;
  // A lone value is still quick when the cache is full.
  if (TakeLoneNumber(number)) return number;
  valrec value;
  EvalExpression(value);
  return NumberOf(value);
}

Str TBasic::EvalString() {
  valrec value;
  EvalExpression(value);
  return StringOf(value);
}

int64_t TBasic::EvalInteger() { return RoundToInt64(EvalNumber()); }

double TBasic::FactorNumber() {
  if (double number; !callsForbidden && RunTranslation(expressions_.FindFactor(nextToken), number))
    return number;
  valrec value;
  EvalFactor(value);
  return NumberOf(value);
}

Str TBasic::FactorString() {
  valrec value;
  EvalFactor(value);
  return StringOf(value);
}

int64_t TBasic::FactorInteger() { return RoundToInt64(FactorNumber()); }

void DepthGuard::RaiseStackOverflow() { RaiseRuntime(msg::kStackOverflow); }

}  // namespace basic
