#include "platform/ui/list/SortOrder.h"

#include <cstring>

namespace platform::ui {

void SortOrder::addResetField(const void* address, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(address);
    m_resetFields.push_back({address, size, {bytes, bytes + size}});
}

bool SortOrder::resetFieldsChanged()
{
    bool changed = false;
    for (ResetField& field : m_resetFields) {
        if (std::memcmp(field.last.data(), field.address, field.size) != 0) {
            changed = true;
            std::memcpy(field.last.data(), field.address, field.size);
        }
    }
    return changed;
}

} // namespace platform::ui
