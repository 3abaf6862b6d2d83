#pragma once

#include <filesystem>
#include <string_view>

// Builds a zip package from a text of parts, so that a fuzzer can change the XML of a
// workbook's parts without first having to forge the archive's checksums. The text is a row of
// parts, each a line "@@ <name>" followed by the part's bytes up to the next line that begins
// with "@@ " (the line break before it is not part of the content):
//
//     @@ xl/workbook.xml
//     <workbook ...>...</workbook>
//     @@ xl/worksheets/sheet1.xml
//     ...
namespace fuzzsupport {

class PartsPackage
{
public:
    static constexpr std::string_view Marker = "@@ ";

    static bool isPartsText(std::string_view bytes) { return bytes.substr(0, 3) == Marker; }
    // Writes the package (entries stored, not compressed) to path; false when it could not.
    static bool write(std::string_view partsText, const std::filesystem::path& path);
};

} // namespace fuzzsupport
