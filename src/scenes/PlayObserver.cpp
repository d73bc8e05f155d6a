#include "PlayObserver.h"

namespace {
TPlayObserver* CurrentObserver = nullptr;
}

const char* EnemyEndName(TEnemyEnd End) {
  switch (End) {
    case eeDestroyed: return "destroyed";
    case eeEscaped: return "escaped";
    case eeCleared: return "cleared";
  }
  return "?";
}

TPlayObserver* PlayObserver() { return CurrentObserver; }
void SetPlayObserver(TPlayObserver* Observer) { CurrentObserver = Observer; }
