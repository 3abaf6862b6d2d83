#pragma once

// The program's way out other than its frame closing: the stop box's abort and a failed test
// script. Ending is asked for with the exit code; the windows then close from the newest to the
// frame on the next turn of the event loop, each with its release run (which closes its data
// files), the frame's closing returns to the main program, and the process entry returns the
// code. While the program ends no window or message box opens: whatever code runs on after the
// request unwinds without waiting for the user.
namespace platform::ui {

// The code of a failure the program could not run past (said in a box before it ends).
constexpr int FailedExitCode = 3;

// The first request's code wins.
void endProgram(int exitCode);
bool programEnding();
// 0 unless an end was asked for.
int programExitCode();

// The program is asked to close as its frame's "Выход" closes it, whatever is open at the time
// (the frame's close box under a modal dialog, a shutdown's signal): Qt's own modal dialogs
// (message boxes, file and printer dialogs) are cancelled as their close box would, then the
// frame gets its close request, so every window closes newest first with what it stores on
// closing, a transfer under way ends at once, the frame's closing runs as always and the
// process ends with code 0. From the request on nobody is asked anything and nothing opens.
void closeProgram();
// An end or a close was asked for: no window, thread or message box opens any more.
bool programLeaving();

// Called when the frame has closed: lets the windows whose release waited for a handler under
// a nested event loop finish, so that every release has run before the process ends.
void finishRemainingWindows();

// Tests only: forget an end asked for.
void resetProgramEnd();

} // namespace platform::ui
