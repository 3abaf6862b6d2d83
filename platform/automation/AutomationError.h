#pragma once

#include <stdexcept>
#include <string>

namespace platform::automation {

// A path the server cannot carry out: an unknown member, a wrong argument, a value out of range,
// a file that cannot be opened. The container catches it, logs it and answers an empty text.
class AutomationError : public std::runtime_error
{
public:
    explicit AutomationError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace platform::automation
