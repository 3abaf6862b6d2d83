#include "platform/automation/workbook/BiffStreamWriter.h"

#include "platform/automation/workbook/ByteWriter.h"
#include "platform/automation/workbook/FormatError.h"

namespace platform::automation::workbook {

void BiffStreamWriter::record(uint16_t type, const QByteArray& data)
{
    if (data.size() > kMaxRecordData) {
        throw FormatError(QStringLiteral("Internal error: a record is too long"));
    }
    ByteWriter out(m_bytes);
    out.u16(type);
    out.u16(static_cast<uint32_t>(data.size()));
    out.raw(data);
}

bool BiffStreamWriter::needsWide(QStringView text)
{
    for (QChar character : text) {
        if (character.unicode() > 0xFF) {
            return true;
        }
    }
    return false;
}

void BiffStreamWriter::appendCharacters(QByteArray& out, QStringView text, bool wide)
{
    ByteWriter writer(out);
    for (QChar character : text) {
        if (wide) {
            writer.u16(character.unicode());
        } else {
            writer.u8(character.unicode());
        }
    }
}

QByteArray BiffStreamWriter::shortString(QStringView text)
{
    text = text.left(255);
    const bool wide = needsWide(text);
    QByteArray out;
    ByteWriter writer(out);
    writer.u8(static_cast<uint32_t>(text.size()));
    writer.u8(wide ? 1 : 0);
    appendCharacters(out, text, wide);
    return out;
}

QByteArray BiffStreamWriter::longString(QStringView text)
{
    text = text.left(32767);
    const bool wide = needsWide(text);
    QByteArray out;
    ByteWriter writer(out);
    writer.u16(static_cast<uint32_t>(text.size()));
    writer.u8(wide ? 1 : 0);
    appendCharacters(out, text, wide);
    return out;
}

} // namespace platform::automation::workbook
