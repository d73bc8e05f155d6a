#include "NumberText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Digits in the given base, at least one, up to 32 bits; the whole text must be consumed.
TConversionResult ReadUnsigned32(std::string_view digits, int base, uint32_t& value) {
  if (digits.empty()) return TConversionResult::crTypeMismatch;
  uint64_t v = 0;
  bool overflow = false;
  for (char c : digits) {
    int d = HexDigit(c);
    if (d < 0 || d >= base) return TConversionResult::crTypeMismatch;
    v = v * base + d;
    if (v > 0xFFFFFFFFull) {
      overflow = true;
      v = 0xFFFFFFFFull + 1;  // keeps the multiplication bounded
    }
  }
  if (overflow) return TConversionResult::crOverflow;
  value = static_cast<uint32_t>(v);
  return TConversionResult::crOk;
}

// A parsed locale-style number: its sign and its value as significant digits times a power of ten, so that
// rounding and range are decided exactly, whatever the exponent.
struct TDecimal {
  bool Negative = false;
  std::string Digits;  // without leading zeros; empty for zero
  int64_t Scale = 0;   // value = Digits x 10^Scale
};

// One sign at most: leading, trailing, or parentheses around the number (which make it negative).
std::string_view TakeSign(std::string_view s, bool& negative) {
  if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
    negative = true;
    return s.substr(1, s.size() - 2);
  }
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    return s.substr(1);
  }
  if (!s.empty() && (s.back() == '+' || s.back() == '-')) {
    negative = s.back() == '-';
    return s.substr(0, s.size() - 1);
  }
  return s;
}

bool ParseDecimal(std::string_view text, TDecimal& out) {
  std::string_view s = TakeSign(Trim(text), out.Negative);
  bool anyDigit = false;
  int64_t fractionDigits = 0;
  auto take = [&out](char c) {
    if (!out.Digits.empty() || c != '0') out.Digits += c;
  };
  size_t i = 0;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      anyDigit = true;
      take(s[i]);
    } else if (s[i] != ',' || !anyDigit) {  // "," groups digits
      break;
    }
  }
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && IsDigit(s[i]); ++i) {
      anyDigit = true;
      take(s[i]);
      ++fractionDigits;
    }
  }
  if (!anyDigit) return false;
  int64_t exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negativeExponent = s[i++] == '-';
    if (i == s.size() || !IsDigit(s[i])) return false;
    for (; i < s.size() && IsDigit(s[i]); ++i)
      exponent = std::min<int64_t>(exponent * 10 + (s[i] - '0'), 1'000'000'000);
    if (negativeExponent) exponent = -exponent;
  }
  if (i != s.size()) return false;
  out.Scale = exponent - fractionDigits;
  return true;
}

// The whole part of a decimal (false when it does not fit 64 bits) and how its fraction compares with one
// half: -1 below (or no fraction), 0 exactly, +1 above.
bool SplitDecimal(const TDecimal& d, uint64_t& whole, int& half) {
  whole = 0;
  half = -1;
  if (d.Digits.empty()) return true;
  const int64_t count = static_cast<int64_t>(d.Digits.size());
  const int64_t wholeDigits = count + d.Scale;
  if (wholeDigits > 20) return false;
  for (int64_t k = 0; k < wholeDigits; ++k) {
    const unsigned digit = k < count ? static_cast<unsigned>(d.Digits[static_cast<size_t>(k)] - '0') : 0;
    if (whole > (std::numeric_limits<uint64_t>::max() - digit) / 10) return false;
    whole = whole * 10 + digit;
  }
  if (wholeDigits >= 0 && wholeDigits < count) {
    const char first = d.Digits[static_cast<size_t>(wholeDigits)];
    half = first > '5' ? 1 : first < '5' ? -1 : 0;
    if (half == 0 && d.Digits.find_first_not_of('0', static_cast<size_t>(wholeDigits) + 1) != std::string::npos) {
      half = 1;
    }
  }
  return true;
}

