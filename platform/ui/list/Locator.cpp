#include "platform/ui/list/Locator.h"

#include "platform/storage/RecordFile.h"
#include "platform/ui/list/RecordFields.h"

namespace platform::ui {

void Locator::applyTo(storage::RecordFile& file) const
{
    file.clearBuffer();
    const auto& fields = file.layout().fields;
    if (m_field >= 0 && m_field < static_cast<int>(fields.size()))
        RecordFields::setText(fields[static_cast<std::size_t>(m_field)], file.buffer(), m_text);
}

} // namespace platform::ui
