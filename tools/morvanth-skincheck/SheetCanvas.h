// A picture taller than any screen, drawn with the game's own renderer: rectangles, lines, text from the game's text
// writer and graphic definitions drawn as the game draws them are collected in sheet pixels, then the software
// device draws the sheet band by band (its back buffer is one band) and each band's rows go to the PNG in turn.
#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "SXTypes.h"
#include "WinTypes.h"

class TDGTexture;
class TSpriteDef;
class TSXScene;
class TSXTextWriter;
class THeadlessPresenter;
class TVUDader;

class TSheetCanvas {
 public:
  // Draws on Device, whose presenter is Capture; the device's back buffer is the band, Width pixels wide.
  TSheetCanvas(TVUDader& Device, THeadlessPresenter& Capture, int32_t Width, int32_t BandHeight);
  ~TSheetCanvas();
  TSheetCanvas(const TSheetCanvas&) = delete;
  TSheetCanvas& operator=(const TSheetCanvas&) = delete;

  int32_t Width() const { return width_; }

  // Layers, bottom to top: fills; graphics; then boxes, lines and text in the order they were given.
  void Fill(int32_t X, int32_t Y, int32_t W, int32_t H, uint32_t Rgb);
  void Box(int32_t X, int32_t Y, int32_t W, int32_t H, uint32_t Rgb);
  // A 1-pixel frame just inside the rectangle.
  void Outline(int32_t X, int32_t Y, int32_t W, int32_t H, uint32_t Rgb);
  void Line(float X0, float Y0, float X1, float Y1, float Thickness, uint32_t Rgb);

  // Text (CP932) in the game's gothic face at Points, its top-left corner at (X, Y), cut at the sheet's right edge.
  // Returns its width.
  int32_t Text(int32_t X, int32_t Y, const std::string& Text, int32_t Points, uint32_t Rgb);
  int32_t TextWidth(const std::string& Text, int32_t Points);
  int32_t LineHeight(int32_t Points);

  // A sprite's picture stretched over W x H at (X, Y) as the game draws sprites: its texture whole, point sampled,
  // in its blend mode, with these corner colours (its own, or an animation entry's).
  void Picture(TSpriteDef& Sprite, int32_t X, int32_t Y, int32_t W, int32_t H, const uint32_t (&Colors)[4]);

  // Draws the sheet, Height pixels tall on Background (RGB), and writes it as a PNG.
  void Save(const std::filesystem::path& File, int32_t Height, uint32_t Background);

 private:
  enum TLayer : uint8_t { lyFill, lyGraphic, lyOver };
  // One quad of the renderer at (X, Y).
  struct TItem {
    TLayer Layer = lyFill;
    int32_t Top = 0, Bottom = 0;  // sheet rows covered, bottom exclusive
    float X = 0, Y = 0;
    TSXVertexSP Vertices[4];
    TDGTexture* Texture = nullptr;
    int32_t Blend = 0;
  };

  void Quad(TLayer Layer, float X, float Y, const TSXVertexSP (&Vertices)[4], TDGTexture* Texture, int32_t Blend);
  void DrawBand(int32_t Band, uint32_t Background, const std::vector<std::vector<size_t>>& Bands);
  TDGTexture* Label(const std::string& Text, int32_t Points);
  // The longest start of Text, in whole characters, at most Room pixels wide.
  std::string Fit(const std::string& Text, int32_t Points, int32_t Room);

  TVUDader& device_;
  THeadlessPresenter& capture_;
  int32_t width_;
  int32_t bandHeight_;
  std::unique_ptr<TSXScene> scene_;
  std::unique_ptr<TSXTextWriter> writer_;
  std::vector<TItem> items_;
  std::map<std::pair<int32_t, std::string>, std::unique_ptr<TDGTexture>> labels_;
};
