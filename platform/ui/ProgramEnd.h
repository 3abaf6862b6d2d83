#pragma once

// The program's way out other than its frame closing: the stop box's abort and a failed test
// script. Ending is asked for with the exit code; the windows then close from the newest to the
// frame on the next turn of the event loop, each with its release run (which closes its data
// files), the frame's closing returns to the main program, and the process entry returns the
// code. While the program ends no window or message box opens: whatever code runs on after the
// request unwinds without waiting for the user.
namespace platform::ui {

// The first request's code wins.
void endProgram(int exitCode);
bool programEnding();
// 0 unless an end was asked for.
int programExitCode();

// Called when the frame has closed: lets the windows whose release waited for a handler under
// a nested event loop finish, so that every release has run before the process ends.
void finishRemainingWindows();

// Tests only: forget an end asked for.
void resetProgramEnd();

} // namespace platform::ui
