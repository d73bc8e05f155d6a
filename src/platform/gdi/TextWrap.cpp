#include "TextWrap.h"

#include "GlyphSource.h"

std::vector<std::string> WrapText(const std::string& Text, const std::function<bool(const std::string&)>& Fits) {
  std::vector<std::string> lines;
  std::string line;
  size_t lastBreak = 0;  // length of the line up to just after its last space or '/'; 0: none
  for (size_t i = 0; i < Text.size();) {
    const size_t start = i;
    NextCharCode(Text, i);
    const std::string ch = Text.substr(start, i - start);
    if (ch == "\n") {
      lines.push_back(line);
      line.clear();
      lastBreak = 0;
      continue;
    }
    if (!line.empty() && !Fits(line + ch)) {
      const size_t cut = lastBreak > 0 ? lastBreak : line.size();
      std::string head = line.substr(0, cut);
      if (!head.empty() && head.back() == ' ') head.pop_back();
      lines.push_back(head);
      line.erase(0, cut);
      lastBreak = 0;
      if (line.empty() && ch == " ") continue;
    }
    line += ch;
    if (ch == " " || ch == "/") lastBreak = line.size();
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}
