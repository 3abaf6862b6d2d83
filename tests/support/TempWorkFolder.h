#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// A fresh temporary folder that becomes the current working folder for the test's lifetime;
// the previous working folder is restored and the folder removed afterwards.
class TempWorkFolder
{
public:
    TempWorkFolder();
    ~TempWorkFolder();
    TempWorkFolder(const TempWorkFolder&) = delete;
    TempWorkFolder& operator=(const TempWorkFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path file(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};

// Reads a whole file as bytes; empty when missing.
std::string readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, const std::string& bytes);

} // namespace testsupport
