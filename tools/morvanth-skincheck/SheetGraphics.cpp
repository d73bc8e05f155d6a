// The graphic sections of the contact sheet: sprite cells, and one row of entries per animation.
#include <algorithm>
#include <cmath>
#include <set>

#include "GraphicDefs.h"
#include "GraphicIds.h"
#include "SheetCanvas.h"
#include "SheetStyle.h"

namespace sheet {
namespace {

constexpr double kZoom = 2.0;
// A picture larger than this at twice its size is drawn smaller, so that it stays on the sheet.
constexpr double kMaxPictureWidth = 1200.0;
constexpr double kMaxPictureHeight = 800.0;
// A hit area reaching further than this beyond its picture is drawn cut at this distance (the warnings tell by how
// much it reaches).
constexpr double kHitSlack = 24.0;
constexpr int32_t kPad = 8;
constexpr int32_t kGap = 8;

double ZoomFor(int64_t Width, int64_t Height) {
  double zoom = kZoom;
  if (Width * zoom > kMaxPictureWidth) zoom = kMaxPictureWidth / double(Width);
  if (Height * zoom > kMaxPictureHeight) zoom = kMaxPictureHeight / double(Height);
  return zoom;
}

const char* BlendName(int32_t Mode) {
  switch (Mode) {
    case bmDefault: return "default";
    case bmAdd: return "add";
    case bmAlpha: return "alpha";
    default: return "?";
  }
}

// One picture in a cell: a sprite drawn at Zoom with a hit area (relative to the object's position) outlined and
// the object's position marked. Positions are sheet pixels relative to the cell's content corner. They are worked
// out from the picture's corner, so that an origin or a hit area far away (any 32-bit number) stays harmless: the
// hit area is drawn cut a little beyond the picture, and a position off the content is not marked.
struct TPictureLayout {
  int32_t DrawWidth, DrawHeight;  // the picture on the sheet
  int32_t PictureX, PictureY;     // its corner in the content
  int32_t Width, Height;          // the content: picture and hit area
  TRect Hit;                      // the hit area, cut at the slack
  bool HitHasNoSize;
  bool OriginShown;  // the object's position lies within the content
  int32_t OriginX, OriginY;
};

TPictureLayout LayOut(const TSpriteDef& Sprite, const TRect& HitArea, double Zoom) {
  TPictureLayout l{};
  l.DrawWidth = std::max<int32_t>(1, int32_t(std::lround(std::max(Sprite.Width, 0) * Zoom)));
  l.DrawHeight = std::max<int32_t>(1, int32_t(std::lround(std::max(Sprite.Height, 0) * Zoom)));
  // From the picture's corner: the object's position, and the hit area around it.
  const double ox = double(Sprite.OriginX) * Zoom, oy = double(Sprite.OriginY) * Zoom;
  auto cut = [](double V, double Size) { return std::clamp(V, -kHitSlack, Size + kHitSlack); };
  const double hitLeft = cut(ox + HitArea.Left * Zoom, l.DrawWidth);
  const double hitTop = cut(oy + HitArea.Top * Zoom, l.DrawHeight);
  const double hitRight = cut(ox + HitArea.Right * Zoom, l.DrawWidth);
  const double hitBottom = cut(oy + HitArea.Bottom * Zoom, l.DrawHeight);
  const double left = std::min({0.0, hitLeft, hitRight}), top = std::min({0.0, hitTop, hitBottom});
  const double right = std::max({double(l.DrawWidth), hitLeft, hitRight});
  const double bottom = std::max({double(l.DrawHeight), hitTop, hitBottom});
  auto at = [](double V, double From) { return int32_t(std::lround(V - From)); };
  l.PictureX = at(0, left);
  l.PictureY = at(0, top);
  l.Width = at(right, left);
  l.Height = at(bottom, top);
  l.Hit = {at(hitLeft, left), at(hitTop, top), at(hitRight, left), at(hitBottom, top)};
  l.HitHasNoSize = HitArea.Right <= HitArea.Left || HitArea.Bottom <= HitArea.Top;
  l.OriginShown = ox >= left && ox <= right && oy >= top && oy <= bottom;
  if (l.OriginShown) {
    l.OriginX = at(ox, left);
    l.OriginY = at(oy, top);
  }
  return l;
}

// Draws the picture of a layout with its content corner at (X, Y), in the sprite's own corner colours or in Colors.
void DrawPicture(TSheetCanvas& Canvas, TSpriteDef& Sprite, const TPictureLayout& L, int32_t X, int32_t Y,
                 const uint32_t (&Colors)[4]) {
  const int32_t left = X + L.PictureX, top = Y + L.PictureY;
  Canvas.Outline(left - 1, top - 1, L.DrawWidth + 2, L.DrawHeight + 2, kPictureFrame);
  if (Sprite.Width > 0 && Sprite.Height > 0) Canvas.Picture(Sprite, left, top, L.DrawWidth, L.DrawHeight, Colors);
  if (L.HitHasNoSize) {
    Canvas.Box(X + L.Hit.Left - 4, Y + L.Hit.Top, 9, 1, kHitArea);
    Canvas.Box(X + L.Hit.Left, Y + L.Hit.Top - 4, 1, 9, kHitArea);
  } else {
    Canvas.Outline(X + L.Hit.Left, Y + L.Hit.Top, L.Hit.Right - L.Hit.Left, L.Hit.Bottom - L.Hit.Top, kHitArea);
  }
  if (L.OriginShown) {
    Canvas.Box(X + L.OriginX - 3, Y + L.OriginY, 7, 1, kOrigin);
    Canvas.Box(X + L.OriginX, Y + L.OriginY - 3, 1, 7, kOrigin);
  }
}

// Cells flowing left to right in rows, wrapping at the sheet's margin.
class TCellFlow {
 public:
  TCellFlow(const TSheetCanvas& Canvas, int32_t Left, int32_t Top)
      : left_(Left), right_(Canvas.Width() - kMargin), x_(Left), y_(Top) {}
  // The corner of the next cell of W x H.
  std::pair<int32_t, int32_t> Place(int32_t W, int32_t H) {
    if (x_ > left_ && x_ + W > right_) {
      x_ = left_;
      y_ += rowHeight_ + kGap;
      rowHeight_ = 0;
    }
    const std::pair<int32_t, int32_t> at{x_, y_};
    x_ += W + kGap;
    rowHeight_ = std::max(rowHeight_, H);
    return at;
  }
  int32_t Bottom() const { return y_ + rowHeight_; }

