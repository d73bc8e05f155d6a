// The id each definition of a list was added under (a definition shadowed by a later one of the same id keeps its
// own id, though the game finds the later one under it).
#pragma once
#include <string>
#include <unordered_map>

class TGraphicDef;
class TGraphicDefList;

class TGraphicIds {
 public:
  explicit TGraphicIds(const TGraphicDefList& Graphics);
  // The id Def is stored under, or nullptr for a definition the list does not hold.
  const std::string* Find(const TGraphicDef* Def) const;
  // The same, or "" for none.
  const std::string& Of(const TGraphicDef* Def) const;

 private:
  std::unordered_map<const TGraphicDef*, std::string> ids_;
};
