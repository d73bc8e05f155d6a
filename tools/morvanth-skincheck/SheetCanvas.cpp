#include "SheetCanvas.h"

#include <algorithm>
#include <cmath>

#include "DGTexture.h"
#include "Exception.h"
#include "GlyphSource.h"
#include "GraphicDefs.h"
#include "HeadlessWindow.h"
#include "PngWriter.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"

namespace {

// The face the game writes its own texts in.
const std::string& GothicFace() {
  static const std::string kFace = ToCP932("ＭＳ ゴシック");
  return kFace;
}

constexpr int32_t kOpaque = 0;  // blend presets of the renderer
constexpr int32_t kAlpha = 2;

uint32_t Argb(uint32_t Rgb) { return 0xFF000000u | Rgb; }

}  // namespace

TSheetCanvas::TSheetCanvas(TVUDader& Device, THeadlessPresenter& Capture, int32_t Width, int32_t BandHeight)
    : device_(Device), capture_(Capture), width_(Width), bandHeight_(BandHeight) {
  scene_ = std::make_unique<TSXScene>(&Device, "");
  writer_ = std::make_unique<TSXTextWriter>(&Device, D3DFMT_A8R8G8B8, 16);
  writer_->Font.Name = GothicFace();
}

TSheetCanvas::~TSheetCanvas() = default;

void TSheetCanvas::Quad(TLayer Layer, float X, float Y, const TSXVertexSP (&Vertices)[4], TDGTexture* Texture,
                        int32_t Blend) {
  TItem item;
  item.Layer = Layer;
  float top = Vertices[0].Y, bottom = Vertices[0].Y;
  for (const TSXVertexSP& v : Vertices) {
    top = std::min(top, v.Y);
    bottom = std::max(bottom, v.Y);
  }
  item.Top = static_cast<int32_t>(std::floor(Y + top));
  item.Bottom = static_cast<int32_t>(std::ceil(Y + bottom)) + 1;
  item.X = X;
  item.Y = Y;
  std::copy(std::begin(Vertices), std::end(Vertices), item.Vertices);
  item.Texture = Texture;
  item.Blend = Blend;
  items_.push_back(item);
}

void TSheetCanvas::Fill(int32_t X, int32_t Y, int32_t W, int32_t H, uint32_t Rgb) {
  const float w = float(W), h = float(H);
  const uint32_t c = Argb(Rgb);
  const TSXVertexSP v[4] = {{0, 0, c, 0, 0, 0}, {w, 0, c, 0, 0, 0}, {0, h, c, 0, 0, 0}, {w, h, c, 0, 0, 0}};
  Quad(lyFill, float(X), float(Y), v, nullptr, kOpaque);
}

void TSheetCanvas::Box(int32_t X, int32_t Y, int32_t W, int32_t H, uint32_t Rgb) {
  const float w = float(W), h = float(H);
  const uint32_t c = Argb(Rgb);
  const TSXVertexSP v[4] = {{0, 0, c, 0, 0, 0}, {w, 0, c, 0, 0, 0}, {0, h, c, 0, 0, 0}, {w, h, c, 0, 0, 0}};
  Quad(lyOver, float(X), float(Y), v, nullptr, kOpaque);
}

void TSheetCanvas::Outline(int32_t X, int32_t Y, int32_t W, int32_t H, uint32_t Rgb) {
  if (W <= 0 || H <= 0) return;
  Box(X, Y, W, 1, Rgb);
  Box(X, Y + H - 1, W, 1, Rgb);
  Box(X, Y, 1, H, Rgb);
  Box(X + W - 1, Y, 1, H, Rgb);
}

void TSheetCanvas::Line(float X0, float Y0, float X1, float Y1, float Thickness, uint32_t Rgb) {
  const float dx = X1 - X0, dy = Y1 - Y0;
  const float length = std::hypot(dx, dy);
  if (length <= 0.0f) return;
  // The side offset turns the same way as a sprite's corners (top-left, top-right, bottom-left, bottom-right), so
  // the strip winds as every quad of the game does.
  const float sx = -dy / length * Thickness / 2, sy = dx / length * Thickness / 2;
  const uint32_t c = Argb(Rgb);
  const TSXVertexSP v[4] = {
      {-sx, -sy, c, 0, 0, 0}, {dx - sx, dy - sy, c, 0, 0, 0}, {sx, sy, c, 0, 0, 0}, {dx + sx, dy + sy, c, 0, 0, 0}};
  Quad(lyOver, X0, Y0, v, nullptr, kOpaque);
}

TDGTexture* TSheetCanvas::Label(const std::string& Text, int32_t Points) {
  auto& texture = labels_[{Points, Text}];
  if (!texture) {
    texture = CreateSceneTexture(&device_);
    writer_->Font.SetSize(Points);
    writer_->DrawTextTexture(*texture, Text);
  }
  return texture.get();
}

