#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// The constant table of error texts, one global record whose fields are numbered from 1:
// field 1 is NUMBER (the row count), the text of row r is field 2r and its code field 2r+1.
// The index (ErrorTextIndex) refers to texts by these field numbers.
class ErrorTextTable
{
public:
    static constexpr std::uint16_t RowCount = 909;

    // The program's one table, filled on first use.
    static ErrorTextTable& instance();

    // NUMBER := 909 and every row's text (Windows-1251) and code in table order.
    void fill();

    std::uint16_t number() const { return m_number; }
    // The number of fields the record has (1 + 2 per row).
    std::size_t fieldCount() const { return 1 + 2 * m_rows.size(); }
    bool hasField(std::size_t field) const { return field >= 1 && field <= fieldCount(); }

    // Field values: a text field (even number >= 2) or a code field (odd number >= 3). A field
    // of the other kind or outside the record gives an empty text or 0.
    std::string_view textField(std::size_t field) const;
    std::int32_t codeField(std::size_t field) const;

    // The record's size as laid out: NUMBER (2 bytes), then per row a length byte, the text
    // and a 4-byte code.
    std::size_t recordSize() const;

private:
    struct Row
    {
        std::string text;
        std::int32_t code;
    };

    std::uint16_t m_number = 0;
    std::vector<Row> m_rows;
};

// The client module's start-up routine: 0 at start-up fills the table and clears the index's
// entry buffer; any other value (at exit) releases the index with all its entries.
void ErrorTextTableInit(int exiting);

} // namespace net
