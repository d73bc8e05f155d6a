// Set-up for the sprite renderer's tests: a started device, one TSXScene on it, quads in pixels,
// and whole frames drawn into the headless window's capture.
#pragma once
#include <array>
#include <memory>

#include "DGTexture.h"
#include "SXScene.h"
#include "device/DeviceTestSupport.h"

namespace sxtest {

// A w x h quad with one diffuse colour and texture coordinates (0, 0) - (U, V).
inline std::array<TSXVertexSP, 4> Quad(float W, float H, uint32_t Diffuse = 0xFFFFFFFF, float U = 1.0f,
                                       float V = 1.0f) {
  return {TSXVertexSP{0, 0, Diffuse, 0, 0, 0}, TSXVertexSP{W, 0, Diffuse, 0, U, 0}, TSXVertexSP{0, H, Diffuse, 0, 0, V},
          TSXVertexSP{W, H, Diffuse, 0, U, V}};
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
  void Sprite(float X, float Y, const std::array<TSXVertexSP, 4>& Corners, TDGTexture* Texture, int32_t Blend,
              float Z = 0.0f, bool Overlay = false) {
    scene_->DrawSprite(TVector2{X, Y}, Corners, Texture, Blend, false, Overlay, Z, D3DTADDRESS_CLAMP,
                       D3DTADDRESS_CLAMP);
  }

  // One frame as the frame loop draws it: clear, flush the queues, present.
  void Frame(uint32_t Background, bool ClearQueues = true) {
    IDirect3DDevice9* d3d = device_->D3DDevice();
    d3d->BeginScene();
    scene_->Clear(D3DCLEAR_TARGET, Background, 1.0f, 0);
    scene_->Render(ClearQueues);
    d3d->EndScene();
    d3d->Present(nullptr, nullptr, nullptr, nullptr);
  }

  // The presented colour at (X, Y), without alpha.
  uint32_t Screen(int32_t X, int32_t Y) const { return window_->Capture().Pixel(X, Y) & 0xFFFFFF; }

  TD3D9DeviceStats& Stats() { return D3D9DeviceStats(device_->D3DDevice()); }

  // A managed A8R8G8B8 texture of w x h filled with one ARGB colour.
  TDGTexture* SolidTexture(uint32_t W, uint32_t H, uint32_t Argb) {
    textures_.push_back(
        std::make_unique<TDGTexture>(device_, "", std::vector<D3DFORMAT>{D3DFMT_A8R8G8B8}, 0, D3DPOOL_MANAGED, 0));
    TDGTexture* texture = textures_.back().get();
    texture->FillColor = Argb;
    texture->SetSize(W, H);
    return texture;
  }

  std::vector<std::unique_ptr<TDGTexture>> textures_;
  std::unique_ptr<TSXScene> scene_;
};

}  // namespace sxtest
