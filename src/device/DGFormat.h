// printf-style formatting of the device layer's log lines. The format and %s arguments are CP932
// byte strings; formatting is byte-wise, so Shift-JIS text passes through unchanged.
#pragma once
#include <cstdio>
#include <string>

template <typename... Args>
std::string DGFormat(const std::string& Format, Args... Arguments) {
  const int length = std::snprintf(nullptr, 0, Format.c_str(), Arguments...);
  if (length <= 0) return std::string();
  std::string result(size_t(length) + 1, '\0');
  std::snprintf(result.data(), result.size(), Format.c_str(), Arguments...);
  result.resize(size_t(length));
  return result;
}
