#include "GraphicDefLoader.h"

#include <cstdio>

#include "DGTexture.h"
#include "Exception.h"
#include "RasterBitmap.h"
#include "TextEncoding.h"
#include "XmlReaders.h"

namespace {
// Two's-complement arithmetic for values straight from the file: extreme numbers wrap instead of overflowing.
int32_t WrapSub(int32_t A, int32_t B) {
  return static_cast<int32_t>(static_cast<uint32_t>(A) - static_cast<uint32_t>(B));
}

TRect DefaultHitArea(TPoint Origin, int32_t Width, int32_t Height) {
  return TRect{WrapSub(0, Origin.X), WrapSub(0, Origin.Y), WrapSub(Width, Origin.X), WrapSub(Height, Origin.Y)};
}

// Entries of one animation: the bundled ones have at most a dozen; 10000 is nearly three minutes of a new
// picture every frame.
constexpr int32_t kAnimationEntryLimit = 10000;

std::string Format(const char* Utf8Format, const std::string& Text) {
  std::string format = Jp(Utf8Format);
  size_t at = format.find("%s");
  return at == std::string::npos ? format : format.substr(0, at) + Text + format.substr(at + 2);
}
}  // namespace

bool LoadGraphicDefs(TGraphicDefList& List, const TSkinPlace& Place) { return TGraphicDefLoader(List, Place).Load(); }

bool TGraphicDefList::Load(const TSkinPlace& Place) { return LoadGraphicDefs(*this, Place); }

TGraphicDefLoader::TGraphicDefLoader(TGraphicDefList& List, const TSkinPlace& Place, TPictureBudget Budget)
    : list_(List), place_(Place), budget_(Budget) {}

std::string TGraphicDefLoader::ReadId(const TXmlNode& Node) const {
  return ReadValue(Node, "id", "id" + std::to_string(list_.Count())).AsText();
}

bool TGraphicDefLoader::Load() {
  // Without its picture folder or its definition file a skin could only fail later, at the first id the game
  // looks up, with a message that points nowhere near the cause: the missing one is named at once.
  if (place_.FindGraphicFolder().empty()) throw Exception(Format("存在しないファイル名です (%s)", place_.GraphicDir()));
  const std::string definitionFile = place_.FindXmlFile("graphicdef.xml");
  if (definitionFile.empty())
    throw Exception(Format("存在しないファイル名です (%s)", place_.XmlDir() + "graphicdef.xml"));
  TXmlDocument document(definitionFile);
  TXmlNode root = document.DocumentElement();
  if (!root.HasChildNodes()) return false;
  for (TXmlNode node = root.FirstChild(); node; node = node.NextSibling()) {
    currentId_ = ReadId(node);
    if (currentId_.empty() || !node.IsNamed("sprite")) continue;
    std::unique_ptr<TSpriteDef> sprite;
    if (ParseSprite(node, sprite)) list_.Add(currentId_, sprite.release());
  }
  for (TXmlNode node = root.FirstChild(); node; node = node.NextSibling()) {
    currentId_ = ReadId(node);
    if (currentId_.empty() || !node.IsNamed("animation")) continue;
    std::unique_ptr<TAnimationDef> animation;
    if (ParseAnimation(node, animation)) list_.Add(currentId_, animation.release());
  }
  return true;
}

bool TGraphicDefLoader::ParseSprite(const TXmlNode& Node, std::unique_ptr<TSpriteDef>& Def) {
  TRect rect = ReadRect(Node, "imagerect", TRect{});
  if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return false;
  auto def = std::make_unique<TSpriteDef>();
  def->Width = ReadValue(Node, "width", WrapSub(rect.Right, rect.Left)).AsInteger();
  def->Height = ReadValue(Node, "height", WrapSub(rect.Bottom, rect.Top)).AsInteger();
  def->Texture = LoadSpriteImage(Node, rect);
  TPoint origin = ReadPoint(Node, "origin", TPoint{0, 0});
  def->OriginX = origin.X;
  def->OriginY = origin.Y;
  int32_t imageWidth = static_cast<int32_t>(def->Texture->Width());
  int32_t imageHeight = static_cast<int32_t>(def->Texture->Height());
  def->HitArea = ReadRect(Node, "hitarea", DefaultHitArea(origin, imageWidth, imageHeight));
  uint32_t base = ReadVertexColor(Node, "color", 0xFFFFFFFF);
  static const char* const kCorners[4] = {"lt", "rt", "lb", "rb"};
  for (int i = 0; i < 4; ++i) def->VertexColors[i] = ReadVertexColor(Node, kCorners[i], base);
  def->BlendMode = BlendModeFromName(ReadValue(Node, "blendmode", "default").AsText());
  Def = std::move(def);
  return true;
}

