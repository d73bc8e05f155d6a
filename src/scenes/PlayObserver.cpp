#include "PlayObserver.h"

namespace {
TPlayObserver* observer = nullptr;
}

const char* EnemyEndName(TEnemyEnd End) {
  switch (End) {
    case eeDestroyed: return "destroyed";
    case eeEscaped: return "escaped";
    case eeCleared: return "cleared";
  }
  return "?";
}

TPlayObserver* PlayObserver() { return observer; }
void SetPlayObserver(TPlayObserver* Observer) { observer = Observer; }
