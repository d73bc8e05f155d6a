// Reading graphicdef.xml into a graphic definition list: sprites first, then animations, so animation
// entries may refer to sprites defined anywhere in the file.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "GraphicDefs.h"
#include "RasterBitmap.h"
#include "SkinPlace.h"
#include "XmlDocument.h"

// Adds the definitions of Place's xml/graphicdef.xml to List. False (nothing added) when the skin's picture
// folder or the file is missing or the root element has no child nodes. Raises the first error met; every
// definition added before it stays in the list.
bool LoadGraphicDefs(TGraphicDefList& List, const TSkinPlace& Place);

// What one skin's pictures may cost, at four bytes a pixel (docs/skins.md): the bundled skins decode under
// 2 MiB of pictures and cut under 1 MiB of sprites. 256 MiB of pictures holds two of the decoder's largest;
// the sprites are textures the device keeps for the whole game.
struct TPictureBudget {
  uint64_t PictureBytes = uint64_t{256} << 20;  // every picture decoded
  uint64_t SpriteBytes = uint64_t{256} << 20;   // every sprite cut
};

// The state of one load: the list being filled, the skin and the id being read.
class TGraphicDefLoader {
 public:
  TGraphicDefLoader(TGraphicDefList& List, const TSkinPlace& Place, TPictureBudget Budget = {});

  bool Load();

  // A sprite definition, or false (and none) when its image rectangle is empty.
  bool ParseSprite(const TXmlNode& Node, std::unique_ptr<TSpriteDef>& Def);
  bool ParseAnimation(const TXmlNode& Node, std::unique_ptr<TAnimationDef>& Def);
  bool ParseAnimationFrame(const TXmlNode& Node, std::unique_ptr<TAnimationSpriteDef>& Entry);
  // A texture holding that rectangle of the sprite's picture, magenta keyed transparent.
  std::unique_ptr<TDGTexture> LoadSpriteImage(const TXmlNode& Node, const TRect& Rect);

  // How many pictures this load has decoded: each at most once, however many sprites are cut from it.
  size_t PicturesDecoded() const { return pictures_.size(); }

  // The id of the definition being read (named by the messages).
  const std::string& CurrentId() const { return currentId_; }

 private:
  // "id" + the number of definitions so far, unless the element names its id.
  std::string ReadId(const TXmlNode& Node) const;

  // The picture at Path, decoded on its first use in this load and shared by every sprite cut from it.
  const TRasterBitmap& Picture(const std::string& Path);

  TGraphicDefList& list_;
  TSkinPlace place_;
  std::string currentId_;
  TPictureBudget budget_;
  std::map<std::string, std::unique_ptr<TRasterBitmap>> pictures_;
  uint64_t pictureBytes_ = 0;  // of the pictures decoded so far
  uint64_t spriteBytes_ = 0;   // of the sprites cut so far
};