std::unique_ptr<TDGTexture> TGraphicDefLoader::LoadSpriteImage(const TXmlNode& Node, const TRect& Rect) {
  std::string name = ReadValue(Node, "filename", "").AsText();
  const std::string path = place_.FindPicture(name);
  if (path.empty()) throw Exception(Format("存在しないファイル名です (%s)", name));
  int32_t width = WrapSub(Rect.Right, Rect.Left);
  int32_t height = WrapSub(Rect.Bottom, Rect.Top);
  if (width <= 0 || height <= 0) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, " Left=%d Top=%d Right=%d Bottom=%d)", Rect.Left, Rect.Top, Rect.Right,
                  Rect.Bottom);
    throw Exception(Jp("イメージ範囲の指定が不正です (ID=") + currentId_ + numbers);
  }
  const TRasterBitmap& picture = Picture(path);
  TRasterBitmap cut(width, height);
  spriteBytes_ += uint64_t{4} * static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  if (spriteBytes_ > budget_.SpriteBytes) {
    throw Exception(Jp("スプライトの合計が大きすぎます (上限 ") + std::to_string(budget_.SpriteBytes >> 20) +
                    " MiB, ID=" + currentId_ + ")");
  }
  cut.CopyRect(0, 0, picture, Rect.Left, Rect.Top, width, height);

  auto texture = CreateSceneTexture(list_.Device());
  texture->LoadFromBitmap(cut);
  texture->SetColorKey(MakeRect(0, 0, static_cast<int32_t>(texture->Width()), static_cast<int32_t>(texture->Height())),
                       0xFF00FF);
  return texture;
}

const TRasterBitmap& TGraphicDefLoader::Picture(const std::string& Path) {
  std::unique_ptr<TRasterBitmap>& picture = pictures_[Path];
  if (picture) return *picture;
  auto decoded = std::make_unique<TRasterBitmap>();
  decoded->LoadFromFile(Path);
  pictureBytes_ += uint64_t{4} * static_cast<uint64_t>(decoded->Width()) * static_cast<uint64_t>(decoded->Height());
  if (pictureBytes_ > budget_.PictureBytes) {
    pictures_.erase(Path);
    throw Exception(Jp("スキンの画像の合計が大きすぎます (上限 ") + std::to_string(budget_.PictureBytes >> 20) +
                    " MiB): " + Path);
  }
  picture = std::move(decoded);
  return *picture;
}

bool TGraphicDefLoader::ParseAnimation(const TXmlNode& Node, std::unique_ptr<TAnimationDef>& Def) {
  auto def = std::make_unique<TAnimationDef>();
  def->MaxFrame = ReadValue(Node, "maxframe", int32_t{0}).AsCardinal();
  if (def->MaxFrame == 0) throw Exception(Format("最大フレーム数は0より大きい数字を指定して下さい(ID:%s)", currentId_));
  def->Repeat = ReadValue(Node, "repeat", false).AsBoolean();
  def->Width = ReadValue(Node, "width", int32_t{0}).AsInteger();
  def->Height = ReadValue(Node, "height", int32_t{0}).AsInteger();
  TPoint origin = ReadPoint(Node, "origin", TPoint{0, 0});
  def->OriginX = origin.X;
  def->OriginY = origin.Y;
  def->HitArea = ReadRect(Node, "hitarea", DefaultHitArea(origin, def->Width, def->Height));
  for (TXmlNode child = Node.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsNamed("sprite")) continue;
    std::unique_ptr<TAnimationSpriteDef> entry;
    if (def->FrameCount() >= kAnimationEntryLimit) {
      throw Exception(Format("アニメーションのフレームが多すぎます (上限 10000, ID:%s)", currentId_));
    }
    if (ParseAnimationFrame(child, entry)) def->AddFrame(entry.release());
  }
  def->SortFrames();
  Def = std::move(def);
  return true;
}

bool TGraphicDefLoader::ParseAnimationFrame(const TXmlNode& Node, std::unique_ptr<TAnimationSpriteDef>& Entry) {
  auto entry = std::make_unique<TAnimationSpriteDef>();
  entry->Alpha = static_cast<uint8_t>(ReadValue(Node, "alpha", int32_t{255}).AsInteger() & 0xFF);
  entry->Frame = ReadValue(Node, "frame", int32_t{0}).AsCardinal();
  std::string ref = ReadValue(Node, "ref", "").AsText();
  TGraphicDef* def = list_.Find(ref);
  auto* sprite = dynamic_cast<TSpriteDef*>(def);
  if (sprite == nullptr) {
    throw Exception(Format("アニメーション定義からスプライト以外を参照しています(ID:%s)", currentId_));
  }
  entry->Sprite = sprite;
  Entry = std::move(entry);
  return true;
}
