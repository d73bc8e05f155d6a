// The root class of the game's objects, and the handler type bound to an object.
#pragma once
#include <functional>
#include <string>

class TObject {
 public:
  virtual ~TObject() = default;

  // The dynamic class name without namespaces ("TShootingScene"), for log lines.
  std::string ClassName() const;
};

// A handler bound to an object (OnTimer, OnDestroyed, the idle handler): the bound target is captured
// by the callable, the sender arrives as the only argument.
using TNotifyEvent = std::function<void(TObject* Sender)>;
