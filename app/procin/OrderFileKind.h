#pragma once

#include <string_view>

// Which reader an order file needs, told by its first bytes rather than by its name: a user may
// save a workbook under any name, and a spreadsheet program may have saved it in either form.
namespace app {

enum class OrderFileKind {
    Workbook, // a compound file (the binary workbook) or a zip package (Office Open XML)
    Text,     // anything else, a missing or empty file included (the text reader says why)
};

// The kind of the file (Windows-1251 name, blanks around it ignored).
OrderFileKind orderFileKindOf(std::string_view fileName);

} // namespace app
