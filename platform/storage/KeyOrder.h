#pragma once

#include "platform/storage/Layout.h"

#include <cstddef>

// The order of a key on two record buffers, as the file's index sorts them: string components
// by the collation (through the case table for "no case" keys, trailing blanks ignored),
// numbers by value.
namespace platform::storage {

// <0, 0, >0.
int compareKeyValues(const FileLayout& layout, int key, const std::byte* a, const std::byte* b);

} // namespace platform::storage
