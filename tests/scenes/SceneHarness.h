// A device, sprite renderer and scripted keyboard for driving one scene frame by frame, as the main form does.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "CustomScene.h"
#include "DGTexture.h"
#include "DebugLog.h"
#include "HeadlessWindow.h"
#include "KeyScript.h"
#include "KeyStates.h"
#include "SXScene.h"
#include "SkinFolders.h"
#include "VUDaderDevice.h"

class TSceneHarness {
 public:
  TSceneHarness() : window_(800, 600), keyStates_(keys_) {
    device_ = std::make_unique<TVUDader>(&window_);
    device_->SetDebugOption(TDGDebugOption{});
    device_->Loaded();
    sprites_ = std::make_unique<TSXScene>(device_.get(), "");
  }
  ~TSceneHarness() {
    sprites_.reset();
    device_.reset();
  }

  // Sets the skin list (the names must be usable skins as far as the scene is concerned) and the current skin.
  static void SetSkins(const std::vector<std::string>& Names, const std::string& Current) {
    SkinNames.Clear();
    for (const std::string& name : Names) SkinNames.Add(name);
    CurrentSkin = Current;
  }

  // One frame: keys, Update, then (unless the scene finished) Render inside a device frame and Present.
  void Frame(TCustomScene& Scene) {
    UpdateOnly(Scene);
    if (!Scene.Finished()) Draw(Scene);
  }

  // The drawing half of a frame: Render inside a device frame, the renderer's flush, and Present.
  void Draw(TCustomScene& Scene) {
    IDirect3DDevice9* device = device_->D3DDevice();
    device->BeginScene();
    Scene.Render();
    sprites_->Render(true);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }

  // A frame that is not rendered (as with a lost device): keys and Update only.
  void UpdateOnly(TCustomScene& Scene) {
    keyStates_.Update();
    Scene.Update();
  }

  // ARGB of a pixel of the last presented frame.
  uint32_t Screen(int X, int Y) const { return window_.Capture().Pixel(X, Y); }

  // Alpha of every pixel of a texture's image, row by row.
  static std::vector<uint8_t> Alpha(TDGTexture& Texture) {
    std::vector<uint8_t> alpha;
    const LONG w = static_cast<LONG>(Texture.Width()), h = static_cast<LONG>(Texture.Height());
    const D3DLOCKED_RECT lock = Texture.LockRect(0, RECT{0, 0, w, h}, D3DLOCK_READONLY);
    if (lock.pBits != nullptr) {
      for (LONG y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(lock.pBits) + y * lock.Pitch);
        for (LONG x = 0; x < w; ++x) alpha.push_back(static_cast<uint8_t>(row[x] >> 24));
      }
    }
    Texture.UnlockRect();
    return alpha;
  }

  TSXScene* Sprites() { return sprites_.get(); }
  TKeyStates* Keys() { return &keyStates_; }
  TScriptedKeySource& KeySource() { return keys_; }
  THeadlessWindow& Window() { return window_; }

 private:
  THeadlessWindow window_;
  TScriptedKeySource keys_;
  TKeyStates keyStates_;
  std::unique_ptr<TVUDader> device_;
  std::unique_ptr<TSXScene> sprites_;
};
