#include "SkinReport.h"

#include <unordered_map>

#include "DGTexture.h"
#include "GraphicIds.h"
#include "JsonText.h"
#include "PixelFormats.h"
#include "TextEncoding.h"

namespace {

std::string IdOf(const TGraphicIds& ids, const TGraphicDef* def) {
  const std::string* id = ids.Find(def);
  return id == nullptr ? "null" : JsonString(*id);
}

std::string Rect(const TRect& r) {
  return "[" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " + std::to_string(r.Right) + ", " +
         std::to_string(r.Bottom) + "]";
}

void WriteGraphic(std::ostream& out, const std::string& id, const TGraphicDef* def, const TGraphicIds& ids) {
  out << "    {\"id\": " << JsonString(id);
  auto* sprite = dynamic_cast<const TSpriteDef*>(def);
  auto* animation = dynamic_cast<const TAnimationDef*>(def);
  out << ", \"kind\": \"" << (sprite != nullptr ? "sprite" : "animation") << "\"";
  out << ", \"width\": " << def->Width << ", \"height\": " << def->Height;
  out << ", \"origin\": [" << def->OriginX << ", " << def->OriginY << "]";
  out << ", \"hitArea\": " << Rect(def->HitArea);
  if (sprite != nullptr) {
    out << ", \"vertexColors\": [";
    for (int i = 0; i < 4; ++i) out << (i ? ", " : "") << JsonColor(sprite->VertexColors[i]);
    out << "], \"blendMode\": " << sprite->BlendMode;
    const TDGTexture* texture = sprite->Texture.get();
    if (texture != nullptr) {
      out << ", \"texture\": {\"width\": " << texture->Width() << ", \"height\": " << texture->Height()
          << ", \"textureWidth\": " << texture->TextureWidth() << ", \"textureHeight\": " << texture->TextureHeight()
          << ", \"format\": " << JsonString(FormatName(texture->Format()))
          << ", \"created\": " << (texture->Texture() != nullptr ? "true" : "false") << "}";
    } else {
      out << ", \"texture\": null";
    }
  }
  if (animation != nullptr) {
    out << ", \"maxFrame\": " << animation->MaxFrame << ", \"repeat\": " << (animation->Repeat ? "true" : "false");
    out << ", \"frames\": [";
    for (int32_t i = 0; i < animation->FrameCount(); ++i) {
      const TAnimationSpriteDef* entry = animation->FrameAt(i);
      out << (i ? ", " : "") << "{\"frame\": " << entry->Frame << ", \"ref\": " << IdOf(ids, entry->Sprite)
          << ", \"alpha\": " << static_cast<int>(entry->Alpha) << "}";
    }
    out << "]";
  }
  out << "}";
}

void WriteEntry(std::ostream& out, const TStageObjectDef* entry, const TGraphicIds& ids) {
  out << "        {\"kind\": \"" << (entry->Kind == okEnemy ? "enemy" : "restartpoint")
      << "\", \"frame\": " << entry->Frame;
  if (entry->Kind == okEnemy) {
    auto* enemy = static_cast<const TEnemyDef*>(entry);
    out << ", \"group\": " << enemy->Group << ", \"x\": " << enemy->X << ", \"y\": " << enemy->Y
        << ", \"motion\": " << static_cast<int>(enemy->Motion) << ", \"graphic\": " << IdOf(ids, enemy->Graphic)
        << ", \"hp\": " << enemy->HP << ", \"stageClear\": " << (enemy->StageClear ? "true" : "false")
        << ", \"item\": " << static_cast<int>(enemy->Item) << ", \"speed\": " << enemy->Speed;
  }
  out << "}";
}

void WriteWarning(std::ostream& out, const TSkinWarning& w) {
  auto number = [](int64_t n, bool present) { return present ? std::to_string(n) : std::string("null"); };
  // The explanation is already UTF-8: written as bytes.
  out << "    {\"warning\": \"" << w.Code << "\", \"stage\": " << number(w.Stage, w.Stage > 0)
      << ", \"frame\": " << number(w.Frame, w.Frame >= 0) << ", \"id\": " << (w.Id.empty() ? "null" : JsonString(w.Id))
      << ", \"group\": " << number(w.Group, w.Group >= 0) << ", \"text\": " << JsonPathString(w.Text) << "}";
}

}  // namespace

