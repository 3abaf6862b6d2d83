#include "platform/automation/workbook/ByteReader.h"

#include "platform/automation/workbook/FormatError.h"

#include <cstring>

namespace platform::automation::workbook {

ByteReader::ByteReader(const char* data, qsizetype size, QString context)
    : m_data(data), m_size(size), m_context(std::move(context))
{
}

ByteReader::ByteReader(const QByteArray& data, QString context)
    : ByteReader(data.constData(), data.size(), std::move(context))
{
}

uint16_t ByteReader::u16At(const char* data)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(data);
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t ByteReader::u32At(const char* data)
{
    return u16At(data) | (static_cast<uint32_t>(u16At(data + 2)) << 16);
}

void ByteReader::need(qsizetype count) const
{
    if (count < 0 || count > m_size - m_position) {
        throw FormatError(m_context + QStringLiteral(": the data ends too early"));
    }
}

uint8_t ByteReader::u8()
{
    need(1);
    return static_cast<uint8_t>(m_data[m_position++]);
}

uint16_t ByteReader::u16()
{
    need(2);
    const uint16_t value = u16At(m_data + m_position);
    m_position += 2;
    return value;
}

uint32_t ByteReader::u32()
{
    need(4);
    const uint32_t value = u32At(m_data + m_position);
    m_position += 4;
    return value;
}

double ByteReader::f64()
{
    need(8);
    const uint64_t bits =
        u32At(m_data + m_position) | (static_cast<uint64_t>(u32At(m_data + m_position + 4)) << 32);
    m_position += 8;
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray ByteReader::bytes(qsizetype count)
{
    need(count);
    QByteArray result(m_data + m_position, count);
    m_position += count;
    return result;
}

void ByteReader::skip(qsizetype count)
{
    need(count);
    m_position += count;
}

void ByteReader::seek(qsizetype position)
{
    if (position < 0 || position > m_size) {
        throw FormatError(m_context + QStringLiteral(": a position lies outside the data"));
    }
    m_position = position;
}

} // namespace platform::automation::workbook
