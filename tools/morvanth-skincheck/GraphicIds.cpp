#include "GraphicIds.h"

#include "GraphicDefs.h"

TGraphicIds::TGraphicIds(const TGraphicDefList& Graphics) {
  for (int32_t i = 0; i < Graphics.Count(); ++i) ids_[Graphics.ItemAt(i)] = Graphics.IdAt(i);
}

const std::string* TGraphicIds::Find(const TGraphicDef* Def) const {
  auto found = ids_.find(Def);
  return found == ids_.end() ? nullptr : &found->second;
}

const std::string& TGraphicIds::Of(const TGraphicDef* Def) const {
  static const std::string kNone;
  const std::string* id = Find(Def);
  return id != nullptr ? *id : kNone;
}
