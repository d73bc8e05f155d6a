// Writing ARGB8888 pixels as PNG files (libpng): screenshots of the headless runner and of tests.
#pragma once
#include <cstdint>
#include <filesystem>

// Writes Height rows of Width pixels (rows PitchBytes apart) as an 8-bit RGB PNG, or RGBA when KeepAlpha.
// Throws Exception with a message naming the file when it cannot be written.
void WritePng(const std::filesystem::path& File, const uint32_t* Pixels, int32_t Width, int32_t Height,
              int32_t PitchBytes, bool KeepAlpha = false);
