// The error box's picture: wrapped to its width at spaces and after a path's '/' (else between characters),
// Japanese drawn with ink, the panel centred in the picture.
#include "MessagePicture.h"

#include <gtest/gtest.h>

#include "FreeTypeGlyphSource.h"
#include "TextEncoding.h"

namespace {

TEST(MessagePicture, WrapsAtSpacesOrCharactersAndDrawsJapaneseCentred) {
  TFreeTypeGlyphSource glyphs;
  const std::string words = "XML parse error (skin/morv/xml/graphicdef.xml line 4): Comment not terminated";
  TMessagePicture english(glyphs, "Error", words, 320);
  ASSERT_GE(english.Lines().size(), 2u);
  std::string joined;
  for (const std::string& line : english.Lines()) {
    EXPECT_FALSE(line.empty());
    EXPECT_NE(line.front(), ' ') << "a line starts at a space: " << line;
    EXPECT_LE(english.PanelWidth(), 320);
    joined += (joined.empty() || joined.back() == '/' ? "" : " ") + line;
  }
  EXPECT_EQ(joined, words) << "wrapping loses or moves nothing; it breaks at spaces, or after a folder's '/'";

  const std::string japanese = Jp("スキンフォルダが存在しません。スキンフォルダが存在しません。");
  TMessagePicture box(glyphs, Jp("エラー"), japanese, 240);
  ASSERT_GE(box.Lines().size(), 2u) << "no spaces: broken between characters";
  EXPECT_EQ(box.Lines()[0] + box.Lines()[1] + (box.Lines().size() > 2 ? box.Lines()[2] : ""), japanese);

  std::vector<uint32_t> pixels;
  box.Draw(pixels, 400, 300);
  ASSERT_EQ(pixels.size(), 400u * 300u);
  const int32_t left = (400 - box.PanelWidth()) / 2, top = (300 - box.PanelHeight()) / 2;
  EXPECT_EQ(pixels[0], 0xFF000000u) << "outside the panel";
  EXPECT_EQ(pixels[size_t(top) * 400 + left + box.PanelWidth() / 2], 0xFFB0B8D0u) << "the panel's top edge";
  int white = 0;
  for (uint32_t pixel : pixels) white += pixel == 0xFFFFFFFFu;
  EXPECT_GT(white, 100) << "the Japanese text has no ink";
}

}  // namespace
