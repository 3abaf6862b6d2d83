#include "platform/automation/workbook/CompoundFileReader.h"

#include "platform/automation/workbook/ByteReader.h"
#include "platform/automation/workbook/FormatError.h"

namespace platform::automation::workbook {
namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSect = 0xFFFFFFFF;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kMiniSectorSize = 64;
const QByteArray kSignature = QByteArray::fromHex("D0CF11E0A1B11AE1");

[[noreturn]] void damaged(const QString& what)
{
    throw FormatError(QStringLiteral("The compound file is damaged: ") + what);
}

} // namespace

bool CompoundFileReader::hasSignature(const QByteArray& file)
{
    return file.startsWith(kSignature);
}

CompoundFileReader::CompoundFileReader(QByteArray file) : m_file(std::move(file))
{
    if (m_file.size() < 512 || !hasSignature(m_file)) {
        throw FormatError(QStringLiteral("The file is not a compound document"));
    }
    const uint16_t shift = ByteReader::u16At(m_file.constData() + 30);
    if (shift != 9 && shift != 12) {
        damaged(QStringLiteral("unknown sector size"));
    }
    m_sectorSize = 1U << shift;
    if (m_file.size() < static_cast<qsizetype>(m_sectorSize)) {
        damaged(QStringLiteral("the header is cut short"));
    }
    m_sectorCount =
        static_cast<uint32_t>((m_file.size() - m_sectorSize + m_sectorSize - 1) / m_sectorSize);
    m_miniCutoff = ByteReader::u32At(m_file.constData() + 56);
    m_miniFatStart = ByteReader::u32At(m_file.constData() + 60);
    m_miniFatSectors = ByteReader::u32At(m_file.constData() + 64);
    readFat();
    readDirectory();
}

const char* CompoundFileReader::sector(uint32_t index) const
{
    const qsizetype offset = (static_cast<qsizetype>(index) + 1) * m_sectorSize;
    if (index >= m_sectorCount || offset + m_sectorSize > m_file.size()) {
        damaged(QStringLiteral("a sector lies beyond the end of the file"));
    }
    return m_file.constData() + offset;
}

void CompoundFileReader::readFat()
{
    const char* header = m_file.constData();
    const uint32_t fatSectors = ByteReader::u32At(header + 44);
    uint32_t difatSector = ByteReader::u32At(header + 68);
    const uint32_t difatCount = ByteReader::u32At(header + 72);
    if (fatSectors > m_sectorCount || difatCount > m_sectorCount) {
        damaged(QStringLiteral("impossible table sizes"));
    }
    std::vector<uint32_t> fatLocations;
    for (uint32_t index = 0; index < 109 && fatLocations.size() < fatSectors; ++index) {
        fatLocations.push_back(ByteReader::u32At(header + 76 + index * 4));
    }
    const uint32_t perSector = m_sectorSize / 4;
    for (uint32_t read = 0; read < difatCount && fatLocations.size() < fatSectors; ++read) {
        const char* data = sector(difatSector);
        for (uint32_t slot = 0; slot + 1 < perSector && fatLocations.size() < fatSectors; ++slot) {
            fatLocations.push_back(ByteReader::u32At(data + slot * 4));
        }
        difatSector = ByteReader::u32At(data + (perSector - 1) * 4);
    }
    if (fatLocations.size() < fatSectors) {
        damaged(QStringLiteral("the sector table is incomplete"));
    }
    m_fat.reserve(static_cast<size_t>(fatSectors) * perSector);
    for (uint32_t location : fatLocations) {
        const char* data = sector(location);
        for (uint32_t slot = 0; slot < perSector; ++slot) {
            m_fat.push_back(ByteReader::u32At(data + slot * 4));
        }
    }
}

std::vector<uint32_t> CompoundFileReader::chain(uint32_t start, const std::vector<uint32_t>& table,
                                                uint64_t limit) const
{
    std::vector<uint32_t> result;
    uint32_t current = start;
    while (current != kEndOfChain) {
        // A chain longer than the table has a cycle.
        if (current >= table.size() || result.size() >= table.size() || result.size() >= limit) {
            damaged(QStringLiteral("a sector chain is broken"));
        }
        result.push_back(current);
        current = table[current];
    }
    return result;
}

QByteArray CompoundFileReader::readRegular(uint32_t start, uint64_t size) const
{
    if (size == 0) {
        return {};
    }
    const uint64_t needed = (size + m_sectorSize - 1) / m_sectorSize;
    const std::vector<uint32_t> sectors = chain(start, m_fat, needed);
    if (sectors.size() < needed) {
        damaged(QStringLiteral("a stream is shorter than its size"));
    }
    QByteArray data;
    data.reserve(static_cast<qsizetype>(sectors.size()) * m_sectorSize);
    for (uint32_t index : sectors) {
        data.append(sector(index), m_sectorSize);
    }
    data.truncate(static_cast<qsizetype>(size));
    return data;
}

