#include "Visible.h"

#include "GraphicDefs.h"

TVisible::TVisible(int32_t X, int32_t Y, TGraphicDef* Graphic) : X(X), Y(Y), Graphic(Graphic) {}

int32_t TVisible::Width() const { return Graphic->Width; }

int32_t TVisible::Height() const { return Graphic->Height; }

void TVisible::GetRect(TRect& Rect) const {
  Rect.Left = Graphic->HitArea.Left + X;
  Rect.Top = Graphic->HitArea.Top + Y;
  Rect.Right = Graphic->HitArea.Right + X;
  Rect.Bottom = Graphic->HitArea.Bottom + Y;
}

void TVisible::Draw(TSXScene* Scene) {
  if (Graphic != nullptr) Graphic->Draw(this, Scene);
}

TDrawPlacement TVisible::Placement() const {
  return TDrawPlacement{X, Y, OnTop, OwnSize, OwnSize ? Width() : 0, OwnSize ? Height() : 0, Elapsed()};
}

bool TVisible::Collides(const TVisible* Other) const {
  TRect mine;
  TRect theirs;
  GetRect(mine);
  Other->GetRect(theirs);
  return mine.Left < theirs.Right && mine.Right > theirs.Left && mine.Top < theirs.Bottom && mine.Bottom > theirs.Top;
}

void TVisibleLinkedList::DrawAll(TSXScene* Scene) {
  ForEach([Scene](TLinkedItem* Item) { static_cast<TVisible*>(Item)->Draw(Scene); });
}

bool TAnimation::IsFinished() const {
  auto* animation = dynamic_cast<const TAnimationDef*>(Graphic);
  return animation == nullptr || animation->MaxFrame <= Elapsed();
}

TDrop::TDrop(int32_t X, int32_t Y, TItemKind Kind, TGraphicDef* Graphic) : TMovable(X, Y, Graphic), Kind(Kind) {
  Speed = 2;
}

void TDrop::Update(uint32_t Frames) {
  TMovable::Update(Frames);
  X -= static_cast<int32_t>(Frames) * Speed;
}

bool TDrop::IsFinished() const { return X <= -100; }
