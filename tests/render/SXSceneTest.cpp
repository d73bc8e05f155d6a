#include "SXScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "SXTestSupport.h"

namespace {

using sxtest::Quad;
using sxtest::SceneTest;

class SXSceneTest : public SceneTest {};

TEST_F(SXSceneTest, SixPresetsInTheirTableOrder) {
  const std::vector<TSXBlendMode>& modes = scene_->BlendModes();
  ASSERT_EQ(modes.size(), 6u);
  struct TRow {
    int Translucent, AlphaTest;
    D3DCMPFUNC Func;
    int AlphaBlend;
    D3DBLEND Src, Dest;
  };
  const TRow rows[6] = {
      {0, 0, D3DCMP_ALWAYS, 0, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
      {1, 0, D3DCMP_ALWAYS, 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
      {1, 0, D3DCMP_ALWAYS, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
      {1, 0, D3DCMP_ALWAYS, 1, D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},
      {1, 0, D3DCMP_ALWAYS, 1, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR},
      {0, 1, D3DCMP_GREATER, 0, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
  };
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(modes[i].Translucent != 0, rows[i].Translucent != 0) << i;
    EXPECT_EQ(modes[i].AlphaTest != 0, rows[i].AlphaTest != 0) << i;
    EXPECT_EQ(modes[i].AlphaFunc, rows[i].Func) << i;
    EXPECT_EQ(modes[i].AlphaBlend != 0, rows[i].AlphaBlend != 0) << i;
    EXPECT_EQ(modes[i].SrcBlend, rows[i].Src) << i;
    EXPECT_EQ(modes[i].DestBlend, rows[i].Dest) << i;
    EXPECT_EQ(modes[i].BlendOp, D3DBLENDOP_ADD) << i;
  }
  EXPECT_TRUE(scene_->SortTranslucent);
}

TEST_F(SXSceneTest, CreationCoversTheClientAreaAndSetsTheProjection) {
  const D3DVIEWPORT9& viewport = scene_->Viewport();
  EXPECT_EQ(viewport.X, 0u);
  EXPECT_EQ(viewport.Y, 0u);
  EXPECT_EQ(viewport.Width, 800u);
  EXPECT_EQ(viewport.Height, 600u);
  EXPECT_EQ(viewport.MinZ, 0.0f);
  EXPECT_EQ(viewport.MaxZ, 1.0f);
  D3DVIEWPORT9 onDevice{};
  device_->D3DDevice()->GetViewport(&onDevice);
  EXPECT_EQ(onDevice.Width, 800u);
  EXPECT_EQ(onDevice.Height, 600u);

  // Horizontal field of view pi/2: m11 = cot(pi/4) = 1, m22 = m11 / (600/800).
  const D3DMATRIX& p = scene_->Projection();
  const float q = 10000.0f / (10000.0f - 0.01f);
  EXPECT_NEAR(p._11, 1.0f, 1e-6);
  EXPECT_NEAR(p._22, 4.0f / 3.0f, 1e-6);
  EXPECT_FLOAT_EQ(p._33, q);
  EXPECT_EQ(p._34, 1.0f);
  EXPECT_FLOAT_EQ(p._43, -q * 0.01f);
  EXPECT_EQ(p._44, 0.0f);
  EXPECT_EQ(p._12, 0.0f);
  EXPECT_EQ(p._41, 0.0f);
  EXPECT_FLOAT_EQ(scene_->HorizontalFov(), 1.5707964f);
  EXPECT_NEAR(scene_->VerticalFov(), 2.0 * std::atan(0.75), 1e-6);
  EXPECT_FLOAT_EQ(scene_->Aspect(), 0.75f);
  D3DMATRIX onDeviceProjection{};
  device_->D3DDevice()->GetTransform(D3DTS_PROJECTION, &onDeviceProjection);
  EXPECT_EQ(std::memcmp(&onDeviceProjection, &p, sizeof p), 0);

  D3DCAPS9 caps{};
  device_->D3D()->GetDeviceCaps(device_->Adapter(), device_->DeviceType(), &caps);
  EXPECT_EQ(scene_->BlendOpSupported(), (caps.PrimitiveMiscCaps & D3DPMISCCAPS_BLENDOP) != 0);
  EXPECT_GE(FindLine("VUDaderリソース(TSXScene)を登録します ID は 0() です"), 0);
}

TEST_F(SXSceneTest, VerticalFieldOfViewVariant) {
  scene_->SetProjection(false, 1.0f, 2.0f, 1.0f, 101.0f);
  const float c = std::cos(0.5f) / std::sin(0.5f);
  EXPECT_FLOAT_EQ(scene_->Projection()._22, c);
  EXPECT_FLOAT_EQ(scene_->Projection()._11, c * 2.0f);
  EXPECT_FLOAT_EQ(scene_->VerticalFov(), 1.0f);
  EXPECT_NEAR(scene_->HorizontalFov(), 2.0 * std::atan(1.0 / (c * 2.0)), 1e-6);
  EXPECT_FLOAT_EQ(scene_->Projection()._33, 1.01f);
  EXPECT_FLOAT_EQ(scene_->Projection()._43, -1.01f);
}

TEST_F(SXSceneTest, QuadsGoToTheQueueTheirPresetAndOverlayFlagName) {
  Sprite(1, 2, Quad(4, 4), nullptr, 0, 0.3f);
  Sprite(1, 2, Quad(4, 4), nullptr, 5, 0.3f);
  for (int32_t blend : {1, 2, 3, 4}) Sprite(1, 2, Quad(4, 4), nullptr, blend, 0.4f);
  Sprite(5, 6, Quad(4, 4), nullptr, 2, 0.7f, /*overlay=*/true);
  EXPECT_EQ(scene_->OpaqueQueue().QuadCount(), 2);
  EXPECT_EQ(scene_->TranslucentQueue().QuadCount(), 4);
  ASSERT_EQ(scene_->OverlayQueue().QuadCount(), 1);
  const TSXQuad& overlay = scene_->OverlayQueue().Quad(0);
  EXPECT_EQ(overlay.Z, 0.0f) << "overlay quads are queued at depth 0";
  EXPECT_EQ(overlay.X, 5.0f);
  EXPECT_EQ(overlay.Y, 6.0f);
  EXPECT_EQ(overlay.BlendMode, 2);
  EXPECT_EQ(overlay.Vertices[3].X, 4.0f);
  EXPECT_EQ(scene_->TranslucentQueue().Quad(0).Z, 0.4f);
}

TEST_F(SXSceneTest, QueueCapacityDoublesAndNeverShrinks) {
  TSXRenderingQueue& queue = scene_->OpaqueQueue();
  EXPECT_EQ(queue.QuadCapacity(), 32);
  EXPECT_EQ(queue.AlphaRef(), 128);
  for (int i = 0; i < 32; ++i) Sprite(0, 0, Quad(1, 1), nullptr, 0);
  EXPECT_EQ(queue.QuadCapacity(), 32);
  Sprite(0, 0, Quad(1, 1), nullptr, 0);
  EXPECT_EQ(queue.QuadCapacity(), 64);
  for (int i = 33; i < 64; ++i) Sprite(0, 0, Quad(1, 1), nullptr, 0);
  EXPECT_EQ(queue.QuadCapacity(), 64);
  Sprite(0, 0, Quad(1, 1), nullptr, 0);
  EXPECT_EQ(queue.QuadCapacity(), 128);
  EXPECT_GE(queue.SortKey().size(), 128u);
  EXPECT_GE(queue.SortIndex().size(), 128u);
  Frame(0);
  EXPECT_EQ(queue.QuadCount(), 0);
  EXPECT_EQ(queue.QuadCapacity(), 128);
}

// Fills the sort arrays of a queue with the keys and indices 0, 1, 2 ... and sorts them.
std::vector<int32_t> SortOrder(TSXRenderingQueue& Queue, const std::vector<float>& Keys) {
  for (size_t i = 0; i < Keys.size(); ++i) {
    Queue.SortKey()[i] = Keys[i];
    Queue.SortIndex()[i] = int32_t(i);
  }
  Queue.SortByDepth(0, int32_t(Keys.size()) - 1);
  return std::vector<int32_t>(Queue.SortIndex().begin(), Queue.SortIndex().begin() + ptrdiff_t(Keys.size()));
}

TEST_F(SXSceneTest, SortByDepthPutsTheFarthestFirstWithItsOwnOrderForTies) {
  TSXRenderingQueue& queue = scene_->TranslucentQueue();
  EXPECT_EQ(SortOrder(queue, {0.2f, 0.9f, 0.5f}), (std::vector<int32_t>{1, 2, 0}));
  // Ties come out in the order this partition scheme leaves them (worked through by hand).
  EXPECT_EQ(SortOrder(queue, {1.0f, 1.0f, 1.0f}), (std::vector<int32_t>{2, 1, 0}));
  EXPECT_EQ(SortOrder(queue, {0.5f, 0.5f, 1.0f, 0.0f}), (std::vector<int32_t>{2, 1, 0, 3}));
  EXPECT_EQ(SortOrder(queue, {0.0f}), (std::vector<int32_t>{0}));
  EXPECT_EQ(SortOrder(queue, {3, 1, 4, 1, 5, 9, 2, 6}), (std::vector<int32_t>{5, 7, 4, 2, 0, 6, 1, 3}));
}

TEST_F(SXSceneTest, TranslucentQuadsAreDrawnFarthestFirstAndNegativeDepthNotAtAll) {
  // Half-transparent quads over black: each one halves what lies below, so the result shows the order.
  Sprite(10, 10, Quad(4, 4, 0x80FF0000), nullptr, 2, 0.2f);
  Sprite(10, 10, Quad(4, 4, 0x8000FF00), nullptr, 2, 0.9f);
  Sprite(10, 10, Quad(4, 4, 0x800000FF), nullptr, 2, 0.5f);
  Sprite(10, 10, Quad(4, 4, 0xFFFFFFFF), nullptr, 2, -0.1f);
  const uint32_t drawsBefore = Stats().DrawCalls;
  Frame(0x000000);
  EXPECT_EQ(Stats().DrawCalls - drawsBefore, 3u);
  // Green (0.9) first, then blue (0.5), then red (0.2): red 128, green 32, blue 64.
  const uint32_t pixel = Screen(11, 11);
  EXPECT_NEAR(int((pixel >> 16) & 0xFF), 128, 2);
  EXPECT_NEAR(int((pixel >> 8) & 0xFF), 32, 2);
  EXPECT_NEAR(int(pixel & 0xFF), 64, 2);
}

TEST_F(SXSceneTest, OpaqueQuadsKeepSubmissionOrderAndOverlayComesLast) {
  Sprite(0, 0, Quad(8, 8, 0xFFFFFFFF), nullptr, 2, 0.0f, /*overlay=*/true);
  Sprite(0, 0, Quad(8, 8, 0xFF0000FF), nullptr, 0, 0.9f);
  Sprite(4, 0, Quad(8, 8, 0xFF00FF00), nullptr, 0, 0.1f);
  Sprite(4, 0, Quad(8, 8, 0xFFFF0000), nullptr, 0, 0.5f);
  Sprite(0, 0, Quad(2, 2, 0xFF808080), nullptr, 2, 0.3f);
  Frame(0x000000);
  EXPECT_EQ(Screen(1, 1), 0xFFFFFFu) << "the overlay covers everything drawn before it";
  EXPECT_EQ(Screen(9, 4), 0xFF0000u) << "the later opaque quad wins whatever the depths";
  EXPECT_EQ(Screen(11, 4), 0xFF0000u);
}

TEST_F(SXSceneTest, NegativeDepthOpaqueQuadIsNotDrawn) {
  Sprite(0, 0, Quad(4, 4, 0xFFFF0000), nullptr, 0, -1.0f);
  const uint32_t drawsBefore = Stats().DrawCalls;
  Frame(0x000080);
  EXPECT_EQ(Stats().DrawCalls, drawsBefore);
  EXPECT_EQ(Screen(1, 1), 0x000080u);
}

TEST_F(SXSceneTest, AlikeQuadsChangeNoStateBetweenTheirDrawCalls) {
  TDGTexture* texture = SolidTexture(4, 4, 0xFFFFFFFF);
  TDGTexture* other = SolidTexture(4, 4, 0xFF000000);
  Sprite(0, 0, Quad(4, 4), texture, 2);
  TD3D9DeviceStats before = Stats();
  Frame(0);
  const uint32_t oneQuadStates = Stats().StateChanges() - before.StateChanges();
  EXPECT_EQ(Stats().DrawCalls - before.DrawCalls, 1u);

  for (int i = 0; i < 5; ++i) Sprite(float(i * 4), 0, Quad(4, 4), texture, 2);
  before = Stats();
  Frame(0);
  EXPECT_EQ(Stats().DrawCalls - before.DrawCalls, 5u);
  // Each further quad costs only its SetFVF; sampler, blend, texture and fixed states are cached.
  EXPECT_EQ(Stats().StateChanges() - before.StateChanges(), oneQuadStates + 4 * 1);
  EXPECT_EQ(Stats().Textures - before.Textures, 1u + 1u + 1u + 1u + 1u)
      << "one start binding per queue (3), the texture once, the unbinding at the end";

  // A change of texture costs exactly one SetTexture.
  Sprite(0, 0, Quad(4, 4), texture, 2);
  Sprite(4, 0, Quad(4, 4), other, 2);
  before = Stats();
  Frame(0);
  EXPECT_EQ(Stats().Textures - before.Textures, 6u);
  EXPECT_EQ(Stats().StateChanges() - before.StateChanges(), oneQuadStates + 1 + 1);
}

TEST_F(SXSceneTest, QueuesKeptByRenderFalseAreDrawnAgain) {
  Sprite(0, 0, Quad(4, 4), nullptr, 0);
  Sprite(0, 0, Quad(4, 4), nullptr, 1);
  Sprite(0, 0, Quad(4, 4), nullptr, 0, 0.0f, true);
  const uint32_t drawsBefore = Stats().DrawCalls;
  Frame(0, /*clearQueues=*/false);
  EXPECT_EQ(scene_->OpaqueQueue().QuadCount(), 1);
  EXPECT_EQ(scene_->TranslucentQueue().QuadCount(), 1);
  EXPECT_EQ(scene_->OverlayQueue().QuadCount(), 1);
  Frame(0, /*clearQueues=*/true);
  EXPECT_EQ(Stats().DrawCalls - drawsBefore, 6u);
  EXPECT_EQ(
      scene_->OpaqueQueue().QuadCount() + scene_->TranslucentQueue().QuadCount() + scene_->OverlayQueue().QuadCount(),
      0);
}

TEST_F(SXSceneTest, ViewportAndProjectionComeBackAfterResetAndRecreation) {
  IDirect3DDevice9* d3d = device_->D3DDevice();
  const D3DVIEWPORT9 small{10, 10, 20, 20, 0.0f, 1.0f};
  d3d->SetViewport(&small);
  D3DMATRIX identity{};
  identity._11 = identity._22 = identity._33 = identity._44 = 1.0f;
  d3d->SetTransform(D3DTS_PROJECTION, &identity);
  D3D9LoseDevice(d3d, 1);
  d3d->TestCooperativeLevel();
  device_->ResetDevice();
  D3DVIEWPORT9 viewport{};
  d3d->GetViewport(&viewport);
  EXPECT_EQ(viewport.X, 0u);
  EXPECT_EQ(viewport.Width, 800u);
  EXPECT_EQ(viewport.Height, 600u);
  D3DMATRIX projection{};
  d3d->GetTransform(D3DTS_PROJECTION, &projection);
  EXPECT_EQ(std::memcmp(&projection, &scene_->Projection(), sizeof projection), 0);

  SetWindowMode800();
  ASSERT_NE(device_->D3DDevice(), nullptr);
  device_->D3DDevice()->GetViewport(&viewport);
  EXPECT_EQ(viewport.Width, 800u);
  EXPECT_EQ(viewport.Height, 600u);
  device_->D3DDevice()->GetTransform(D3DTS_PROJECTION, &projection);
  EXPECT_EQ(std::memcmp(&projection, &scene_->Projection(), sizeof projection), 0);
}

TEST_F(SXSceneTest, DestroyingTheSceneUnregistersIt) {
  const int32_t id = scene_->ResourceID();
  EXPECT_TRUE(device_->Resources().IsRegistered(id));
  scene_.reset();
  EXPECT_FALSE(device_->Resources().IsRegistered(id));
  EXPECT_GE(FindLine("VUDaderリソース(TSXScene) : ID 0() を登録解除します"), 0);
}

TEST_F(SXSceneTest, AlphaTestPresetDrawsOnlyTexelsAbove128) {
  TDGTexture* texture = SolidTexture(2, 1, 0xFF000000);
  texture->Fill(MakeRect(0, 0, 1, 1), 0x81FFFFFF, false);
  texture->Fill(MakeRect(1, 0, 2, 1), 0x80FFFFFF, false);
  Sprite(0, 0, Quad(2, 1), texture, 5);
  Frame(0x000040);
  EXPECT_EQ(Screen(0, 0), 0xFFFFFFu) << "drawn without blending";
  EXPECT_EQ(Screen(1, 0), 0x000040u);
}

TEST_F(SXSceneTest, AnAlphaTestedQuadLeavesNoAlphaTestToLaterQueuesOrFrames) {
  // A preset-0 quad draws its texels whatever their alpha, also after a preset-5 quad of an earlier queue.
  TDGTexture* tested = SolidTexture(2, 2, 0xFFFFFFFF);
  TDGTexture* half = SolidTexture(2, 2, 0x80FF0000);
  Sprite(0, 0, Quad(2, 2), tested, 5);
  Sprite(4, 0, Quad(2, 2), half, 0, 0.0f, /*overlay=*/true);
  Frame(0x000040);
  EXPECT_EQ(Screen(4, 0), 0xFF0000u) << "overlay of the same frame";
  Sprite(4, 0, Quad(2, 2), half, 0);
  Frame(0x000040);
  EXPECT_EQ(Screen(4, 0), 0xFF0000u) << "next frame";
}

TEST_F(SXSceneTest, AQueueLeavesTheSamplersAsItFoundThemAndItsBlendedQuadsWriteNoDepth) {
  IDirect3DDevice9* d3d = device_->D3DDevice();
  d3d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR);
  d3d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  Sprite(0, 0, Quad(2, 2), SolidTexture(2, 2, 0x80FFFFFF), 2);
  d3d->BeginScene();
  scene_->TranslucentQueue().DrawQueue(false, true);
  DWORD zwrite = 1, address = 0, filter = 0;
  d3d->GetRenderState(D3DRS_ZWRITEENABLE, &zwrite);
  d3d->GetSamplerState(0, D3DSAMP_ADDRESSU, &address);
  d3d->GetSamplerState(0, D3DSAMP_MAGFILTER, &filter);
  d3d->EndScene();
  EXPECT_EQ(zwrite, 0u);
  EXPECT_EQ(address, DWORD(D3DTADDRESS_MIRROR));
  EXPECT_EQ(filter, DWORD(D3DTEXF_LINEAR));
}

TEST_F(SXSceneTest, AdditivePresetAddsTheTextureWeightedByItsAlpha) {
  TDGTexture* texture = SolidTexture(1, 1, 0x80808080);
  Sprite(0, 0, Quad(1, 1), texture, 1);
  Frame(0x202020);
  const uint32_t pixel = Screen(0, 0);
  EXPECT_NEAR(int(pixel & 0xFF), 0x20 + 0x40, 2);
  EXPECT_NEAR(int((pixel >> 16) & 0xFF), 0x20 + 0x40, 2);
}

}  // namespace
