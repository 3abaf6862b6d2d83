#include "platform/storage/Bindings.h"

#include "platform/text/CaseTable.h"

#include <algorithm>

namespace platform::storage {

namespace {

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (text::toUpper(static_cast<unsigned char>(a[i]))
            != text::toUpper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

void Bindings::bind(std::string_view name, const int32_t& variable)
{
    add(name, Kind::Long, &variable, sizeof variable);
}

void Bindings::bind(std::string_view name, const int16_t& variable)
{
    add(name, Kind::Short, &variable, sizeof variable);
}

void Bindings::bind(std::string_view name, const uint8_t& variable)
{
    add(name, Kind::Byte, &variable, sizeof variable);
}

void Bindings::bind(std::string_view name, const double& variable)
{
    add(name, Kind::Real, &variable, sizeof variable);
}

void Bindings::bind(std::string_view name, const char* buffer, std::size_t size)
{
    add(name, Kind::CString, buffer, size);
}

void Bindings::add(std::string_view name, Kind kind, const void* address, std::size_t size)
{
    unbind(name);
    m_variables.push_back({std::string(name), kind, address, size});
}

void Bindings::unbind(std::string_view name)
{
    std::erase_if(m_variables, [name](const Variable& v) { return sameName(v.name, name); });
}

const Bindings::Variable* Bindings::find(std::string_view name) const
{
    const auto it = std::find_if(m_variables.begin(), m_variables.end(),
                                 [name](const Variable& v) { return sameName(v.name, name); });
    return it == m_variables.end() ? nullptr : &*it;
}

} // namespace platform::storage
