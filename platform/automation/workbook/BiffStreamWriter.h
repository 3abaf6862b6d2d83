#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>

namespace platform::automation::workbook {

// Appends binary-workbook records (type, length, data) to a stream, and encodes the format's
// texts: 8-bit characters when every character fits, UTF-16 otherwise.
class BiffStreamWriter
{
public:
    static constexpr qsizetype kMaxRecordData = 8224;

    void record(uint16_t type, const QByteArray& data);
    qsizetype position() const { return m_bytes.size(); }
    QByteArray& bytes() { return m_bytes; }

    static bool needsWide(QStringView text);
    // Length (8 or 16 bits), option byte, characters.
    static QByteArray shortString(QStringView text);
    static QByteArray longString(QStringView text);
    static void appendCharacters(QByteArray& out, QStringView text, bool wide);

private:
    QByteArray m_bytes;
};

} // namespace platform::automation::workbook
