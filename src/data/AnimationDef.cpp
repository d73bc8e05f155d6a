#include <algorithm>

#include "GraphicDefs.h"

int32_t TAnimationDef::AddFrame(TAnimationSpriteDef* Entry) {
  sorted_ = sorted_ && (FFrames.empty() || FFrames.back()->Frame <= Entry->Frame);
  FFrames.emplace_back(Entry);
  return FrameCount() - 1;
}

void TAnimationDef::DeleteFrame(int32_t Index) { FFrames.erase(FFrames.begin() + Index); }

void TAnimationDef::ClearFrames() {
  while (!FFrames.empty()) FFrames.pop_back();
  sorted_ = true;
}

void TAnimationDef::SortFrames() {
  std::stable_sort(FFrames.begin(), FFrames.end(), [](const auto& A, const auto& B) { return A->Frame < B->Frame; });
  sorted_ = true;
}

int32_t TAnimationDef::FrameIndexAt(uint32_t T) const {
  int32_t count = FrameCount();
  if (count == 0 || MaxFrame == 0) return -1;
  if (!Repeat && T >= MaxFrame) return -1;
  T %= MaxFrame;
  if (sorted_) {
    // In frame order the entry showing is the last one starting at or before T (the first when none does):
    // found by halving, as this runs for every animation on the field every frame.
    const auto after = std::upper_bound(FFrames.begin(), FFrames.end(), T,
                                        [](uint32_t Time, const auto& Entry) { return Time < Entry->Frame; });
    return after == FFrames.begin() ? 0 : static_cast<int32_t>(after - FFrames.begin()) - 1;
  }
  for (int32_t i = 0; i + 1 < count; ++i) {
    if (FrameAt(i)->Frame <= T && T < FrameAt(i + 1)->Frame) return i;
  }
  if (count >= 2 && T >= FrameAt(count - 1)->Frame) return count - 1;
  return 0;
}

void TAnimationDef::Draw(const TDrawable* Visible, TSXScene* Scene) {
  int32_t index = FrameIndexAt(Visible->Placement().Elapsed);
  if (index < 0) return;
  TAnimationSpriteDef* entry = FrameAt(index);
  TSpriteDef* sprite = entry->Sprite;
  if (sprite == nullptr) return;
  uint32_t colors[4];
  for (int i = 0; i < 4; ++i) {
    colors[i] = (sprite->VertexColors[i] & 0x00FFFFFF) | static_cast<uint32_t>(entry->Alpha) << 24;
  }
  sprite->DrawWithColors(Visible, Scene, colors);
}
