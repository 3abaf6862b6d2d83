#include "platform/ui/RecordFieldBinding.h"

namespace platform::ui {

using storage::FieldType;

std::unique_ptr<VariableBinding> bindingToField(const storage::FileLayout& layout,
                                                std::byte* record, std::string_view name)
{
    const int index = layout.fieldIndex(name);
    if (index < 0)
        return nullptr;
    const storage::FieldDef& field = layout.fields[static_cast<std::size_t>(index)];
    std::byte* at = record + field.offset;
    switch (field.type) {
    case FieldType::Byte:
        return std::make_unique<NumberBinding<uint8_t>>(at);
    case FieldType::Short:
        return std::make_unique<NumberBinding<int16_t>>(at);
    case FieldType::Long:
        return std::make_unique<NumberBinding<int32_t>>(at);
    case FieldType::Real:
        return std::make_unique<NumberBinding<double>>(at);
    case FieldType::String:
        break;
    }
    return nullptr;
}

} // namespace platform::ui
