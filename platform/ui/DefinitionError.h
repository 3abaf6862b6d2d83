#pragma once

#include <stdexcept>
#include <string>

namespace platform::ui {

// A window definition that cannot be used; the text names the file and the place in it.
class DefinitionError : public std::runtime_error
{
public:
    explicit DefinitionError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace platform::ui
