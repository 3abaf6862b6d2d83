#pragma once

// The main program: makes the platform Russian, sets up the error reporter, the dictionary and
// the settings object, switches the drag setting off, runs the frame Main and, when it
// returns, undoes all of that in reverse.
namespace app {

void MainProgram();

} // namespace app
