#include "MessageLoop.h"

#include <exception>

#include "TextEncoding.h"

void RunMessageLoop(TApplication& Application, TMessagePump& Pump, TFormHost& Host) {
  while (!Application.Terminated()) {
    try {
      Pump.ProcessMessages(Application);
      if (Application.Terminated()) break;
      if (Application.OnIdle) {
        // A copy: the handler may detach itself (after an error) while it runs.
        const TApplication::TIdleEvent idle = Application.OnIdle;
        bool done = true;
        idle(done);
        if (done) Pump.WaitMessage();
      } else {
        Pump.WaitMessage();
      }
    } catch (const std::exception& e) {
      // The framework's last-resort handler: report and stop rather than run on in an unknown state.
      Application.OnIdle = nullptr;
      Host.MessageBoxA(e.what(), Jp("エラー"), MB_ICONEXCLAMATION | MB_OK);
      Application.Terminate(1);
    }
  }
}
