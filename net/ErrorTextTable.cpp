#include "net/ErrorTextTable.h"

#include "net/ErrorTextIndex.h"
#include "net/ErrorTextRows.h"

#include "platform/text/Cp1251.h"

namespace net {

ErrorTextTable& ErrorTextTable::instance()
{
    static ErrorTextTable table = [] {
        ErrorTextTable filled;
        filled.fill();
        return filled;
    }();
    return table;
}

void ErrorTextTable::fill()
{
    m_rows.clear();
    m_rows.reserve(RowCount);
    for (const ErrorTextRow& row : errorTextRows())
        m_rows.push_back(Row{platform::text::w(row.text), row.code});
    m_number = RowCount;
}

std::string_view ErrorTextTable::textField(std::size_t field) const
{
    if (field < 2 || field % 2 != 0 || !hasField(field))
        return {};
    return m_rows[field / 2 - 1].text;
}

std::int32_t ErrorTextTable::codeField(std::size_t field) const
{
    if (field < 3 || field % 2 != 1 || !hasField(field))
        return 0;
    return m_rows[(field - 1) / 2 - 1].code;
}

std::size_t ErrorTextTable::recordSize() const
{
    std::size_t size = sizeof m_number;
    for (const Row& row : m_rows)
        size += 1 + row.text.size() + sizeof row.code;
    return size;
}

void ErrorTextTableInit(int exiting)
{
    if (exiting) {
        errorTextIndex().release();
        return;
    }
    ErrorTextTable::instance().fill();
    errorTextIndex().buffer() = ErrorTextIndexEntry{};
}

} // namespace net
