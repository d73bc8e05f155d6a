// Reading graphicdef.xml into a graphic definition list: sprites first, then animations, so animation
// entries may refer to sprites defined anywhere in the file.
#pragma once
#include <memory>
#include <string>

#include "GraphicDefs.h"
#include "SkinPlace.h"
#include "XmlDocument.h"

// Adds the definitions of Place's xml/graphicdef.xml to List. False (nothing added) when the skin's picture
// folder or the file is missing or the root element has no child nodes. Raises the first error met; every
// definition added before it stays in the list.
bool LoadGraphicDefs(TGraphicDefList& List, const TSkinPlace& Place);

// The state of one load: the list being filled, the skin and the id being read.
class TGraphicDefLoader {
 public:
  TGraphicDefLoader(TGraphicDefList& List, const TSkinPlace& Place);

  bool Load();

  // A sprite definition, or false (and none) when its image rectangle is empty.
  bool ParseSprite(const TXmlNode& Node, std::unique_ptr<TSpriteDef>& Def);
  bool ParseAnimation(const TXmlNode& Node, std::unique_ptr<TAnimationDef>& Def);
  bool ParseAnimationFrame(const TXmlNode& Node, std::unique_ptr<TAnimationSpriteDef>& Entry);
  // A texture holding that rectangle of the sprite's picture, magenta keyed transparent.
  std::unique_ptr<TDGTexture> LoadSpriteImage(const TXmlNode& Node, const TRect& Rect);

  // The id of the definition being read (named by the messages).
  const std::string& CurrentId() const { return CurrentId_; }

 private:
  // "id" + the number of definitions so far, unless the element names its id.
  std::string ReadId(const TXmlNode& Node) const;

  TGraphicDefList& List_;
  TSkinPlace Place_;
  std::string CurrentId_;
};
