// JSON text building for the skin report: strings arrive in CP932 and leave as escaped UTF-8.
#pragma once
#include <cstdint>
#include <string>

#include "JsonString.h"

// "0xAARRGGBB".
std::string JsonColor(uint32_t Argb);
