#include "platform/automation/workbook/XlsReader.h"

#include "platform/automation/workbook/BiffRecordReader.h"
#include "platform/automation/workbook/CompoundFileReader.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/XlsSheetReader.h"
#include "platform/automation/workbook/XlsStyleReader.h"

#include <algorithm>
#include <vector>

namespace platform::automation::workbook {
namespace {

constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kFilePass = 0x002F;
constexpr uint16_t kFont = 0x0031;
constexpr uint16_t kFormat = 0x041E;
constexpr uint16_t kXf = 0x00E0;
constexpr uint16_t kBoundSheet = 0x0085;
constexpr uint16_t kSst = 0x00FC;
constexpr uint16_t kWindow1 = 0x003D;

struct SheetEntry
{
    uint32_t offset = 0;
    QString name;
};

std::vector<QString> readSharedStrings(BiffRecord& record)
{
    record.u32(); // total uses
    const uint32_t unique = record.u32();
    std::vector<QString> strings;
    strings.reserve(std::min<uint32_t>(unique, 1U << 20));
    for (uint32_t index = 0; index < unique && record.remaining() > 0; ++index) {
        strings.push_back(record.unicodeString(true));
    }
    return strings;
}

} // namespace

Workbook XlsReader::read(const QByteArray& file)
{
    const CompoundFileReader container(file);
    std::optional<QByteArray> stream = container.stream(QStringLiteral("Workbook"));
    if (!stream) {
        if (container.streamNames().contains(QStringLiteral("EncryptedPackage"),
                                             Qt::CaseInsensitive)) {
            throw FormatError(QStringLiteral("The workbook is protected by a password"));
        }
        if (container.stream(QStringLiteral("Book"))) {
            throw FormatError(QStringLiteral("The workbook is in a format older than Excel 97"));
        }
        throw FormatError(QStringLiteral("The file holds no workbook"));
    }

    XlsStyleReader styles;
    std::vector<QString> strings;
    std::vector<SheetEntry> sheets;
    int activeSheet = 0;
    BiffRecordReader records(*stream, 0);
    BiffRecord bof = records.next();
    XlsSheetReader::checkBof(bof, 0x0005);
    bool ended = false;
    while (!ended && !records.atEnd()) {
        BiffRecord record = records.next();
        switch (record.type) {
        case kEof:
            ended = true;
            break;
        case kFilePass:
            throw FormatError(QStringLiteral("The workbook is protected by a password"));
        case kFont:
            styles.readFont(record);
            break;
        case kFormat:
            styles.readFormat(record);
            break;
        case kXf:
            styles.readXf(record);
            break;
        case kSst:
            strings = readSharedStrings(record);
            break;
        case kWindow1:
            record.skip(10);
            activeSheet = record.u16();
            break;
        case kBoundSheet: {
            SheetEntry entry;
            entry.offset = record.u32();
            record.u8(); // visibility
            const uint8_t kind = record.u8();
            entry.name = record.unicodeString(false);
            if (kind == 0) {
                sheets.push_back(entry);
            }
            break;
        }
        default:
            break;
        }
    }
    if (!ended) {
        throw FormatError(QStringLiteral("The workbook is damaged: its header part has no end"));
    }
    if (sheets.empty()) {
        throw FormatError(QStringLiteral("The workbook has no worksheet"));
    }

    Workbook workbook;
    int64_t cells = static_cast<int64_t>(strings.size());
    for (const SheetEntry& entry : sheets) {
        if (entry.offset >= static_cast<uint32_t>(stream->size())) {
            throw FormatError(QStringLiteral("The workbook is damaged: a sheet lies outside it"));
        }
        Worksheet& sheet = workbook.addSheet(entry.name);
        XlsSheetReader(sheet, styles, strings, cells).read(*stream, entry.offset);
    }
    workbook.setActiveSheetIndex(activeSheet);
    return workbook;
}

} // namespace platform::automation::workbook
