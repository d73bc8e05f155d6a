// printf-style formatting of the device layer's log lines. The format and %s arguments are CP932
// byte strings; formatting is byte-wise, so Shift-JIS text passes through unchanged.
#pragma once
#include <cstdio>
#include <string>

template <typename... Args>
std::string DGFormat(const std::string& Format, Args... Arguments) {
  const int Length = std::snprintf(nullptr, 0, Format.c_str(), Arguments...);
  if (Length <= 0) return std::string();
  std::string Result(size_t(Length) + 1, '\0');
  std::snprintf(Result.data(), Result.size(), Format.c_str(), Arguments...);
  Result.resize(size_t(Length));
  return Result;
}
