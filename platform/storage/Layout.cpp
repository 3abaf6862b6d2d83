#include "platform/storage/Layout.h"

#include "platform/text/CaseTable.h"

#include <cstring>

namespace platform::storage {

namespace {

bool equalNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (text::toUpper(static_cast<unsigned char>(a[i]))
            != text::toUpper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// "PR:KOD" -> "KOD"; a name without a colon stays as it is.
std::string_view withoutPrefix(std::string_view name)
{
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

} // namespace

int FileLayout::fieldIndex(std::string_view name) const
{
    const bool prefixed = name.find(':') != std::string_view::npos;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view candidate = prefixed ? std::string_view(fields[i].name)
                                                    : withoutPrefix(fields[i].name);
        if (equalNoCase(candidate, name))
            return static_cast<int>(i);
    }
    return -1;
}

int FileLayout::keyIndex(std::string_view name) const
{
    const bool prefixed = name.find(':') != std::string_view::npos;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string_view candidate = prefixed ? std::string_view(keys[i].name)
                                                    : withoutPrefix(keys[i].name);
        if (equalNoCase(candidate, name))
            return static_cast<int>(i);
    }
    return -1;
}

double fieldNumber(FieldType type, const std::byte* at)
{
    switch (type) {
    case FieldType::Byte:
        return std::to_integer<uint8_t>(*at);
    case FieldType::Short: {
        int16_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    case FieldType::Long: {
        int32_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    case FieldType::Real: {
        double value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    case FieldType::String:
        break;
    }
    return 0;
}

} // namespace platform::storage
