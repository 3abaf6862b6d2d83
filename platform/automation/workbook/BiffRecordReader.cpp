#include "platform/automation/workbook/BiffRecordReader.h"

#include "platform/automation/workbook/ByteReader.h"
#include "platform/automation/workbook/FormatError.h"

namespace platform::automation::workbook {
namespace {

constexpr uint16_t kContinue = 0x003C;

} // namespace

BiffRecordReader::BiffRecordReader(const QByteArray& stream, qsizetype offset)
    : m_stream(stream), m_offset(offset)
{
}

BiffRecord BiffRecordReader::next()
{
    BiffRecord record;
    const auto readPiece = [&]() -> QByteArray {
        const uint16_t length = ByteReader::u16At(m_stream.constData() + m_offset + 2);
        if (m_offset + 4 + length > m_stream.size()) {
            throw FormatError(QStringLiteral("The workbook is damaged: a record runs past the "
                                             "end of the stream"));
        }
        QByteArray data(m_stream.constData() + m_offset + 4, length);
        m_offset += 4 + length;
        return data;
    };
    if (atEnd()) {
        throw FormatError(QStringLiteral("The workbook is damaged: the stream ends too early"));
    }
    record.type = ByteReader::u16At(m_stream.constData() + m_offset);
    record.pieces.push_back(readPiece());
    while (!atEnd() && ByteReader::u16At(m_stream.constData() + m_offset) == kContinue) {
        record.pieces.push_back(readPiece());
    }
    return record;
}

} // namespace platform::automation::workbook
