// The message loop of the application: window messages first, then the idle handler, which runs again at once
// as long as it asks to (one frame per pass); without an idle handler the loop waits for the next message.
#pragma once
#include "Application.h"
#include "FormHost.h"
#include "MessagePump.h"

// Runs until the application terminates. An exception that escapes the idle handler's own handler (one not
// derived from the game's Exception) is shown in a box as well and ends the run with exit code 1.
void RunMessageLoop(TApplication& Application, TMessagePump& Pump, TFormHost& Host);
