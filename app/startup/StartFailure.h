#pragma once

#include <exception>

namespace app {

// What kept the program from running (an exception out of its start, a frame whose definition
// cannot be read), said to the person in a box; returns the exit code the process ends with,
// so the program never ends in an abort that says nothing.
int TellStartFailure(const std::exception_ptr& failure);

} // namespace app
