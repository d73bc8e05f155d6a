// The picture of an error box, drawn with the game's own glyphs (so Japanese renders wherever the game's fonts
// do): a panel with the caption, the message wrapped to the panel's width, and an OK mark, centred on a dark
// picture.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "GlyphSource.h"

class TMessagePicture {
 public:
  static constexpr int32_t kMargin = 16;  // inside the panel, and between the panel and a picture's edge

  // Caption and Text in CP932, wrapped to MaxWidth as WrapText does.
  TMessagePicture(TGlyphSource& Glyphs, const std::string& Caption, const std::string& Text, int32_t MaxWidth);

  // The panel's size, and the smallest picture that holds it with its margin.
  int32_t PanelWidth() const { return panelWidth_; }
  int32_t PanelHeight() const { return panelHeight_; }
  int32_t FittingWidth() const { return panelWidth_ + 2 * kMargin; }
  int32_t FittingHeight() const { return panelHeight_ + 2 * kMargin; }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Draws into Pixels (ARGB, Width x Height, rows of Width), the panel centred.
  void Draw(std::vector<uint32_t>& Pixels, int32_t Width, int32_t Height);

 private:
  void DrawLine(std::vector<uint32_t>& Pixels, int32_t Width, int32_t Height, const TFont& Font,
                const std::string& Line, int32_t X, int32_t Top, uint32_t Color);
  int32_t LineWidth(const TFont& Font, const std::string& Line) const;

  TGlyphSource& glyphs_;
  TFont textFont_, captionFont_;
  std::string caption_;
  std::vector<std::string> lines_;
  int32_t lineHeight_ = 0, captionHeight_ = 0;
  int32_t panelWidth_ = 0, panelHeight_ = 0;
  std::vector<uint8_t> glyph_;
};
