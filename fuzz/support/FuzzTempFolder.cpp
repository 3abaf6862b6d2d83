#include "fuzz/support/FuzzTempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace fuzzsupport {

FuzzTempFolder::FuzzTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quelb-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("cannot create the temporary folder");
        std::abort();
    }
    m_path = pattern;
}

FuzzTempFolder::~FuzzTempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

FuzzTempFolder& FuzzTempFolder::instance()
{
    static FuzzTempFolder folder;
    return folder;
}

const std::filesystem::path& FuzzTempFolder::path()
{
    return instance().m_path;
}

std::filesystem::path FuzzTempFolder::write(std::string_view name, std::string_view bytes)
{
    const std::filesystem::path file = path() / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::perror("cannot write into the temporary folder");
        std::abort();
    }
    return file;
}

} // namespace fuzzsupport
