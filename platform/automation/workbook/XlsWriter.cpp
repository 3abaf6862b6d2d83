#include "platform/automation/workbook/XlsWriter.h"

#include "platform/automation/workbook/BiffStreamWriter.h"
#include "platform/automation/workbook/ByteWriter.h"
#include "platform/automation/workbook/CompoundFileWriter.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/XlsSheetWriter.h"
#include "platform/automation/workbook/XlsStringTable.h"
#include "platform/automation/workbook/XlsStyleTable.h"

#include <vector>

namespace platform::automation::workbook {
namespace {

constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kCodePage = 0x0042;
constexpr uint16_t kDsf = 0x0161;
constexpr uint16_t kTabId = 0x013D;
constexpr uint16_t kWindowProtect = 0x0019;
constexpr uint16_t kProtect = 0x0012;
constexpr uint16_t kPassword = 0x0013;
constexpr uint16_t kProt4Rev = 0x01AF;
constexpr uint16_t kProt4RevPass = 0x01BC;
constexpr uint16_t kWindow1 = 0x003D;
constexpr uint16_t kBackup = 0x0040;
constexpr uint16_t kHideObj = 0x008D;
constexpr uint16_t kDateMode = 0x0022;
constexpr uint16_t kPrecision = 0x000E;
constexpr uint16_t kRefreshAll = 0x01B7;
constexpr uint16_t kBookBool = 0x00DA;
constexpr uint16_t kUsesElfs = 0x0160;
constexpr uint16_t kBoundSheet = 0x0085;
constexpr qsizetype kMinimumStreamSize = 4096;
constexpr int kMaxSheets = 4096;

QByteArray u16Data(uint32_t value)
{
    QByteArray data;
    ByteWriter(data).u16(value);
    return data;
}

} // namespace

QByteArray XlsWriter::write(const Workbook& workbook)
{
    if (workbook.sheetCount() == 0) {
        throw FormatError(QStringLiteral("A workbook without sheets cannot be saved"));
    }
    if (workbook.sheetCount() > kMaxSheets) {
        throw FormatError(QStringLiteral("The workbook has too many sheets for the .xls format"));
    }
    XlsStyleTable styles;
    XlsStringTable strings;
    std::vector<QByteArray> sheets;
    XlsSheetWriter sheetWriter(styles, strings);
    for (int index = 0; index < workbook.sheetCount(); ++index) {
        sheets.push_back(
            sheetWriter.write(workbook.sheet(index), index == workbook.activeSheetIndex()));
    }

    BiffStreamWriter out;
    {
        QByteArray bof;
        ByteWriter writer(bof);
        writer.u16(0x0600);
        writer.u16(0x0005);
        writer.u16(0x0DBB);
        writer.u16(0x07CC);
        writer.u32(0);
        writer.u32(6);
        out.record(kBof, bof);
    }
    out.record(kCodePage, u16Data(1200)); // texts are UTF-16 or 8-bit Latin-1
    out.record(kDsf, u16Data(0));
    {
        QByteArray tabs;
        ByteWriter writer(tabs);
        for (int index = 0; index < workbook.sheetCount(); ++index) {
            writer.u16(static_cast<uint32_t>(index + 1));
        }
        out.record(kTabId, tabs);
    }
    out.record(kWindowProtect, u16Data(0));
    out.record(kProtect, u16Data(0));
    out.record(kPassword, u16Data(0));
    out.record(kProt4Rev, u16Data(0));
    out.record(kProt4RevPass, u16Data(0));
    {
        QByteArray window;
        ByteWriter writer(window);
        writer.u16(360);
        writer.u16(270);
        writer.u16(14940);
        writer.u16(9150);
        writer.u16(0x0038); // scroll bars and sheet tabs shown
        writer.u16(static_cast<uint32_t>(workbook.activeSheetIndex()));
        writer.u16(0);
        writer.u16(1);
        writer.u16(600);
        out.record(kWindow1, window);
    }
    out.record(kBackup, u16Data(0));
    out.record(kHideObj, u16Data(0));
    out.record(kDateMode, u16Data(0));
    out.record(kPrecision, u16Data(1));
    out.record(kRefreshAll, u16Data(0));
    out.record(kBookBool, u16Data(0));
    styles.write(out);
    out.record(kUsesElfs, u16Data(0));
    std::vector<qsizetype> sheetOffsetFields;
    for (int index = 0; index < workbook.sheetCount(); ++index) {
        QByteArray data;
        ByteWriter writer(data);
        writer.u32(0); // the sheet's stream offset, known once the globals are complete
        writer.u8(0);  // visible
        writer.u8(0);  // worksheet
        writer.raw(BiffStreamWriter::shortString(workbook.sheet(index).name()));
        sheetOffsetFields.push_back(out.position() + 4);
        out.record(kBoundSheet, data);
    }
    strings.write(out);
    out.record(kEof, QByteArray());

    QByteArray& stream = out.bytes();
    ByteWriter patcher(stream);
    for (size_t index = 0; index < sheets.size(); ++index) {
        patcher.putU32At(sheetOffsetFields[index], static_cast<uint32_t>(stream.size()));
        stream.append(sheets[index]);
    }
    // Readers expect the workbook stream in regular sectors, which start at 4096 bytes.
    if (stream.size() < kMinimumStreamSize) {
        stream.append(kMinimumStreamSize - stream.size(), '\0');
    }
    CompoundFileWriter file;
    file.addStream(QStringLiteral("Workbook"), stream);
    return file.build();
}

} // namespace platform::automation::workbook
