#include "platform/automation/workbook/ZipArchiveReader.h"

#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/WorkbookLimits.h"

#include <QFile>

#include <unzip.h>

namespace platform::automation::workbook {
namespace {

constexpr int kCaseInsensitive = 2;

[[noreturn]] void damaged(const QString& name)
{
    throw FormatError(QStringLiteral("The workbook is damaged: cannot read its part ") + name);
}

} // namespace

ZipArchiveReader::ZipArchiveReader(const QString& path, int64_t budget) : m_budget(budget)
{
    m_archive = unzOpen64(QFile::encodeName(path).constData());
    if (!m_archive) {
        throw FormatError(QStringLiteral("The file is not a workbook (not a zip archive)"));
    }
}

ZipArchiveReader::~ZipArchiveReader()
{
    unzClose(static_cast<unzFile>(m_archive));
}

std::optional<QByteArray> ZipArchiveReader::entry(const QString& name)
{
    QByteArray data;
    const bool found = streamEntry(name, [&](std::string_view chunk) {
        if (data.size() + static_cast<qsizetype>(chunk.size()) > kMaxEntrySize) {
            damaged(name);
        }
        data.append(chunk.data(), static_cast<qsizetype>(chunk.size()));
    });
    if (!found) {
        return std::nullopt;
    }
    return data;
}

bool ZipArchiveReader::streamEntry(const QString& name,
                                   const std::function<void(std::string_view)>& sink)
{
    const auto archive = static_cast<unzFile>(m_archive);
    if (unzLocateFile(archive, name.toUtf8().constData(), kCaseInsensitive) != UNZ_OK) {
        return false;
    }
    if (unzOpenCurrentFile(archive) != UNZ_OK) {
        damaged(name);
    }
    char buffer[65536];
    int read = 0;
    const bool counted = m_counted.contains(name);
    try {
        while ((read = unzReadCurrentFile(archive, buffer, sizeof buffer)) > 0) {
            m_unpacked += counted ? 0 : read;
            if (m_unpacked > m_budget) {
                throw FormatError(QStringLiteral("The workbook is too large: it unpacks to more "
                                                 "than %1 MB")
                                      .arg(m_budget / (1024 * 1024)));
            }
            sink(std::string_view(buffer, static_cast<size_t>(read)));
        }
    } catch (...) {
        unzCloseCurrentFile(archive);
        throw;
    }
    // Closing checks the CRC of what was read.
    const int closed = unzCloseCurrentFile(archive);
    if (read < 0 || closed != UNZ_OK) {
        damaged(name);
    }
    m_counted.insert(name);
    return true;
}

} // namespace platform::automation::workbook
