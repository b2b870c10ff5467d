// Integer conversions, checked arithmetic and the text form of numbers.
// Faults are found by testing operands and results: the processor's traps
// stay masked on both targets, so nothing here depends on the FPU control
// word except the default rounding (to nearest, ties to even).
#include "numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "errors.h"

namespace basic {

namespace {

// The smallest magnitude that rounds to infinity as a double: DBL_MAX plus
// half its unit in the last place.
constexpr long double kDoubleOverflow = 0x1p1024L - 0x1p970L;

// The exact value of a double rounded to 18 significant decimal digits.
constexpr int kExpansionDigits = 18;

struct DecimalDigits {
  char digits[kExpansionDigits];
  int exponent;  // of the first digit: value = d.ddd... * 10^exponent

  // The digit at a position counted from the first; "0" beyond the expansion.
  char At(int index) const { return index >= 0 && index < kExpansionDigits ? digits[index] : '0'; }

  // Keeps `keep` leading digits, rounding half up on the expansion's digits.
  void RoundTo(int keep) {
    if (keep >= kExpansionDigits || keep < 1) return;
    bool up = digits[keep] >= '5';
    std::memset(digits + keep, '0', kExpansionDigits - keep);
    if (!up) return;
    for (int i = keep - 1; i >= 0; --i) {
      if (digits[i] != '9') {
        ++digits[i];
        return;
      }
      digits[i] = '0';
    }
    // Carried out of the first digit: 9.99... became 10.00...
    digits[0] = '1';
    ++exponent;
  }
};

DecimalDigits Expand(double x) {
  // "d.<17 digits>e<sign><digits>": 18 significant digits, correctly rounded.
  char text[40];
  auto [end, ec] = std::to_chars(text, text + sizeof text, std::fabs(x),
                                 std::chars_format::scientific, kExpansionDigits - 1);
  DecimalDigits d{};
  if (ec != std::errc()) {  // cannot happen for a finite double; stay defined
    std::memset(d.digits, '0', kExpansionDigits);
    return d;
  }
  d.digits[0] = text[0];
  std::memcpy(d.digits + 1, text + 2, kExpansionDigits - 1);
  const char* e = text + 2 + (kExpansionDigits - 1) + 1;  // after the 'e'
  bool negative = *e == '-';
  int exponent = 0;
  std::from_chars(e + 1, end, exponent);
  d.exponent = negative ? -exponent : exponent;
  return d;
}

// x * x is exact when x has at most 26 significant bits. For such x of
// moderate size, e^(2 ln x) in extended precision lands within 2^-57 of that
// exact square and so rounds to it: the product is the same result, sooner.
bool SquareIsExact(double x) {
  const double magnitude = std::fabs(x);
  if (!(magnitude >= 0x1p-40 && magnitude <= 0x1p40)) return false;
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return (bits & ((uint64_t{1} << 27) - 1)) == 0;
}

// The decimal exponent of the first significant digit of a text that
// NearestDouble takes; no significant digit gives INT64_MIN.
int64_t LeadingExponent(std::string_view text) {
  int64_t lead = 0;
  bool seen = false, point = false;
  size_t pos = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '.') {
      point = true;
    } else if (c >= '0' && c <= '9') {
      if (!seen && c != '0') {
        seen = true;
        lead = point ? lead - 1 : 0;
      } else if (seen && !point) {
        ++lead;
      } else if (!seen && point) {
        --lead;
      }
    } else {
      break;
    }
  }
  if (!seen) return std::numeric_limits<int64_t>::min();
  // The exponent, saturated far beyond any double's range.
  if (pos < text.size()) ++pos;  // E or e
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  int64_t exponent = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
    exponent = std::min<int64_t>(exponent * 10 + (text[pos] - '0'), int64_t{1} << 40);
  return lead + (negative ? -exponent : exponent);
}

// The text without its sign or blank in front, read as a double.
bool ReadsBackAs(std::string_view text, double x) {
  bool negative = false;
  if (!text.empty() && (text.front() == ' ' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const double back = NearestDouble(text);
  return (negative ? -back : back) == x && negative == static_cast<bool>(std::signbit(x));
}

// The shortest significant digits that read back as |x| (x finite and not
// zero), and the decimal exponent of the first.
struct ShortestDigits {
  std::string digits;
  int exponent;
};

ShortestDigits Shortest(double x, int precision = -1) {
  char text[40];
  const auto [end, ec] = precision < 0 ? std::to_chars(text, text + sizeof text, std::fabs(x),
                                                       std::chars_format::scientific)
                                       : std::to_chars(text, text + sizeof text, std::fabs(x),
                                                       std::chars_format::scientific, precision);
  ShortestDigits d{};
  if (ec != std::errc()) return {"0", 0};  // cannot happen for a finite double
  const char* e = std::find(text, end, 'e');
  for (const char* p = text; p < e; ++p)
    if (*p != '.') d.digits += *p;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, d.exponent);
  return d;
}

std::string ScientificLayout(bool negative, const std::string& digits, int exponent) {
  char text[32];
  size_t length = 0;
  text[length++] = negative ? '-' : ' ';
  text[length++] = digits[0];
  text[length++] = '.';
  for (size_t i = 1; i < 15 || i < digits.size(); ++i)
    text[length++] = i < digits.size() ? digits[i] : '0';
  text[length++] = 'E';
  text[length++] = exponent < 0 ? '-' : '+';
  int e = exponent < 0 ? -exponent : exponent;
  for (size_t i = length + 3; i + 1 > length; --i, e /= 10)
    text[i] = static_cast<char>('0' + e % 10);
  return std::string(text, length + 4);
}

}  // namespace

double NearestDouble(std::string_view text) {
  double value = 0;
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    return LeadingExponent(text) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return ec == std::errc() ? value : 0.0;
}

