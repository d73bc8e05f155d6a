#include "ResourceRegistry.h"

#include "DGFormat.h"
#include "DebugLog.h"
#include "TextEncoding.h"

int32_t TDGResourceRegistry::RegisterResource(TObject* Owner, const std::string& Name, TDGResourceHandler OnRelease,
                                              TDGResourceHandler OnRebuild, TDGResourceHandler OnBeforeReset,
                                              TDGResourceHandler OnAfterReset) {
  const std::string ClassName = Owner != nullptr ? Owner->ClassName() : std::string();
  WriteDetail(DGFormat(Jp("VUDaderリソース(%s)を登録します ID は %d(%s) です"), ClassName.c_str(), FNextResourceID,
                       Name.c_str()));
  auto Desc = std::make_unique<TDGResourceDesc>();
  Desc->ID = FNextResourceID;
  Desc->Name = Name;
  Desc->Owner = Owner;
  Desc->OnRelease = std::move(OnRelease);
  Desc->OnRebuild = std::move(OnRebuild);
  Desc->OnBeforeReset = std::move(OnBeforeReset);
  Desc->OnAfterReset = std::move(OnAfterReset);
  FResources.push_back(std::move(Desc));
  return FNextResourceID++;
}

void TDGResourceRegistry::UnregisterResource(int32_t ID) {
  for (auto Entry = FResources.begin(); Entry != FResources.end(); ++Entry) {
    if ((*Entry)->ID != ID) continue;
    // Removed before the line is written: an owner's destructor must leave the registry even when
    // the log cannot be written.
    const std::unique_ptr<TDGResourceDesc> Desc = std::move(*Entry);
    FResources.erase(Entry);
    const std::string ClassName = Desc->Owner != nullptr ? Desc->Owner->ClassName() : std::string();
    WriteDetail(DGFormat(Jp("VUDaderリソース(%s) : ID %d(%s) を登録解除します"), ClassName.c_str(), Desc->ID,
                         Desc->Name.c_str()));
    return;
  }
  CheckResult(1,
              DGFormat(Jp("リストに入ってないVUDaderリソース(ID:%d)が、UnregisterResource手続きに渡されました"), ID));
}

bool TDGResourceRegistry::IsRegistered(int32_t ID) const {
  for (const auto& Desc : FResources)
    if (Desc->ID == ID) return true;
  return false;
}

void TDGResourceRegistry::CallAll(TDGResourceHandler TDGResourceDesc::*Handler) {
  const size_t Count = FResources.size();
  for (size_t i = 0; i < Count && i < FResources.size(); ++i) {
    const TDGResourceHandler Call = (*FResources[i]).*Handler;
    if (Call) Call();
  }
}

void TDGResourceRegistry::ReleaseAllResources() {
  WriteDetail(Jp("全てのVUDaderリソースを解放します"));
  CallAll(&TDGResourceDesc::OnRelease);
}

void TDGResourceRegistry::RebuildAllResources() {
  WriteDetail(Jp("全てのVUDaderリソースを再構築します"));
  CallAll(&TDGResourceDesc::OnRebuild);
}

void TDGResourceRegistry::CallBeforeReset() { CallAll(&TDGResourceDesc::OnBeforeReset); }

void TDGResourceRegistry::CallAfterReset() { CallAll(&TDGResourceDesc::OnAfterReset); }

void TDGResourceRegistry::FreeRemainingOwners() {
  while (!FResources.empty()) {
    TDGResourceDesc* First = FResources.front().get();
    const int32_t ID = First->ID;
    WriteDetail(DGFormat(Jp("ID %d(%s) のVUDaderリソースは、明示的に解放されていません"), ID, First->Name.c_str()));
    TObject* Owner = First->Owner;
    // The owner's destructor unregisters it; an owner that does not would keep this loop
    // going for ever, so its entry is dropped here instead.
    delete Owner;
    if (!FResources.empty() && FResources.front()->ID == ID) FResources.erase(FResources.begin());
  }
}
