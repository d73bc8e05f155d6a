#include "PlayerOption.h"

#include "PlayerShip.h"

TOption::TOption(int32_t X, int32_t Y, TGraphicDef* Graphic, TEmu* Owner) : TMovable(X, Y, Graphic), Owner(Owner) {
  OnTop = true;
}

void TOption::Follow() {
  const TEmu::THistoryEntry& entry = Owner->History[HistoryIndex];
  MoveTo(entry.X, entry.Y);
  HistoryIndex = (HistoryIndex + 1) % TEmu::kHistoryLength;
}

void TOption::SetActive(bool Value) {
  if (Value == Active) return;
  Active = Value;
  if (!Value) return;
  HistoryIndex = Owner->ReadIndex - TEmu::kOptionSpacing * Number;
  if (HistoryIndex < 0) HistoryIndex += TEmu::kHistoryLength;
  Follow();
}
