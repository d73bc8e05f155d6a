// Text measuring and glyph lookups once the glyphs are known: the per-frame cost of text that is
// redrawn every frame (the ending scene measures and writes each visible line every frame).
#include <benchmark/benchmark.h>

#include <string>

#include "FreeTypeGlyphSource.h"
#include "SXFontCache.h"
#include "TextEncoding.h"

namespace {

const std::string& Line() {
  static const std::string kLine = ToCP932("ステージ１をクリアしました  PRESS ENTER TO CONTINUE");
  return kLine;
}

TFont EndingFont() {
  TFont font;
  font.Name = Jp("ＭＳ Ｐゴシック");
  font.SetSize(16);
  return font;
}

void BM_GlyphLookupsOfACachedLine(benchmark::State& State) {
  TFreeTypeGlyphSource source;
  TSXFontCache cache(source, D3DFMT_A8R8G8B8, 16);
  const TFont font = EndingFont();
  const std::string& line = Line();
  for (size_t i = 0; i < line.size();) cache.GetGlyph(NextCharCode(line, i), font);
  for (auto _ : State) {
    int32_t advance = 0;
    for (size_t i = 0; i < line.size();) advance += cache.GetGlyph(NextCharCode(line, i), font).CellIncX;
    benchmark::DoNotOptimize(advance);
  }
  State.SetItemsProcessed(int64_t(State.iterations()) * int64_t(line.size()));
}
BENCHMARK(BM_GlyphLookupsOfACachedLine);

void BM_TextWidthOfAMeasuredLine(benchmark::State& State) {
  TFreeTypeGlyphSource source;
  const TFont font = EndingFont();
  const std::string& line = Line();
  source.TextExtent(font, line);
  for (auto _ : State) benchmark::DoNotOptimize(source.TextExtent(font, line).Width);
}
BENCHMARK(BM_TextWidthOfAMeasuredLine);

void BM_RasteriseAJapaneseGlyph(benchmark::State& State) {
  TFreeTypeGlyphSource source;
  TFont font = EndingFont();
  std::vector<uint8_t> buffer(64 * 64);
  int32_t code = 0x889F;  // the first kanji row, a new glyph each time
  for (auto _ : State) {
    TGlyphMetrics metrics;
    const uint32_t size = source.GlyphOutline(font, code, metrics, 0, nullptr);
    benchmark::DoNotOptimize(source.GlyphOutline(font, code, metrics, uint32_t(buffer.size()), buffer.data()) + size);
    code = code == 0x88FC ? 0x889F : code + 1;
  }
}
BENCHMARK(BM_RasteriseAJapaneseGlyph);

}  // namespace
