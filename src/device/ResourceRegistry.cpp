#include "ResourceRegistry.h"

#include "DGFormat.h"
#include "DebugLog.h"
#include "TextEncoding.h"

int32_t TDGResourceRegistry::RegisterResource(TObject* Owner, const std::string& Name, TDGResourceHandler OnRelease,
                                              TDGResourceHandler OnRebuild, TDGResourceHandler OnBeforeReset,
                                              TDGResourceHandler OnAfterReset) {
  const std::string className = Owner != nullptr ? Owner->ClassName() : std::string();
  WriteDetail(DGFormat(Jp("VUDaderリソース(%s)を登録します ID は %d(%s) です"), className.c_str(), FNextResourceID,
                       Name.c_str()));
  auto desc = std::make_unique<TDGResourceDesc>();
  desc->ID = FNextResourceID;
  desc->Name = Name;
  desc->Owner = Owner;
  desc->OnRelease = std::move(OnRelease);
  desc->OnRebuild = std::move(OnRebuild);
  desc->OnBeforeReset = std::move(OnBeforeReset);
  desc->OnAfterReset = std::move(OnAfterReset);
  FResources.push_back(std::move(desc));
  return FNextResourceID++;
}

void TDGResourceRegistry::UnregisterResource(int32_t ID) {
  for (auto entry = FResources.begin(); entry != FResources.end(); ++entry) {
    if ((*entry)->ID != ID) continue;
    // Removed before the line is written: an owner's destructor must leave the registry even when
    // the log cannot be written.
    const std::unique_ptr<TDGResourceDesc> desc = std::move(*entry);
    FResources.erase(entry);
    const std::string className = desc->Owner != nullptr ? desc->Owner->ClassName() : std::string();
    WriteDetail(DGFormat(Jp("VUDaderリソース(%s) : ID %d(%s) を登録解除します"), className.c_str(), desc->ID,
                         desc->Name.c_str()));
    return;
  }
  CheckResult(1,
              DGFormat(Jp("リストに入ってないVUDaderリソース(ID:%d)が、UnregisterResource手続きに渡されました"), ID));
}

bool TDGResourceRegistry::IsRegistered(int32_t ID) const {
  for (const auto& desc : FResources)
    if (desc->ID == ID) return true;
  return false;
}

void TDGResourceRegistry::CallAll(TDGResourceHandler TDGResourceDesc::*Handler) {
  const size_t count = FResources.size();
  for (size_t i = 0; i < count && i < FResources.size(); ++i) {
    const TDGResourceHandler call = (*FResources[i]).*Handler;
    if (call) call();
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
    TDGResourceDesc* first = FResources.front().get();
    const int32_t id = first->ID;
    WriteDetail(DGFormat(Jp("ID %d(%s) のVUDaderリソースは、明示的に解放されていません"), id, first->Name.c_str()));
    TObject* owner = first->Owner;
    // The owner's destructor unregisters it; an owner that does not would keep this loop
    // going for ever, so its entry is dropped here instead.
    delete owner;
    if (!FResources.empty() && FResources.front()->ID == id) FResources.erase(FResources.begin());
  }
}
