#include "MessageLoop.h"

#include <exception>

#include "TextEncoding.h"

void RunMessageLoop(TApplication& application, TMessagePump& pump, TFormHost& host) {
  while (!application.Terminated()) {
    try {
      pump.ProcessMessages(application);
      if (application.Terminated()) break;
      if (application.OnIdle) {
        bool done = true;
        application.OnIdle(done);
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
