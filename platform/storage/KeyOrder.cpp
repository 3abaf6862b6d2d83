#include "platform/storage/KeyOrder.h"

#include "platform/text/Collation.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace platform::storage {

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
            const double left = fieldNumber(field.type, a + field.offset);
            const double right = fieldNumber(field.type, b + field.offset);
            order = left < right ? -1 : left > right ? 1 : 0;
        }
        if (order != 0)
            return order;
    }
    return 0;
}

} // namespace platform::storage
