// Letter case of CP932 text: ASCII letters fold to upper case, the two bytes of a double-byte character stay as
// they stand (a trail byte in the range of 'a'..'z' is not a letter). Ids and skin names ignore case this way.
#pragma once
#include <string>

std::string UpperCaseText(const std::string& Text);
bool SameText(const std::string& A, const std::string& B);
