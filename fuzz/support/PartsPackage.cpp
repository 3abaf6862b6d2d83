#include "fuzz/support/PartsPackage.h"

#include <zip.h>

#include <string>

namespace fuzzsupport {
namespace {

constexpr std::string_view Separator = "\n@@ ";

bool addPart(zipFile archive, const std::string& name, std::string_view content)
{
    zip_fileinfo info{};
    if (zipOpenNewFileInZip64(archive, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, 0, 0,
                              0) != ZIP_OK)
        return false;
    const bool written =
        content.empty() || zipWriteInFileInZip(archive, content.data(),
                                               static_cast<unsigned>(content.size())) == ZIP_OK;
    return zipCloseFileInZip(archive) == ZIP_OK && written;
}

} // namespace

bool PartsPackage::write(std::string_view partsText, const std::filesystem::path& path)
{
    zipFile archive = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!archive)
        return false;
    bool written = true;
    std::string_view rest = partsText.substr(std::min(partsText.size(), Marker.size()));
    while (written && !rest.empty()) {
        const std::size_t end = rest.find(Separator);
        const std::string_view part = rest.substr(0, end);
        const std::size_t lineEnd = part.find('\n');
        const std::string name(part.substr(0, lineEnd));
        const std::string_view content =
            lineEnd == std::string_view::npos ? std::string_view() : part.substr(lineEnd + 1);
        written = addPart(archive, name, content);
        rest = end == std::string_view::npos ? std::string_view()
                                             : rest.substr(end + Separator.size());
    }
    return zipClose(archive, nullptr) == ZIP_OK && written;
}

} // namespace fuzzsupport
