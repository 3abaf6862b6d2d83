// Names of data files on disk and the operations on closed files.
#include "platform/storage/RecordFile.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/sqlite/Database.h"
#include "platform/storage/sqlite/FileLock.h"
#include "platform/storage/sqlite/ResultCodes.h"
#include "platform/text/Cp1251.h"

#include <QString>

#include <filesystem>
#include <vector>

namespace platform::storage {

namespace fs = std::filesystem;

namespace {

bool isUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                                                  : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// Names inside the program are Windows-1251; the file system takes UTF-8. A name that is
// already UTF-8 (a folder the system gave) is kept as it is.
std::string systemName(std::string_view name)
{
    std::string text = isUtf8(name) ? std::string(name) : text::cp1251ToUtf8(name);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    return text;
}

bool sameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())),
                        Qt::CaseInsensitive)
           == 0;
}

int finish(int code, std::string_view name)
{
    setError(code, name);
    return code;
}

int missingCode(const fs::path& path)
{
    std::error_code error;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    return fs::is_directory(folder, error) ? Error::FileNotFound : Error::PathNotFound;
}

// Whether a file may be changed by name: not open in this process, not locked by a writer.
int freeToChange(const std::string& path)
{
    if (sqlite::Database::inUse(path))
        return Error::AccessDenied;
    sqlite::FileLock lock;
    if (lock.attach(path) && !lock.acquire(sqlite::LockLevel::Exclusive))
        return Error::AccessDenied;
    return Error::None;
}

int codeOf(const std::error_code& error)
{
    return error ? sqlite::codeOfErrno(error.value()) : Error::None;
}

} // namespace

std::string resolveFileName(std::string_view name)
{
    const std::string given = systemName(name);
    std::error_code error;
    if (given.empty() || fs::exists(given, error))
        return given;

    // Find each missing part of the path in its folder by a name that differs only in case.
    const fs::path path(given);
    fs::path resolved = path.root_path();
    const fs::path relative = path.relative_path();
    std::vector<fs::path> parts(relative.begin(), relative.end());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const fs::path exact = resolved / parts[i];
        if (fs::exists(exact, error) || parts[i] == "." || parts[i] == "..") {
            resolved = exact;
            continue;
        }
        const fs::path folder = resolved.empty() ? fs::path(".") : resolved;
        bool found = false;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string candidate = it->path().filename().string();
            if (sameNameIgnoringCase(candidate, parts[i].string())) {
                resolved /= candidate;
                found = true;
                break;
            }
        }
        if (!found) {
            for (; i < parts.size(); ++i)
                resolved /= parts[i];
            break;
        }
    }
    return resolved.string();
}

bool fileExists(std::string_view name)
{
    std::error_code error;
    const bool exists = fs::is_regular_file(resolveFileName(name), error);
    finish(exists ? Error::None : Error::FileNotFound, exists ? std::string_view() : name);
    return exists;
}

int removeFile(std::string_view name)
{
    const std::string path = resolveFileName(name);
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return finish(missingCode(path), name);
    if (const int code = freeToChange(path))
        return finish(code, name);
    fs::remove(path, error);
    if (!error)
        fs::remove(path + "-journal", error);
    return finish(codeOf(error), name);
}

int copyFile(std::string_view from, std::string_view to)
{
    const std::string source = resolveFileName(from);
    const std::string target = resolveFileName(to);
    std::error_code error;
    if (!fs::is_regular_file(source, error))
        return finish(missingCode(source), from);
    if (!fs::is_directory(fs::path(target).has_parent_path() ? fs::path(target).parent_path()
                                                             : fs::path("."),
                          error))
        return finish(Error::PathNotFound, to);
    if (fs::exists(target, error))
        if (const int code = freeToChange(target))
            return finish(code, to);
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
    if (error)
        return finish(codeOf(error), to);
    // A journal left by a crash travels with its file, so the copy rolls back the same way.
    fs::remove(target + "-journal", error);
    if (fs::exists(source + "-journal", error))
        fs::copy_file(source + "-journal", target + "-journal", fs::copy_options::overwrite_existing,
                      error);
    return finish(codeOf(error), to);
}

int renameFile(std::string_view from, std::string_view to)
{
    const std::string source = resolveFileName(from);
    const std::string target = resolveFileName(to);
    std::error_code error;
    if (!fs::is_regular_file(source, error))
        return finish(missingCode(source), from);
    if (const int code = freeToChange(source))
        return finish(code, from);
    if (fs::exists(target, error))
        if (const int code = freeToChange(target))
            return finish(code, to);
    fs::rename(source, target, error);
    if (error)
        return finish(missingCode(target) == Error::PathNotFound ? Error::PathNotFound : codeOf(error),
                      to);
    fs::remove(target + "-journal", error);
    if (fs::exists(source + "-journal", error))
        fs::rename(source + "-journal", target + "-journal", error);
    return finish(codeOf(error), to);
}

} // namespace platform::storage
