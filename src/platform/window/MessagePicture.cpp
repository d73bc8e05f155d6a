#include "MessagePicture.h"

#include <algorithm>

#include "TextEncoding.h"
#include "TextWrap.h"

namespace {
constexpr uint32_t kBackground = 0xFF000000, kPanel = 0xFF202A48, kBorder = 0xFFB0B8D0;
constexpr uint32_t kCaptionColor = 0xFFFFE080, kTextColor = 0xFFFFFFFF, kOkColor = 0xFFB0B8D0;
constexpr const char* kOkMark = "[ OK ]";

uint32_t Blend(uint32_t Under, uint32_t Color, uint8_t Coverage) {
  uint32_t out = 0xFF000000;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t a = (Under >> shift) & 0xFF, b = (Color >> shift) & 0xFF;
    out |= ((a * (kGlyphCoverageLevels - Coverage) + b * Coverage) / kGlyphCoverageLevels) << shift;
  }
  return out;
}
}  // namespace

TMessagePicture::TMessagePicture(TGlyphSource& Glyphs, const std::string& Caption, const std::string& Text,
                                 int32_t MaxWidth)
    : glyphs_(Glyphs), caption_(Caption) {
  textFont_.Name = Jp("ＭＳ ゴシック");
  textFont_.SetSize(12);
  captionFont_.Name = textFont_.Name;
  captionFont_.SetSize(12);
  captionFont_.Style = fsBold;
  lineHeight_ = glyphs_.TextMetrics(textFont_).Height + 4;
  captionHeight_ = glyphs_.TextMetrics(captionFont_).Height + 8;
  const int32_t room = std::max(MaxWidth - 4 * kMargin, 64);

  lines_ = WrapText(Text, [&](const std::string& Line) { return LineWidth(textFont_, Line) <= room; });

  int32_t widest = std::max(LineWidth(captionFont_, caption_), LineWidth(textFont_, kOkMark));
  for (const std::string& l : lines_) widest = std::max(widest, LineWidth(textFont_, l));
  panelWidth_ = widest + 2 * kMargin;
  panelHeight_ = captionHeight_ + static_cast<int32_t>(lines_.size()) * lineHeight_ + lineHeight_ + 3 * kMargin;
}

int32_t TMessagePicture::LineWidth(const TFont& Font, const std::string& Line) const {
  return glyphs_.TextExtent(Font, Line).Width;
}

void TMessagePicture::DrawLine(std::vector<uint32_t>& Pixels, int32_t Width, int32_t Height, const TFont& Font,
                               const std::string& Line, int32_t X, int32_t Top, uint32_t Color) {
  const int32_t baseline = Top + glyphs_.TextMetrics(Font).Ascent;
  int32_t pen = X;
  for (size_t i = 0; i < Line.size();) {
    const int32_t code = NextCharCode(Line, i);
    TGlyphMetrics m;
    const uint32_t size = glyphs_.GlyphOutline(Font, code, m, 0, nullptr);
    if (size > 0) {
      glyph_.resize(size);
      glyphs_.GlyphOutline(Font, code, m, size, glyph_.data());
      const uint32_t pitch = GlyphBitmapPitch(m.BlackBoxX);
      for (int32_t y = 0; y < m.BlackBoxY; ++y) {
        const int32_t py = baseline - m.OriginY + y;
        if (py < 0 || py >= Height) continue;
        for (int32_t x = 0; x < m.BlackBoxX; ++x) {
          const int32_t px = pen + m.OriginX + x;
          const uint8_t coverage = std::min<uint8_t>(glyph_[y * pitch + x], kGlyphCoverageLevels);
          if (px < 0 || px >= Width || coverage == 0) continue;
          uint32_t& pixel = Pixels[size_t(py) * Width + px];
          pixel = Blend(pixel, Color, coverage);
        }
      }
    }
    pen += m.CellIncX;
  }
}

void TMessagePicture::Draw(std::vector<uint32_t>& Pixels, int32_t Width, int32_t Height) {
  Pixels.assign(size_t(Width) * Height, kBackground);
  const int32_t left = std::max((Width - panelWidth_) / 2, 0), top = std::max((Height - panelHeight_) / 2, 0);
  const int32_t right = std::min(left + panelWidth_, Width), bottom = std::min(top + panelHeight_, Height);
  for (int32_t y = top; y < bottom; ++y) {
    for (int32_t x = left; x < right; ++x) {
      const bool edge = y == top || y == bottom - 1 || x == left || x == right - 1;
      Pixels[size_t(y) * Width + x] = edge ? kBorder : kPanel;
    }
  }
  int32_t y = top + kMargin;
  DrawLine(Pixels, Width, Height, captionFont_, caption_, left + kMargin, y, kCaptionColor);
  y += captionHeight_;
  for (const std::string& line : lines_) {
    DrawLine(Pixels, Width, Height, textFont_, line, left + kMargin, y, kTextColor);
    y += lineHeight_;
  }
  const int32_t okWidth = LineWidth(textFont_, kOkMark);
  DrawLine(Pixels, Width, Height, textFont_, kOkMark, left + (panelWidth_ - okWidth) / 2, y + kMargin, kOkColor);
}
