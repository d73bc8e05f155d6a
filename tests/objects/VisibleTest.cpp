#include <gtest/gtest.h>

#include "ObjectTestSupport.h"
#include "UEvents.h"
#include "Visible.h"

using objtest::TRecordingGraphic;

TEST(VisibleTest, SizeRectAndStrictOverlap) {
  TRecordingGraphic box(32, 16, TRect{-16, -8, 16, 8});
  TVisible a(100, 50, &box);
  EXPECT_FALSE(a.OnTop);
  EXPECT_FALSE(a.OwnSize);
  EXPECT_EQ(a.Width(), 32);
  EXPECT_EQ(a.Height(), 16);
  TRect r;
  a.GetRect(r);
  EXPECT_EQ(r, (TRect{84, 42, 116, 58}));

  TVisible touchingRight(132, 50, &box);  // its left edge is a's right edge
  TVisible touchingBelow(100, 66, &box);
  TVisible corner(132, 66, &box);
  TVisible overlapping(131, 65, &box);
  EXPECT_FALSE(a.Collides(&touchingRight));
  EXPECT_FALSE(a.Collides(&touchingBelow));
  EXPECT_FALSE(a.Collides(&corner));
  EXPECT_TRUE(a.Collides(&overlapping));
  EXPECT_TRUE(overlapping.Collides(&a));
}

TEST(VisibleTest, ListsDrawInOrderAndGraphiclessVisiblesDrawNothing) {
  TRecordingGraphic box(1, 1, TRect{});
  TVisibleLinkedList list;
  auto* first = new TVisible(0, 0, &box);
  auto* none = new TVisible(0, 0, nullptr);
  auto* last = new TVisible(0, 0, &box);
  list.Add(first);
  list.Add(none);
  list.Add(last);
  list.DrawAll(nullptr);
  EXPECT_EQ(box.Drawn, (std::vector<const TDrawable*>{first, last}));
  EXPECT_EQ(list.First(), first);
}

TEST(VisibleTest, DropsDriftLeftUntilMinus100) {
  TRecordingGraphic capsule(16, 16, TRect{});
  TEventLinkedList list;
  auto* drop = new TDrop(100, 40, ikPowerUp, &capsule);
  list.Add(drop);
  EXPECT_EQ(drop->Speed, 2);
  EXPECT_EQ(drop->Kind, ikPowerUp);
  for (int i = 0; i < 99; ++i) list.UpdateAll(1);
  EXPECT_EQ(drop->X, -98);
  EXPECT_FALSE(drop->IsFinished());
  list.UpdateAll(1);
  EXPECT_EQ(drop->X, -100);
  EXPECT_TRUE(drop->IsFinished());
  list.RemoveFinished();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_STREQ(kItemKinds[ikPowerUp].GraphicId, "capsule");
  EXPECT_STREQ(kItemKinds[ikNone].GraphicId, "");
}

TEST(VisibleTest, AnimationsFinishAtMaxFrameAndNonAnimationsAtOnce) {
  TAnimationDef explosion;
  explosion.MaxFrame = 30;
  TAnimation running(10, 10, &explosion);
  for (int i = 0; i < 29; ++i) running.Update(1);
  EXPECT_FALSE(running.IsFinished());
  running.Update(1);
  EXPECT_TRUE(running.IsFinished());

  TRecordingGraphic still(1, 1, TRect{});
  TAnimation wrong(0, 0, &still);
  EXPECT_TRUE(wrong.IsFinished());
  TAnimation bare(0, 0, nullptr);
  EXPECT_TRUE(bare.IsFinished());

  TMovable m(1, 2, &still);
  m.MoveBy(3, -4);
  EXPECT_EQ(m.X, 4);
  EXPECT_EQ(m.Y, -2);
  m.MoveTo(-7, 9);
  EXPECT_EQ(m.X, -7);
  EXPECT_EQ(m.Y, 9);
}
