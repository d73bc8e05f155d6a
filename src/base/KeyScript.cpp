#include "KeyScript.h"

#include "GameKeys.h"
#include "KeyBindings.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

namespace {
struct TKeyName {
  const char* Name;
  uint8_t Code;
};
constexpr TKeyName kKeyNames[] = {{"LEFT", VK_LEFT},    {"UP", VK_UP},      {"RIGHT", VK_RIGHT},
                                  {"DOWN", VK_DOWN},    {"Z", VK_Z},        {"C", VK_C},
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
  if (const int named = KeyFromName(name); named >= 0) return named;
  uint64_t code = 0;
  if (ParseUnsigned(name, 255, code)) return static_cast<int>(code);
  return -1;
}

namespace {
bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

void AppendHexEscape(std::string& out, unsigned char c) {
  static const char kHex[] = "0123456789ABCDEF";
  out += "\\x";
  out += kHex[c >> 4];
  out += kHex[c & 15];
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The name inside a quoted skin value; false when the quoting is broken.
bool UnquoteSkinName(const std::string& value, std::string& name) {
  if (value.size() < 2 || value.back() != '"') return false;
  name.clear();
  for (size_t i = 1; i + 1 < value.size(); ++i) {
    const char c = value[i];
    if (c == '"') return false;
    if (c != '\\') {
      name += c;
      continue;
    }
    if (++i + 1 >= value.size()) return false;
    if (value[i] == '\\' || value[i] == '"') {
      name += value[i];
    } else if (value[i] == 'x' && i + 3 < value.size() && HexDigit(value[i + 1]) >= 0 && HexDigit(value[i + 2]) >= 0) {
      name += static_cast<char>(HexDigit(value[i + 1]) * 16 + HexDigit(value[i + 2]));
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}
}  // namespace

std::string SkinLineValue(const std::string& Name) {
  const bool plain =
      !Name.empty() && Name.front() != '"' && !std::isspace(static_cast<unsigned char>(Name.front())) &&
      !std::isspace(static_cast<unsigned char>(Name.back())) &&
      std::none_of(Name.begin(), Name.end(), [](char c) { return IsControl(static_cast<unsigned char>(c)); });
  if (plain) return Name;
  std::string quoted = "\"";
  for (const char c : Name) {
    if (c == '\\' || c == '"') {
      quoted += '\\';
      quoted += c;
    } else if (IsControl(static_cast<unsigned char>(c))) {
      AppendHexEscape(quoted, static_cast<unsigned char>(c));
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

std::string ShowableText(const std::string& Text) {
  std::string shown;
  for (const char c : Text) {
    if (IsControl(static_cast<unsigned char>(c))) {
      AppendHexEscape(shown, static_cast<unsigned char>(c));
    } else {
      shown += c;
    }
  }
  return shown;
}

namespace {
// The skin named by the value of a skin line (plain, or quoted as SkinLineValue writes it).
std::string ReadSkinValue(const std::string& value, const std::string& where, const std::string& word) {
  if (value.empty())
    throw std::runtime_error(where + (word == "skin" ? "skin wants a name" : word + " wants a skin name"));
  if (value.front() != '"') return value;
  std::string name;
  if (!UnquoteSkinName(value, name)) throw std::runtime_error(where + "badly quoted skin name " + ShowableText(value));
  return name;
}

// What follows the word of a header line, without the white space around it.
std::string RestOfLine(std::istringstream& rest) {
  std::string value;
  std::getline(rest >> std::ws, value);
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.pop_back();
  return value;
}

// The header lines so far, for the "a second ... line" check.
struct THeaderSeen {
  bool Skin = false;
};

// A header line; rest holds what follows the word.
void ReadHeaderLine(const std::string& word, std::istringstream& rest, const std::string& where, TKeyScript& script,
                    THeaderSeen& seen) {
  if (!script.Lines.empty()) throw std::runtime_error(where + word + " must come before the first frame line");
  if ((word == "seed" && script.Seed) || (word == "skin" && seen.Skin) || (word == "classic" && script.Classic) ||
      (word == "player" && !script.Player.empty())) {
    throw std::runtime_error(where + "a second " + word + " line");
  }
  if (word == "score") {
    // POINTS NAME SKIN: the skin last, as it may hold spaces.
    std::string points, name;
    uint64_t score = 0;
    if (!(rest >> points >> name) || !ParseUnsigned(points, UINT32_MAX, score)) {
      throw std::runtime_error(where + "score wants POINTS NAME SKIN");
    }
    script.Scores.push_back(
        TScriptScore{static_cast<uint32_t>(score), name, ReadSkinValue(RestOfLine(rest), where, word)});
    return;
  }
  const std::string value = RestOfLine(rest);
  if (word == "skin") {
    script.Skin = ReadSkinValue(value, where, word);
    seen.Skin = true;
    return;
  }
  if (word == "classic") {
    if (value != "0" && value != "1") throw std::runtime_error(where + "classic wants 0 or 1");
    script.Classic = value == "1";
    return;
  }
  if (word == "player") {
    if (value.empty() || value.find_first_of(" \t") != std::string::npos) {
      throw std::runtime_error(where + "player wants one word");
    }
    script.Player = value;
    return;
  }
  uint64_t seed = 0;
  if (!ParseUnsigned(value, UINT32_MAX, seed))
    throw std::runtime_error(where + "bad seed \"" + ShowableText(value) + "\"");
  script.Seed = static_cast<uint32_t>(seed);
}

bool IsHeaderWord(const std::string& word) {
  return word == "seed" || word == "skin" || word == "classic" || word == "player" || word == "score";
}
}  // namespace

void WriteKeyScriptHeader(std::ostream& out, const TKeyScript& Script) {
  if (Script.Seed) out << "seed " << *Script.Seed << '\n';
  if (!Script.Skin.empty()) out << "skin " << SkinLineValue(Script.Skin) << '\n';
  if (Script.Classic) out << "classic " << (*Script.Classic ? 1 : 0) << '\n';
  if (!Script.Player.empty()) out << "player " << Script.Player << '\n';
  for (const TScriptScore& score : Script.Scores) {
    out << "score " << score.Score << ' ' << score.Name << ' ' << SkinLineValue(score.Skin) << '\n';
  }
}

TKeyScript ReadKeyScript(std::istream& in) {
  TKeyScript script;
  std::vector<TKeyScriptLine>& lines = script.Lines;
  THeaderSeen seen;
  std::string text;
  int lineNumber = 0;
  while (std::getline(in, text)) {
    ++lineNumber;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::istringstream words(text);
    std::string word;
    if (!(words >> word) || word[0] == '#') continue;
    const std::string where = "input line " + std::to_string(lineNumber) + ": ";
    if (IsHeaderWord(word)) {
      ReadHeaderLine(word, words, where, script, seen);
      continue;
    }
    uint64_t frame = 0;
    if (!ParseUnsigned(word, UINT32_MAX, frame))
      throw std::runtime_error(where + "bad frame number \"" + ShowableText(word) + "\"");
    if (!lines.empty() && frame < lines.back().Frame) throw std::runtime_error(where + "frames must not decrease");
    if (lines.size() >= kKeyScriptLineLimit) {
      throw std::runtime_error(where + "more than " + std::to_string(kKeyScriptLineLimit) + " frame lines");
    }
    TKeyScriptLine line;
    line.Frame = static_cast<uint32_t>(frame);
    while (words >> word) {
      if (IsAwayWord(word)) {
        line.Away = true;
        continue;
      }
      const int code = VirtualKeyFromName(word);
      if (code < 0) throw std::runtime_error(where + "unknown key \"" + ShowableText(word) + "\"");
      line.Keys.push_back(static_cast<uint8_t>(code));
    }
    lines.push_back(std::move(line));
  }
  return script;
}

std::vector<TKeyScriptLine> ParseKeyScript(std::istream& in) { return ReadKeyScript(in).Lines; }

void TScriptedKeySource::SetFrame(uint32_t Frame) {
  // Frames come in order: the cursor moves on from where it stood, O(1) a frame over a whole script. Going
  // back (a new run) finds the line by halving.
  if (Frame < frame_) {
    next_ =
        static_cast<size_t>(std::upper_bound(script_.begin(), script_.end(), Frame,
                                             [](uint32_t f, const TKeyScriptLine& line) { return f < line.Frame; }) -
                            script_.begin());
  } else {
    while (next_ < script_.size() && script_[next_].Frame <= Frame) ++next_;
  }
  frame_ = Frame;
  down_.fill(false);
  const TKeyScriptLine* current = next_ == 0 ? nullptr : &script_[next_ - 1];
  active_ = current == nullptr || !current->Away;
  if (!active_ || current == nullptr) return;  // away, no key reads as down, as in the window
  for (uint8_t key : current->Keys) down_[key] = true;
}
