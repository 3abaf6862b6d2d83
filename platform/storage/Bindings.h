#pragma once

#include "platform/text/FixedString.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Program variables registered by name so that filter expression texts can use them. Only the
// address is kept: an expression reads the variable when it is evaluated, so changing the
// variable changes the result without parsing the text again. The variables must outlive the
// expressions that use them. Names are matched without regard to letter case.
namespace platform::storage {

class Bindings
{
public:
    enum class Kind : uint8_t { Long, Short, Byte, Real, String, CString };

    struct Variable
    {
        std::string name;
        Kind kind;
        const void* address;
        std::size_t size; // bytes of a String or CString
    };

    void bind(std::string_view name, const int32_t& variable);
    void bind(std::string_view name, const int16_t& variable);
    void bind(std::string_view name, const uint8_t& variable);
    void bind(std::string_view name, const double& variable);
    template <std::size_t N>
    void bind(std::string_view name, const text::FixedString<N>& variable)
    {
        add(name, Kind::String, variable.m_bytes, N);
    }
    // A zero-terminated text in a buffer of size bytes (the text ends at the first zero byte).
    void bind(std::string_view name, const char* buffer, std::size_t size);

    // Binding a name again replaces the earlier binding; expressions compiled before keep
    // reading the variable they were compiled against.
    void unbind(std::string_view name);
    void clear() { m_variables.clear(); }

    const Variable* find(std::string_view name) const;
    std::size_t size() const { return m_variables.size(); }

private:
    void add(std::string_view name, Kind kind, const void* address, std::size_t size);

    std::vector<Variable> m_variables;
};

} // namespace platform::storage
