// JSON string literals for the machine-readable outputs (the state lines, the skin report).
#pragma once
#include <string>

// Text (CP932) as a JSON string literal in UTF-8, quotes included.
std::string JsonString(const std::string& cp932);
