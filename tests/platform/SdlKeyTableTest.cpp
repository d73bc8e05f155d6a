#include <gtest/gtest.h>

#include "SdlKeyTable.h"

#include "KeyBindings.h"

namespace {

// Without SDL's video subsystem (so no layout): letters and digits take their US-layout places.
TEST(SdlKeyTable, EveryKeyTheGameAsksAboutHasAnSdlKey) {
  EXPECT_EQ(ScancodesForVirtualKey(13), (TScancodePair{SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER}));
  EXPECT_EQ(ScancodesForVirtualKey(27)[0], SDL_SCANCODE_ESCAPE);
  EXPECT_EQ(ScancodesForVirtualKey(37)[0], SDL_SCANCODE_LEFT);
  EXPECT_EQ(ScancodesForVirtualKey(38)[0], SDL_SCANCODE_UP);
  EXPECT_EQ(ScancodesForVirtualKey(39)[0], SDL_SCANCODE_RIGHT);
  EXPECT_EQ(ScancodesForVirtualKey(40)[0], SDL_SCANCODE_DOWN);
  EXPECT_EQ(ScancodesForVirtualKey(67)[0], SDL_SCANCODE_C);
  EXPECT_EQ(ScancodesForVirtualKey(90)[0], SDL_SCANCODE_Z);
  EXPECT_EQ(ScancodesForVirtualKey(162), (TScancodePair{SDL_SCANCODE_LCTRL, SDL_SCANCODE_UNKNOWN}));
}

TEST(SdlKeyTable, TheRestOfTheSampledRangeWhereSdlHasTheKey) {
  EXPECT_EQ(ScancodesForVirtualKey(17), (TScancodePair{SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL}));
  EXPECT_EQ(ScancodesForVirtualKey(16), (TScancodePair{SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT}));
  EXPECT_EQ(ScancodesForVirtualKey('A')[0], SDL_SCANCODE_A);
  EXPECT_EQ(ScancodesForVirtualKey('0')[0], SDL_SCANCODE_0);
  EXPECT_EQ(ScancodesForVirtualKey('1')[0], SDL_SCANCODE_1);
  EXPECT_EQ(ScancodesForVirtualKey('9')[0], SDL_SCANCODE_9);
  EXPECT_EQ(ScancodesForVirtualKey(0x70)[0], SDL_SCANCODE_F1);
  EXPECT_EQ(ScancodesForVirtualKey(0x7B)[0], SDL_SCANCODE_F12);
  EXPECT_EQ(ScancodesForVirtualKey(0x7C)[0], SDL_SCANCODE_F13);
  EXPECT_EQ(ScancodesForVirtualKey(0x87)[0], SDL_SCANCODE_F24);
  EXPECT_EQ(ScancodesForVirtualKey(0x60)[0], SDL_SCANCODE_KP_0);
  EXPECT_EQ(ScancodesForVirtualKey(0x61)[0], SDL_SCANCODE_KP_1);
  EXPECT_EQ(ScancodesForVirtualKey(0x69)[0], SDL_SCANCODE_KP_9);
  EXPECT_EQ(ScancodesForVirtualKey(0xA0)[0], SDL_SCANCODE_LSHIFT);
  EXPECT_EQ(ScancodesForVirtualKey(0xA1)[0], SDL_SCANCODE_RSHIFT);
  int mapped = 0;
  for (int vk = 13; vk <= 162; ++vk) {
    if (ScancodesForVirtualKey(vk)[0] != SDL_SCANCODE_UNKNOWN) ++mapped;
  }
  // 13, 16-20, 21, 25, 27-29, 31, 32-41, 43-47, 48-57, 65-93, 95-111, 112-135, 144-145, 160-162.
  EXPECT_EQ(mapped, 1 + 5 + 2 + 3 + 1 + 10 + 5 + 10 + 29 + 17 + 24 + 2 + 3);
  // The input-method keys of Japanese keyboards, so that they too leave the title's idle wait.
  EXPECT_EQ(ScancodesForVirtualKey(0x15)[0], SDL_SCANCODE_INTERNATIONAL2);  // Kana
  EXPECT_EQ(ScancodesForVirtualKey(0x19)[0], SDL_SCANCODE_LANG5);           // Zenkaku/Hankaku
  EXPECT_EQ(ScancodesForVirtualKey(0x1C)[0], SDL_SCANCODE_INTERNATIONAL4);  // Convert
  EXPECT_EQ(ScancodesForVirtualKey(0x1D)[0], SDL_SCANCODE_INTERNATIONAL5);  // Nonconvert
  EXPECT_EQ(ScancodesForVirtualKey(14)[0], SDL_SCANCODE_UNKNOWN);           // no key has that code
  EXPECT_EQ(ScancodesForVirtualKey(0x5E)[0], SDL_SCANCODE_UNKNOWN);         // reserved
}

// A key a player may bind is one the keyboard can read.
TEST(SdlKeyTable, EveryNamedKeyHasAnSdlKey) {
  for (const TKeyNameEntry& entry : KeyNames()) {
    EXPECT_NE(ScancodesForVirtualKey(entry.Key)[0], SDL_SCANCODE_UNKNOWN) << entry.Name;
  }
}

}  // namespace
