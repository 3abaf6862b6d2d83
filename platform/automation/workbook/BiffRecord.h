#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace platform::automation::workbook {

// One record of a binary workbook with the CONTINUE records that follow it, read as one
// sequence of bytes that knows where each piece starts: texts that run over a piece boundary
// start the next piece with a fresh option byte.
class BiffRecord
{
public:
    uint16_t type = 0;
    std::vector<QByteArray> pieces;

    // Sequential reading over the pieces; FormatError past the end.
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    double f64();
    void skip(qsizetype count);
    qsizetype remaining() const;
    // A text of the format: 8- or 16-bit length, option byte, characters, then any rich-text
    // runs and phonetic data, which are skipped.
    QString unicodeString(bool longLength);
    // Characters only, for a length and an option byte already read.
    QString characters(qsizetype count, bool wide);

private:
    void nextPieceIfAtEnd();

    size_t m_piece = 0;
    qsizetype m_offset = 0;
};

} // namespace platform::automation::workbook
