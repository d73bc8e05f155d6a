// The program's own debug trace hooks. They produce no output and have no effect; callers still pass their
// texts so that a tracing build could be made by changing only these two functions.
#pragma once
#include <string>

inline void DebugTrace(const std::string& /*text*/) {}

template <typename... Args>
inline void DebugTraceFmt(const char* /*format*/, const Args&... /*arguments*/) {}
