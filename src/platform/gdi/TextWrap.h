// Greedy line wrapping for the game's messages (CP932), shared by the error box and the in-game message panel.
#pragma once
#include <functional>
#include <string>
#include <vector>

// Lines of Text, each as long as Fits allows: by whole characters (a double-byte character is never split), a
// line ends at '\n', or before the character that would not fit, just after the line's last space or '/' when it
// has one, so that words stay whole and a path breaks between its folders. The space a line breaks at belongs to
// neither line. A single character too wide for a line still gets one of its own. Never empty: at least one line.
std::vector<std::string> WrapText(const std::string& Text, const std::function<bool(const std::string&)>& Fits);
