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

bool ParseUnsigned(const std::string& Text, uint64_t Limit, uint64_t& Value) {
  if (Text.empty() || Text.size() > 10) return false;
  Value = 0;
  for (char c : Text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    Value = Value * 10 + (c - '0');
  }
  return Value <= Limit;
}
}  // namespace

bool IsAwayWord(const std::string& Word) {
  std::string upper = Word;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char C) { return std::toupper(C); });
  return upper == kAwayWord;
}

const char* KeyNameOf(uint8_t VirtualKey) {
  for (const TKeyName& key : kKeyNames) {
    if (key.Code == VirtualKey) return key.Name;
  }
  return nullptr;
}

int VirtualKeyFromName(const std::string& Name) {
  std::string upper = Name;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char C) { return std::toupper(C); });
  for (const TKeyName& key : kKeyNames) {
    if (upper == key.Name) return key.Code;
  }
  if (const int named = KeyFromName(Name); named >= 0) return named;
  uint64_t code = 0;
  if (ParseUnsigned(Name, 255, code)) return static_cast<int>(code);
  return -1;
}

namespace {
bool IsControl(unsigned char C) { return C < 0x20 || C == 0x7F; }

void AppendHexEscape(std::string& Out, unsigned char C) {
  static const char kHex[] = "0123456789ABCDEF";
  Out += "\\x";
  Out += kHex[C >> 4];
  Out += kHex[C & 15];
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// The name inside a quoted skin value; false when the quoting is broken.
bool UnquoteSkinName(const std::string& Value, std::string& Name) {
  if (Value.size() < 2 || Value.back() != '"') return false;
  Name.clear();
  for (size_t i = 1; i + 1 < Value.size(); ++i) {
    const char c = Value[i];
    if (c == '"') return false;
    if (c != '\\') {
      Name += c;
      continue;
    }
    if (++i + 1 >= Value.size()) return false;
    if (Value[i] == '\\' || Value[i] == '"') {
      Name += Value[i];
    } else if (Value[i] == 'x' && i + 3 < Value.size() && HexDigit(Value[i + 1]) >= 0 && HexDigit(Value[i + 2]) >= 0) {
      Name += static_cast<char>(HexDigit(Value[i + 1]) * 16 + HexDigit(Value[i + 2]));
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
      std::none_of(Name.begin(), Name.end(), [](char C) { return IsControl(static_cast<unsigned char>(C)); });
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
std::string ReadSkinValue(const std::string& Value, const std::string& Where, const std::string& Word) {
  if (Value.empty())
    throw std::runtime_error(Where + (Word == "skin" ? "skin wants a name" : Word + " wants a skin name"));
  if (Value.front() != '"') return Value;
  std::string name;
  if (!UnquoteSkinName(Value, name)) throw std::runtime_error(Where + "badly quoted skin name " + ShowableText(Value));
  return name;
}

// What follows the word of a header line, without the white space around it.
std::string RestOfLine(std::istringstream& Rest) {
  std::string value;
  std::getline(Rest >> std::ws, value);
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.pop_back();
  return value;
}

// The header lines so far, for the "a second ... line" check.
struct THeaderSeen {
  bool Skin = false;
};

// A header line; rest holds what follows the word.
void ReadHeaderLine(const std::string& Word, std::istringstream& Rest, const std::string& Where, TKeyScript& Script,
                    THeaderSeen& Seen) {
  if (!Script.Lines.empty()) throw std::runtime_error(Where + Word + " must come before the first frame line");
  if ((Word == "seed" && Script.Seed) || (Word == "skin" && Seen.Skin) || (Word == "classic" && Script.Classic) ||
      (Word == "player" && !Script.Player.empty())) {
    throw std::runtime_error(Where + "a second " + Word + " line");
  }
  if (Word == "score") {
    // POINTS NAME SKIN: the skin last, as it may hold spaces.
    std::string points, name;
    uint64_t score = 0;
    if (!(Rest >> points >> name) || !ParseUnsigned(points, UINT32_MAX, score)) {
      throw std::runtime_error(Where + "score wants POINTS NAME SKIN");
    }
    Script.Scores.push_back(
        TScriptScore{static_cast<uint32_t>(score), name, ReadSkinValue(RestOfLine(Rest), Where, Word)});
    return;
  }
  const std::string value = RestOfLine(Rest);
  if (Word == "skin") {
    Script.Skin = ReadSkinValue(value, Where, Word);
    Seen.Skin = true;
    return;
  }
  if (Word == "classic") {
    if (value != "0" && value != "1") throw std::runtime_error(Where + "classic wants 0 or 1");
    Script.Classic = value == "1";
    return;
  }
  if (Word == "player") {
    if (value.empty() || value.find_first_of(" \t") != std::string::npos) {
      throw std::runtime_error(Where + "player wants one word");
    }
    Script.Player = value;
    return;
  }
  uint64_t seed = 0;
  if (!ParseUnsigned(value, UINT32_MAX, seed))
    throw std::runtime_error(Where + "bad seed \"" + ShowableText(value) + "\"");
  Script.Seed = static_cast<uint32_t>(seed);
}

bool IsHeaderWord(const std::string& Word) {
  return Word == "seed" || Word == "skin" || Word == "classic" || Word == "player" || Word == "score";
}
}  // namespace

void WriteKeyScriptHeader(std::ostream& Out, const TKeyScript& Script) {
  if (Script.Seed) Out << "seed " << *Script.Seed << '\n';
  if (!Script.Skin.empty()) Out << "skin " << SkinLineValue(Script.Skin) << '\n';
  if (Script.Classic) Out << "classic " << (*Script.Classic ? 1 : 0) << '\n';
  if (!Script.Player.empty()) Out << "player " << Script.Player << '\n';
  for (const TScriptScore& score : Script.Scores) {
    Out << "score " << score.Score << ' ' << score.Name << ' ' << SkinLineValue(score.Skin) << '\n';
  }
}

TKeyScript ReadKeyScript(std::istream& In) {
  TKeyScript script;
  std::vector<TKeyScriptLine>& lines = script.Lines;
  THeaderSeen seen;
  std::string text;
  int lineNumber = 0;
  while (std::getline(In, text)) {
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

std::vector<TKeyScriptLine> ParseKeyScript(std::istream& In) { return ReadKeyScript(In).Lines; }

void TScriptedKeySource::SetFrame(uint32_t Frame) {
  // Frames come in order: the cursor moves on from where it stood, O(1) a frame over a whole script. Going
  // back (a new run) finds the line by halving.
  if (Frame < frame_) {
    next_ =
        static_cast<size_t>(std::upper_bound(script_.begin(), script_.end(), Frame,
                                             [](uint32_t F, const TKeyScriptLine& Line) { return F < Line.Frame; }) -
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
