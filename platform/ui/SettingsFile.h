#pragma once

#include <QString>

#include <string>
#include <string_view>

// Settings files: INI files whose bytes are Windows-1251, lines ending in CR LF. Section and
// entry names compare without regard to letter case; values are read without their leading and
// trailing blanks; a missing file, section or entry reads as the default. A write creates the
// file and the section when they are missing and keeps every other line (comments, blank lines,
// order) as it was. File names are Windows-1251, "\" is accepted as the separator, and each part
// of the path is found in its folder whatever its letter case. A relative name is taken from the
// current working folder.
//
// The object form is the program's global settings object: it is bound to one file by init()
// and reads and writes that file until kill().
namespace platform::ui {

class SettingsFile
{
public:
    static std::string read(std::string_view fileName, std::string_view section,
                            std::string_view entry, std::string_view defaultValue = {});
    // False when the file cannot be written or the names are unusable (empty, or holding a
    // line break, "=" in an entry name, "]" in a section name); the file is then unchanged.
    // Line breaks inside a value are written as blanks, so a value cannot add lines.
    static bool write(std::string_view fileName, std::string_view section, std::string_view entry,
                      std::string_view value);

    // The path a settings-file name stands for on this system, as read() and write() use it.
    static QString resolve(std::string_view fileName);

    SettingsFile() = default;

    // Binds the object to a file; its folder is taken now, so a later change of the working
    // folder does not move the settings. Its name is found in the folder at each read and write
    // whatever its letter case, so a file made after this under another case is the same file.
    void init(std::string_view fileName);
    std::string fetch(std::string_view section, std::string_view entry,
                      std::string_view defaultValue = {}) const;
    bool update(std::string_view section, std::string_view entry, std::string_view value);
    // Every update is on disk when it returns, so there is nothing left to write.
    bool flush();
    void kill();
    bool isBound() const { return !m_path.isEmpty(); }
    const QString& path() const { return m_path; }

private:
    // Each part of an absolute path found in its folder whatever its letter case.
    static QString resolvePath(const QString& absolute);
    static std::string readPath(const QString& path, std::string_view section,
                                std::string_view entry, std::string_view defaultValue);
    static bool writePath(const QString& path, std::string_view section, std::string_view entry,
                          std::string_view value);

    QString m_path;
};

} // namespace platform::ui
