#pragma once

#include <QByteArray>

#include <cstdint>

namespace platform::automation::workbook {

// Appends little-endian values to a byte buffer.
class ByteWriter
{
public:
    ByteWriter() = default;
    explicit ByteWriter(QByteArray& target) : m_external(&target) {}

    void u8(uint32_t value) { bytes().append(static_cast<char>(value & 0xFF)); }
    void u16(uint32_t value);
    void u32(uint32_t value);
    void f64(double value);
    void zeros(qsizetype count) { bytes().append(count, '\0'); }
    void raw(const QByteArray& data) { bytes().append(data); }
    void putU16At(qsizetype offset, uint32_t value);
    void putU32At(qsizetype offset, uint32_t value);

    qsizetype size() const { return bytes().size(); }
    QByteArray& bytes() { return m_external ? *m_external : m_own; }
    const QByteArray& bytes() const { return m_external ? *m_external : m_own; }

private:
    QByteArray m_own;
    QByteArray* m_external = nullptr;
};

} // namespace platform::automation::workbook