int32_t TSheetCanvas::TextWidth(const std::string& Text, int32_t Points) {
  writer_->Font.SetSize(Points);
  return writer_->TextWidth(Text);
}

int32_t TSheetCanvas::LineHeight(int32_t Points) {
  writer_->Font.SetSize(Points);
  return writer_->TextHeight("Ag");
}

std::string TSheetCanvas::Fit(const std::string& Text, int32_t Points, int32_t Room) {
  if (TextWidth(Text, Points) <= Room) return Text;
  std::vector<size_t> ends;  // after each character
  for (size_t i = 0; i < Text.size();) {
    NextCharCode(Text, i);
    ends.push_back(i);
  }
  // The longest run of whole characters from the start that fits.
  size_t lo = 0, hi = ends.size();
  while (lo < hi) {
    const size_t mid = (lo + hi + 1) / 2;
    if (TextWidth(Text.substr(0, ends[mid - 1]), Points) <= Room) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return lo == 0 ? std::string() : Text.substr(0, ends[lo - 1]);
}

int32_t TSheetCanvas::Text(int32_t X, int32_t Y, const std::string& Text, int32_t Points, uint32_t Rgb) {
  // Cut at the sheet's edge: no label grows wider than a texture may be.
  const std::string fitted = Fit(Text, Points, width_ - X);
  if (fitted.empty()) return 0;
  TDGTexture* texture = Label(fitted, Points);
  if (texture->Texture() == nullptr) return 0;
  const float w = float(texture->Width()), h = float(texture->Height());
  const uint32_t c = Argb(Rgb);
  const TSXVertexSP v[4] = {{0, 0, c, 0, 0, 0},
                            {w, 0, c, 0, texture->MaxU(), 0},
                            {0, h, c, 0, 0, texture->MaxV()},
                            {w, h, c, 0, texture->MaxU(), texture->MaxV()}};
  Quad(lyOver, float(X), float(Y), v, texture, kAlpha);
  return int32_t(texture->Width());
}

void TSheetCanvas::Picture(TSpriteDef& Sprite, int32_t X, int32_t Y, int32_t W, int32_t H,
                           const uint32_t (&Colors)[4]) {
  const float w = float(W), h = float(H);
  const TSXVertexSP v[4] = {{0, 0, Colors[0], 0, 0.0f, 0.0f},
                            {w, 0, Colors[1], 0, 1.0f, 0.0f},
                            {0, h, Colors[2], 0, 0.0f, 1.0f},
                            {w, h, Colors[3], 0, 1.0f, 1.0f}};
  Quad(lyGraphic, float(X), float(Y), v, Sprite.Texture.get(), Sprite.BlendMode);
}

void TSheetCanvas::DrawBand(int32_t Band, uint32_t Background, const std::vector<std::vector<size_t>>& Bands) {
  IDirect3DDevice9* d3d = device_.D3DDevice();
  if (d3d == nullptr) throw Exception("the contact sheet has no Direct3D device");
  const int32_t top = Band * bandHeight_;
  d3d->BeginScene();
  scene_->Clear(D3DCLEAR_TARGET, Argb(Background), 1.0f, 0);
  // Fills go first into the opaque queue, so the opaque graphics queued after them cover them.
  for (TLayer layer : {lyFill, lyGraphic, lyOver}) {
    for (size_t index : Bands[size_t(Band)]) {
      const TItem& item = items_[index];
      if (item.Layer != layer) continue;
      scene_->DrawSprite(TVector2{item.X, item.Y - float(top)}, std::span<const TSXVertexSP, 4>(item.Vertices),
                         item.Texture, item.Blend, false, item.Layer == lyOver, 0.0f, D3DTADDRESS_CLAMP,
                         D3DTADDRESS_CLAMP);
    }
  }
  scene_->Render(true);
  d3d->EndScene();
  d3d->Present(nullptr, nullptr, nullptr, nullptr);
  if (capture_.Width() != width_ || capture_.Height() != bandHeight_)
    throw Exception("the contact sheet's band was not presented");
}

void TSheetCanvas::Save(const std::filesystem::path& File, int32_t Height, uint32_t Background) {
  const int32_t bandCount = (Height + bandHeight_ - 1) / bandHeight_;
  std::vector<std::vector<size_t>> bands(size_t(std::max(bandCount, 0)));
  for (size_t i = 0; i < items_.size(); ++i) {
    const int32_t first = std::max(items_[i].Top, 0) / bandHeight_;
    const int32_t last = std::min(items_[i].Bottom - 1, Height - 1) / bandHeight_;
    for (int32_t band = first; band <= last; ++band) bands[size_t(band)].push_back(i);
  }
  int32_t drawn = -1;
  WritePng(File, width_, Height, [&](int32_t Y) {
    const int32_t band = Y / bandHeight_;
    if (band != drawn) {
      DrawBand(band, Background, bands);
      drawn = band;
    }
    return capture_.LastFrame().data() + size_t(Y - band * bandHeight_) * size_t(width_);
  });
}
