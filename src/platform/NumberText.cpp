#include "NumberText.h"

#include <cctype>
#include <cmath>
#include <limits>

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

// A parsed locale-style decimal: its sign, whole part (saturated) and how its fraction compares with 1/2.
struct TDecimal {
  bool Negative = false;
  uint64_t Whole = 0;
  bool WholeOverflow = false;
  int HalfComparison = -1;  // -1 below one half (or no fraction), 0 exactly one half, +1 above
  bool FractionNonZero = false;
  double Real = 0;
};

bool ParseDecimal(std::string_view text, TDecimal& out) {
  std::string_view s = Trim(text);
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    out.Negative = s.front() == '-';
    s.remove_prefix(1);
  }
  bool anyDigit = false;
  size_t i = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (IsDigit(c)) {
      anyDigit = true;
      if (out.Whole > (std::numeric_limits<uint64_t>::max() - 9) / 10) {
        out.WholeOverflow = true;
      } else {
        out.Whole = out.Whole * 10 + (c - '0');
      }
      out.Real = out.Real * 10 + (c - '0');
    } else if (c == ',' && anyDigit) {
      continue;  // digit grouping
    } else {
      break;
    }
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    double scale = 0.1;
    bool first = true;
    out.HalfComparison = -1;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
      anyDigit = true;
      int d = s[i] - '0';
      if (d != 0) out.FractionNonZero = true;
      out.Real += d * scale;
      scale /= 10;
      if (first) {
        out.HalfComparison = d > 5 ? 1 : (d == 5 ? 0 : -1);
        first = false;
      } else if (out.HalfComparison == 0 && d != 0) {
        out.HalfComparison = 1;
      }
    }
  }
  if (!anyDigit || i != s.size()) return false;
  if (out.Negative) out.Real = -out.Real;
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
  if (d.WholeOverflow) return TConversionResult::crOverflow;
  uint64_t magnitude = d.Whole;
  if (d.HalfComparison > 0 || (d.HalfComparison == 0 && (magnitude & 1) != 0)) ++magnitude;
  uint64_t limit = d.Negative ? 2147483648ull : 2147483647ull;
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
  value = d.Real;
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
  if (!s.empty() && s.front() == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (!s.empty() && (s.front() == 'x' || s.front() == 'X')) {
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
