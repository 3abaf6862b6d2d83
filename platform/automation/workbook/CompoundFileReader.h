#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform::automation::workbook {

// Reads the streams at the root of a compound file (versions 3 and 4). Every sector number,
// chain and size is checked: a damaged file raises FormatError, never reads out of bounds or
// loops.
class CompoundFileReader
{
public:
    explicit CompoundFileReader(QByteArray file);

    static bool hasSignature(const QByteArray& file);
    QStringList streamNames() const;
    std::optional<QByteArray> stream(const QString& name) const; // name case-insensitive

private:
    struct Entry
    {
        QString name;
        uint8_t type = 0;
        uint32_t left = 0;
        uint32_t right = 0;
        uint32_t child = 0;
        uint32_t start = 0;
        uint64_t size = 0;
    };

    void readFat();
    void readDirectory();
    std::vector<uint32_t> chain(uint32_t start, const std::vector<uint32_t>& table,
                                uint64_t limit) const;
    QByteArray readRegular(uint32_t start, uint64_t size) const;
    QByteArray readMini(uint32_t start, uint64_t size) const;
    const char* sector(uint32_t index) const;

    QByteArray m_file;
    uint32_t m_sectorSize = 512;
    uint32_t m_sectorCount = 0;
    uint32_t m_miniCutoff = 4096;
    uint32_t m_miniFatStart = 0;
    uint32_t m_miniFatSectors = 0;
    std::vector<uint32_t> m_fat;
    std::vector<uint32_t> m_miniFat;
    std::vector<Entry> m_entries;
    std::vector<uint32_t> m_rootStreams;
    QByteArray m_miniStream;
};

} // namespace platform::automation::workbook
