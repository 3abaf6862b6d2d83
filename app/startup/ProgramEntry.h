#pragma once

namespace app {

// The process entry: brings the platform up, runs the main program and ends with code 0.
int ProgramEntry(int argc, char** argv);

} // namespace app
