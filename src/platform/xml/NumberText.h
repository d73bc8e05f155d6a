// Text-to-number and text-to-Boolean readings with the semantics of the OLE Automation conversions
// (locale-style numbers) and of the runtime's integer-literal reading, for values read from XML.
#pragma once
#include <cstdint>
#include <string_view>

enum class TConversionResult { Ok, TypeMismatch, Overflow };

// The locale-style reading (Japanese user locale: "," groups digits, "." starts the fraction):
// optional white space around, one sign (leading, trailing as in "5-", or parentheses as in "(5)" for a
// negative value), digits with grouping, an optional fraction and an optional exponent ("1.5e3"); the value
// rounds to the nearest integer (halves to even, as OLE Automation rounds). Or "&H"/"&O" hexadecimal/octal.
TConversionResult LocaleTextToInt32(std::string_view Text, int32_t& Value);

// The same reading as a real number, for Booleans (any non-zero number is true).
TConversionResult LocaleTextToDouble(std::string_view Text, double& Value);

// The integer-literal reading: leading spaces, an optional sign, then decimal digits or hexadecimal digits
// after "$", "x" or "0x" (either letter case). Hexadecimal takes up to 32 bits ($FFFFFFFF is -1).
TConversionResult IntegerLiteralToInt32(std::string_view Text, int32_t& Value);

// Both readings in turn: the literal reading only when the locale-style one reports a type mismatch.
TConversionResult TextToInt32(std::string_view Text, int32_t& Value);

// "true"/"false" in any letter case, or a number by either reading (zero is false).
TConversionResult TextToBoolean(std::string_view Text, bool& Value);