 private:
  int32_t left_, right_, x_, y_, rowHeight_ = 0;
};

std::set<std::string> WarnedIds(const TSheetSubject& Skin) {
  std::set<std::string> ids;
  for (const TSkinWarning& w : Skin.Warnings) {
    if (w.Stage == 0 && !w.Id.empty()) ids.insert(w.Id);
  }
  return ids;
}

// A cell: the picture above its lines of text, on a panel.
void DrawCell(TSheetCanvas& Canvas, TCellFlow& Flow, TSpriteDef& Sprite, const TPictureLayout& L,
              const uint32_t (&Colors)[4], const std::vector<std::pair<std::string, uint32_t>>& Lines) {
  const int32_t lineHeight = Canvas.LineHeight(kLabelPoints);
  int32_t width = L.Width;
  for (const auto& [text, color] : Lines) width = std::max(width, Canvas.TextWidth(text, kLabelPoints));
  width = std::min(width + 2 * kPad, Canvas.Width() - 2 * kMargin);
  const int32_t height = kPad + L.Height + 4 + int32_t(Lines.size()) * lineHeight + kPad;
  const auto [x, y] = Flow.Place(width, height);
  Canvas.Fill(x, y, width, height, kPanel);
  DrawPicture(Canvas, Sprite, L, x + kPad, y + kPad, Colors);
  int32_t ty = y + kPad + L.Height + 4;
  for (const auto& [text, color] : Lines) {
    Canvas.Text(x + kPad, ty, text, kLabelPoints, color);
    ty += lineHeight;
  }
}

}  // namespace

int32_t DrawSprites(TSheetCanvas& Canvas, const TSheetSubject& Skin, int32_t Top) {
  Canvas.Text(kMargin, Top, "Sprites", kHeadPoints, kTitle);
  const int32_t headWidth = Canvas.TextWidth("Sprites", kHeadPoints);
  Canvas.Text(kMargin + headWidth + 16, Top + 3,
              "at twice their size (smaller when larger than the sheet), in file order: picture framed grey, hit "
              "area green, origin (the object's position) red",
              kLabelPoints, kDim);
  TCellFlow flow(Canvas, kMargin, Top + Canvas.LineHeight(kHeadPoints) + 8);
  const auto warned = WarnedIds(Skin);
  for (int32_t i = 0; i < Skin.Graphics.Count(); ++i) {
    auto* sprite = dynamic_cast<TSpriteDef*>(Skin.Graphics.ItemAt(i));
    if (sprite == nullptr) continue;
    const std::string& id = Skin.Graphics.IdAt(i);
    const double zoom = ZoomFor(sprite->Width, sprite->Height);
    const TPictureLayout layout = LayOut(*sprite, sprite->HitArea, zoom);
    std::string size =
        std::to_string(sprite->Width) + "x" + std::to_string(sprite->Height) + " " + BlendName(sprite->BlendMode);
    if (zoom != kZoom) size += " (drawn smaller)";
    DrawCell(Canvas, flow, *sprite, layout, sprite->VertexColors,
             {{id, warned.contains(id) ? kWarning : kText}, {size, kDim}});
  }
  return flow.Bottom();
}

int32_t DrawAnimations(TSheetCanvas& Canvas, const TSheetSubject& Skin, int32_t Top) {
  Canvas.Text(kMargin, Top, "Animations", kHeadPoints, kTitle);
  const int32_t headWidth = Canvas.TextWidth("Animations", kHeadPoints);
  Canvas.Text(kMargin + headWidth + 16, Top + 3,
              "every entry in frame order, at twice its size, with the animation's hit area; the frames of the cycle "
              "each one shows below it",
              kLabelPoints, kDim);
  int32_t y = Top + Canvas.LineHeight(kHeadPoints) + 8;
  const auto warned = WarnedIds(Skin);
  for (int32_t i = 0; i < Skin.Graphics.Count(); ++i) {
    auto* animation = dynamic_cast<TAnimationDef*>(Skin.Graphics.ItemAt(i));
    if (animation == nullptr) continue;
    const std::string& id = Skin.Graphics.IdAt(i);
    const int32_t idWidth = Canvas.Text(kMargin, y, id, kHeadPoints, warned.contains(id) ? kWarning : kText);
    const TRect& hit = animation->HitArea;
    Canvas.Text(kMargin + idWidth + 16, y + 3,
                "maxframe " + std::to_string(animation->MaxFrame) + (animation->Repeat ? ", repeats" : ", once") +
                    ", " + std::to_string(animation->FrameCount()) + " entries, hit area (" + std::to_string(hit.Left) +
                    ", " + std::to_string(hit.Top) + ", " + std::to_string(hit.Right) + ", " +
                    std::to_string(hit.Bottom) + ")",
                kLabelPoints, kDim);
    y += Canvas.LineHeight(kHeadPoints) + 4;
    // One zoom for the whole animation, so that its entries compare.
    int64_t widest = 1, tallest = 1;
    for (int32_t f = 0; f < animation->FrameCount(); ++f) {
      widest = std::max<int64_t>(widest, animation->FrameAt(f)->Sprite->Width);
      tallest = std::max<int64_t>(tallest, animation->FrameAt(f)->Sprite->Height);
    }
    const double zoom = ZoomFor(widest, tallest);
    TCellFlow flow(Canvas, kMargin, y);
    for (int32_t f = 0; f < animation->FrameCount(); ++f) {
      const TAnimationSpriteDef* entry = animation->FrameAt(f);
      TSpriteDef& sprite = *entry->Sprite;
      uint32_t colors[4];
      for (int c = 0; c < 4; ++c) colors[c] = (sprite.VertexColors[c] & 0x00FFFFFF) | uint32_t(entry->Alpha) << 24;
      uint64_t start = 0, end = 0;
      const bool shows = EntryShows(*animation, f, start, end);
      std::vector<std::pair<std::string, uint32_t>> lines;
      lines.emplace_back(Skin.Ids.Of(&sprite), kText);
      if (shows) {
        lines.emplace_back("frames " + std::to_string(start) + "-" + std::to_string(end - 1), kDim);
      } else {
        lines.emplace_back("from " + std::to_string(entry->Frame) + ": never shows", kWarning);
      }
      if (entry->Alpha != 255) lines.emplace_back("alpha " + std::to_string(entry->Alpha), kDim);
      DrawCell(Canvas, flow, sprite, LayOut(sprite, animation->HitArea, zoom), colors, lines);
    }
    y = flow.Bottom() + 14;
  }
  return y;
}

}  // namespace sheet
