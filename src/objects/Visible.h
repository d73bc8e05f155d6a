// Drawable and movable objects: everything the gameplay scene shows and tests for hits. A visible is an
// event with an integer position (where its graphic's origin is drawn) and a graphic definition that
// supplies its picture, size and hit area.
#pragma once
#include <cstdint>
#include <string>

#include "Drawable.h"
#include "GameVocabulary.h"
#include "UEvents.h"
#include "WinTypes.h"

class TGraphicDef;
class TSXScene;

// An event and a drawable: lists advance it, graphic definitions draw it.
class TVisible : public TEvent, public TDrawable {
 public:
  TVisible(int32_t X, int32_t Y, TGraphicDef* Graphic);

  int32_t X = 0;
  int32_t Y = 0;
  // Not owned: the graphic definition list owns every definition.
  TGraphicDef* Graphic = nullptr;
  // Drawn in the renderer's overlay queue (after everything else, no depth test).
  bool OnTop = false;
  // Drawn over a quad of this object's own Width x Height instead of the graphic's stored size.
  bool OwnSize = false;

  // The graphic's size (a graphic is required).
  virtual int32_t Width() const;
  virtual int32_t Height() const;
  // The graphic's hit area moved to the object's position, in screen pixels.
  virtual void GetRect(TRect& Rect) const;
  // Asks the graphic to draw this object; nothing without a graphic.
  virtual void Draw(TSXScene* Scene);
  TDrawPlacement Placement() const override;

  // Strict overlap of both objects' rectangles (each through its own GetRect): touching edges do not collide.
  bool Collides(const TVisible* Other) const;
};

class TVisibleLinkedList : public TEventLinkedList {
 public:
  // Draws every item in list order.
  void DrawAll(TSXScene* Scene);
  TVisible* First() const { return static_cast<TVisible*>(TLinkedList::First()); }
};

// A visible that lives as long as its animation definition runs (explosions); it does not move.
class TAnimation : public TVisible {
 public:
  using TVisible::TVisible;
  // True when the graphic is no animation, or once Elapsed has reached its MaxFrame.
  bool IsFinished() const override;
};

class TMovable : public TVisible {
 public:
  using TVisible::TVisible;
  // Pixels per frame; each subclass gives it its meaning.
  int32_t Speed = 0;

  void MoveBy(int32_t DX, int32_t DY) {
    X += DX;
    Y += DY;
  }
  void MoveTo(int32_t NewX, int32_t NewY) {
    X = NewX;
    Y = NewY;
  }
};

// The power-up capsule a destroyed enemy leaves: drifts left until collected or past x = -100.
class TDrop : public TMovable {
 public:
  TDrop(int32_t X, int32_t Y, TItemKind Kind, TGraphicDef* Graphic);
  TItemKind Kind = ikNone;

  void Update(uint32_t Frames) override;
  bool IsFinished() const override;
};
