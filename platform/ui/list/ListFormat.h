#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A list's column layout and its text form, which the settings file keeps and the Format
// property reads and writes. Columns are separated by "|"; each is
//   <width><L|R|C>[I][*][Y<style>][C<colour>]~<header>~
// width in dialog units; I: the column shows an icon before its text; *: the row fill gives
// the cells their colours; Y: the style whose font the cells use; C: the default text colour
// as hexadecimal 0x00BBGGRR. A "~" inside the header is written "~~".
namespace platform::ui {

struct ListColumn
{
    int width = 0;
    char align = 'L';
    bool icon = false;
    bool colours = false;
    int style = 0; // 0: the list's font
    int textColour = -1;
    std::string header; // Windows-1251
    bool operator==(const ListColumn&) const = default;
};

class ListFormat
{
public:
    ListFormat() = default;
    explicit ListFormat(std::vector<ListColumn> columns) : m_columns(std::move(columns)) {}

    // nullopt when the text is not a format (the list then keeps its layout). At most
    // maxColumns columns are read: the text after them is not looked at, so a stored format
    // of any length costs no more than the list's own columns.
    static std::optional<ListFormat> parse(std::string_view text,
                                           std::size_t maxColumns = std::size_t(-1));
    std::string text() const;

    const std::vector<ListColumn>& columns() const { return m_columns; }
    std::vector<ListColumn>& columns() { return m_columns; }
    bool operator==(const ListFormat&) const = default;

private:
    std::vector<ListColumn> m_columns;
};

} // namespace platform::ui
