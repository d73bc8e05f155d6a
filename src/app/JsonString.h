// JSON string literals for the machine-readable outputs (the state lines, the skin report).
#pragma once
#include <string>

// Text (CP932) as a JSON string literal in UTF-8, quotes included.
std::string JsonString(const std::string& Cp932);
// A path or file name (the file system's bytes, UTF-8 in practice) as a JSON string literal, unconverted.
std::string JsonPathString(const std::string& Bytes);
