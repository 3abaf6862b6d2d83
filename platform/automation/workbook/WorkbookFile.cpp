#include "platform/automation/workbook/WorkbookFile.h"

#include "platform/automation/workbook/CompoundFileReader.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/XlsReader.h"
#include "platform/automation/workbook/XlsWriter.h"
#include "platform/automation/workbook/XlsxReader.h"
#include "platform/automation/workbook/XlsxWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUuid>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <new>
#include <system_error>

namespace platform::automation::workbook {
namespace {

constexpr qint64 kMaxFileSize = 1024LL * 1024 * 1024;

void setError(QString* error, const QString& message)
{
    if (error) {
        *error = message;
    }
}

// The new file must be on the disk before its name replaces the old one, or a crash right after
// the rename could leave neither.
void flushToDisk(const QString& path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool flushed = descriptor >= 0 && ::fsync(descriptor) == 0;
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    if (!flushed) {
        throw FormatError(QStringLiteral("Cannot write %1: it could not be flushed").arg(path));
    }
}

void saveXls(const Workbook& workbook, const QString& path)
{
    const QByteArray bytes = XlsWriter::write(workbook);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw FormatError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    }
}

void saveXlsx(const Workbook& workbook, const QString& path)
{
    // The library writes straight to its file name, so it writes a neighbour that replaces the
    // target once complete.
    const QFileInfo target(path);
    if (!target.absoluteDir().exists()) {
        throw FormatError(QStringLiteral("Cannot write %1: the folder does not exist").arg(path));
    }
    const QString temporary = target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                              u'.' + QUuid::createUuid().toString(QUuid::Id128).left(8) +
                              QStringLiteral(".tmp");
    try {
        XlsxWriter::write(workbook, temporary);
        flushToDisk(temporary);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(temporary).toStdString(),
                            QFile::encodeName(path).toStdString(), failure);
    if (failure) {
        QFile::remove(temporary);
        throw FormatError(QStringLiteral("Cannot write %1: %2")
                              .arg(path, QString::fromStdString(failure.message())));
    }
}

} // namespace

WorkbookFile::Format WorkbookFile::formatForName(const QString& path)
{
    return path.trimmed().endsWith(u".xlsx", Qt::CaseInsensitive) ? Format::Xlsx : Format::Xls;
}

bool WorkbookFile::save(const Workbook& workbook, const QString& path, QString* error)
{
    try {
        if (formatForName(path) == Format::Xlsx) {
            saveXlsx(workbook, path);
        } else {
            saveXls(workbook, path);
        }
        return true;
    } catch (const FormatError& failure) {
        setError(error, failure.message());
    } catch (const std::bad_alloc&) {
        setError(error, QStringLiteral("Not enough memory to save the workbook"));
    }
    return false;
}

std::optional<Workbook> WorkbookFile::open(const QString& path, QString* error)
{
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            throw FormatError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
        }
        if (file.size() > kMaxFileSize) {
            throw FormatError(QStringLiteral("The file is too large to be a workbook"));
        }
        const QByteArray head = file.peek(8);
        if (head.startsWith("PK")) {
            file.close();
            return XlsxReader::read(path);
        }
        const QByteArray bytes = file.readAll();
        if (CompoundFileReader::hasSignature(bytes)) {
            return XlsReader::read(bytes);
        }
        throw FormatError(bytes.isEmpty() ? QStringLiteral("The file is empty")
                                          : QStringLiteral("The file is not a workbook"));
    } catch (const FormatError& failure) {
        setError(error, failure.message());
    } catch (const std::bad_alloc&) {
        setError(error, QStringLiteral("The file is damaged or too large to be read"));
    }
    return std::nullopt;
}

} // namespace platform::automation::workbook
