// The scene framework: one screen of the program with its own resources and per-frame behaviour. The main form
// runs one scene at a time and replaces it when it reports Finished, by the number it names.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "TObject.h"

class TVUDader;
class TSXScene;
class TSXTextWriter;
class TDGTexture;
class TKeyStates;

class TCustomScene : public TObject {
 public:
  TCustomScene(TSXScene* SpriteScene, TKeyStates* Keys);
  ~TCustomScene() override;
  TCustomScene(const TCustomScene&) = delete;
  TCustomScene& operator=(const TCustomScene&) = delete;

  // Advances one frame (counts FrameCounter).
  virtual void Update();
  // Clears the render target to BackColor; descendants then queue their drawing.
  virtual void Render();

  // Whether the options screen may open over this scene now (the main form watches Tab while it does).
  virtual bool OffersOptions() const { return false; }

  // Names the scene that follows and marks this one finished; the last call before the switch wins.
  void Finish(uint8_t Next);
  // Marks this scene finished with no scene to follow: the program ends.
  void FinishProgram();

  // A new texture (owned by the caller) holding Text in white, its alpha the glyph coverage, exactly as large
  // as the measured text.
  std::unique_ptr<TDGTexture> CreateTextTexture(const std::string& Text, const std::string& FontName, int32_t FontSize);
  // Queues Texture as a rectangle of its image size at (X, Y), tinted with Color (alpha forced to 0xFF).
  void DrawTexture(int32_t X, int32_t Y, bool Overlay, bool Smooth, uint32_t Color, TDGTexture* Texture);

  bool Finished() const { return FFinished; }
  uint8_t NextScene() const { return FNextScene; }
  bool EndsProgram() const { return endsProgram_; }
  TVUDader* Device() const { return FDevice; }
  TSXScene* SpriteScene() const { return FSpriteScene; }
  TKeyStates* Keys() const { return FKeys; }
  TSXTextWriter* TextWriter() const { return FTextWriter.get(); }

  uint32_t FrameCounter = 0;
  uint32_t BackColor = 0;

 private:
  bool FFinished = false;
  bool endsProgram_ = false;
  uint8_t FNextScene = 0;
  TVUDader* FDevice;
  TSXScene* FSpriteScene;
  TKeyStates* FKeys;
  std::unique_ptr<TSXTextWriter> FTextWriter;
};

// Creates scene number N of SceneClasses.
using TSceneClass = std::unique_ptr<TCustomScene> (*)(TSXScene* SpriteScene, TKeyStates* Keys);

inline constexpr int kSceneCount = 3;
// 0 the title, 1 the game, 2 the ending. An entry may be empty when that scene is not part of the build.
extern const TSceneClass SceneClasses[kSceneCount];

// Constructs scene N of Table (kSceneCount entries); raises Exception for a number outside the table or an entry
// that is not available.
std::unique_ptr<TCustomScene> CreateScene(const TSceneClass* Table, uint8_t N, TSXScene* SpriteScene, TKeyStates* Keys);
