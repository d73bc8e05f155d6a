// The text of the ending scene: 46 lines (CP932), one per entry.
#pragma once
#include <string>
#include <vector>

// Splits text at line breaks (LF or CR LF); a final line break does not add an empty entry.
std::vector<std::string> SplitLines(const std::string& Text);

// The ending text as one string (CP932), lines ended by line breaks.
const std::string& EndingText();
