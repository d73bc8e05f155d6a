#include "SceneHelpers.h"

#include <gtest/gtest.h>

#include <numbers>

#include "SXTextWriter.h"
#include "SceneHarness.h"

namespace {

TEST(SceneHelpers, RoundOffRoundsHalfAwayFromZero) {
  EXPECT_EQ(RoundOff(2.5), 3);
  EXPECT_EQ(RoundOff(-2.5), -3);
  EXPECT_EQ(RoundOff(2.4999), 2);
  EXPECT_EQ(RoundOff(-0.5), -1);
  EXPECT_EQ(RoundOff(-0.4999), 0);
  EXPECT_EQ(RoundOff(0.0), 0);
}

TEST(SceneHelpers, PointDistanceAndAngle) {
  EXPECT_EQ(PointDistance(Point(0, 0), Point(3, 4)), 5);
  EXPECT_EQ(PointDistance(Point(10, 10), Point(11, 11)), 1);  // 1.414
  EXPECT_EQ(PointDistance(Point(0, 0), Point(1, 2)), 2);      // 2.236
  EXPECT_EQ(PointDistance(Point(-5, 0), Point(5, 0)), 10);
  // Directions in (0, 2π], y downwards.
  EXPECT_DOUBLE_EQ(PointAngle(Point(0, 0), Point(1, 0)), 2 * std::numbers::pi);
  EXPECT_DOUBLE_EQ(PointAngle(Point(0, 0), Point(0, 1)), std::numbers::pi / 2);
  EXPECT_DOUBLE_EQ(PointAngle(Point(0, 0), Point(-1, 0)), std::numbers::pi);
  EXPECT_DOUBLE_EQ(PointAngle(Point(5, 5), Point(5, 0)), 1.5 * std::numbers::pi);
}

TEST(SceneHelpers, MakeQuadVerticesInStripOrder) {
  TSXVertexSPDynArray v;
  MakeQuadVertices(Rect(-16, -8, 16, 8), {1, 2, 3, 4}, v);
  ASSERT_EQ(v.size(), 4u);
  const float expected[4][4] = {{-16, -8, 0, 0}, {16, -8, 1, 0}, {-16, 8, 0, 1}, {16, 8, 1, 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(v[i].X, expected[i][0]);
    EXPECT_EQ(v[i].Y, expected[i][1]);
    EXPECT_EQ(v[i].U, expected[i][2]);
    EXPECT_EQ(v[i].V, expected[i][3]);
    EXPECT_EQ(v[i].Diffuse, static_cast<uint32_t>(i + 1));
    EXPECT_EQ(v[i].Specular, 0u);
  }
}

class TPlainScene : public TCustomScene {
 public:
  using TCustomScene::TCustomScene;
};

TEST(CustomScene, FinishKeepsTheLastNumberAndUpdateCountsFrames) {
  TSceneHarness h;
  TPlainScene scene(h.Sprites(), h.Keys());
  EXPECT_FALSE(scene.Finished());
  EXPECT_EQ(scene.Device(), h.Sprites()->Device());
  scene.Update();
  scene.Update();
  EXPECT_EQ(scene.FrameCounter, 2u);
  scene.Finish(1);
  scene.Finish(0);
  EXPECT_TRUE(scene.Finished());
  EXPECT_EQ(scene.NextScene(), 0);
}

TEST(CustomScene, DrawTextureQueuesTheImageSizeWithOpaqueColour) {
  TSceneHarness h;
  TPlainScene scene(h.Sprites(), h.Keys());
  std::unique_ptr<TDGTexture> texture = scene.CreateTextTexture("PRESS ENTER", "Times New Roman", 40);
  // The texture is exactly as large as the measured text.
  scene.TextWriter()->Font.Name = "Times New Roman";
  scene.TextWriter()->Font.SetSize(40);
  EXPECT_EQ(static_cast<int32_t>(texture->Width()), scene.TextWriter()->TextWidth("PRESS ENTER"));
  EXPECT_EQ(static_cast<int32_t>(texture->Height()), scene.TextWriter()->TextHeight("PRESS ENTER"));

  scene.DrawTexture(10, 20, false, true, 0xFF8000, texture.get());  // alpha byte 0: drawn opaque orange
  scene.DrawTexture(30, 40, true, false, 0x11223344, texture.get());
  TSXRenderingQueue& translucent = h.Sprites()->TranslucentQueue();
  ASSERT_EQ(translucent.QuadCount(), 1);
  const TSXQuad& q = translucent.Quad(0);
  EXPECT_EQ(q.X, 10.0f);
  EXPECT_EQ(q.Y, 20.0f);
  EXPECT_EQ(q.Z, 0.0f);
  EXPECT_EQ(q.BlendMode, 2);
  EXPECT_EQ(q.Smooth, 1);
  EXPECT_EQ(q.AddressU, D3DTADDRESS_CLAMP);
  EXPECT_EQ(q.AddressV, D3DTADDRESS_CLAMP);
  const float w = static_cast<float>(texture->Width()), hgt = static_cast<float>(texture->Height());
  EXPECT_EQ(q.Vertices[3].X, w);
  EXPECT_EQ(q.Vertices[3].Y, hgt);
  EXPECT_EQ(q.Vertices[1].U, texture->MaxU());
  EXPECT_EQ(q.Vertices[2].V, texture->MaxV());
  for (const TSXVertexSP& v : q.Vertices) EXPECT_EQ(v.Diffuse, 0xFFFF8000u);
  ASSERT_EQ(h.Sprites()->OverlayQueue().QuadCount(), 1);
  EXPECT_EQ(h.Sprites()->OverlayQueue().Quad(0).Vertices[0].Diffuse, 0xFF223344u);
  h.Sprites()->Render(true);
}

TEST(CustomScene, RenderClearsToTheBackColour) {
  TSceneHarness h;
  TPlainScene scene(h.Sprites(), h.Keys());
  scene.BackColor = 0x00101010;
  h.Frame(scene);
  EXPECT_EQ(h.Screen(400, 300) & 0xFFFFFF, 0x101010u);
}

}  // namespace
