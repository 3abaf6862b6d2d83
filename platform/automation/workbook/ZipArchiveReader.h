#pragma once

#include "platform/automation/workbook/WorkbookLimits.h"

#include <QByteArray>
#include <QSet>
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

    // FormatError when it is not an archive. budget: the bytes all entries may unpack to.
    explicit ZipArchiveReader(const QString& path,
                              int64_t budget = WorkbookLimits::kMaxUnpackedBytes);
    ~ZipArchiveReader();
    ZipArchiveReader(const ZipArchiveReader&) = delete;
    ZipArchiveReader& operator=(const ZipArchiveReader&) = delete;

    std::optional<QByteArray> entry(const QString& name); // nothing when absent
    // Hands the entry to sink chunk by chunk, so a large part is never held whole; false when
    // absent. The bytes of every entry count once against one budget for the whole package
    // (WorkbookLimits), however often the entry is read; a package beyond it gives FormatError.
    bool streamEntry(const QString& name, const std::function<void(std::string_view)>& sink);

private:
    void* m_archive = nullptr;
    int64_t m_budget;
    int64_t m_unpacked = 0;
    QSet<QString> m_counted; // entries read to their end once, so already in m_unpacked
};

} // namespace platform::automation::workbook
