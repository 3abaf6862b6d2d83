#include "platform/automation/workbook/WorkbookFile.h"

#include "platform/automation/workbook/CompoundFileReader.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/XlsReader.h"
#include "platform/automation/workbook/XlsWriter.h"
#include "platform/automation/workbook/XlsxReader.h"
#include "platform/automation/workbook/XlsxWriter.h"
#include "platform/storage/Leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace platform::automation::workbook {
namespace {

constexpr qint64 kMaxFileSize = 1024LL * 1024 * 1024;

void setError(QString* error, const QString& message)
{
    if (error) {
        *error = message;
    }
}

// A file operation that failed: the errno goes with the message.
[[noreturn]] void failed(const QString& path, int systemError)
{
    throw FormatError(QStringLiteral("Cannot write %1: %2")
                          .arg(path, QString::fromLocal8Bit(std::strerror(systemError))),
                      systemError);
}

// A hidden neighbour of the target: the new file is written there and takes the target's place
// only once complete, so a failed or killed save leaves the old file as it was. Its name
// carries the process id, so the next save into the folder removes what a killed one left.
QString neighbourOf(const QString& path)
{
    const QFileInfo target(path);
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    platform::storage::removeLeftovers(folder.toStdString());
    const QByteArray hidden = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") +
                                                target.fileName());
    const std::string neighbour = platform::storage::temporaryBeside(hidden.toStdString());
    // One of an earlier process of this id is no one's.
    ::unlink(neighbour.c_str());
    return QFile::decodeName(QByteArray::fromStdString(neighbour));
}

// The whole of bytes into a new file, flushed to the disk.
void writeNewFile(const QString& path, const QByteArray& bytes)
{
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        failed(path, errno);
    }
    qint64 written = 0;
    int error = 0;
    while (error == 0 && written < bytes.size()) {
        const ssize_t step = ::write(descriptor, bytes.constData() + written,
                                     static_cast<size_t>(bytes.size() - written));
        if (step > 0) {
            written += step;
        } else if (step < 0 && errno != EINTR) {
            error = errno;
        } else if (step == 0) {
            error = ENOSPC; // the system took nothing and said nothing: no room
        }
    }
    // The new file must be on the disk before its name replaces the old one, or a crash right
    // after the rename could leave neither.
    if (error == 0 && ::fsync(descriptor) != 0) {
        error = errno;
    }
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        failed(path, error);
    }
}

void flushToDisk(const QString& path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        failed(path, errno);
    }
    const int error = ::fsync(descriptor) == 0 ? 0 : errno;
    ::close(descriptor);
    if (error != 0) {
        failed(path, error);
    }
}

// The complete neighbour takes the target's place, with the target's permissions.
void replaceTarget(const QString& neighbour, const QString& path)
{
    const QByteArray from = QFile::encodeName(neighbour);
    const QByteArray to = QFile::encodeName(path);
    struct stat previous
    {
    };
    if (::stat(to.constData(), &previous) == 0) {
        ::chmod(from.constData(), previous.st_mode & 07777);
    }
    if (::rename(from.constData(), to.constData()) != 0) {
        failed(path, errno);
    }
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void saveXls(const Workbook& workbook, const QString& path)
{
    const QByteArray bytes = XlsWriter::write(workbook);
    const QString neighbour = neighbourOf(path);
    try {
        writeNewFile(neighbour, bytes);
        replaceTarget(neighbour, path);
    } catch (...) {
        QFile::remove(neighbour);
        throw;
    }
}

void saveXlsx(const Workbook& workbook, const QString& path)
{
    // The library writes straight to its file name, so it writes the neighbour.
    const QFileInfo target(path);
    if (!target.absoluteDir().exists()) {
        failed(path, ENOENT);
    }
    const QString neighbour = neighbourOf(path);
    try {
        XlsxWriter::write(workbook, neighbour);
        flushToDisk(neighbour);
        replaceTarget(neighbour, path);
    } catch (...) {
        QFile::remove(neighbour);
        throw;
    }
}

} // namespace

WorkbookFile::Format WorkbookFile::formatForName(const QString& path)
{
    return path.trimmed().endsWith(u".xlsx", Qt::CaseInsensitive) ? Format::Xlsx : Format::Xls;
}

bool WorkbookFile::save(const Workbook& workbook, const QString& path, QString* error,
                        int* systemError)
{
    if (systemError) {
        *systemError = 0;
    }
    try {
        if (formatForName(path) == Format::Xlsx) {
            saveXlsx(workbook, path);
        } else {
            saveXls(workbook, path);
        }
        return true;
    } catch (const FormatError& failure) {
        setError(error, failure.message());
        if (systemError) {
            *systemError = failure.systemError();
        }
    } catch (const std::bad_alloc&) {
        setError(error, QStringLiteral("Not enough memory to save the workbook"));
        if (systemError) {
            *systemError = ENOMEM;
        }
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
