#include "MessageOverlay.h"

#include <array>

#include "DGTexture.h"
#include "Field.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "SXTypes.h"
#include "TextEncoding.h"
#include "TextWrap.h"

namespace {
constexpr const char* kFont = "ＭＳ ゴシック";
constexpr uint32_t kPanel = 0xE0202A48, kBorder = 0xFFB0B8D0, kCaptionColor = 0xFFFFE080, kTextColor = 0xFFFFFFFF;

void Quad(TSXScene* Scene, float Left, float Top, float Right, float Bottom, uint32_t Color, TDGTexture* Texture) {
  const float u = Texture != nullptr ? Texture->MaxU() : 1, v = Texture != nullptr ? Texture->MaxV() : 1;
  const float w = Right - Left, h = Bottom - Top;
  const std::array<TSXVertexSP, 4> corners = {TSXVertexSP{0, 0, Color, 0, 0, 0}, TSXVertexSP{w, 0, Color, 0, u, 0},
                                              TSXVertexSP{0, h, Color, 0, 0, v}, TSXVertexSP{w, h, Color, 0, u, v}};
  Scene->DrawSprite(TVector2{Left, Top}, corners, Texture, 2, false, true, 0.0f, D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
}
}  // namespace

TMessageOverlay::TMessageOverlay(TVUDader* Device, const std::string& Caption, const std::string& Text)
    : writer_(std::make_unique<TSXTextWriter>(Device, D3DFMT_A8R8G8B8, 16)) {
  writer_->Font.Name = Jp(kFont);
  writer_->Font.SetSize(kCaptionSize);
  caption_ = CreateSceneTexture(Device);
  writer_->DrawTextTexture(*caption_, Caption);

  writer_->Font.SetSize(kTextSize);
  const int32_t room = kFieldWidth - 2 * (kMargin + kPadding);
  lines_ = WrapText(Text, [&](const std::string& Line) { return writer_->TextWidth(Line) <= room; });
  for (const std::string& text : lines_) {
    textures_.push_back(CreateSceneTexture(Device));
    if (!text.empty()) writer_->DrawTextTexture(*textures_.back(), text);
  }

  lineHeight_ = writer_->TextHeight("A");
  int32_t height = static_cast<int32_t>(caption_->Height()) + kLineGap * 2;
  height += static_cast<int32_t>(textures_.size()) * (lineHeight_ + kLineGap);
  height += 2 * kPadding;
  top_ = (kFieldHeight - height) / 2;
  bottom_ = top_ + height;
}

TMessageOverlay::~TMessageOverlay() = default;

void TMessageOverlay::Draw(TSXScene* Scene) const {
  constexpr float left = kMargin, right = kFieldWidth - kMargin;
  const auto top = static_cast<float>(top_), bottom = static_cast<float>(bottom_);
  Quad(Scene, left - 1, top - 1, right + 1, bottom + 1, kBorder, nullptr);
  Quad(Scene, left, top, right, bottom, kPanel, nullptr);
  float y = top + kPadding;
  auto text = [&](TDGTexture* Texture, uint32_t Color) {
    if (Texture->Texture() != nullptr) {
      Quad(Scene, left + kPadding, y, left + kPadding + static_cast<float>(Texture->Width()),
           y + static_cast<float>(Texture->Height()), Color, Texture);
    }
  };
  text(caption_.get(), kCaptionColor);
  y += static_cast<float>(caption_->Height()) + kLineGap * 2;
  for (const auto& texture : textures_) {
    text(texture.get(), kTextColor);
    y += static_cast<float>(lineHeight_ + kLineGap);
  }
}
