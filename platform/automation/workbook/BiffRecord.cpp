#include "platform/automation/workbook/BiffRecord.h"

#include "platform/automation/workbook/FormatError.h"

#include <algorithm>
#include <cstring>

namespace platform::automation::workbook {
namespace {

[[noreturn]] void shortRecord(uint16_t type)
{
    throw FormatError(QStringLiteral("The workbook is damaged: record 0x%1 is too short")
                          .arg(type, 4, 16, QLatin1Char('0')));
}

} // namespace

void BiffRecord::nextPieceIfAtEnd()
{
    while (m_piece < pieces.size() && m_offset >= pieces[m_piece].size()) {
        ++m_piece;
        m_offset = 0;
    }
}

qsizetype BiffRecord::remaining() const
{
    qsizetype total = 0;
    for (size_t index = m_piece; index < pieces.size(); ++index) {
        total += pieces[index].size() - (index == m_piece ? m_offset : 0);
    }
    return total;
}

uint8_t BiffRecord::u8()
{
    nextPieceIfAtEnd();
    if (m_piece >= pieces.size()) {
        shortRecord(type);
    }
    return static_cast<uint8_t>(pieces[m_piece][m_offset++]);
}

uint16_t BiffRecord::u16()
{
    const uint16_t low = u8();
    return static_cast<uint16_t>(low | (u8() << 8));
}

uint32_t BiffRecord::u32()
{
    const uint32_t low = u16();
    return low | (static_cast<uint32_t>(u16()) << 16);
}

double BiffRecord::f64()
{
    const uint64_t low = u32();
    const uint64_t bits = low | (static_cast<uint64_t>(u32()) << 32);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void BiffRecord::skip(qsizetype count)
{
    if (count < 0 || count > remaining()) {
        shortRecord(type);
    }
    while (count > 0) {
        nextPieceIfAtEnd();
        const qsizetype step = std::min(count, pieces[m_piece].size() - m_offset);
        m_offset += step;
        count -= step;
    }
}

QString BiffRecord::characters(qsizetype count, bool wide)
{
    if (count > remaining()) {
        shortRecord(type);
    }
    QString text;
    text.reserve(count);
    while (text.size() < count) {
        if (m_piece < pieces.size() && m_offset >= pieces[m_piece].size()) {
            // The characters go on in the next CONTINUE, which restates the width.
            ++m_piece;
            m_offset = 0;
            wide = (u8() & 0x01) != 0;
        }
        text += QChar(wide ? u16() : u8());
    }
    return text;
}

QString BiffRecord::unicodeString(bool longLength)
{
    const qsizetype count = longLength ? u16() : u8();
    const uint8_t options = u8();
    const bool wide = (options & 0x01) != 0;
    const uint16_t runs = (options & 0x08) ? u16() : 0;
    const uint32_t phonetic = (options & 0x04) ? u32() : 0;
    QString text = characters(count, wide);
    skip(static_cast<qsizetype>(runs) * 4);
    skip(static_cast<qsizetype>(phonetic));
    return text;
}

} // namespace platform::automation::workbook
