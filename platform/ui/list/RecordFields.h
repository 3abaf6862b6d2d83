#pragma once

#include "platform/storage/Layout.h"

#include <cstddef>
#include <string>
#include <string_view>

// A field of a record buffer read and written as Windows-1251 text: strings without their
// trailing blanks, numbers in their plain decimal form.
namespace platform::ui {

class RecordFields
{
public:
    static std::string text(const storage::FieldDef& field, const std::byte* record);
    // A string longer than the field is cut; a number that does not read is stored as 0.
    static void setText(const storage::FieldDef& field, std::byte* record, std::string_view text);
};

} // namespace platform::ui
