#include "platform/automation/workbook/XlsStringTable.h"

#include "platform/automation/workbook/ByteWriter.h"

#include <algorithm>

namespace platform::automation::workbook {
namespace {

constexpr uint16_t kSst = 0x00FC;
constexpr uint16_t kContinue = 0x003C;
constexpr uint16_t kExtSst = 0x00FF;

} // namespace

uint32_t XlsStringTable::indexOf(const QString& text)
{
    ++m_uses;
    const auto found = m_index.constFind(text);
    if (found != m_index.constEnd()) {
        return found.value();
    }
    const auto index = static_cast<uint32_t>(m_strings.size());
    m_strings.push_back(text.left(32767));
    m_index.insert(text, index);
    return index;
}

void XlsStringTable::write(BiffStreamWriter& out) const
{
    // The SST is split into records of at most 8224 data bytes. A string's length and option
    // byte never split; its characters may, and the next record then starts with an option byte.
    QByteArray current;
    bool first = true;
    const auto room = [&]() { return BiffStreamWriter::kMaxRecordData - current.size(); };
    const auto flush = [&]() {
        out.record(first ? kSst : kContinue, current);
        first = false;
        current.clear();
    };

    ByteWriter head(current);
    head.u32(m_uses);
    head.u32(static_cast<uint32_t>(m_strings.size()));

    // EXTSST points at every n-th string: its stream offset and its offset in its record.
    const uint32_t bucketSize =
        std::max<uint32_t>(8, static_cast<uint32_t>(m_strings.size() / 128 + 1));
    QByteArray index;
    ByteWriter indexWriter(index);
    indexWriter.u16(bucketSize);

    for (size_t number = 0; number < m_strings.size(); ++number) {
        const QString& text = m_strings[number];
        const bool wide = BiffStreamWriter::needsWide(text);
        const qsizetype charSize = wide ? 2 : 1;
        if (room() < 3 + (text.isEmpty() ? 0 : charSize)) {
            flush();
        }
        if (number % bucketSize == 0) {
            indexWriter.u32(static_cast<uint32_t>(out.position() + 4 + current.size()));
            indexWriter.u16(static_cast<uint32_t>(4 + current.size()));
            indexWriter.u16(0);
        }
        ByteWriter writer(current);
        writer.u16(static_cast<uint32_t>(text.size()));
        writer.u8(wide ? 1 : 0);
        QStringView rest(text);
        while (!rest.isEmpty()) {
            qsizetype fit = room() / charSize;
            if (fit == 0) {
                flush();
                current.append(static_cast<char>(wide ? 1 : 0));
                fit = room() / charSize;
            }
            const QStringView part = rest.left(fit);
            BiffStreamWriter::appendCharacters(current, part, wide);
            rest = rest.mid(part.size());
        }
    }
    flush();
    out.record(kExtSst, index);
}

} // namespace platform::automation::workbook