// "&H1F" and "&O17", as OLE Automation reads them.
bool ParsePrefixedRadix(std::string_view text, int32_t& value, TConversionResult& result) {
  std::string_view s = Trim(text);
  if (s.size() < 2 || s[0] != '&') return false;
  int base = (s[1] == 'h' || s[1] == 'H') ? 16 : (s[1] == 'o' || s[1] == 'O') ? 8 : 0;
  if (base == 0) return false;
  uint32_t v = 0;
  result = ReadUnsigned32(s.substr(2), base, v);
  if (result == TConversionResult::crOk) value = static_cast<int32_t>(v);
  return true;
}

}  // namespace

TConversionResult LocaleTextToInt32(std::string_view text, int32_t& value) {
  TConversionResult radix;
  if (ParsePrefixedRadix(text, value, radix)) return radix;
  TDecimal d;
  if (!ParseDecimal(text, d)) return TConversionResult::crTypeMismatch;
  uint64_t magnitude = 0;
  int half = -1;
  if (!SplitDecimal(d, magnitude, half)) return TConversionResult::crOverflow;
  const uint64_t limit = d.Negative ? 2147483648ull : 2147483647ull;
  if (magnitude > limit) return TConversionResult::crOverflow;  // before rounding, which would wrap at 2^64 - 1
  if (half > 0 || (half == 0 && (magnitude & 1) != 0)) ++magnitude;
  if (magnitude > limit) return TConversionResult::crOverflow;
  value = d.Negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
  return TConversionResult::crOk;
}

TConversionResult LocaleTextToDouble(std::string_view text, double& value) {
  int32_t radixValue;
  TConversionResult radix;
  if (ParsePrefixedRadix(text, radixValue, radix)) {
    if (radix == TConversionResult::crOk) value = radixValue;
    return radix;
  }
  TDecimal d;
  if (!ParseDecimal(text, d)) return TConversionResult::crTypeMismatch;
  double real = d.Digits.empty() ? 0.0 : std::strtod((d.Digits + "e" + std::to_string(d.Scale)).c_str(), nullptr);
  if (std::isinf(real)) return TConversionResult::crOverflow;
  value = d.Negative ? -real : real;
  return TConversionResult::crOk;
}

TConversionResult IntegerLiteralToInt32(std::string_view text, int32_t& value) {
  std::string_view s = text;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && (s.front() == '$' || s.front() == 'x' || s.front() == 'X')) {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  uint32_t magnitude = 0;
  TConversionResult result = ReadUnsigned32(s, base, magnitude);
  if (result != TConversionResult::crOk) return result;
  if (base == 10 && magnitude > (negative ? 2147483648u : 2147483647u)) return TConversionResult::crOverflow;
  // Hexadecimal fills all 32 bits: $FFFFFFFF is -1, and a sign negates that.
  uint32_t bits = negative ? 0u - magnitude : magnitude;
  value = static_cast<int32_t>(bits);
  return TConversionResult::crOk;
}

TConversionResult TextToInt32(std::string_view text, int32_t& value) {
  TConversionResult result = LocaleTextToInt32(text, value);
  if (result != TConversionResult::crTypeMismatch) return result;
  return IntegerLiteralToInt32(text, value);
}

TConversionResult TextToBoolean(std::string_view text, bool& value) {
  std::string_view word = Trim(text);
  if (EqualsIgnoringCase(word, "true")) {
    value = true;
    return TConversionResult::crOk;
  }
  if (EqualsIgnoringCase(word, "false")) {
    value = false;
    return TConversionResult::crOk;
  }
  double real = 0;
  if (LocaleTextToDouble(text, real) == TConversionResult::crOk) {
    value = real != 0;
    return TConversionResult::crOk;
  }
  int32_t integer = 0;
  if (IntegerLiteralToInt32(text, integer) == TConversionResult::crOk) {
    value = integer != 0;
    return TConversionResult::crOk;
  }
  return TConversionResult::crTypeMismatch;
}
