#pragma once

#include "platform/storage/Layout.h"
#include "platform/ui/VariableBinding.h"

#include <cstddef>
#include <memory>
#include <string_view>

namespace platform::ui {

// A number field of a record buffer as a USE variable. Records are packed, so their number
// members may lie at any address and cannot be bound by reference. Null when the layout has
// no number field of that name (texts bind by reference: they have no alignment).
std::unique_ptr<VariableBinding> bindingToField(const storage::FileLayout& layout,
                                                std::byte* record, std::string_view name);

} // namespace platform::ui
