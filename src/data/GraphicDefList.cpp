#include "GraphicDefs.h"

#include "Exception.h"
#include "TextEncoding.h"

std::string UpperCaseId(const std::string& Id) {
  std::string upper = Id;
  for (size_t i = 0; i < upper.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(upper[i]);
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (lead) {
      ++i;  // the trail byte may look like a letter; it is part of the character
    } else if (c >= 'a' && c <= 'z') {
      upper[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return upper;
}

TGraphicDefList::TGraphicDefList(TVUDader* Device) : Device_(Device) {}

TGraphicDefList::~TGraphicDefList() { Clear(); }

void TGraphicDefList::Add(const std::string& Id, TGraphicDef* Def) {
  Items_.emplace_back(Id, std::unique_ptr<TGraphicDef>(Def));
  Index_[UpperCaseId(Id)] = Items_.size() - 1;
}

TGraphicDef* TGraphicDefList::Find(const std::string& Id) const {
  if (Id.empty()) throw Exception(Jp("空のグラフィックIDは指定できません"));
  auto found = Index_.find(UpperCaseId(Id));
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
