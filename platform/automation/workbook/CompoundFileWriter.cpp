#include "platform/automation/workbook/CompoundFileWriter.h"

#include "platform/automation/workbook/ByteWriter.h"
#include "platform/automation/workbook/FormatError.h"

#include <algorithm>

namespace platform::automation::workbook {
namespace {

constexpr uint32_t kSectorSize = 512;
constexpr uint32_t kMiniSectorSize = 64;
constexpr uint32_t kMiniStreamCutoff = 4096;
constexpr uint32_t kEntriesPerSector = kSectorSize / 4;
constexpr uint32_t kHeaderDifatEntries = 109;
constexpr uint32_t kDifatSect = 0xFFFFFFFC;
constexpr uint32_t kFatSect = 0xFFFFFFFD;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSect = 0xFFFFFFFF;
constexpr uint32_t kNoStream = 0xFFFFFFFF;

uint32_t sectorsFor(qsizetype bytes, uint32_t sectorSize)
{
    return static_cast<uint32_t>((bytes + sectorSize - 1) / sectorSize);
}

void padTo(QByteArray& data, uint32_t size, char filler = '\0')
{
    const qsizetype rest = data.size() % size;
    if (rest != 0) {
        data.append(size - rest, filler);
    }
}

// Sibling order of the directory tree: shorter names first, then by upper-case code units.
bool nameLess(const QString& left, const QString& right)
{
    if (left.size() != right.size()) {
        return left.size() < right.size();
    }
    return left.toUpper() < right.toUpper();
}

struct Entry
{
    QString name;
    uint8_t type = 0; // 2 stream, 5 root
    uint32_t left = kNoStream;
    uint32_t right = kNoStream;
    uint32_t child = kNoStream;
    uint32_t start = kEndOfChain;
    uint32_t size = 0;
};

// A balanced tree over entries [first, last) of the sorted list; returns its root's id.
uint32_t buildTree(std::vector<Entry>& entries, const std::vector<uint32_t>& sorted, size_t first,
                   size_t last)
{
    if (first >= last) {
        return kNoStream;
    }
    const size_t middle = first + (last - first) / 2;
    const uint32_t id = sorted[middle];
    entries[id].left = buildTree(entries, sorted, first, middle);
    entries[id].right = buildTree(entries, sorted, middle + 1, last);
    return id;
}

void writeEntry(ByteWriter& out, const Entry& entry)
{
    const qsizetype start = out.size();
    const QString name = entry.name.left(31);
    for (QChar character : name) {
        out.u16(character.unicode());
    }
    out.zeros(64 - name.size() * 2);
    out.u16(entry.type == 0 ? 0 : static_cast<uint32_t>((name.size() + 1) * 2));
    out.u8(entry.type);
    out.u8(1); // black: the tree is not coloured, which readers accept
    out.u32(entry.left);
    out.u32(entry.right);
    out.u32(entry.child);
    out.zeros(16 + 4 + 8 + 8); // class id, state bits, creation and modification times
    out.u32(entry.start);
    out.u32(entry.size);
    out.u32(0);
    Q_ASSERT(out.size() - start == 128);
}

} // namespace

void CompoundFileWriter::addStream(const QString& name, const QByteArray& data)
{
    m_streams.emplace_back(name, data);
}

QByteArray CompoundFileWriter::build() const
{
    std::vector<uint32_t> fat;
    QByteArray body; // the sectors after the header, sector n at n * 512
    const auto allocate = [&](const QByteArray& data) -> uint32_t {
        const uint32_t count = sectorsFor(data.size(), kSectorSize);
        if (count == 0) {
            return kEndOfChain;
        }
        const auto start = static_cast<uint32_t>(fat.size());
        for (uint32_t index = 0; index < count; ++index) {
            fat.push_back(index + 1 < count ? start + index + 1 : kEndOfChain);
        }
        body.append(data);
        padTo(body, kSectorSize);
        return start;
    };

    std::vector<Entry> entries(1);
    entries[0].name = QStringLiteral("Root Entry");
    entries[0].type = 5;

    QByteArray miniStream;
    std::vector<uint32_t> miniFat;
    for (const auto& [name, data] : m_streams) {
        if (data.size() > 0x7FFFFFFF) {
            throw FormatError(QStringLiteral("A stream is too large for the file"));
        }
        Entry entry;
        entry.name = name;
        entry.type = 2;
        entry.size = static_cast<uint32_t>(data.size());
        if (data.size() >= static_cast<qsizetype>(kMiniStreamCutoff)) {
            entry.start = allocate(data);
        } else if (!data.isEmpty()) {
            const uint32_t count = sectorsFor(data.size(), kMiniSectorSize);
            entry.start = static_cast<uint32_t>(miniFat.size());
            for (uint32_t index = 0; index < count; ++index) {
                miniFat.push_back(index + 1 < count ? entry.start + index + 1 : kEndOfChain);
            }
            miniStream.append(data);
            padTo(miniStream, kMiniSectorSize);
        }
        entries.push_back(entry);
    }

    entries[0].size = static_cast<uint32_t>(miniStream.size());
    entries[0].start = allocate(miniStream);
    uint32_t miniFatStart = kEndOfChain;
    const uint32_t miniFatSectors =
        sectorsFor(static_cast<qsizetype>(miniFat.size()) * 4, kSectorSize);
    if (!miniFat.empty()) {
        QByteArray table;
        ByteWriter writer(table);
        for (uint32_t next : miniFat) {
            writer.u32(next);
        }
        padTo(table, kSectorSize, '\xFF');
        miniFatStart = allocate(table);
    }

    std::vector<uint32_t> sorted;
    for (uint32_t id = 1; id < entries.size(); ++id) {
        sorted.push_back(id);
    }
    std::sort(sorted.begin(), sorted.end(), [&](uint32_t left, uint32_t right) {
        return nameLess(entries[left].name, entries[right].name);
    });
    entries[0].child = buildTree(entries, sorted, 0, sorted.size());
    QByteArray directory;
    ByteWriter directoryWriter(directory);
    for (const Entry& entry : entries) {
        writeEntry(directoryWriter, entry);
    }
    Entry unused;
    unused.start = 0;
    while (directory.size() % kSectorSize != 0) {
        writeEntry(directoryWriter, unused);
    }
    const uint32_t directoryStart = allocate(directory);

    // FAT and DIFAT sectors describe themselves too, so their counts are found by iteration.
    const auto dataSectors = static_cast<uint32_t>(fat.size());
    uint32_t fatSectors = 1;
    uint32_t difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > kHeaderDifatEntries
                           ? (fatSectors - kHeaderDifatEntries + kEntriesPerSector - 2) /
                                 (kEntriesPerSector - 1)
                           : 0;
        const uint32_t needed = sectorsFor(
            static_cast<qsizetype>(dataSectors + fatSectors + difatSectors) * 4, kSectorSize);
        if (needed <= fatSectors) {
            break;
        }
        fatSectors = needed;
    }
    const uint32_t firstFatSector = dataSectors;
    for (uint32_t index = 0; index < fatSectors; ++index) {
        fat.push_back(kFatSect);
    }
    const uint32_t firstDifatSector = dataSectors + fatSectors;
    for (uint32_t index = 0; index < difatSectors; ++index) {
        fat.push_back(kDifatSect);
    }
    fat.resize(static_cast<size_t>(fatSectors) * kEntriesPerSector, kFreeSect);
    ByteWriter bodyWriter(body);
    for (uint32_t next : fat) {
        bodyWriter.u32(next);
    }
    for (uint32_t difat = 0; difat < difatSectors; ++difat) {
        for (uint32_t slot = 0; slot < kEntriesPerSector - 1; ++slot) {
            const uint32_t fatIndex = kHeaderDifatEntries + difat * (kEntriesPerSector - 1) + slot;
            bodyWriter.u32(fatIndex < fatSectors ? firstFatSector + fatIndex : kFreeSect);
        }
        bodyWriter.u32(difat + 1 < difatSectors ? firstDifatSector + difat + 1 : kEndOfChain);
    }

    QByteArray file;
    file.reserve(kSectorSize + body.size());
    ByteWriter header(file);
    header.raw(QByteArray::fromHex("D0CF11E0A1B11AE1"));
    header.zeros(16);
    header.u16(0x003E);
    header.u16(0x0003);
    header.u16(0xFFFE);
    header.u16(9);
    header.u16(6);
    header.zeros(6);
    header.u32(0); // directory sectors: always 0 in version 3
    header.u32(fatSectors);
    header.u32(directoryStart);
    header.u32(0);
    header.u32(kMiniStreamCutoff);
    header.u32(miniFatStart);
    header.u32(miniFatSectors);
    header.u32(difatSectors ? firstDifatSector : kEndOfChain);
    header.u32(difatSectors);
    for (uint32_t index = 0; index < kHeaderDifatEntries; ++index) {
        header.u32(index < fatSectors ? firstFatSector + index : kFreeSect);
    }
    Q_ASSERT(file.size() == kSectorSize);
    file.append(body);
    return file;
}

} // namespace platform::automation::workbook
