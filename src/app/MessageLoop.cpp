#include "MessageLoop.h"

#include <exception>

#include "TextEncoding.h"

void RunMessageLoop(TApplication& application, TMessagePump& pump, TFormHost& host) {
  while (!application.Terminated()) {
    try {
      pump.ProcessMessages(application);
      if (application.Terminated()) break;
      if (application.OnIdle) {
        // A copy: the handler may detach itself (after an error) while it runs.
        const TApplication::TIdleEvent idle = application.OnIdle;
        bool done = true;
        idle(done);
        if (done) pump.WaitMessage();
      } else {
        pump.WaitMessage();
      }
    } catch (const std::exception& e) {
      // The framework's last-resort handler: report and stop rather than run on in an unknown state.
      application.OnIdle = nullptr;
      host.MessageBoxA(e.what(), Jp("エラー"), MB_ICONEXCLAMATION | MB_OK);
      application.Terminate(1);
    }
  }
}
