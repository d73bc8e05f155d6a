#include "PlayerOption.h"

#include "PlayerShip.h"

TOption::TOption(int32_t X, int32_t Y, TGraphicDef* Graphic, TEmu* Owner) : TMovable(X, Y, Graphic), Owner(Owner) {
  OnTop = true;
}

void TOption::Follow() {
  const TEmu::THistoryEntry& Entry = Owner->History[HistoryIndex];
  MoveTo(Entry.X, Entry.Y);
  HistoryIndex = (HistoryIndex + 1) % TEmu::HistoryLength;
}

void TOption::SetActive(bool Value) {
  if (Value == Active) return;
  Active = Value;
  if (!Value) return;
  HistoryIndex = Owner->ReadIndex - TEmu::OptionSpacing * Number;
  if (HistoryIndex < 0) HistoryIndex += TEmu::HistoryLength;
  Follow();
}
