#include "GraphicDefs.h"

#include "Exception.h"
#include "TextCase.h"
#include "TextEncoding.h"

TGraphicDefList::TGraphicDefList(TVUDader* Device) : Device_(Device) {}

TGraphicDefList::~TGraphicDefList() { Clear(); }

void TGraphicDefList::Add(const std::string& Id, TGraphicDef* Def) {
  Items_.emplace_back(Id, std::unique_ptr<TGraphicDef>(Def));
  Index_[UpperCaseText(Id)] = Items_.size() - 1;
}

TGraphicDef* TGraphicDefList::Find(const std::string& Id) const {
  if (Id.empty()) throw Exception(Jp("空のグラフィックIDは指定できません"));
  auto found = Index_.find(UpperCaseText(Id));
  if (found == Index_.end()) throw Exception("\"" + Id + "\"" + Jp("は定義されていないグラフィックIDです"));
  return Items_[found->second].second.get();
}

void TGraphicDefList::Clear() {
  for (auto& item : Items_) item.second.reset();
  Items_.clear();
  Index_.clear();
}

TSpriteDef* FindSprite(const TGraphicDefList& List, const std::string& Id) {
  auto* sprite = dynamic_cast<TSpriteDef*>(List.Find(Id));
  if (sprite == nullptr) throw Exception("\"" + Id + "\"" + Jp("はスプライトとして定義されていなければなりません"));
  return sprite;
}
