#include "KeyScript.h"

#include "GameKeys.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

namespace {
struct TKeyName {
  const char* Name;
  uint8_t Code;
};
constexpr TKeyName kKeyNames[] = {{"LEFT", VK_LEFT}, {"UP", VK_UP},       {"RIGHT", VK_RIGHT},
                                  {"DOWN", VK_DOWN}, {"Z", VK_Z},         {"C", VK_C},
                                  {"ENTER", VK_RETURN}, {"ESC", VK_ESCAPE}, {"LCTRL", VK_LCONTROL}};

bool ParseUnsigned(const std::string& text, uint64_t limit, uint64_t& value) {
  if (text.empty() || text.size() > 10) return false;
  value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + (c - '0');
  }
  return value <= limit;
}
}  // namespace

bool IsAwayWord(const std::string& word) {
  std::string upper = word;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  return upper == kAwayWord;
}

const char* KeyNameOf(uint8_t VirtualKey) {
  for (const TKeyName& key : kKeyNames) {
    if (key.Code == VirtualKey) return key.Name;
  }
  return nullptr;
}

int VirtualKeyFromName(const std::string& name) {
  std::string upper = name;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  for (const TKeyName& key : kKeyNames) {
    if (upper == key.Name) return key.Code;
  }
  uint64_t code = 0;
  if (ParseUnsigned(name, 255, code)) return static_cast<int>(code);
  return -1;
}

namespace {
// A "seed N" or "skin NAME" line; rest holds what follows the word.
void ReadHeaderLine(const std::string& word, std::istringstream& rest, const std::string& where, TKeyScript& script,
                    bool& skinSet) {
  if (!script.Lines.empty()) throw std::runtime_error(where + word + " must come before the first frame line");
  if ((word == "seed" && script.Seed) || (word == "skin" && skinSet)) {
    throw std::runtime_error(where + "a second " + word + " line");
  }
  std::string value;
  std::getline(rest >> std::ws, value);
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.pop_back();
  if (word == "skin") {
    if (value.empty()) throw std::runtime_error(where + "skin wants a name");
    script.Skin = value;
    skinSet = true;
    return;
  }
  uint64_t seed = 0;
  if (!ParseUnsigned(value, UINT32_MAX, seed)) throw std::runtime_error(where + "bad seed \"" + value + "\"");
  script.Seed = static_cast<uint32_t>(seed);
}
}  // namespace

TKeyScript ReadKeyScript(std::istream& in) {
  TKeyScript script;
  std::vector<TKeyScriptLine>& lines = script.Lines;
  bool skinSet = false;
  std::string text;
  int lineNumber = 0;
  while (std::getline(in, text)) {
    ++lineNumber;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::istringstream words(text);
    std::string word;
    if (!(words >> word) || word[0] == '#') continue;
    const std::string where = "input line " + std::to_string(lineNumber) + ": ";
    if (word == "seed" || word == "skin") {
      ReadHeaderLine(word, words, where, script, skinSet);
      continue;
    }
    uint64_t frame = 0;
    if (!ParseUnsigned(word, UINT32_MAX, frame)) throw std::runtime_error(where + "bad frame number \"" + word + "\"");
    if (!lines.empty() && frame < lines.back().Frame) throw std::runtime_error(where + "frames must not decrease");
    TKeyScriptLine line;
    line.Frame = static_cast<uint32_t>(frame);
    while (words >> word) {
      if (IsAwayWord(word)) {
        line.Away = true;
        continue;
      }
      const int code = VirtualKeyFromName(word);
      if (code < 0) throw std::runtime_error(where + "unknown key \"" + word + "\"");
      line.Keys.push_back(static_cast<uint8_t>(code));
    }
    lines.push_back(std::move(line));
  }
  return script;
}

std::vector<TKeyScriptLine> ParseKeyScript(std::istream& in) { return ReadKeyScript(in).Lines; }

void TScriptedKeySource::SetFrame(uint32_t Frame) {
  const TKeyScriptLine* current = nullptr;
  for (const TKeyScriptLine& line : script_) {
    if (line.Frame > Frame) break;
    current = &line;
  }
  down_.fill(false);
  active_ = current == nullptr || !current->Away;
  if (current == nullptr) return;
  for (uint8_t key : current->Keys) down_[key] = true;
}
