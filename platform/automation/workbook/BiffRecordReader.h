#pragma once

#include "platform/automation/workbook/BiffRecord.h"

#include <QByteArray>

namespace platform::automation::workbook {

// Walks the records of a workbook stream from a given offset.
class BiffRecordReader
{
public:
    BiffRecordReader(const QByteArray& stream, qsizetype offset);

    bool atEnd() const { return m_offset + 4 > m_stream.size(); }
    BiffRecord next(); // FormatError when a record runs past the end of the stream

private:
    const QByteArray& m_stream;
    qsizetype m_offset;
};

} // namespace platform::automation::workbook
