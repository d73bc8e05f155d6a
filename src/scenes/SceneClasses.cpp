#include <string>

#include "CustomScene.h"
#include "Exception.h"
#include "TextEncoding.h"
#include "UOpening.h"
#include "UScene.h"
#include "UShooting.h"

namespace {
template <typename TScene>
std::unique_ptr<TCustomScene> Construct(TSXScene* SpriteScene, TKeyStates* Keys) {
  return std::make_unique<TScene>(SpriteScene, Keys);
}
}  // namespace

const TSceneClass SceneClasses[kSceneCount] = {&Construct<TOpeningScene>, &Construct<TShootingScene>,
                                               &Construct<TEndingScene>};

std::unique_ptr<TCustomScene> CreateScene(const TSceneClass* Table, uint8_t N, TSXScene* SpriteScene,
                                          TKeyStates* Keys) {
  if (N >= kSceneCount) {
    throw Exception(Jp("存在しないシーン番号です (") + std::to_string(N) + ")");
  }
  if (Table[N] == nullptr) {
    throw Exception(Jp("シーン ") + std::to_string(N) + Jp(" はこのビルドに含まれていません (scene ") +
                    std::to_string(N) + " is not available in this build)");
  }
  return Table[N](SpriteScene, Keys);
}
