#include <algorithm>
#include <set>
#include <unordered_set>

#include "Exception.h"
#include "GraphicDefs.h"
#include "GraphicIds.h"
#include "RequiredIds.h"
#include "SkinWarnings.h"
#include "StageDefs.h"
#include "TextEncoding.h"

namespace {

std::string Quoted(const std::string& Cp932Id) { return "\"" + ToUTF8(Cp932Id) + "\""; }

std::string RectText(const TRect& R) {
  return "(" + std::to_string(R.Left) + ", " + std::to_string(R.Top) + ", " + std::to_string(R.Right) + ", " +
         std::to_string(R.Bottom) + ")";
}

// What the game draws: the ids it looks up, every enemy's graphic, and the sprites of the animations among them.
std::unordered_set<const TGraphicDef*> UsedGraphics(const TWarningContext& Skin) {
  std::unordered_set<const TGraphicDef*> used;
  for (const char* id : kRequiredIds) {
    try {
      used.insert(Skin.Graphics.Find(id));
    } catch (const Exception&) {
      // A missing id stops the load before warnings are looked for; nothing to mark.
    }
  }
  for (const TStageDef* stage = Skin.Stages.First(); stage != nullptr; stage = stage->Next()) {
    for (const TStageObjectDef* entry = stage->First(); entry != nullptr; entry = entry->Next()) {
      if (entry->Kind == okEnemy) used.insert(static_cast<const TEnemyDef*>(entry)->Graphic);
    }
  }
  std::vector<const TGraphicDef*> animations(used.begin(), used.end());
  for (const TGraphicDef* def : animations) {
    if (auto* animation = dynamic_cast<const TAnimationDef*>(def)) {
      for (int32_t i = 0; i < animation->FrameCount(); ++i) used.insert(animation->FrameAt(i)->Sprite);
    }
  }
  return used;
}

void FindUnused(const TWarningContext& Skin, std::vector<TSkinWarning>& Warnings) {
  const auto used = UsedGraphics(Skin);
  // Sprites an unused animation shows are told about with that animation, not one by one.
  std::unordered_set<const TGraphicDef*> shownByUnused;
  for (int32_t i = 0; i < Skin.Graphics.Count(); ++i) {
    auto* animation = dynamic_cast<const TAnimationDef*>(Skin.Graphics.ItemAt(i));
    if (animation == nullptr || used.contains(animation)) continue;
    for (int32_t f = 0; f < animation->FrameCount(); ++f) shownByUnused.insert(animation->FrameAt(f)->Sprite);
  }
  for (int32_t i = 0; i < Skin.Graphics.Count(); ++i) {
    const TGraphicDef* def = Skin.Graphics.ItemAt(i);
    if (used.contains(def) || shownByUnused.contains(def)) continue;
    const std::string& id = Skin.Graphics.IdAt(i);
    TSkinWarning w("graphic-unused");
    w.Id = id;
    const TGraphicDef* found = id.empty() ? nullptr : Skin.Graphics.Find(id);
    if (found != def) {
      w.Text = "defined again later under the same id; the game uses the later definition, so this one is never drawn";
    } else {
      w.Text = "defined but never drawn: neither the game, nor an enemy of any stage, nor an animation in use shows it";
    }
    if (auto* animation = dynamic_cast<const TAnimationDef*>(def)) {
      std::set<std::string> sprites;
      for (int32_t f = 0; f < animation->FrameCount(); ++f) {
        const TSpriteDef* sprite = animation->FrameAt(f)->Sprite;
        if (!used.contains(sprite)) sprites.insert(Quoted(Skin.Ids.Of(sprite)));
      }
      if (!sprites.empty()) {
        std::string names;
        for (const std::string& name : sprites) names += (names.empty() ? "" : ", ") + name;
        w.Text += " (nor are the sprites only it shows: " + names + ")";
      }
    }
    Warnings.push_back(std::move(w));
  }
}

// Where the picture of a sprite lies around the object's position, as drawn.
TRect PictureRect(const TSpriteDef& Sprite) {
  return {-Sprite.OriginX, -Sprite.OriginY, Sprite.Width - Sprite.OriginX, Sprite.Height - Sprite.OriginY};
}

// The pictures an object drawn with Def shows: a sprite's own, or the box around every entry of an animation.
bool PictureOf(const TGraphicDef& Def, TRect& Picture) {
  if (auto* sprite = dynamic_cast<const TSpriteDef*>(&Def)) {
    Picture = PictureRect(*sprite);
    return true;
  }
  auto* animation = dynamic_cast<const TAnimationDef*>(&Def);
  if (animation == nullptr || animation->FrameCount() == 0) return false;
  Picture = PictureRect(*animation->FrameAt(0)->Sprite);
  for (int32_t f = 1; f < animation->FrameCount(); ++f) {
    const TRect r = PictureRect(*animation->FrameAt(f)->Sprite);
    Picture = {std::min(Picture.Left, r.Left), std::min(Picture.Top, r.Top), std::max(Picture.Right, r.Right),
               std::max(Picture.Bottom, r.Bottom)};
  }
  return true;
}

void FindHitAreasOutside(const TWarningContext& Skin, std::vector<TSkinWarning>& Warnings) {
  for (int32_t i = 0; i < Skin.Graphics.Count(); ++i) {
    const TGraphicDef* def = Skin.Graphics.ItemAt(i);
    TRect picture;
    if (!PictureOf(*def, picture)) continue;
    const TRect& hit = def->HitArea;
    std::string beyond;
    auto side = [&beyond](const char* Name, int64_t By) {
      if (By > 0) beyond += (beyond.empty() ? "" : ", ") + std::string(Name) + " " + std::to_string(By);
    };
    side("left", int64_t{picture.Left} - hit.Left);
    side("top", int64_t{picture.Top} - hit.Top);
    side("right", int64_t{hit.Right} - picture.Right);
    side("bottom", int64_t{hit.Bottom} - picture.Bottom);
    if (beyond.empty()) continue;
    TSkinWarning w("hitarea-outside-picture");
    w.Id = Skin.Graphics.IdAt(i);
    w.Text = "hit area " + RectText(hit) + " reaches beyond its picture " + RectText(picture) + " by " + beyond +
             " pixels: it is touched where nothing is drawn";
    Warnings.push_back(std::move(w));
  }
}

void FindSilentFrames(const TWarningContext& Skin, std::vector<TSkinWarning>& Warnings) {
  for (int32_t i = 0; i < Skin.Graphics.Count(); ++i) {
    auto* animation = dynamic_cast<const TAnimationDef*>(Skin.Graphics.ItemAt(i));
    if (animation == nullptr) continue;
    const int32_t count = animation->FrameCount();
    if (count == 0) {
      TSkinWarning w("animation-zero-length-frame");
      w.Id = Skin.Graphics.IdAt(i);
      w.Text = "has no entries: it draws nothing";
      Warnings.push_back(std::move(w));
      continue;
    }
    const uint64_t cycle = animation->MaxFrame;
    for (int32_t f = 0; f < count; ++f) {
      uint64_t start = 0, end = 0;
      if (EntryShows(*animation, f, start, end)) continue;
      const TAnimationSpriteDef* entry = animation->FrameAt(f);
      TSkinWarning w("animation-zero-length-frame");
      w.Id = Skin.Graphics.IdAt(i);
      w.Frame = entry->Frame;
      w.Text = "the entry showing " + Quoted(Skin.Ids.Of(entry->Sprite)) + " from frame " +
               std::to_string(entry->Frame) + " never shows: ";
      w.Text += entry->Frame >= cycle
                    ? "it starts at or after the end of the cycle (maxframe " + std::to_string(cycle) + ")"
                    : "the next entry starts at the same frame";
      Warnings.push_back(std::move(w));
    }
  }
}

}  // namespace

