#include "JsonText.h"

#include <cstdio>

std::string JsonColor(uint32_t Argb) {
  char text[16];
  std::snprintf(text, sizeof text, "\"0x%08X\"", Argb);
  return text;
}
