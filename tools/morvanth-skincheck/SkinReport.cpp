#include "SkinReport.h"

#include <unordered_map>

#include "DGTexture.h"
#include "GraphicIds.h"
#include "JsonText.h"
#include "PixelFormats.h"
#include "TextEncoding.h"

namespace {

std::string IdOf(const TGraphicIds& Ids, const TGraphicDef* Def) {
  const std::string* id = Ids.Find(Def);
  return id == nullptr ? "null" : JsonString(*id);
}

std::string Rect(const TRect& R) {
  return "[" + std::to_string(R.Left) + ", " + std::to_string(R.Top) + ", " + std::to_string(R.Right) + ", " +
         std::to_string(R.Bottom) + "]";
}

void WriteGraphic(std::ostream& Out, const std::string& Id, const TGraphicDef* Def, const TGraphicIds& Ids) {
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

void WriteEntry(std::ostream& Out, const TStageObjectDef* Entry, const TGraphicIds& Ids) {
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

void WriteWarning(std::ostream& Out, const TSkinWarning& W) {
  auto number = [](int64_t N, bool Present) { return Present ? std::to_string(N) : std::string("null"); };
  // The explanation is already UTF-8: written as bytes.
  Out << "    {\"warning\": \"" << W.Code << "\", \"stage\": " << number(W.Stage, W.Stage > 0)
      << ", \"frame\": " << number(W.Frame, W.Frame >= 0) << ", \"id\": " << (W.Id.empty() ? "null" : JsonString(W.Id))
      << ", \"group\": " << number(W.Group, W.Group >= 0) << ", \"text\": " << JsonPathString(W.Text) << "}";
}

}  // namespace

void WriteSkinJson(std::ostream& Out, const TSkinCheckResult& Result, const TGraphicDefList& Graphics,
                   const TStageDefList& Stages, const std::vector<TSkinWarning>& Warnings) {
  const TGraphicIds ids(Graphics);
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
  Out << (firstStage ? "]" : "\n  ]") << ",\n  \"warnings\": [";
  for (size_t i = 0; i < Warnings.size(); ++i) {
    Out << (i ? ",\n" : "\n");
    WriteWarning(Out, Warnings[i]);
  }
  Out << (Warnings.empty() ? "]" : "\n  ]") << "\n}\n";
}

void WriteSkinSummary(std::ostream& Out, const TSkinCheckResult& Result, const TGraphicDefList& Graphics,
                      const TStageDefList& Stages, const std::vector<TSkinWarning>& Warnings) {
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
  for (const TSkinWarning& w : Warnings) Out << WarningLine(w) << "\n";
  if (Warnings.empty()) {
    Out << "OK\n";
  } else {
    Out << "OK, " << Warnings.size() << (Warnings.size() == 1 ? " warning\n" : " warnings\n");
  }
}
