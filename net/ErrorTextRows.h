#pragma once

#include <cstdint>
#include <span>

namespace net {

// One row of the built-in error-text table: a Windows system or WinInet error code and its
// short text (UTF-8 source form).
struct ErrorTextRow
{
    std::int32_t code;
    const char* text;
};

// The 909 rows in table order (not sorted by code).
std::span<const ErrorTextRow> errorTextRows();

} // namespace net
