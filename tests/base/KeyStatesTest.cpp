#include "KeyStates.h"

#include "GameKeys.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A keyboard whose keys and focus the test sets frame by frame; it records which codes were polled.
class TScriptedKeys : public TKeySource {
 public:
  bool IsKeyDown(uint8_t VirtualKey) const override {
    Polled.insert(VirtualKey);
    return Down.count(VirtualKey) != 0;
  }
  bool IsApplicationActive() const override { return Active; }

  std::set<uint8_t> Down;
  bool Active = true;
  mutable std::set<int> Polled;
};

constexpr uint8_t Enter = VK_RETURN, Left = VK_LEFT, Right = VK_RIGHT, Z = VK_Z, kLeftCtrl = VK_LCONTROL;

class KeyStatesTest : public ::testing::Test {
 protected:
  TScriptedKeys source_;
  TKeyStates keys_{source_};
};

TEST_F(KeyStatesTest, StartsWithEveryKeyUp) {
  source_.Down = {Enter, Z};
  for (int key = 0; key < 256; ++key) {
    EXPECT_FALSE(keys_.IsDown(uint8_t(key)));
    EXPECT_FALSE(keys_.IsHeld(uint8_t(key)));
  }
  EXPECT_FALSE(keys_.AnyPressed());
}

TEST_F(KeyStatesTest, KeyHeldForThreeSamples) {
  source_.Down = {Z};
  const bool pressed[] = {true, false, false};
  const bool held[] = {false, true, true};
  for (int frame = 0; frame < 3; ++frame) {
    keys_.Update();
    EXPECT_TRUE(keys_.IsDown(Z)) << frame;
    EXPECT_EQ(keys_.IsPressed(Z), pressed[frame]) << frame;
    EXPECT_EQ(keys_.IsHeld(Z), held[frame]) << frame;
    EXPECT_EQ(keys_.AnyPressed(), pressed[frame]) << frame;
  }
  source_.Down.clear();
  keys_.Update();
  EXPECT_FALSE(keys_.IsDown(Z));
  EXPECT_FALSE(keys_.IsHeld(Z));
  EXPECT_FALSE(keys_.IsPressed(Z));
}

TEST_F(KeyStatesTest, TwoKeysGoingDownTogetherAreBothPressed) {
  source_.Down = {Left, Enter};
  keys_.Update();
  EXPECT_TRUE(keys_.IsPressed(Left));
  EXPECT_TRUE(keys_.IsPressed(Enter));
  EXPECT_FALSE(keys_.IsPressed(Right));
}

TEST_F(KeyStatesTest, LosingFocusClearsAndReturningPressesAgain) {
  source_.Down = {Z};
  keys_.Update();
  keys_.Update();
  EXPECT_TRUE(keys_.IsHeld(Z));
  source_.Active = false;
  source_.Polled.clear();
  keys_.Update();
  EXPECT_FALSE(keys_.IsDown(Z));
  EXPECT_FALSE(keys_.IsHeld(Z));
  EXPECT_TRUE(source_.Polled.empty());  // nothing is read in the background
  source_.Active = true;
  keys_.Update();
  EXPECT_TRUE(keys_.IsPressed(Z));
  EXPECT_FALSE(keys_.IsHeld(Z));
}

TEST_F(KeyStatesTest, SamplesExactlyTheRangeFromEnterToLeftCtrl) {
  keys_.Update();
  EXPECT_EQ(source_.Polled.size(), 150u);
  EXPECT_EQ(*source_.Polled.begin(), 13);
  EXPECT_EQ(*source_.Polled.rbegin(), 162);

  source_.Down = {12, 163, 255};  // outside the range: never sampled
  keys_.Update();
  EXPECT_FALSE(keys_.IsDown(12));
  EXPECT_FALSE(keys_.IsDown(163));
  EXPECT_FALSE(keys_.IsPressed(255));
  EXPECT_FALSE(keys_.AnyPressed());

  source_.Down = {kLeftCtrl};
  keys_.Update();
  EXPECT_TRUE(keys_.IsDown(kLeftCtrl));
  EXPECT_TRUE(keys_.AnyPressed());
}

TEST_F(KeyStatesTest, ClearForgetsHeldKeys) {
  source_.Down = {Enter};
  keys_.Update();
  keys_.Update();
  keys_.Clear();
  EXPECT_FALSE(keys_.IsDown(Enter));
  keys_.Update();
  EXPECT_TRUE(keys_.IsPressed(Enter));
}

}  // namespace
