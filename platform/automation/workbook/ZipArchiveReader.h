#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

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
    // Hands the entry to sink chunk by chunk, so a large part is never held whole; false when
    // absent. Every byte unpacked from the archive counts against one budget for the whole
    // package (WorkbookLimits), which a package beyond it exhausts with FormatError.
    bool streamEntry(const QString& name, const std::function<void(std::string_view)>& sink);

private:
    void* m_archive = nullptr;
    int64_t m_unpacked = 0;
};

} // namespace platform::automation::workbook
