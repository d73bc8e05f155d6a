// morvanth-textshot OUT.png: renders Latin and Japanese text lines with the game's text writer into
// textures, draws them as the scenes do (centred alpha-blended quads) on the headless software
// device and writes the presented 800 x 600 frame as a PNG. For checking text rendering by eye.
#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "DGTexture.h"
#include "HeadlessWindow.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "SXTypes.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"

namespace {

struct TLine {
  const char* Text;  // UTF-8
  const char* Face;  // UTF-8
  int32_t Points;
  uint32_t Color;
  TFontStyles Style;
};

constexpr TLine Lines[] = {
    {"MORVANTH", "Times New Roman", 40, 0xFFFFFF, 0},
    {"PRESS ENTER", "ＭＳ ゴシック", 20, 0xFFFFFF, 0},
    {"ステージ１", "ＭＳ ゴシック", 20, 0xFFFFFF, 0},
    {"ゲームオーバー", "ＭＳ ゴシック", 40, 0xFF8000, 0},
    {"スキン選択：← →　Ｚ：ショット　Ｃ：パワーアップ", "ＭＳ Ｐゴシック", 16, 0xA0A0A0, 0},
    {"The quick brown fox jumps over the lazy dog 0123456789", "Times New Roman", 16, 0xFFFFFF, 0},
    {"Bold ＭＳ ゴシック 太字  Italic 斜体", "ＭＳ ゴシック", 20, 0xFFFFFF, fsBold | fsItalic},
    {"漢字・ひらがな・カタカナ・ﾊﾝｶｸｶﾅ・ＡＢＣ・①②③", "ＭＳ Ｐゴシック", 20, 0x80FFFF, 0},
};

// Queues a texture as one centred rectangle, the way the scenes show text textures.
void QueueTexture(TSXScene& Scene, float X, float Y, uint32_t Color, TDGTexture& Texture) {
  const float w = float(Texture.Width()), h = float(Texture.Height());
  const uint32_t diffuse = Color | 0xFF000000u;
  const std::array<TSXVertexSP, 4> vertices{{
      {0, 0, diffuse, 0, 0, 0},
      {w, 0, diffuse, 0, Texture.MaxU(), 0},
      {0, h, diffuse, 0, 0, Texture.MaxV()},
      {w, h, diffuse, 0, Texture.MaxU(), Texture.MaxV()},
  }};
  Scene.DrawSprite(Vector2(X, Y), vertices, &Texture, 2, false, true, 0.0f, D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: morvanth-textshot OUT.png\n");
    return 2;
  }
  try {
    THeadlessWindow window(800, 600);
    TVUDader device(&window);
    device.SetDebugOption({});  // as shipped: no log, no halt
    device.Loaded();
    TSXScene scene(&device, "");
    TSXTextWriter writer(&device, D3DFMT_A8R8G8B8, 16);

    std::vector<std::unique_ptr<TDGTexture>> textures;
    int32_t y = 40;
    for (const TLine& line : Lines) {
      auto texture = CreateSceneTexture(&device);
      writer.Font.Name = ToCP932(line.Face);
      writer.Font.SetSize(line.Points);
      writer.Font.Style = line.Style;
      writer.DrawTextTexture(*texture, ToCP932(line.Text));
      const int32_t x = (800 - int32_t(texture->Width())) / 2;
      QueueTexture(scene, float(x), float(y), line.Color, *texture);
      y += int32_t(texture->Height()) + 16;
      textures.push_back(std::move(texture));
    }

    IDirect3DDevice9* d3d = device.D3DDevice();
    if (!d3d) throw Exception("no Direct3D device");
    d3d->BeginScene();
    scene.Clear(D3DCLEAR_TARGET, 0xFF182040, 1.0f, 0);
    scene.Render(true);
    d3d->EndScene();
    d3d->Present(nullptr, nullptr, nullptr, nullptr);
    window.Capture().SavePng(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanth-textshot: %s\n", ToUTF8(e.what()).c_str());
    return 1;
  }
  return 0;
}