bool EntryShows(const TAnimationDef& Animation, int32_t Index, uint64_t& Start, uint64_t& End) {
  // One entry shows from its frame up to the next one's (the first from 0), within the cycle; of entries sharing a
  // frame only the last shows.
  const uint64_t cycle = Animation.MaxFrame;
  Start = Index == 0 ? 0 : std::min<uint64_t>(Animation.FrameAt(Index)->Frame, cycle);
  End = Index + 1 < Animation.FrameCount() ? std::min<uint64_t>(Animation.FrameAt(Index + 1)->Frame, cycle) : cycle;
  return Start < End;
}

void FindGraphicWarnings(const TWarningContext& Skin, std::vector<TSkinWarning>& Warnings) {
  FindUnused(Skin, Warnings);
  FindHitAreasOutside(Skin, Warnings);
  FindSilentFrames(Skin, Warnings);
}

std::string WarningLine(const TSkinWarning& Warning) {
  std::string where;
  auto part = [&where](const std::string& Text) { where += (where.empty() ? "" : ", ") + Text; };
  if (Warning.Stage > 0) part("stage " + std::to_string(Warning.Stage));
  if (Warning.Frame >= 0) part("frame " + std::to_string(Warning.Frame));
  if (!Warning.Id.empty()) part("id " + Quoted(Warning.Id));
  if (Warning.Group >= 0) part("group " + std::to_string(Warning.Group));
  return "warning " + std::string(Warning.Code) + ": " + (where.empty() ? "" : where + ": ") + Warning.Text;
}

std::vector<TSkinWarning> FindSkinWarnings(const TWarningContext& Skin) {
  std::vector<TSkinWarning> warnings;
  FindGraphicWarnings(Skin, warnings);
  FindStageWarnings(Skin, warnings);
  return warnings;
}
