#include "SkinReport.h"

#include <unordered_map>

#include "DGTexture.h"
#include "JsonText.h"
#include "PixelFormats.h"
#include "TextEncoding.h"

namespace {

// The id each definition is found under (the last entry added for it).
std::unordered_map<const TGraphicDef*, std::string> IdsOf(const TGraphicDefList& Graphics) {
  std::unordered_map<const TGraphicDef*, std::string> ids;
  for (int32_t i = 0; i < Graphics.Count(); ++i) ids[Graphics.ItemAt(i)] = Graphics.IdAt(i);
  return ids;
}

std::string IdOf(const std::unordered_map<const TGraphicDef*, std::string>& Ids, const TGraphicDef* Def) {
  auto found = Ids.find(Def);
  return found == Ids.end() ? "null" : JsonString(found->second);
}

std::string Rect(const TRect& R) {
  return "[" + std::to_string(R.Left) + ", " + std::to_string(R.Top) + ", " + std::to_string(R.Right) + ", " +
         std::to_string(R.Bottom) + "]";
}

void WriteGraphic(std::ostream& Out, const std::string& Id, const TGraphicDef* Def,
                  const std::unordered_map<const TGraphicDef*, std::string>& Ids) {
  Out << "    {\"id\": " << JsonString(Id);
  auto* sprite = dynamic_cast<const TSpriteDef*>(Def);
  auto* animation = dynamic_cast<const TAnimationDef*>(Def);
  Out << ", \"kind\": \"" << (sprite != nullptr ? "sprite" : "animation") << "\"";
  Out << ", \"width\": " << Def->Width << ", \"height\": " << Def->Height;
  Out << ", \"origin\": [" << Def->OriginX << ", " << Def->OriginY << "]";
  Out << ", \"hitArea\": " << Rect(Def->HitArea);
  if (sprite != nullptr) {
    Out << ", \"vertexColors\": [";
    for (int i = 0; i < 4; ++i) Out << (i ? ", " : "") << JsonColor(sprite->VertexColors[i]);
    Out << "], \"blendMode\": " << sprite->BlendMode;
    const TDGTexture* texture = sprite->Texture.get();
    if (texture != nullptr) {
      Out << ", \"texture\": {\"width\": " << texture->Width() << ", \"height\": " << texture->Height()
          << ", \"textureWidth\": " << texture->TextureWidth() << ", \"textureHeight\": " << texture->TextureHeight()
          << ", \"format\": " << JsonString(FormatName(texture->Format()))
          << ", \"created\": " << (texture->Texture() != nullptr ? "true" : "false") << "}";
    } else {
      Out << ", \"texture\": null";
    }
  }
  if (animation != nullptr) {
    Out << ", \"maxFrame\": " << animation->MaxFrame << ", \"repeat\": " << (animation->Repeat ? "true" : "false");
    Out << ", \"frames\": [";
    for (int32_t i = 0; i < animation->FrameCount(); ++i) {
      const TAnimationSpriteDef* entry = animation->FrameAt(i);
      Out << (i ? ", " : "") << "{\"frame\": " << entry->Frame << ", \"ref\": " << IdOf(Ids, entry->Sprite)
          << ", \"alpha\": " << static_cast<int>(entry->Alpha) << "}";
    }
    Out << "]";
  }
  Out << "}";
}

void WriteEntry(std::ostream& Out, const TStageObjectDef* Entry,
                const std::unordered_map<const TGraphicDef*, std::string>& Ids) {
  Out << "        {\"kind\": \"" << (Entry->Kind == okEnemy ? "enemy" : "restartpoint")
      << "\", \"frame\": " << Entry->Frame;
  if (Entry->Kind == okEnemy) {
    auto* enemy = static_cast<const TEnemyDef*>(Entry);
    Out << ", \"group\": " << enemy->Group << ", \"x\": " << enemy->X << ", \"y\": " << enemy->Y
        << ", \"motion\": " << static_cast<int>(enemy->Motion) << ", \"graphic\": " << IdOf(Ids, enemy->Graphic)
        << ", \"hp\": " << enemy->HP << ", \"stageClear\": " << (enemy->StageClear ? "true" : "false")
        << ", \"item\": " << static_cast<int>(enemy->Item) << ", \"speed\": " << enemy->Speed;
  }
  Out << "}";
}

}  // namespace

void WriteSkinJson(std::ostream& Out, const TSkinCheckResult& Result, const TGraphicDefList& Graphics,
                   const TStageDefList& Stages) {
  auto ids = IdsOf(Graphics);
  Out << "{\n  \"skin\": " << JsonPathString(Result.SkinName) << ",\n  \"skinDir\": " << JsonPathString(Result.SkinDir)
      << ",\n  \"map\": " << (Result.MapFile.empty() ? "null" : JsonPathString(Result.MapFile))
      << ",\n  \"graphicDefsLoaded\": " << (Result.GraphicDefsLoaded ? "true" : "false") << ",\n  \"graphics\": [";
  for (int32_t i = 0; i < Graphics.Count(); ++i) {
    Out << (i ? ",\n" : "\n");
    WriteGraphic(Out, Graphics.IdAt(i), Graphics.ItemAt(i), ids);
  }
  Out << (Graphics.Count() ? "\n  ]" : "]");
  Out << ",\n  \"stageDefsLoaded\": " << (Result.StageDefsLoaded ? "true" : "false") << ",\n  \"stages\": [";
  bool firstStage = true;
  for (const TStageDef* stage = Stages.First(); stage != nullptr; stage = stage->Next()) {
    Out << (firstStage ? "\n" : ",\n");
    firstStage = false;
    Out << "    {\"title\": " << JsonString(stage->Title) << ", \"groupSizes\": [";
    for (size_t g = 0; g < stage->GroupSizes.size(); ++g) Out << (g ? ", " : "") << stage->GroupSizes[g];
    Out << "], \"entries\": [";
    bool firstEntry = true;
    for (const TStageObjectDef* entry = stage->First(); entry != nullptr; entry = entry->Next()) {
      Out << (firstEntry ? "\n" : ",\n");
      firstEntry = false;
      WriteEntry(Out, entry, ids);
    }
    Out << (firstEntry ? "]}" : "\n      ]}");
  }
  Out << (firstStage ? "]" : "\n  ]") << "\n}\n";
}

void WriteSkinSummary(std::ostream& Out, const TSkinCheckResult& Result, const TGraphicDefList& Graphics,
                      const TStageDefList& Stages) {
  int32_t sprites = 0;
  for (int32_t i = 0; i < Graphics.Count(); ++i) sprites += dynamic_cast<const TSpriteDef*>(Graphics.ItemAt(i)) ? 1 : 0;
  Out << "skin " << Result.SkinName << ": " << sprites << " sprites, " << Graphics.Count() - sprites << " animations, "
      << Stages.Count() << " stages";
  if (Result.MapFile.empty()) Out << ", no map.bmp";
  Out << "\n";
  for (const TStageDef* stage = Stages.First(); stage != nullptr; stage = stage->Next()) {
    Out << "  " << ToUTF8(stage->Title) << ": " << stage->Count() << " entries, " << stage->GroupSizes.size()
        << " groups\n";
  }
  Out << "OK\n";
}
