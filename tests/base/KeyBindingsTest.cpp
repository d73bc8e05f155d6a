#include "KeyBindings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

constexpr uint8_t kX = 'X', kP = 'P', kTab = 0x09, kF7 = 0x76, kF11 = 0x7A, kSpace = 0x20;

TEST(KeyBindings, EveryActionStartsOnTheKeyTheGameReadsForIt) {
  const TKeyBindings keys;
  for (const TKeyActionInfo& action : kKeyActions) {
    EXPECT_EQ(keys.Key(action.Action), action.GameKey) << action.SettingName;
    EXPECT_EQ(keys.ActionOfKey(action.GameKey), action.Action);
  }
  EXPECT_EQ(keys.Key(kaFire), VK_Z);
  EXPECT_EQ(keys.Key(kaPause), VK_RETURN);
  EXPECT_EQ(keys.ActionOfKey(kX), kaCount);
}

// A key another action has is refused and changes nothing; so are the program's own keys and codes without a
// name. Enter is the pause key's alone, and Escape (which cancels) can be nobody's.
TEST(KeyBindings, RefusesTakenReservedAndUnknownKeys) {
  TKeyBindings keys;
  const TKeyBindings before = keys;
  const struct {
    TKeyAction Action;
    uint8_t Key;
    TBindResult Result;
  } refused[] = {
      {kaFire, VK_C, brTaken},         {kaLeft, VK_RIGHT, brTaken},      {kaFire, VK_ESCAPE, brReserved},
      {kaFire, kTab, brReserved},      {kaUp, kF7, brReserved},          {kaDown, kF11, brReserved},
      {kaFire, VK_RETURN, brReserved}, {kaFire, 0x07, brUnknown},        {kaFire, 0xFF, brUnknown},
      {kaPowerUp, VK_Z, brTaken},      {kaPause, VK_ESCAPE, brReserved},
  };
  for (const auto& c : refused) {
    EXPECT_EQ(keys.Bind(c.Action, c.Key), c.Result) << int(c.Key);
    EXPECT_EQ(keys, before) << int(c.Key);
  }
  // Its own key again is no change at all; a free key moves the action off its old one, which is then free.
  EXPECT_EQ(keys.Bind(kaFire, VK_Z), brBound);
  EXPECT_EQ(keys.Bind(kaFire, kX), brBound);
  EXPECT_EQ(keys.Key(kaFire), kX);
  EXPECT_EQ(keys.ActionOfKey(VK_Z), kaCount);
  EXPECT_EQ(keys.Bind(kaPowerUp, VK_Z), brBound);
  EXPECT_EQ(keys.Bind(kaPause, kP), brBound);
  EXPECT_EQ(keys.Bind(kaFire, VK_RETURN), brReserved);  // free now, but still Enter
  EXPECT_EQ(keys.Bind(kaPause, VK_RETURN), brBound);
  keys.Reset();
  EXPECT_EQ(keys, TKeyBindings{});
}

TEST(KeyBindings, AWholeMapIsTakenOnlyWithoutDuplicatesOrRefusedKeys) {
  std::array<uint8_t, kaCount> wanted = {VK_C, VK_Z, VK_RETURN, 'A', 'W', 'D', 'S'};  // fire and power-up swapped
  const std::optional<TKeyBindings> swapped = TKeyBindings::FromKeys(wanted);
  ASSERT_TRUE(swapped.has_value());
  EXPECT_EQ(swapped->Key(kaFire), VK_C);
  EXPECT_EQ(swapped->Key(kaDown), 'S');
  wanted[kaDown] = 'A';  // left's key too
  EXPECT_FALSE(TKeyBindings::FromKeys(wanted).has_value());
  wanted[kaDown] = VK_ESCAPE;
  EXPECT_FALSE(TKeyBindings::FromKeys(wanted).has_value());
  wanted[kaDown] = 0;
  EXPECT_FALSE(TKeyBindings::FromKeys(wanted).has_value());
}

// Every name reads back as its key in any letter case, no name or key is listed twice, and where a key has a
// generic and a sided code the sided one comes first (a pressed left Shift is bound as LSHIFT).
TEST(KeyBindings, NamesAndKeysAnswerForEachOther) {
  std::set<std::string> names;
  std::set<int> codes;
  int position = 0, shift = -1, lshift = -1;
  for (const TKeyNameEntry& entry : KeyNames()) {
    EXPECT_TRUE(names.insert(entry.Name).second) << entry.Name;
    EXPECT_TRUE(codes.insert(entry.Key).second) << entry.Name;
    EXPECT_EQ(KeyFromName(entry.Name), entry.Key);
    EXPECT_STREQ(KeyName(entry.Key), entry.Name);
    if (std::string(entry.Name) == "SHIFT") shift = position;
    if (std::string(entry.Name) == "LSHIFT") lshift = position;
    ++position;
  }
  EXPECT_LT(lshift, shift);
  for (const TKeyActionInfo& action : kKeyActions) EXPECT_NE(KeyName(action.GameKey), nullptr);
  EXPECT_EQ(KeyFromName("space"), kSpace);
  EXPECT_EQ(KeyFromName("Numpad7"), 0x67);
  EXPECT_EQ(KeyFromName("F24"), 0x87);
  EXPECT_EQ(KeyFromName(""), -1);
  EXPECT_EQ(KeyFromName("SPACEBAR"), -1);
  EXPECT_EQ(KeyFromName("F25"), -1);
  EXPECT_EQ(KeyFromName("90"), -1);  // names only, not codes
  EXPECT_EQ(KeyName(0x07), nullptr);
}

}  // namespace
