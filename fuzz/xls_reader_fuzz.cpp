// The 97-2003 binary workbook reader: the compound file and the records of its workbook stream.
// An input that is a compound file is read as the file; any other input is taken as the
// workbook stream itself and put into a compound file first, so that the records are reached
// without the container's sector tables having to be right.
#include "fuzz/support/WorkbookWalk.h"
#include "platform/automation/workbook/CompoundFileReader.h"
#include "platform/automation/workbook/CompoundFileWriter.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/XlsReader.h"

#include <cstddef>
#include <cstdint>

using namespace platform::automation::workbook;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!CompoundFileReader::hasSignature(file)) {
        CompoundFileWriter container;
        container.addStream(QStringLiteral("Workbook"), file);
        file = container.build();
    }
    try {
        fuzzsupport::walkWorkbook(XlsReader::read(file));
    } catch (const FormatError&) {
        // A damaged or foreign file is refused: what the reader should do.
    }
    return 0;
}
