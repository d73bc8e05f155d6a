// Writing ARGB8888 pixels as PNG files (libpng): screenshots of the headless runner and of tests.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>

// Writes Height rows of Width pixels (rows PitchBytes apart) as an 8-bit RGB PNG, or RGBA when KeepAlpha.
// Throws Exception with a message naming the file when it cannot be written.
void WritePng(const std::filesystem::path& File, const uint32_t* Pixels, int32_t Width, int32_t Height,
              int32_t PitchBytes, bool KeepAlpha = false);

// The same for a picture made row by row: Row(Y) is asked for the rows in order, 0 to Height - 1, and must give Width
// pixels that stay valid until the next call. So a picture taller than memory holds can be written in bands.
void WritePng(const std::filesystem::path& File, int32_t Width, int32_t Height,
              const std::function<const uint32_t*(int32_t Y)>& Row, bool KeepAlpha = false);
