// The Office Open XML workbook reader: the zip package, its relationships, the workbook part,
// the sheets, the shared strings and the styles. An input that is a parts text (see
// PartsPackage.h) is packed into a zip first, so that the XML of the parts is reached without
// the archive's checksums having to be right; any other input is read as the file itself.
#include "fuzz/support/FuzzTempFolder.h"
#include "fuzz/support/PartsPackage.h"
#include "fuzz/support/WorkbookWalk.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/XlsxReader.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using fuzzsupport::FuzzTempFolder;
using fuzzsupport::PartsPackage;
using namespace platform::automation::workbook;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::filesystem::path path;
    if (PartsPackage::isPartsText(bytes)) {
        path = FuzzTempFolder::path() / "parts.xlsx";
        std::filesystem::remove(path);
        if (!PartsPackage::write(bytes, path))
            return 0; // names the zip format cannot hold
    } else {
        path = FuzzTempFolder::write("input.xlsx", bytes);
    }
    try {
        fuzzsupport::walkWorkbook(XlsxReader::read(QString::fromStdString(path.string())));
    } catch (const FormatError&) {
        // A damaged or foreign package is refused: what the reader should do.
    }
    return 0;
}
