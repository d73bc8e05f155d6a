// libFuzzer target: the text-to-number and text-to-Boolean conversions of the definition readers, and the
// value type that applies them. A number the integer reading accepts must agree with the real reading to
// within the rounding; a value that does not convert raises Exception, nothing else.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Exception.h"
#include "NumberText.h"
#include "Variant.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string text(reinterpret_cast<const char*>(Data), Size);
  int32_t integer = 0;
  double real = 0;
  if (LocaleTextToInt32(text, integer) == TConversionResult::Ok) {
    if (LocaleTextToDouble(text, real) != TConversionResult::Ok) __builtin_trap();
    if (!(std::fabs(real - integer) <= 0.5)) __builtin_trap();
  }
  IntegerLiteralToInt32(text, integer);
  bool boolean = false;
  TextToBoolean(text, boolean);
  const TVariant value(text);
  try {
    value.AsInteger();
  } catch (const Exception&) {
  }
  try {
    value.AsBoolean();
  } catch (const Exception&) {
  }
  return 0;
}
