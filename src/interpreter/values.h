// Values, variables and arrays: the evaluated value (valrec), the variable
// record (varrec, scalar or array of up to four dimensions) and the list of
// all variables, which the tokenizer fills and NEW empties.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "interpreter_limits.h"
#include "numeric.h"
#include "str.h"

namespace basic {

// One evaluated value: a number or a string.
struct valrec {
  Str strValue;
  bool isString = false;
  double numValue = 0;

  void SetNumber(double x) {
    isString = false;
    numValue = x;
    if (!strValue.empty()) strValue = Str();
  }
  void SetString(Str s) {
    isString = true;
    strValue = std::move(s);
  }
};

// One variable. The scalar A and the array A(...) are the same record; a
// string variable's name ends in "$".
struct varrec {
  Str strValue;      // string scalar
  std::string name;  // as written, cut to kMaxNameLength
  int32_t extents[kMaxDimensions] = {};
  uint8_t dimCount = 0;  // 0: scalar; 1..4: array
  bool isString = false;
  std::unique_ptr<double[]> numElements;  // numeric array storage
  std::unique_ptr<Str[]> strElements;     // string array storage
  // The location of the latest reference: &numValue for a numeric scalar,
  // nullptr for a string scalar, the selected element of an array.
  void* valuePtr = nullptr;
  double numValue = 0;  // numeric scalar

  // Element count of an array (product of the extents).
  uint64_t ElementCount() const;

  // Subscript `dimension` of this array from its value: the nearest
  // integer, checked against the extent ("Bad subscript"). Every reader of
  // an element checks through here.
  int32_t Subscript(int dimension, double value) const {
    // A whole number in range, the usual subscript, is its own rounding.
    const int32_t extent = extents[dimension];
    const int32_t whole = TruncatedOrMinimum(value);
    if (static_cast<uint32_t>(whole) < static_cast<uint32_t>(extent) && whole == value) [[likely]]
      return whole;
    return CheckedSubscript(RoundToInt64(value), extent);
  }
  // The element after `offset` so far and the next checked subscript, in
  // row-major order.
  int64_t NextOffset(int64_t offset, int dimension, int32_t subscript) const {
    return offset * extents[dimension] + subscript;
  }
  // The numeric element at a checked offset, now the latest reference.
  double* NumericElement(int64_t offset) {
    double* element = &numElements[static_cast<size_t>(offset)];
    valuePtr = element;
    return element;
  }
};

// Where a reference (GetVariable) leads: exactly one of the two is set.
struct VarLocation {
  varrec* var = nullptr;
  double* num = nullptr;  // numeric scalar or element
  Str* str = nullptr;     // string scalar (&strValue) or element
};

// ClearVariable: back to a scalar 0 or empty string; name and place stay.
void ClearVariable(varrec& v);

// Gives v fresh array storage of the given extents (1..4 of them, each >= 1):
// zeroed numbers or empty strings. "Out of memory" when the storage would pass
// kMaxArrayBytes or cannot be allocated.
void DimensionArray(varrec& v, const int32_t* extents, int count);

// The interpreter's variables. Lookup by name happens only while tokenizing.
class VariableList {
 public:
  // The variable of that (already cut) name, created at the head when new.
  varrec* FindOrAdd(std::string_view name);
  // RUN and each new text: every number 0, every string empty, every array
  // released; the variables themselves stay.
  void ClearVariables();
  // NEW: every variable is discarded.
  void RemoveAll();
  // LOAD: every variable is discarded and those of `other` take their place;
  // `other` is left empty.
  void ReplaceWith(VariableList& other) noexcept;
  // Undoes the names added since the list held `count` variables (a MERGE
  // that failed); nothing may point to them any more.
  void RemoveNewerThan(size_t count) noexcept;
  // DimensionArray through the list, which notes that a shape changed.
  void Dimension(varrec& v, const int32_t* extents, int count);
  // Changes whenever a variable may have become an array or a scalar again.
  uint64_t ShapeEpoch() const { return shapeEpoch_; }
  size_t size() const { return order_.size(); }
  // Newest first, the order of the list from its head.
  template <typename F>
  void ForEachFromHead(F&& f) const {
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) f(**it);
  }

 private:
  std::vector<std::unique_ptr<varrec>> order_;            // oldest first
  std::unordered_map<std::string_view, varrec*> byName_;  // keys view varrec::name
  uint64_t shapeEpoch_ = 0;
};

}  // namespace basic
