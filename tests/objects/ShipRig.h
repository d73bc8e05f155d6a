// A ship on its own: keyboard, graphics and the shot list it fires into, advanced one frame at a time.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "ObjectTestSupport.h"
#include "PlayerShip.h"
#include "Visible.h"

namespace objtest {

struct TShipRig {
  THeldKeys Source;
  TKeyStates Keys{Source};
  // Hit area 24 x 12 around the position: bounds x 12..788, y 6..594.
  TRecordingGraphic ShipGraphic{32, 16, Rect(-12, -6, 12, 6)};
  TRecordingGraphic OptionGraphic{16, 16, Rect(-6, -6, 6, 6)};
  TRecordingGraphic ShotGraphic{8, 4, Rect(-4, -2, 4, 2)};
  TRecordingGraphic LaserGraphic{16, 8, Rect(0, -4, 16, 4)};
  TRecordingGraphic BulletGraphic{6, 6, Rect(-3, -3, 3, 3)};
  TVisibleLinkedList Shots;
  TEmu Ship{200, 300, &ShipGraphic, &OptionGraphic, &ShotGraphic, &LaserGraphic, &BulletGraphic, &Keys, &Shots};
  int32_t LostCount = 0;
  TObject* LastLostSender = nullptr;

  TShipRig() {
    Ship.OnDestroyed = [this](TObject* Sender) {
      ++LostCount;
      LastLostSender = Sender;
    };
  }

  // One frame with exactly these keys down.
  void Frame(std::initializer_list<uint8_t> Held = {}) {
    Source.Hold(Held);
    Keys.Update();
    Ship.Update(1);
  }
  void Frames(int32_t Count, std::initializer_list<uint8_t> Held = {}) {
    for (int32_t i = 0; i < Count; ++i) Frame(Held);
  }

  // Moves the meter cursor onto Position as collected capsules do, then presses and releases C.
  void Buy(uint8_t Position) {
    Ship.AdvanceCursor();
    while (Ship.Cursor != Position) Ship.AdvanceCursor();
    Frame({kVkC});
    Frame();
  }

  std::vector<TVisible*> ShotItems() {
    std::vector<TVisible*> items;
    for (TLinkedItem* item = Shots.TLinkedList::First(); item; item = item->Next())
      items.push_back(static_cast<TVisible*>(item));
    return items;
  }
};

}  // namespace objtest
