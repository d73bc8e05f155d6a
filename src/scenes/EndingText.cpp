#include "EndingText.h"

#include "TextEncoding.h"

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < Text.size()) {
    size_t end = Text.find('\n', start);
    if (end == std::string::npos) end = Text.size();
    size_t stop = end;
    if (stop > start && Text[stop - 1] == '\r') --stop;
    lines.push_back(Text.substr(start, stop - start));
    start = end + 1;
  }
  return lines;
}

namespace {
// Sections: greeting (0-2), remarks on the game (4-8), how it was made (14-22), staff roll (28-40), -END- (44).
constexpr const char* kEndingUtf8 =
    "おめでとうございます！\n"
    "MORVANTH の全ステージを突破しました。\n"
    "ようこそ、エンディングへ。\n"
    "\n"
    "最後まで遊んでいただき、ありがとうございました。\n"
    "自機とオプションの編隊を操って敵の波をくぐり抜けるのは、\n"
    "楽しんでいただけたでしょうか。\n"
    "スキンを差し替えれば、まったく別のゲームになります。\n"
    "ぜひ、あなただけのステージも作ってみてください。\n"
    "\n"
    "\n"
    "\n"
    "\n"
    "\n"
    "このゲームの絵とステージは、すべてデータです。\n"
    "スプライトとアニメーションは graphicdef.xml に、\n"
    "敵の出現表は stagedef.xml に書かれています。\n"
    "画面に見えるものは、どれもソフトウェアで描いた\n"
    "テクスチャ付きの四角形でできています。\n"
    "タイトルのロゴも画像ではなく、\n"
    "プログラムに埋め込まれた線の表から描いています。\n"
    "時間はすべてフレームで数えているので、\n"
    "どの画面でも同じ速さで進みます。\n"
    "\n"
    "\n"
    "\n"
    "\n"
    "\n"
    "□■□　STAFF ROLL　□■□\n"
    "\n"
    "=== PROGRAM ===\n"
    "MORVANTH PROJECT\n"
    "\n"
    "=== GRAPHICS ===\n"
    "THE SKIN MAKERS\n"
    "\n"
    "=== STAGE DESIGN ===\n"
    "WAVE PLANNERS\n"
    "\n"
    "=== SPECIAL THANKS ===\n"
    "YOU, THE PLAYER\n"
    "\n"
    "\n"
    "\n"
    "-END-\n"
    "\n";
}  // namespace

const std::string& EndingText() { return Jp(kEndingUtf8); }
