#pragma once

#include <stdexcept>
#include <string>

namespace platform::automation {

// A path the server cannot carry out: an unknown member, a wrong argument, a value out of range,
// a file that cannot be opened. The container catches it, logs it and answers an empty text.
// A failure of the disk also carries the runtime's error code (39 no room, 5 no access ...), so
// that a caller can say why in the words it uses for every other file.
class AutomationError : public std::runtime_error
{
public:
    explicit AutomationError(const std::string& what, int code = 0)
        : std::runtime_error(what), m_code(code)
    {
    }

    int code() const { return m_code; }

private:
    int m_code = 0;
};

} // namespace platform::automation
