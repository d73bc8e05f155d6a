// Graphic definitions: what every drawable thing looks like (picture, size, origin, hit area, corner
// colours, blend mode) and, for animations, which sprite shows at which elapsed frame. The list owns them
// and finds them by case-insensitive id.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Drawable.h"
#include "TObject.h"
#include "WinTypes.h"

class TDGTexture;
class TSXScene;
class TVUDader;
struct TSkinPlace;

class TGraphicDef : public TObject {
 public:
  int32_t Width = 0;
  int32_t Height = 0;
  // Collision box relative to the object's position.
  TRect HitArea;
  // The picture point placed on the object's position.
  int32_t OriginX = 0;
  int32_t OriginY = 0;

  // Draws the definition for one visible object into the frame the sprite renderer is building.
  virtual void Draw(const TDrawable* Visible, TSXScene* Scene) = 0;
};

// Blend modes of a sprite: indices into the sprite renderer's presets.
enum : int32_t { bmDefault = 0, bmAdd = 1, bmAlpha = 2 };

class TSpriteDef : public TGraphicDef {
 public:
  TSpriteDef();
  // Frees the texture.
  ~TSpriteDef() override;

  // Corner colours (ARGB): left-top, right-top, left-bottom, right-bottom.
  uint32_t VertexColors[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  // Owned; holds exactly this sprite's picture, drawn with texture coordinates 0 to 1.
  std::unique_ptr<TDGTexture> Texture;
  int32_t BlendMode = bmDefault;

  void Draw(const TDrawable* Visible, TSXScene* Scene) override;
  // Draws this sprite's picture at the visible's position with the given corner colours.
  void DrawWithColors(const TDrawable* Visible, TSXScene* Scene, const uint32_t (&Colors)[4]);
};

// One entry of an animation: from Frame on (within a cycle) the sprite shows with this alpha.
class TAnimationSpriteDef : public TObject {
 public:
  uint32_t Frame = 0;
  // Not owned: the definition list owns every sprite.
  TSpriteDef* Sprite = nullptr;
  uint8_t Alpha = 255;
};

class TAnimationDef : public TGraphicDef {
 public:
  // Cycle length in frames; never 0 for a loaded animation.
  uint32_t MaxFrame = 0;
  bool Repeat = false;

  // Appends an entry (taking ownership) and returns its index.
  int32_t AddFrame(TAnimationSpriteDef* Entry);
  void DeleteFrame(int32_t Index);
  void ClearFrames();
  // Ascending by Frame.
  void SortFrames();
  int32_t FrameCount() const { return static_cast<int32_t>(FFrames.size()); }
  TAnimationSpriteDef* FrameAt(int32_t Index) const { return FFrames[static_cast<size_t>(Index)].get(); }
  // The entry showing at elapsed count T, or -1 when none does. O(log n) while the entries are in frame order
  // (added in order, or sorted since); entries' frames are not changed once added.
  int32_t FrameIndexAt(uint32_t T) const;

  void Draw(const TDrawable* Visible, TSXScene* Scene) override;

 private:
  std::vector<std::unique_ptr<TAnimationSpriteDef>> FFrames;
  bool sorted_ = true;  // FFrames ascending by Frame
};

class TGraphicDefList : public TObject {
 public:
  explicit TGraphicDefList(TVUDader* Device);
  ~TGraphicDefList() override;
  TGraphicDefList(const TGraphicDefList&) = delete;
  TGraphicDefList& operator=(const TGraphicDefList&) = delete;

  // Every texture made while loading belongs to this device.
  TVUDader* Device() const { return FDevice; }

  // Reads graphicdef.xml of the skin at Place; true when the file was found and its root has children.
  bool Load(const TSkinPlace& Place);

  // Appends the pair, taking ownership of Def; a repeated id adds a second entry.
  void Add(const std::string& Id, TGraphicDef* Def);
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  // The definition for Id (letter case ignored; the latest added wins). Raises Exception for an empty or
  // undefined id.
  TGraphicDef* Find(const std::string& Id) const;
  // Frees every definition in index order.
  void Clear();

  // The pairs in insertion order.
  const std::string& IdAt(int32_t Index) const { return FItems[static_cast<size_t>(Index)].first; }
  TGraphicDef* ItemAt(int32_t Index) const { return FItems[static_cast<size_t>(Index)].second.get(); }

 private:
  TVUDader* FDevice;
  std::vector<std::pair<std::string, std::unique_ptr<TGraphicDef>>> FItems;
  // Upper-cased id to the index of its latest entry.
  std::unordered_map<std::string, size_t> index_;
};

// The sprite for Id, for callers that read a sprite's texture directly: raises Find's exception for an unknown
// id and Exception naming the id when it is defined as something else (an animation).
TSpriteDef* FindSprite(const TGraphicDefList& List, const std::string& Id);
