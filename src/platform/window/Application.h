// The application object: its title, the idle handler the frame loop runs on, and the end of the run.
#pragma once
#include <functional>
#include <string>

class TApplication {
 public:
  // Done is the in-out flag of the idle event: false asks to be called again at once instead of waiting.
  using TIdleEvent = std::function<void(bool& Done)>;

  std::string Title;  // CP932
  TIdleEvent OnIdle;  // empty: no idle handler, the loop only waits for messages

  // Ends the message loop after the current pass; the first exit code given is kept.
  void Terminate(int ExitCode = 0) {
    if (!terminated_) exitCode_ = ExitCode;
    terminated_ = true;
  }
  bool Terminated() const { return terminated_; }
  int ExitCode() const { return exitCode_; }

 private:
  bool terminated_ = false;
  int exitCode_ = 0;
};
