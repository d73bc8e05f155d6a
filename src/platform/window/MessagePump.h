// What the message loop asks of the window system: handle the pending window messages, or wait for one.
#pragma once
#include "Application.h"

class TMessagePump {
 public:
  virtual ~TMessagePump() = default;
  // Handles every pending window message; closing the window terminates the application.
  virtual void ProcessMessages(TApplication& Application) = 0;
  // Blocks until a message may be waiting (a short timeout is fine).
  virtual void WaitMessage() = 0;
};