QByteArray CompoundFileReader::readMini(uint32_t start, uint64_t size) const
{
    if (size == 0) {
        return {};
    }
    const uint64_t needed = (size + kMiniSectorSize - 1) / kMiniSectorSize;
    const std::vector<uint32_t> sectors = chain(start, m_miniFat, needed);
    if (sectors.size() < needed) {
        damaged(QStringLiteral("a small stream is shorter than its size"));
    }
    QByteArray data;
    for (uint32_t index : sectors) {
        const qsizetype offset = static_cast<qsizetype>(index) * kMiniSectorSize;
        if (offset + kMiniSectorSize > m_miniStream.size()) {
            damaged(QStringLiteral("a small stream lies outside the mini stream"));
        }
        data.append(m_miniStream.constData() + offset, kMiniSectorSize);
    }
    data.truncate(static_cast<qsizetype>(size));
    return data;
}

void CompoundFileReader::readDirectory()
{
    const uint32_t directoryStart = ByteReader::u32At(m_file.constData() + 48);
    const std::vector<uint32_t> sectors = chain(directoryStart, m_fat, m_fat.size());
    const bool version4 = m_sectorSize == 4096;
    for (uint32_t index : sectors) {
        const char* data = sector(index);
        for (uint32_t offset = 0; offset + 128 <= m_sectorSize; offset += 128) {
            const char* raw = data + offset;
            Entry entry;
            const uint16_t nameBytes = ByteReader::u16At(raw + 64);
            const int characters = nameBytes >= 2 && nameBytes <= 64 ? nameBytes / 2 - 1 : 0;
            for (int at = 0; at < characters; ++at) {
                entry.name += QChar(ByteReader::u16At(raw + at * 2));
            }
            entry.type = static_cast<uint8_t>(raw[66]);
            entry.left = ByteReader::u32At(raw + 68);
            entry.right = ByteReader::u32At(raw + 72);
            entry.child = ByteReader::u32At(raw + 76);
            entry.start = ByteReader::u32At(raw + 116);
            entry.size = ByteReader::u32At(raw + 120);
            if (version4) {
                entry.size |= static_cast<uint64_t>(ByteReader::u32At(raw + 124)) << 32;
            }
            m_entries.push_back(entry);
        }
    }
    if (m_entries.empty() || m_entries[0].type != 5) {
        damaged(QStringLiteral("the root entry is missing"));
    }
    if (m_entries[0].size > static_cast<uint64_t>(m_file.size())) {
        damaged(QStringLiteral("the mini stream is larger than the file"));
    }
    m_miniStream = readRegular(m_entries[0].start, m_entries[0].size);
    if (m_miniFatSectors > 0 && m_miniFatStart != kEndOfChain) {
        const QByteArray table =
            readRegular(m_miniFatStart, static_cast<uint64_t>(m_miniFatSectors) * m_sectorSize);
        for (qsizetype offset = 0; offset + 4 <= table.size(); offset += 4) {
            m_miniFat.push_back(ByteReader::u32At(table.constData() + offset));
        }
    }

    // The root's children form a tree through the sibling links; walk it without recursion and
    // visit every entry at most once.
    std::vector<bool> seen(m_entries.size(), false);
    std::vector<uint32_t> pending{m_entries[0].child};
    while (!pending.empty()) {
        const uint32_t id = pending.back();
        pending.pop_back();
        if (id == kNoStream || id == kFreeSect) {
            continue;
        }
        if (id >= m_entries.size() || seen[id]) {
            damaged(QStringLiteral("the directory tree is broken"));
        }
        seen[id] = true;
        if (m_entries[id].type == 2) {
            m_rootStreams.push_back(id);
        }
        pending.push_back(m_entries[id].left);
        pending.push_back(m_entries[id].right);
    }
}

QStringList CompoundFileReader::streamNames() const
{
    QStringList names;
    for (uint32_t id : m_rootStreams) {
        names.append(m_entries[id].name);
    }
    return names;
}

std::optional<QByteArray> CompoundFileReader::stream(const QString& name) const
{
    for (uint32_t id : m_rootStreams) {
        const Entry& entry = m_entries[id];
        if (entry.name.compare(name, Qt::CaseInsensitive) != 0) {
            continue;
        }
        if (entry.size > static_cast<uint64_t>(m_file.size())) {
            damaged(QStringLiteral("a stream is larger than the file"));
        }
        return entry.size < m_miniCutoff ? readMini(entry.start, entry.size)
                                         : readRegular(entry.start, entry.size);
    }
    return std::nullopt;
}

} // namespace platform::automation::workbook
