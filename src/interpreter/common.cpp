// COMMON: the statement, and the names and values it shares.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "basic.h"
#include "common.h"
#include "errors.h"
#include "numeric.h"

namespace basic {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Advances past a run of digits; whether there was at least one.
bool SkipDigits(std::string_view text, size_t& pos) {
  const size_t begin = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos > begin;
}

// Optional sign, digits with an optional fraction, optional exponent; the
// whole text or nothing. 0 for anything else, out-of-range values included.
double EnvironmentNumber(std::string_view text) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  const size_t mantissa = pos;
  bool digits = SkipDigits(text, pos);
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    digits = SkipDigits(text, pos) || digits;
  }
  if (!digits) return 0;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (!SkipDigits(text, pos)) return 0;
  }
  if (pos != text.size()) return 0;

  // from_chars takes no "+" and no sign at all before the digits it reads.
  double value = 0;
  const char* first = text.data() + mantissa;
  const char* last = text.data() + text.size();
  auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(value)) return 0;
  return negative ? -value : value;
}

// The name of a name=value entry: the text before the first "=".
std::string_view EntryName(std::string_view entry) {
  return entry.substr(0, std::min(entry.find('='), entry.size()));
}

std::string_view WithoutDollar(std::string_view name) {
  if (!name.empty() && name.back() == '$') name.remove_suffix(1);
  return name;
}

// Sets key=value in a name=value list, names compared without regard to
// case: the first match is replaced, an empty value removes it. Other
// matches go too, so no stale spelling of the name survives beside it.
void SetEntry(std::vector<std::string>& list, const std::string& key, std::string_view value) {
  bool placed = value.empty();
  auto out = list.begin();
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (CompareNoCase(EntryName(*it), key) == 0) {
      if (placed) continue;
      *it = key + "=" + std::string(value);
      placed = true;
    }
    if (out != it) *out = std::move(*it);
    ++out;
  }
  list.erase(out, list.end());
  if (!placed) list.push_back(key + "=" + std::string(value));
}

}  // namespace

void TBasic::ExecCommon(StatementContext&) {
  for (;;) {
    if (PeekCode() != tcVariable) SyntaxError();
    varrec& v = *nextToken->variable;
    Advance();
    commonBlock.Declare(v);
    if (AtStatementEnd()) return;
    ExpectToken(tcComma);
    if (AtStatementEnd()) return;
  }
}

std::vector<std::string> TBasic::ChildEnvironment() const {
  std::vector<std::string> list = commonBlock.Environment();
  commonBlock.ExportCommon(variables, list);
  return list;
}

void CommonBlock::Declare(varrec& v) {
  const std::string upper = UpperAscii(v.name);
  auto at = std::lower_bound(
      commonNames.begin(), commonNames.end(), upper,
      [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
  if (at == commonNames.end() || CompareNoCase(*at, upper) != 0) commonNames.insert(at, upper);
  ImportCommon(v);
}

void CommonBlock::ImportCommon(varrec& v) const {
  const std::string_view key = WithoutDollar(v.name);
  std::string_view value;
  for (const std::string& entry : environment) {
    if (CompareNoCase(EntryName(entry), key) == 0) {
      value = std::string_view(entry).substr(std::min(key.size() + 1, entry.size()));
      break;
    }
  }
  if (v.isString) {
    v.strValue = Str(value);
    v.valuePtr = nullptr;
  } else {
    v.numValue = EnvironmentNumber(value);
    v.valuePtr = &v.numValue;
  }
}

void CommonBlock::ExportCommon(const VariableList& variables,
                               std::vector<std::string>& target) const {
  for (auto name = commonNames.rbegin(); name != commonNames.rend(); ++name) {
    const varrec* found = nullptr;
    variables.ForEachFromHead([&](const varrec& v) {
      if (found == nullptr && CompareNoCase(v.name, *name) == 0) found = &v;
    });
    std::string value;
    if (found != nullptr && found->isString) {
      value = found->strValue.view();
    } else if (found != nullptr) {
      value = FormatExactScientific(found->numValue);
      const size_t first = value.find_first_not_of(' ');
      const size_t last = value.find_last_not_of(' ');
      value = first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
    }
    SetEntry(target, std::string(WithoutDollar(*name)), value);
  }
}

}  // namespace basic
