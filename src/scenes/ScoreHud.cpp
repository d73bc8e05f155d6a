#include "ScoreHud.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "CustomScene.h"
#include "DGTexture.h"
#include "Drawable.h"
#include "GraphicDefs.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "SXTypes.h"
#include "TextEncoding.h"
#include "s_MathPack.h"

namespace {
constexpr const char* kFont = "ＭＳ ゴシック";
constexpr int32_t kFontSize = 16;
constexpr std::string_view kDigits = "0123456789";
constexpr int32_t kLabelGap = 8;  // between "SCORE" and the number

// A ship of the reserve: the ship's picture placed by its own origin, drawn at the icon's size on the overlay.
class TLifeIcon : public TDrawable {
 public:
  explicit TLifeIcon(const TDrawPlacement& At) : at_(At) {}
  TDrawPlacement Placement() const override { return at_; }

 private:
  TDrawPlacement at_;
};
}  // namespace

TScoreHud::TScoreHud(TCustomScene& Scene) : scene_(Scene) {
  label_ = scene_.CreateTextTexture("SCORE", Jp(kFont), kFontSize);
  digits_ = scene_.CreateTextTexture(std::string(kDigits), Jp(kFont), kFontSize);
  // The writer still holds the digits' font: each digit's cell is where the pen stood before and after it.
  for (size_t i = 0; i <= kDigits.size(); ++i) digitX_[i] = scene_.TextWriter()->TextWidth(kDigits.substr(0, i));
}

TScoreHud::~TScoreHud() = default;

void TScoreHud::Draw(uint32_t Score, int32_t Reserve, TGraphicDef* Ship, uint32_t Elapsed) {
  scene_.DrawTexture(kScoreX, kScoreY, true, false, kLabelColor, label_.get());
  DrawNumber(Score, kScoreX + static_cast<int32_t>(label_->Width()) + kLabelGap, kScoreY);
  DrawLives(Reserve, Ship, Elapsed);
}

void TScoreHud::DrawNumber(uint32_t Value, int32_t X, int32_t Y) {
  std::array<uint8_t, 10> digits{};
  size_t count = 0;
  do {
    digits[count++] = static_cast<uint8_t>(Value % 10);
    Value /= 10;
  } while (Value != 0);
  const float width = static_cast<float>(digits_->Width());
  const float h = static_cast<float>(digits_->Height()), v = digits_->MaxV();
  const uint32_t color = kScoreColor | 0xFF000000u;
  float x = static_cast<float>(X);
  while (count > 0) {
    const uint8_t d = digits[--count];
    const float left = static_cast<float>(digitX_[d]), right = static_cast<float>(digitX_[d + 1]);
    const float u0 = digits_->MaxU() * left / width, u1 = digits_->MaxU() * right / width;
    const float w = right - left;
    const std::array<TSXVertexSP, 4> corners = {TSXVertexSP{0, 0, color, 0, u0, 0}, TSXVertexSP{w, 0, color, 0, u1, 0},
                                                TSXVertexSP{0, h, color, 0, u0, v}, TSXVertexSP{w, h, color, 0, u1, v}};
    scene_.SpriteScene()->DrawSprite(TVector2{x, static_cast<float>(Y)}, corners, digits_.get(), 2, false, true, 0.0f,
                                     D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
    x += w;
  }
}

void TScoreHud::IconSize(int32_t Width, int32_t Height, int32_t& IconWidth, int32_t& IconHeight) {
  const int64_t w = std::max(Width, 1), h = std::max(Height, 1);
  // The strongest of the reductions wins: to kIconHeight high, to kIconMaxWidth wide, or none (never enlarged).
  if (w <= kIconMaxWidth && h <= kIconHeight) {
    IconWidth = static_cast<int32_t>(w);
    IconHeight = static_cast<int32_t>(h);
  } else if (w * kIconHeight > h * kIconMaxWidth) {
    IconWidth = kIconMaxWidth;
    IconHeight = static_cast<int32_t>(std::max<int64_t>(1, h * kIconMaxWidth / w));
  } else {
    IconHeight = kIconHeight;
    IconWidth = static_cast<int32_t>(std::max<int64_t>(1, w * kIconHeight / h));
  }
}

void TScoreHud::DrawLives(int32_t Reserve, TGraphicDef* Ship, uint32_t Elapsed) {
  if (Ship == nullptr) return;
  int32_t w = 0, h = 0;
  IconSize(Ship->Width, Ship->Height, w, h);
  // With its own size a definition still subtracts its origin unscaled: adding it back puts the icon's top left
  // where it belongs.
  const auto place = [](int64_t At) { return static_cast<int32_t>(std::clamp<int64_t>(At, INT32_MIN, INT32_MAX)); };
  for (int32_t i = 0; i < std::min(Reserve, kMaxIcons); ++i) {
    TDrawPlacement at;
    at.X = place(int64_t{kLivesX} + int64_t{i} * (w + kIconGap) + Ship->OriginX);
    at.Y = place(int64_t{kLivesY} + (kIconHeight - h) / 2 + Ship->OriginY);
    at.OnTop = true;
    at.OwnSize = true;
    at.Width = w;
    at.Height = h;
    at.Elapsed = Elapsed;
    const TLifeIcon icon(at);
    Ship->Draw(&icon, scene_.SpriteScene());
  }
}
