#include "app/procin/OrderFileKind.h"

#include "platform/storage/RecordFile.h"

#include <fstream>
#include <string>

namespace app {
namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

OrderFileKind orderFileKindOf(std::string_view fileName)
{
    std::ifstream file(platform::storage::resolveFileName(trimmed(fileName)), std::ios::binary);
    char head[8] = {};
    if (!file.read(head, sizeof head))
        return OrderFileKind::Text; // too short for either container
    const std::string_view start(head, sizeof head);
    // A text order cannot hold these control bytes, so neither signature passes for text.
    if (start == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) ||
        start.substr(0, 4) == std::string_view("PK\x03\x04", 4))
        return OrderFileKind::Workbook;
    return OrderFileKind::Text;
}

} // namespace app
