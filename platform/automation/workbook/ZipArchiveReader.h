#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform::automation::workbook {

// Reads entries of a zip archive (minizip). Entries are checked against their CRC and limited in
// size, so a damaged or hostile archive gives FormatError instead of garbage or exhaustion.
class ZipArchiveReader
{
public:
    static constexpr qsizetype kMaxEntrySize = 256 * 1024 * 1024;

    explicit ZipArchiveReader(const QString& path); // FormatError when it is not an archive
    ~ZipArchiveReader();
    ZipArchiveReader(const ZipArchiveReader&) = delete;
    ZipArchiveReader& operator=(const ZipArchiveReader&) = delete;

    std::optional<QByteArray> entry(const QString& name); // nothing when absent

private:
    void* m_archive = nullptr;
};

} // namespace platform::automation::workbook
