// The device's registry of device-dependent resources (textures, the sprite renderer): each entry
// holds the handlers the device calls around re-creation and reset, in registration order.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TObject.h"

// A handler bound to its receiver, called with no arguments; an empty one is skipped.
using TDGResourceHandler = std::function<void()>;

struct TDGResourceDesc {
  int32_t ID = 0;
  std::string Name;          // only used in log lines
  TObject* Owner = nullptr;  // freed by the device at teardown if still registered
  TDGResourceHandler OnRelease;
  TDGResourceHandler OnRebuild;
  TDGResourceHandler OnBeforeReset;
  TDGResourceHandler OnAfterReset;
};

class TDGResourceRegistry {
 public:
  // Appends an entry and returns its id; ids count up from 0 and are never reused.
  int32_t RegisterResource(TObject* Owner, const std::string& Name, TDGResourceHandler OnRelease,
                           TDGResourceHandler OnRebuild, TDGResourceHandler OnBeforeReset,
                           TDGResourceHandler OnAfterReset);
  // Removes the entry with that id; an unknown id is reported through the result check.
  void UnregisterResource(int32_t ID);

  void ReleaseAllResources();
  void RebuildAllResources();
  void CallBeforeReset();
  void CallAfterReset();

  // Teardown: frees the owner of every entry still registered (its destructor unregisters it),
  // then drops whatever is left.
  void FreeRemainingOwners();

  int32_t Count() const { return int32_t(FResources.size()); }
  const TDGResourceDesc& Resource(int32_t Index) const { return *FResources[size_t(Index)]; }
  bool IsRegistered(int32_t ID) const;
  int32_t NextResourceID() const { return FNextResourceID; }

 private:
  // Calls one handler of every entry in list order. The count is taken once; a handler may
  // unregister entries, so each step re-checks the index and calls a copy of the handler.
  void CallAll(TDGResourceHandler TDGResourceDesc::*Handler);

  int32_t FNextResourceID = 0;
  std::vector<std::unique_ptr<TDGResourceDesc>> FResources;
};
