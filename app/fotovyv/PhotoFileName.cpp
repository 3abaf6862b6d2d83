#include "app/fotovyv/PhotoFileName.h"

namespace app {

std::string photoFileName(std::string_view folder, int32_t code)
{
    const auto last = folder.find_last_not_of(' ');
    const std::string_view clipped =
        last == std::string_view::npos ? std::string_view() : folder.substr(0, last + 1);
    return std::string(clipped) + std::to_string(code) + ".jpg";
}

} // namespace app
