#pragma once

#include "platform/automation/workbook/CellFormat.h"

#include <xlsxwriter.h>

#include <unordered_map>

namespace platform::automation::workbook {

// The library's formats belong to its workbook; this makes one for each distinct cell format.
class XlsxFormatCache
{
public:
    explicit XlsxFormatCache(lxw_workbook* workbook) : m_workbook(workbook) {}

    lxw_format* formatFor(const CellFormat& format);

private:
    lxw_format* create(const CellFormat& format);

    lxw_workbook* m_workbook;
    std::unordered_map<CellFormat, lxw_format*, CellFormatHash> m_formats;
};

} // namespace platform::automation::workbook
