#include "JsonText.h"

#include <cstdio>

std::string JsonColor(uint32_t argb) {
  char text[16];
  std::snprintf(text, sizeof text, "\"0x%08X\"", argb);
  return text;
}
