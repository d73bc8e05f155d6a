// Set-up for the sprite renderer's tests: a started device, one TSXScene on it, quads in pixels,
// and whole frames drawn into the headless window's capture.
#pragma once
#include <array>
#include <memory>

#include "DGTexture.h"
#include "SXScene.h"
#include "device/DeviceTestSupport.h"

namespace sxtest {

// A w x h quad with one diffuse colour and texture coordinates (0, 0) - (u, v).
inline std::array<TSXVertexSP, 4> Quad(float w, float h, uint32_t diffuse = 0xFFFFFFFF, float u = 1.0f,
                                       float v = 1.0f) {
  return {TSXVertexSP{0, 0, diffuse, 0, 0, 0}, TSXVertexSP{w, 0, diffuse, 0, u, 0}, TSXVertexSP{0, h, diffuse, 0, 0, v},
          TSXVertexSP{w, h, diffuse, 0, u, v}};
}

class SceneTest : public devicetest::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    StartDevice();
    scene_ = std::make_unique<TSXScene>(device_, "");
  }
  void TearDown() override {
    textures_.clear();
    scene_.reset();
    DeviceTest::TearDown();
  }

  // Queues a plain sprite as the game's definitions do (clamped addressing, point sampling).
  void Sprite(float x, float y, const std::array<TSXVertexSP, 4>& corners, TDGTexture* texture, int32_t blend,
              float z = 0.0f, bool overlay = false) {
    scene_->DrawSprite(TVector2{x, y}, corners, texture, blend, false, overlay, z, D3DTADDRESS_CLAMP,
                       D3DTADDRESS_CLAMP);
  }

  // One frame as the frame loop draws it: clear, flush the queues, present.
  void Frame(uint32_t background, bool clearQueues = true) {
    IDirect3DDevice9* d3d = device_->D3DDevice();
    d3d->BeginScene();
    scene_->Clear(D3DCLEAR_TARGET, background, 1.0f, 0);
    scene_->Render(clearQueues);
    d3d->EndScene();
    d3d->Present(nullptr, nullptr, nullptr, nullptr);
  }

  // The presented colour at (x, y), without alpha.
  uint32_t Screen(int32_t x, int32_t y) const { return window_->Capture().Pixel(x, y) & 0xFFFFFF; }

  TD3D9DeviceStats& Stats() { return D3D9DeviceStats(device_->D3DDevice()); }

  // A managed A8R8G8B8 texture of w x h filled with one ARGB colour.
  TDGTexture* SolidTexture(uint32_t w, uint32_t h, uint32_t argb) {
    textures_.push_back(
        std::make_unique<TDGTexture>(device_, "", std::vector<D3DFORMAT>{D3DFMT_A8R8G8B8}, 0, D3DPOOL_MANAGED, 0));
    TDGTexture* texture = textures_.back().get();
    texture->FillColor = argb;
    texture->SetSize(w, h);
    return texture;
  }

  std::vector<std::unique_ptr<TDGTexture>> textures_;
  std::unique_ptr<TSXScene> scene_;
};

}  // namespace sxtest
