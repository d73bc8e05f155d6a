#include "GraphicDefs.h"

#include "Exception.h"
#include "TextCase.h"
#include "TextEncoding.h"

TGraphicDefList::TGraphicDefList(TVUDader* Device) : FDevice(Device) {}

TGraphicDefList::~TGraphicDefList() { Clear(); }

void TGraphicDefList::Add(const std::string& Id, TGraphicDef* Def) {
  FItems.emplace_back(Id, std::unique_ptr<TGraphicDef>(Def));
  index_[UpperCaseText(Id)] = FItems.size() - 1;
}

TGraphicDef* TGraphicDefList::Find(const std::string& Id) const {
  if (Id.empty()) throw Exception(Jp("空のグラフィックIDは指定できません"));
  auto found = index_.find(UpperCaseText(Id));
  if (found == index_.end()) throw Exception("\"" + Id + "\"" + Jp("は定義されていないグラフィックIDです"));
  return FItems[found->second].second.get();
}

void TGraphicDefList::Clear() {
  for (auto& item : FItems) item.second.reset();
  FItems.clear();
  index_.clear();
}

TSpriteDef* FindSprite(const TGraphicDefList& List, const std::string& Id) {
  auto* sprite = dynamic_cast<TSpriteDef*>(List.Find(Id));
  if (sprite == nullptr) throw Exception("\"" + Id + "\"" + Jp("はスプライトとして定義されていなければなりません"));
  return sprite;
}
