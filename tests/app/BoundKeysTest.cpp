#include "BoundKeys.h"

#include <gtest/gtest.h>

#include "KeyScript.h"

namespace {

constexpr uint8_t kX = 'X', kP = 'P';

// The game reads its own codes whatever keys the player bound: an action's code follows its key alone (and the
// key stands for nothing else), the pads' keys add to the keyboard's, and other keys pass as they are.
TEST(BoundKeys, TheGamesCodesFollowTheBoundKeys) {
  TScriptedKeySource keyboard, pads;
  TKeyBindings bindings;
  ASSERT_EQ(bindings.Bind(kaFire, kX), brBound);
  ASSERT_EQ(bindings.Bind(kaPause, kP), brBound);
  const TBoundKeys game(keyboard, &pads, &bindings);

  keyboard.SetKey(VK_Z, true);  // fire's old key: nothing
  EXPECT_FALSE(game.IsKeyDown(VK_Z));
  keyboard.SetKey(kX, true);
  EXPECT_TRUE(game.IsKeyDown(VK_Z));
  EXPECT_FALSE(game.IsKeyDown(kX));  // no code of its own besides
  keyboard.ReleaseAll();

  keyboard.SetKey(kP, true);  // pause on P, and Enter still answers for it: it starts a game and ends a game over
  EXPECT_TRUE(game.IsKeyDown(VK_RETURN));
  keyboard.ReleaseAll();
  keyboard.SetKey(VK_RETURN, true);
  EXPECT_TRUE(game.IsKeyDown(VK_RETURN));
  keyboard.ReleaseAll();

  keyboard.SetKey(VK_LCONTROL, true);
  keyboard.SetKey(VK_ESCAPE, true);
  EXPECT_TRUE(game.IsKeyDown(VK_LCONTROL));
  EXPECT_TRUE(game.IsKeyDown(VK_ESCAPE));
  EXPECT_FALSE(game.IsKeyDown(VK_LEFT));
  keyboard.ReleaseAll();

  pads.SetKey(VK_Z, true);  // a pad's A fires whatever the keyboard's fire key is
  EXPECT_TRUE(game.IsKeyDown(VK_Z));
  pads.ReleaseAll();

  // The menus' view: every key as it is.
  const TBoundKeys menu(keyboard, nullptr, nullptr);
  keyboard.SetKey(VK_Z, true);
  EXPECT_TRUE(menu.IsKeyDown(VK_Z));
  EXPECT_FALSE(menu.IsKeyDown(kX));
  keyboard.SetActive(false);
  EXPECT_FALSE(game.IsApplicationActive());
}

}  // namespace
