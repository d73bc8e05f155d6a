#include "FreeTypeGlyphSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "FontResolver.h"
#include "TextEncoding.h"

namespace {

namespace fs = std::filesystem;

TFont MakeFont(const char* Utf8Name, int32_t Points, TFontStyles Style = 0) {
  TFont font;
  font.Name = ToCP932(Utf8Name);
  font.SetSize(Points);
  font.Style = Style;
  return font;
}

struct TGlyph {
  TGlyphMetrics Metrics;
  std::vector<uint8_t> Bitmap;
};

TGlyph Fetch(TGlyphSource& Source, const TFont& Font, int32_t Code) {
  TGlyph glyph;
  const uint32_t size = Source.GlyphOutline(Font, Code, glyph.Metrics, 0, nullptr);
  glyph.Bitmap.assign(size, 0xEE);
  TGlyphMetrics again;
  EXPECT_EQ(Source.GlyphOutline(Font, Code, again, size, glyph.Bitmap.data()), size);
  EXPECT_EQ(again.CellIncX, glyph.Metrics.CellIncX);
  return glyph;
}

uint8_t MaxCoverage(const TGlyph& Glyph) {
  uint8_t result = 0;
  for (int32_t y = 0; y < Glyph.Metrics.BlackBoxY; ++y) {
    for (int32_t x = 0; x < Glyph.Metrics.BlackBoxX; ++x) {
      result = std::max(result, Glyph.Bitmap[y * GlyphBitmapPitch(Glyph.Metrics.BlackBoxX) + x]);
    }
  }
  return result;
}

class TTempFolder {
 public:
  TTempFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("morvanth-fonts-" + std::to_string(random()));
    fs::create_directories(path_ / "empty");
  }
  ~TTempFolder() { fs::remove_all(path_); }
  // A fontconfig configuration that knows only the fonts in `FontFolder`.
  std::string Config(const fs::path& FontFolder) {
    const fs::path file = path_ / "fonts.conf";
    std::ofstream(file) << "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" << FontFolder.string()
                        << "</dir>\n  <cachedir>" << (path_ / "cache").string() << "</cachedir>\n</fontconfig>\n";
    return file.string();
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

TEST(FreeTypeGlyphSourceTest, WindowsFacesFindTheirStandIns) {
  std::vector<std::string> notices;
  TFreeTypeGlyphSource source([&](const std::string& M) { notices.push_back(M); });
  EXPECT_EQ(source.FamilyOf(MakeFont("ＭＳ ゴシック", 20)), "IPAGothic");
  EXPECT_EQ(source.FamilyOf(MakeFont("ＭＳ Ｐゴシック", 16)), "IPAPGothic");
  EXPECT_EQ(source.FamilyOf(MakeFont("Times New Roman", 20)), "Liberation Serif");
  EXPECT_EQ(source.FamilyOf(MakeFont("IPAGothic", 20)), "IPAGothic");  // installed names go straight through
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(TFontResolver::StandIn("ＭＳ ゴシック"), "IPAGothic");
  EXPECT_EQ(TFontResolver::StandIn("Verdana"), "Verdana");
}

TEST(FreeTypeGlyphSourceTest, GlyphMetricsFollowTheWindowsDefinitions) {
  TFreeTypeGlyphSource source;
  // 20 points at 96 dpi: an em of 27 pixels. IPAGothic is fixed-pitch: full-width characters advance
  // one em, half-width ones half an em (rounded by hinting).
  const TFont gothic = MakeFont("ＭＳ ゴシック", 20);
  const TGlyph su = Fetch(source, gothic, 0x8358);  // "ス"
  EXPECT_EQ(su.Metrics.CellIncX, 27);
  EXPECT_EQ(su.Metrics.CellIncY, 0);
  const TGlyph a = Fetch(source, gothic, 'A');
  EXPECT_GE(a.Metrics.CellIncX, 13);
  EXPECT_LE(a.Metrics.CellIncX, 14);

  // The black box lies inside the line: its top is OriginY above the baseline, which is Ascent
  // below the top of the line; a capital letter reaches most of the way up.
  const TTextMetrics line = source.TextMetrics(gothic);
  EXPECT_EQ(line.Height, line.Ascent + line.Descent);
  EXPECT_GE(line.Height, 27);
  EXPECT_LE(line.Height, 27 * 13 / 10);
  EXPECT_GT(a.Metrics.OriginY, 27 / 2);
  EXPECT_LE(a.Metrics.OriginY, line.Ascent);
  EXPECT_LE(a.Metrics.OriginY - a.Metrics.BlackBoxY, 1);  // sits on the baseline
  EXPECT_GE(a.Metrics.OriginX, 0);
  EXPECT_LE(a.Metrics.BlackBoxX, a.Metrics.CellIncX);

  // Grey bitmaps: rows padded to 4 bytes, 65 levels, the stems fully covered, padding left alone.
  ASSERT_EQ(a.Bitmap.size(), GlyphBitmapPitch(a.Metrics.BlackBoxX) * a.Metrics.BlackBoxY);
  EXPECT_EQ(MaxCoverage(a), kGlyphCoverageLevels);
  EXPECT_TRUE(std::all_of(a.Bitmap.begin(), a.Bitmap.end(), [](uint8_t v) { return v <= 64 || v == 0xEE; }));
  EXPECT_EQ(MaxCoverage(su), kGlyphCoverageLevels);
}

TEST(FreeTypeGlyphSourceTest, BlankAndMissingCharactersNeverFail) {
  TFreeTypeGlyphSource source;
  const TFont gothic = MakeFont("ＭＳ ゴシック", 20);
  TGlyphMetrics metrics;
  EXPECT_EQ(source.GlyphOutline(gothic, ' ', metrics, 0, nullptr), 0u);
  EXPECT_EQ(metrics.BlackBoxX, 1);
  EXPECT_EQ(metrics.BlackBoxY, 1);
  EXPECT_GT(metrics.CellIncX, 0);
  EXPECT_EQ(source.GlyphOutline(gothic, 0x8140, metrics, 0, nullptr), 0u);  // ideographic space
  EXPECT_EQ(metrics.CellIncX, 27);

  // Not CP932 characters (an unassigned row, a lead byte alone, codes out of range) and control
  // characters give the font's missing glyph or a blank one.
  for (int32_t code : {0x8540, 0x82, 0xFFFF, 0x10000, -5, 0x0A, 0x00}) {
    const TGlyph glyph = Fetch(source, gothic, code);
    EXPECT_EQ(glyph.Bitmap.size(),
              glyph.Bitmap.empty() ? 0u : GlyphBitmapPitch(glyph.Metrics.BlackBoxX) * glyph.Metrics.BlackBoxY)
        << code;
  }
  // A too small buffer is left alone.
  uint8_t small[4] = {7, 7, 7, 7};
  EXPECT_GT(source.GlyphOutline(gothic, 'W', metrics, sizeof small, small), sizeof small);
  EXPECT_EQ(small[0], 7);
}

TEST(FreeTypeGlyphSourceTest, TextExtentAddsTheAdvancesOfShiftJisCharacters) {
  TFreeTypeGlyphSource source;
  const TFont font = MakeFont("ＭＳ Ｐゴシック", 20);
  const std::string text = ToCP932("PRESS ENTER ステージ１");
  int32_t sum = 0;
  for (size_t i = 0; i < text.size();) sum += Fetch(source, font, NextCharCode(text, i)).Metrics.CellIncX;
  const TTextExtent extent = source.TextExtent(font, text);
  EXPECT_EQ(extent.Width, sum);
  EXPECT_EQ(extent.Height, source.TextMetrics(font).Height);
  EXPECT_EQ(source.TextExtent(font, "").Width, 0);
  EXPECT_EQ(source.TextExtent(font, "").Height, extent.Height);
  // In fixed-pitch IPAGothic: 5 full-width characters, then a lead byte at the end counts alone.
  const TFont gothic = MakeFont("ＭＳ ゴシック", 20);
  const std::string kana = ToCP932("ステージ１");
  EXPECT_EQ(source.TextExtent(gothic, kana).Width, 5 * 27);
  EXPECT_EQ(source.TextExtent(gothic, kana + "\x83").Width, 5 * 27 + Fetch(source, gothic, 0x83).Metrics.CellIncX);
}

TEST(FreeTypeGlyphSourceTest, HeightsSelectEmOrCellSize) {
  TFreeTypeGlyphSource source;
  TFont font = MakeFont("ＭＳ ゴシック", 20);
  font.Height = 100;  // a positive height is the cell: ascent + descent
  const TTextMetrics cell = source.TextMetrics(font);
  EXPECT_GE(cell.Height, 99);
  EXPECT_LE(cell.Height, 101);
  font.Height = -100;  // a negative height is the em: a full-width character advances by it
  EXPECT_EQ(Fetch(source, font, 0x8341).Metrics.CellIncX, 100);
  font.Height = -1000000;  // absurd sizes are bounded
  const TGlyph huge = Fetch(source, font, 0x8341);
  EXPECT_LE(huge.Metrics.CellIncX, 1024);
  EXPECT_LE(huge.Bitmap.size(), 1024u * 1024u * 2u);
}

TEST(FreeTypeGlyphSourceTest, BoldAndItalicAreSynthesisedWhenTheFaceHasNone) {
  TFreeTypeGlyphSource source;
  const TGlyph regular = Fetch(source, MakeFont("ＭＳ ゴシック", 20), 'H');
  const TGlyph bold = Fetch(source, MakeFont("ＭＳ ゴシック", 20, fsBold), 'H');
  const TGlyph italic = Fetch(source, MakeFont("ＭＳ ゴシック", 20, fsItalic), 'H');
  EXPECT_GT(bold.Metrics.BlackBoxX, regular.Metrics.BlackBoxX);
  EXPECT_GT(italic.Metrics.BlackBoxX, regular.Metrics.BlackBoxX);
  // Liberation Serif has a real bold face.
  EXPECT_EQ(source.FamilyOf(MakeFont("Times New Roman", 20, fsBold)), "Liberation Serif");
}

TEST(FreeTypeGlyphSourceTest, MissingFacesFallBackAndAreReportedOnce) {
  TTempFolder folder;
  auto resolver = std::make_shared<TFontResolver>(folder.Config("/usr/share/fonts/truetype/liberation"));
  std::vector<std::string> notices;
  TFreeTypeGlyphSource source(resolver, [&](const std::string& M) { notices.push_back(M); });
  const TFont gothic = MakeFont("ＭＳ ゴシック", 20);
  const std::string family = source.FamilyOf(gothic);
  EXPECT_EQ(family.rfind("Liberation", 0), 0u) << family;
  EXPECT_EQ(MaxCoverage(Fetch(source, gothic, 'P')), 64);
  Fetch(source, gothic, 0x8358);  // a Japanese character the substitute lacks
  Fetch(source, MakeFont("ＭＳ ゴシック", 40), 'P');
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], ToCP932("フォント「ＭＳ ゴシック」が見つからないため、「" + family + "」で代用します"));

  // A second text writer on the same fonts does not report it again.
  TFreeTypeGlyphSource second(resolver, [&](const std::string& M) { notices.push_back(M); });
  second.FamilyOf(gothic);
  EXPECT_EQ(notices.size(), 1u);
}

TEST(FreeTypeGlyphSourceTest, WithoutAnyFontTextIsEmptyButNothingFails) {
  TTempFolder folder;
  auto resolver = std::make_shared<TFontResolver>(folder.Config(folder.Path() / "empty"));
  std::vector<std::string> notices;
  TFreeTypeGlyphSource source(resolver, [&](const std::string& M) { notices.push_back(M); });
  const TFont gothic = MakeFont("ＭＳ ゴシック", 20);
  TGlyphMetrics metrics;
  EXPECT_EQ(source.GlyphOutline(gothic, 'A', metrics, 0, nullptr), 0u);
  EXPECT_EQ(metrics.CellIncX, 0);
  EXPECT_EQ(source.TextExtent(gothic, "ABC").Width, 0);
  EXPECT_EQ(source.FamilyOf(gothic), "");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], ToCP932("フォント「ＭＳ ゴシック」も代わりのフォントも見つからないため、文字を描けません"));
}

}  // namespace
