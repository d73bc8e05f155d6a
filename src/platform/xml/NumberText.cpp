#include "NumberText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }

std::string_view Trim(std::string_view S) {
  while (!S.empty() && IsBlank(S.front())) S.remove_prefix(1);
  while (!S.empty() && IsBlank(S.back())) S.remove_suffix(1);
  return S;
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

bool EqualsIgnoringCase(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i]))) {
      return false;
    }
  }
  return true;
}

// Digits in the given base, at least one, up to 32 bits; the whole text must be consumed.
TConversionResult ReadUnsigned32(std::string_view Digits, int Base, uint32_t& Value) {
  if (Digits.empty()) return TConversionResult::TypeMismatch;
  uint64_t v = 0;
  bool overflow = false;
  for (char c : Digits) {
    int d = HexDigit(c);
    if (d < 0 || d >= Base) return TConversionResult::TypeMismatch;
    v = v * Base + d;
    if (v > 0xFFFFFFFFull) {
      overflow = true;
      v = 0xFFFFFFFFull + 1;  // keeps the multiplication bounded
    }
  }
  if (overflow) return TConversionResult::Overflow;
  Value = static_cast<uint32_t>(v);
  return TConversionResult::Ok;
}

// A parsed locale-style number: its sign and its value as significant digits times a power of ten, so that
// rounding and range are decided exactly, whatever the exponent.
struct TDecimal {
  bool Negative = false;
  std::string Digits;  // without leading zeros; empty for zero
  int64_t Scale = 0;   // value = Digits x 10^Scale
};

// One sign at most: leading, trailing, or parentheses around the number (which make it negative).
std::string_view TakeSign(std::string_view S, bool& Negative) {
  if (S.size() >= 2 && S.front() == '(' && S.back() == ')') {
    Negative = true;
    return S.substr(1, S.size() - 2);
  }
  if (!S.empty() && (S.front() == '+' || S.front() == '-')) {
    Negative = S.front() == '-';
    return S.substr(1);
  }
  if (!S.empty() && (S.back() == '+' || S.back() == '-')) {
    Negative = S.back() == '-';
    return S.substr(0, S.size() - 1);
  }
  return S;
}

bool ParseDecimal(std::string_view Text, TDecimal& Out) {
  std::string_view s = TakeSign(Trim(Text), Out.Negative);
  bool anyDigit = false;
  int64_t fractionDigits = 0;
  auto take = [&Out](char C) {
    if (!Out.Digits.empty() || C != '0') Out.Digits += C;
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
  Out.Scale = exponent - fractionDigits;
  return true;
}

// The whole part of a decimal (false when it does not fit 64 bits) and how its fraction compares with one
// half: -1 below (or no fraction), 0 exactly, +1 above.
bool SplitDecimal(const TDecimal& D, uint64_t& Whole, int& Half) {
  Whole = 0;
  Half = -1;
  if (D.Digits.empty()) return true;
  const int64_t count = static_cast<int64_t>(D.Digits.size());
  const int64_t wholeDigits = count + D.Scale;
  if (wholeDigits > 20) return false;
  for (int64_t k = 0; k < wholeDigits; ++k) {
    const unsigned digit = k < count ? static_cast<unsigned>(D.Digits[static_cast<size_t>(k)] - '0') : 0;
    if (Whole > (std::numeric_limits<uint64_t>::max() - digit) / 10) return false;
    Whole = Whole * 10 + digit;
  }
  if (wholeDigits >= 0 && wholeDigits < count) {
    const char first = D.Digits[static_cast<size_t>(wholeDigits)];
    Half = first > '5' ? 1 : first < '5' ? -1 : 0;
    if (Half == 0 && D.Digits.find_first_not_of('0', static_cast<size_t>(wholeDigits) + 1) != std::string::npos) {
      Half = 1;
    }
  }
  return true;
}

// "&H1F" and "&O17", as OLE Automation reads them.
bool ParsePrefixedRadix(std::string_view Text, int32_t& Value, TConversionResult& Result) {
  std::string_view s = Trim(Text);
  if (s.size() < 2 || s[0] != '&') return false;
  int base = (s[1] == 'h' || s[1] == 'H') ? 16 : (s[1] == 'o' || s[1] == 'O') ? 8 : 0;
  if (base == 0) return false;
  uint32_t v = 0;
  Result = ReadUnsigned32(s.substr(2), base, v);
  if (Result == TConversionResult::Ok) Value = static_cast<int32_t>(v);
  return true;
}

}  // namespace

TConversionResult LocaleTextToInt32(std::string_view Text, int32_t& Value) {
  TConversionResult radix;
  if (ParsePrefixedRadix(Text, Value, radix)) return radix;
  TDecimal d;
  if (!ParseDecimal(Text, d)) return TConversionResult::TypeMismatch;
  uint64_t magnitude = 0;
  int half = -1;
  if (!SplitDecimal(d, magnitude, half)) return TConversionResult::Overflow;
  const uint64_t limit = d.Negative ? 2147483648ull : 2147483647ull;
  if (magnitude > limit) return TConversionResult::Overflow;  // before rounding, which would wrap at 2^64 - 1
  if (half > 0 || (half == 0 && (magnitude & 1) != 0)) ++magnitude;
  if (magnitude > limit) return TConversionResult::Overflow;
  Value = d.Negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
  return TConversionResult::Ok;
}

TConversionResult LocaleTextToDouble(std::string_view Text, double& Value) {
  int32_t radixValue;
  TConversionResult radix;
  if (ParsePrefixedRadix(Text, radixValue, radix)) {
    if (radix == TConversionResult::Ok) Value = radixValue;
    return radix;
  }
  TDecimal d;
  if (!ParseDecimal(Text, d)) return TConversionResult::TypeMismatch;
  double real = d.Digits.empty() ? 0.0 : std::strtod((d.Digits + "e" + std::to_string(d.Scale)).c_str(), nullptr);
  if (std::isinf(real)) return TConversionResult::Overflow;
  Value = d.Negative ? -real : real;
  return TConversionResult::Ok;
}

TConversionResult IntegerLiteralToInt32(std::string_view Text, int32_t& Value) {
  std::string_view s = Text;
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
  if (result != TConversionResult::Ok) return result;
  if (base == 10 && magnitude > (negative ? 2147483648u : 2147483647u)) return TConversionResult::Overflow;
  // Hexadecimal fills all 32 bits: $FFFFFFFF is -1, and a sign negates that.
  uint32_t bits = negative ? 0u - magnitude : magnitude;
  Value = static_cast<int32_t>(bits);
  return TConversionResult::Ok;
}

TConversionResult TextToInt32(std::string_view Text, int32_t& Value) {
  TConversionResult result = LocaleTextToInt32(Text, Value);
  if (result != TConversionResult::TypeMismatch) return result;
  return IntegerLiteralToInt32(Text, Value);
}

TConversionResult TextToBoolean(std::string_view Text, bool& Value) {
  std::string_view word = Trim(Text);
  if (EqualsIgnoringCase(word, "true")) {
    Value = true;
    return TConversionResult::Ok;
  }
  if (EqualsIgnoringCase(word, "false")) {
    Value = false;
    return TConversionResult::Ok;
  }
  double real = 0;
  if (LocaleTextToDouble(Text, real) == TConversionResult::Ok) {
    Value = real != 0;
    return TConversionResult::Ok;
  }
  int32_t integer = 0;
  if (IntegerLiteralToInt32(Text, integer) == TConversionResult::Ok) {
    Value = integer != 0;
    return TConversionResult::Ok;
  }
  return TConversionResult::TypeMismatch;
}
