#include "platform/storage/KeyOrder.h"

#include "platform/text/Collation.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace platform::storage {

namespace {

double numberAt(const FieldDef& field, const std::byte* record)
{
    const std::byte* at = record + field.offset;
    switch (field.type) {
    case FieldType::Byte:
        return static_cast<double>(std::to_integer<uint8_t>(*at));
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

} // namespace

int compareKeyValues(const FileLayout& layout, int key, const std::byte* a, const std::byte* b)
{
    const KeyDef& def = layout.keys[static_cast<std::size_t>(key)];
    for (const int index : def.fields) {
        const FieldDef& field = layout.fields[static_cast<std::size_t>(index)];
        int order = 0;
        if (field.type == FieldType::String) {
            const std::string_view left(reinterpret_cast<const char*>(a + field.offset), field.size);
            const std::string_view right(reinterpret_cast<const char*>(b + field.offset), field.size);
            order = def.noCase ? text::compareNoCase(left, right) : text::compareCollated(left, right);
        } else {
            const double left = numberAt(field, a);
            const double right = numberAt(field, b);
            order = left < right ? -1 : left > right ? 1 : 0;
        }
        if (order != 0)
            return order;
    }
    return 0;
}

} // namespace platform::storage
