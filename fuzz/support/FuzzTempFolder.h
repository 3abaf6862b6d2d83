#pragma once

#include <filesystem>
#include <string_view>

// The one temporary folder of a fuzzing process: targets that must hand their input to a reader
// as a file write it here and nowhere else. Made on first use, removed when the process ends.
namespace fuzzsupport {

class FuzzTempFolder
{
public:
    static const std::filesystem::path& path();
    // Writes the bytes to the named file of the folder (replacing it) and returns its path.
    static std::filesystem::path write(std::string_view name, std::string_view bytes);

private:
    FuzzTempFolder();
    ~FuzzTempFolder();
    static FuzzTempFolder& instance();

    std::filesystem::path m_path;
};

} // namespace fuzzsupport
