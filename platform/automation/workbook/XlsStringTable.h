#pragma once

#include "platform/automation/workbook/BiffStreamWriter.h"

#include <QHash>
#include <QString>

#include <vector>

namespace platform::automation::workbook {

// The shared strings of a binary workbook being written: the SST record with its CONTINUE
// records, and the EXTSST index that points into it.
class XlsStringTable
{
public:
    uint32_t indexOf(const QString& text); // adds the text when it is new
    void write(BiffStreamWriter& out) const;

private:
    std::vector<QString> m_strings;
    QHash<QString, uint32_t> m_index;
    uint32_t m_uses = 0;
};

} // namespace platform::automation::workbook
