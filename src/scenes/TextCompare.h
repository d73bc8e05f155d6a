// Letter-case-insensitive comparison of CP932 text: ASCII letters fold to upper case, the two bytes of a
// double-byte character are compared as they stand (a trail byte in the range of 'a'..'z' is not a letter).
#pragma once
#include <string>

bool SameText(const std::string& a, const std::string& b);
