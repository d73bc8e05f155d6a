#include "MessageText.h"

#include <libintl.h>

#include <clocale>
#include <filesystem>

#include "TextEncoding.h"

namespace {
// Every message of an error box with parts put in, as the game composes it (UTF-8).
const std::vector<std::string> kPatterns = {
    "エラー",
    "スキンフォルダが存在しません",
    "スキンフォルダが存在しません (%s)",
    "使用できるスキンが存在しません (%s)",
    "存在しないシーン番号です (%s)",
    "シーン %s はこのビルドに含まれていません (scene %s is not available in this build)",
    "値が空です: %s",
    "\"%s\" は整数の範囲を超えています",
    "\"%s\" は整数に変換できません",
    "\"%s\" は真偽値に変換できません",
    "外部エンティティは読み込めません: %s",
    "定義されていないエンティティです: %s",
    "XMLの入れ子が深すぎます",
    "XMLのテキストが長すぎます",
    "XMLファイルを開けません: %s",
    "XMLファイルを読み込めません: %s",
    "XMLファイルが大きすぎます: %s",
    "XMLの解析エラーです (%s %s行目): %s",
    "Shift_JISの文字として読めないバイトがあります:%s",
    "XMLパーサを作成できません",
    "ビットマップが大きすぎます (%s)",
    "ビットマップファイルを開けません (%s)",
    "ビットマップ画像として読み込めません (%s)",
    "ビットマップファイルを読み込めません (%s)",
    "ビットマップファイルを書き込めません (%s)",
    "イメージ範囲の指定が不正です (ID=%s",
    "空のグラフィックIDは指定できません",
    "\"%s\"は定義されていないグラフィックIDです",
    "\"%s\"はスプライトとして定義されていなければなりません",
    "ファイル %s を開けません",
    "Tessellar K Archiveの扱えるデータではありません",
    "Tessellar K Archiveのヘッダーが途中で切れています",
    "アーカイブの読み込みに失敗しました",
    // Any message about an XML node, with the node's file and line; last, as it matches so many.
    "%s (%s %s行目)",
};

// Matches text against pattern from the given positions, collecting the parts that stand for "%s" (none
// empty, the longest first: a file name may hold spaces and parentheses, the parts after it do not).
bool Match(const std::string& Pattern, size_t P, const std::string& Text, size_t T, std::vector<std::string>& Parts) {
  const size_t hole = Pattern.find("%s", P);
  if (hole == std::string::npos) return Pattern.compare(P, std::string::npos, Text, T, std::string::npos) == 0;
  if (Text.compare(T, hole - P, Pattern, P, hole - P) != 0) return false;
  const size_t start = T + (hole - P);
  for (size_t end = Text.size(); end > start; --end) {
    Parts.push_back(Text.substr(start, end - start));
    if (Match(Pattern, hole + 2, Text, end, Parts)) return true;
    Parts.pop_back();
  }
  return false;
}

std::string Translate(const std::string& Utf8, int Depth) {
  if (Depth > 4) return Utf8;
  for (const std::string& pattern : kPatterns) {
    std::vector<std::string> parts;
    if (!Match(pattern, 0, Utf8, 0, parts)) continue;
    const std::string translated = dgettext(kMessageDomain, pattern.c_str());
    std::string out;
    size_t from = 0, index = 0;
    for (size_t hole = translated.find("%s"); hole != std::string::npos && index < parts.size();
         hole = translated.find("%s", from)) {
      out += translated.substr(from, hole - from) + Translate(parts[index++], Depth + 1);
      from = hole + 2;
    }
    return out + translated.substr(from);
  }
  return Utf8;
}
}  // namespace

void InitMessageLanguage(const std::string& ProgramDir) {
  // Messages only: numbers and letter classes keep the C locale the game's file formats rely on.
  std::setlocale(LC_MESSAGES, "");
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(ProgramDir) / "locale";
  bindtextdomain(kMessageDomain, dir.lexically_normal().c_str());
  bind_textdomain_codeset(kMessageDomain, "UTF-8");
}

std::string LocalizeMessage(const std::string& Text) { return Translate(ToUTF8(Text), 0); }

const std::vector<std::string>& MessagePatterns() { return kPatterns; }
