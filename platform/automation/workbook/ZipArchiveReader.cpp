#include "platform/automation/workbook/ZipArchiveReader.h"

#include "platform/automation/workbook/FormatError.h"

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

ZipArchiveReader::ZipArchiveReader(const QString& path)
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
    const auto archive = static_cast<unzFile>(m_archive);
    if (unzLocateFile(archive, name.toUtf8().constData(), kCaseInsensitive) != UNZ_OK) {
        return std::nullopt;
    }
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        info.uncompressed_size > static_cast<ZPOS64_T>(kMaxEntrySize)) {
        damaged(name);
    }
    if (unzOpenCurrentFile(archive) != UNZ_OK) {
        damaged(name);
    }
    QByteArray data;
    data.reserve(static_cast<qsizetype>(info.uncompressed_size));
    char buffer[65536];
    int read = 0;
    while ((read = unzReadCurrentFile(archive, buffer, sizeof buffer)) > 0) {
        if (data.size() + read > kMaxEntrySize) {
            unzCloseCurrentFile(archive);
            damaged(name);
        }
        data.append(buffer, read);
    }
    // Closing checks the CRC of what was read.
    const int closed = unzCloseCurrentFile(archive);
    if (read < 0 || closed != UNZ_OK) {
        damaged(name);
    }
    return data;
}

} // namespace platform::automation::workbook