void WriteSkinJson(std::ostream& out, const TSkinCheckResult& result, const TGraphicDefList& graphics,
                   const TStageDefList& stages, const std::vector<TSkinWarning>& warnings) {
  const TGraphicIds ids(graphics);
  out << "{\n  \"skin\": " << JsonPathString(result.SkinName) << ",\n  \"skinDir\": " << JsonPathString(result.SkinDir)
      << ",\n  \"map\": " << (result.MapFile.empty() ? "null" : JsonPathString(result.MapFile))
      << ",\n  \"graphicDefsLoaded\": " << (result.GraphicDefsLoaded ? "true" : "false") << ",\n  \"graphics\": [";
  for (int32_t i = 0; i < graphics.Count(); ++i) {
    out << (i ? ",\n" : "\n");
    WriteGraphic(out, graphics.IdAt(i), graphics.ItemAt(i), ids);
  }
  out << (graphics.Count() ? "\n  ]" : "]");
  out << ",\n  \"stageDefsLoaded\": " << (result.StageDefsLoaded ? "true" : "false") << ",\n  \"stages\": [";
  bool firstStage = true;
  for (const TStageDef* stage = stages.First(); stage != nullptr; stage = stage->Next()) {
    out << (firstStage ? "\n" : ",\n");
    firstStage = false;
    out << "    {\"title\": " << JsonString(stage->Title) << ", \"groupSizes\": [";
    for (size_t g = 0; g < stage->GroupSizes.size(); ++g) out << (g ? ", " : "") << stage->GroupSizes[g];
    out << "], \"entries\": [";
    bool firstEntry = true;
    for (const TStageObjectDef* entry = stage->First(); entry != nullptr; entry = entry->Next()) {
      out << (firstEntry ? "\n" : ",\n");
      firstEntry = false;
      WriteEntry(out, entry, ids);
    }
    out << (firstEntry ? "]}" : "\n      ]}");
  }
  out << (firstStage ? "]" : "\n  ]") << ",\n  \"warnings\": [";
  for (size_t i = 0; i < warnings.size(); ++i) {
    out << (i ? ",\n" : "\n");
    WriteWarning(out, warnings[i]);
  }
  out << (warnings.empty() ? "]" : "\n  ]") << "\n}\n";
}

void WriteSkinSummary(std::ostream& out, const TSkinCheckResult& result, const TGraphicDefList& graphics,
                      const TStageDefList& stages, const std::vector<TSkinWarning>& warnings) {
  int32_t sprites = 0;
  for (int32_t i = 0; i < graphics.Count(); ++i) sprites += dynamic_cast<const TSpriteDef*>(graphics.ItemAt(i)) ? 1 : 0;
  out << "skin " << result.SkinName << ": " << sprites << " sprites, " << graphics.Count() - sprites << " animations, "
      << stages.Count() << " stages";
  if (result.MapFile.empty()) out << ", no map.bmp";
  out << "\n";
  for (const TStageDef* stage = stages.First(); stage != nullptr; stage = stage->Next()) {
    out << "  " << ToUTF8(stage->Title) << ": " << stage->Count() << " entries, " << stage->GroupSizes.size()
        << " groups\n";
  }
  for (const TSkinWarning& w : warnings) out << WarningLine(w) << "\n";
  if (warnings.empty()) {
    out << "OK\n";
  } else {
    out << "OK, " << warnings.size() << (warnings.size() == 1 ? " warning\n" : " warnings\n");
  }
}
