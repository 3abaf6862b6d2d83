#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace platform::automation::workbook {

// Reads little-endian values from a byte range, checking every read against its end: reading
// past it raises FormatError with the given context, so damaged input never reads out of
// bounds.
class ByteReader
{
public:
    ByteReader(const char* data, qsizetype size, QString context);
    ByteReader(const QByteArray& data, QString context);

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    double f64();
    QByteArray bytes(qsizetype count);
    void skip(qsizetype count);

    qsizetype position() const { return m_position; }
    void seek(qsizetype position);
    qsizetype remaining() const { return m_size - m_position; }
    qsizetype size() const { return m_size; }
    const char* data() const { return m_data; }

    static uint16_t u16At(const char* data);
    static uint32_t u32At(const char* data);

private:
    void need(qsizetype count) const;

    const char* m_data;
    qsizetype m_size;
    qsizetype m_position = 0;
    QString m_context;
};

} // namespace platform::automation::workbook