std::string FormatExactNumber(double x) {
  std::string text = FormatNumber(x);
  if (!std::isfinite(x) || ReadsBackAs(text, x)) return text;
  const bool negative = std::signbit(x);
  const ShortestDigits d = Shortest(x);
  if (text.find('E') != std::string::npos) return ScientificLayout(negative, d.digits, d.exponent);

  // Fixed notation: FormatNumber's range is 0.01 to below 10^12.
  std::string fixed(negative ? 1 : 0, '-');
  if (d.exponent < 0) {
    fixed += "0.";
    fixed.append(static_cast<size_t>(-d.exponent - 1), '0');
    return fixed + d.digits;
  }
  const size_t whole = static_cast<size_t>(d.exponent) + 1;
  if (d.digits.size() <= whole) {
    fixed += d.digits;
    fixed.append(whole - d.digits.size(), '0');
    return fixed;
  }
  fixed.append(d.digits, 0, whole);
  fixed += '.';
  fixed.append(d.digits, whole);
  return fixed;
}

std::string FormatExactScientific(double x) {
  std::string text = FormatScientific(x);
  if (!std::isfinite(x) || ReadsBackAs(text, x)) return text;
  for (int digits = 16; digits <= 17; ++digits) {
    const ShortestDigits d = Shortest(x, digits - 1);
    text = ScientificLayout(std::signbit(x), d.digits, d.exponent);
    if (ReadsBackAs(text, x)) break;
  }
  return text;
}

void RaiseInvalidOperation() { RaiseRuntime(msg::kFpInvalid); }

void RaiseDivisionByZero(double dividend) {
  RaiseRuntime(dividend == 0 ? msg::kFpInvalid : msg::kFpDivisionByZero);
}

void RaiseNotFinite(double x) { RaiseRuntime(std::isnan(x) ? msg::kFpInvalid : msg::kFpOverflow); }

double FromExtended(long double x) {
  if (std::isnan(x)) RaiseRuntime(msg::kFpInvalid);
  if (std::fabs(x) >= kDoubleOverflow) RaiseRuntime(msg::kFpOverflow);
  return static_cast<double>(x);
}

double Power(double x, double y) {
  if (y == 2 && SquareIsExact(x)) return x * x;
  // A zero base takes the logarithm of 0, like LOG(0): 0^2 fails too.
  if (x == 0) RaiseRuntime(msg::kFpDivisionByZero);
  if (x > 0)
    return FromExtended(
        std::exp(static_cast<long double>(y) * std::log(static_cast<long double>(x))));
  // A negative base only to a whole power, the sign following its parity.
  int64_t whole = TruncToInt64(y);
  if (static_cast<double>(whole) != y) RaiseRuntime(msg::kFpInvalid);
  long double magnitude =
      std::exp(static_cast<long double>(y) * std::log(-static_cast<long double>(x)));
  return FromExtended((whole & 1) != 0 ? -magnitude : magnitude);
}

double ModOf(double a, double b) {
  // Whole operands within 32 bits, the usual ones, need no rounding, and a
  // 32-bit division is the quicker one. Neither is INT32_MIN, so the
  // remainder cannot trap, and it is the one the 64-bit path gives.
  constexpr double kTwoTo31 = 2147483648.0;
  if (std::fabs(a) < kTwoTo31 && std::fabs(b) < kTwoTo31) {
    const auto dividend = static_cast<int32_t>(a);
    const auto divisor = static_cast<int32_t>(b);
    if (dividend == a && divisor == b && divisor != 0)
      return static_cast<double>(dividend % divisor);
  }
  int64_t dividend = RoundToInt64(a);
  int64_t divisor = RoundToInt64(b);
  if (divisor == 0) RaiseRuntime(msg::kDivisionByZero);
  // INT64_MIN % -1 traps on x86; the remainder is 0 anyway.
  if (divisor == -1) return 0;
  return static_cast<double>(dividend % divisor);
}

std::string FormatScientific(double x) {
  DecimalDigits d = Expand(x);
  d.RoundTo(15);
  if (x == 0) d.exponent = 0;
  char text[23];
  text[0] = std::signbit(x) ? '-' : ' ';
  text[1] = d.digits[0];
  text[2] = '.';
  std::memcpy(text + 3, d.digits + 1, 14);
  text[17] = 'E';
  text[18] = d.exponent < 0 ? '-' : '+';
  int e = d.exponent < 0 ? -d.exponent : d.exponent;
  for (int i = 22; i >= 19; --i, e /= 10) text[i] = static_cast<char>('0' + e % 10);
  return std::string(text, sizeof text);
}

std::string FormatNumber(double x) {
  // Compared in extended precision, so the double nearest 0.01 is fixed.
  long double magnitude = std::fabs(static_cast<long double>(x));
  if ((x != 0 && magnitude < 0.01L) || magnitude >= 1e12L) return FormatScientific(x);

  // Fixed notation, ten decimals, trailing zeros and a bare point removed.
  char text[40];
  int length = 0;
  if (std::signbit(x)) text[length++] = '-';
  if (x == 0) {
    text[length++] = '0';
    return std::string(text, length);
  }
  DecimalDigits d = Expand(x);
  d.RoundTo(d.exponent + 11);  // digits down to the 10^-10 place
  if (d.exponent < 0) {
    text[length++] = '0';
  } else {
    for (int i = 0; i <= d.exponent; ++i) text[length++] = d.At(i);
  }
  int point = length;
  text[length++] = '.';
  for (int place = 1; place <= 10; ++place) text[length++] = d.At(d.exponent + place);
  while (text[length - 1] == '0') --length;
  if (length - 1 == point) --length;
  return std::string(text, length);
}

}  // namespace basic
