#pragma once

// The frame's close box while a modal dialog is open. Qt drops a window manager's close
// request for a window that a modal dialog blocks, so the person's close of the frame would be
// lost; on X11 the request is taken before Qt drops it and becomes the program's close
// (closeProgram, ProgramEnd.h). Without a modal dialog Qt delivers it to the frame as always.
namespace platform::ui {

// From the frame's opening to its end; nothing where the display is not X11.
void watchFrameCloseRequests();
void stopWatchingFrameCloseRequests();

} // namespace platform::ui
