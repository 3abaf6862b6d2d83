#include "platform/ui/SettingsFile.h"

#include "platform/text/CaseTable.h"
#include "platform/text/Cp1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>
#include <vector>

namespace platform::ui {
namespace {

std::string_view trim(std::string_view text)
{
    constexpr std::string_view blanks = " \t";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b)
{
    return text::upper(trim(a)) == text::upper(trim(b));
}

// The name of a section header line ("[name]"), or nothing for another line.
std::optional<std::string_view> sectionOf(std::string_view line)
{
    line = trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    const std::size_t close = line.find(']');
    return trim(line.substr(0, close));
}

// The entry name of an "entry=value" line; comments (";") and lines without "=" have none.
std::optional<std::string_view> entryOf(std::string_view line)
{
    line = trim(line);
    if (line.empty() || line.front() == ';')
        return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(0, equals));
}

std::string_view valueOf(std::string_view line)
{
    return trim(line.substr(line.find('=') + 1));
}

using Lines = std::vector<std::string>;

// Nothing when the file is missing or cannot be read (the writer tells the two apart).
std::optional<Lines> readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    Lines lines;
    const std::string_view all(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string_view::npos)
            end = all.size();
        std::string_view line = all.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

struct Place
{
    int section = -1;     // line of the section header
    int lastContent = -1; // last non-blank line of the section (the header at least)
    int entry = -1;       // line of the entry
};

Place locate(const Lines& lines, std::string_view section, std::string_view entry)
{
    Place place;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i)];
        if (const auto name = sectionOf(line)) {
            // The first section of the name is the one; a later duplicate is not read.
            if (place.section >= 0)
                break;
            if (sameName(*name, section))
                place.section = place.lastContent = i;
            continue;
        }
        if (place.section < 0)
            continue;
        if (!trim(line).empty())
            place.lastContent = i;
        if (const auto name = entryOf(line); name && place.entry < 0 && sameName(*name, entry))
            place.entry = i;
    }
    return place;
}

bool usableName(std::string_view name, std::string_view forbidden)
{
    name = trim(name);
    return !name.empty() && name.find_first_of(forbidden) == std::string_view::npos;
}

bool usableSection(std::string_view section)
{
    return usableName(section, std::string_view("\r\n]\0", 4));
}

bool usableEntry(std::string_view entry)
{
    const std::string_view name = trim(entry);
    return usableName(entry, std::string_view("\r\n=\0", 4)) && name.front() != '['
        && name.front() != ';';
}

std::string safeValue(std::string_view value)
{
    std::string safe(value);
    for (char& c : safe)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return safe;
}

// The entry of a folder whose name matches without regard to letter case, or an empty text.
QString findInFolder(const QString& folder, const QString& name)
{
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return {};
}

} // namespace

QString SettingsFile::resolve(std::string_view fileName)
{
    QString name = text::toQString(fileName);
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (name.isEmpty())
        return {};
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return resolvePath(QDir::cleanPath(QDir::current().absoluteFilePath(name)));
}

QString SettingsFile::resolvePath(const QString& absolute)
{
    if (absolute.isEmpty())
        return {};
    QString path = QStringLiteral("/");
    const QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QString next = QDir(path).filePath(part);
        if (!QFileInfo::exists(next)) {
            if (const QString found = findInFolder(path, part); !found.isEmpty())
                next = QDir(path).filePath(found);
        }
        path = next;
    }
    return path;
}

std::string SettingsFile::read(std::string_view fileName, std::string_view section,
                               std::string_view entry, std::string_view defaultValue)
{
    return readPath(resolve(fileName), section, entry, defaultValue);
}

bool SettingsFile::write(std::string_view fileName, std::string_view section,
                         std::string_view entry, std::string_view value)
{
    return writePath(resolve(fileName), section, entry, value);
}

std::string SettingsFile::readPath(const QString& path, std::string_view section,
                                   std::string_view entry, std::string_view defaultValue)
{
    if (path.isEmpty())
        return std::string(defaultValue);
    const std::optional<Lines> lines = readLines(path);
    if (!lines)
        return std::string(defaultValue);
    const Place place = locate(*lines, section, entry);
    if (place.entry < 0)
        return std::string(defaultValue);
    return std::string(valueOf((*lines)[static_cast<std::size_t>(place.entry)]));
}

bool SettingsFile::writePath(const QString& path, std::string_view section,
                             std::string_view entry, std::string_view value)
{
    if (path.isEmpty() || !usableSection(section) || !usableEntry(entry))
        return false;
    std::optional<Lines> read = readLines(path);
    // An existing file that cannot be read must not be replaced by one holding a single entry.
    if (!read && QFileInfo::exists(path))
        return false;
    Lines lines = read ? std::move(*read) : Lines{};

    const Place place = locate(lines, section, entry);
    const std::string safe = safeValue(value);
    if (place.entry >= 0) {
        std::string& line = lines[static_cast<std::size_t>(place.entry)];
        line = std::string(*entryOf(line)) + '=' + safe;
    } else {
        const std::string line = std::string(trim(entry)) + '=' + safe;
        if (place.section >= 0) {
            lines.insert(lines.begin() + place.lastContent + 1, line);
        } else {
            lines.push_back('[' + std::string(trim(section)) + ']');
            lines.push_back(line);
        }
    }

    QByteArray bytes;
    for (const std::string& line : lines) {
        bytes.append(line.data(), static_cast<qsizetype>(line.size()));
        bytes.append("\r\n", 2);
    }
    // Written aside and renamed into place, so a failed write leaves the old file whole.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void SettingsFile::init(std::string_view fileName)
{
    m_path = resolve(fileName);
}

std::string SettingsFile::fetch(std::string_view section, std::string_view entry,
                                std::string_view defaultValue) const
{
    // The file may have come since, under another letter case of its name.
    return readPath(resolvePath(m_path), section, entry, defaultValue);
}

bool SettingsFile::update(std::string_view section, std::string_view entry,
                          std::string_view value)
{
    return writePath(resolvePath(m_path), section, entry, value);
}

bool SettingsFile::flush()
{
    return isBound();
}

void SettingsFile::kill()
{
    m_path.clear();
}

} // namespace platform::ui
