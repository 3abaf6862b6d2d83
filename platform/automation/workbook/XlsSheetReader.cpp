#include "platform/automation/workbook/XlsSheetReader.h"

#include "platform/automation/workbook/ColumnWidthUnits.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/WorkbookLimits.h"

#include <algorithm>
#include <cstring>

namespace platform::automation::workbook {
namespace {

constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kColInfo = 0x007D;
constexpr uint16_t kRow = 0x0208;
constexpr uint16_t kBlank = 0x0201;
constexpr uint16_t kMulBlank = 0x00BE;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kMulRk = 0x00BD;
constexpr uint16_t kLabelSst = 0x00FD;
constexpr uint16_t kLabel = 0x0204;
constexpr uint16_t kRString = 0x00D6;
constexpr uint16_t kBoolErr = 0x0205;
constexpr uint16_t kFormula = 0x0006;
constexpr uint16_t kString = 0x0207;
constexpr uint16_t kMergedCells = 0x00E5;
constexpr uint16_t kSharedFormula = 0x04BC;
constexpr uint16_t kArray = 0x0221;
constexpr uint16_t kTable = 0x0236;

QString errorText(uint8_t code)
{
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    default:
        return QStringLiteral("#N/A");
    }
}

double rkValue(uint32_t rk)
{
    double value = 0;
    if (rk & 0x02) {
        value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        const uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCU) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100.0 : value;
}

} // namespace

XlsSheetReader::XlsSheetReader(Worksheet& sheet, XlsStyleReader& styles,
                               const std::vector<QString>& strings, int64_t& cells)
    : m_sheet(sheet), m_styles(styles), m_strings(strings), m_cells(cells)
{
}

void XlsSheetReader::checkBof(BiffRecord& record, uint16_t expectedKind)
{
    if (record.type != kBof) {
        throw FormatError(QStringLiteral("The file holds no workbook"));
    }
    const uint16_t version = record.u16();
    const uint16_t kind = record.u16();
    if (version != 0x0600) {
        throw FormatError(QStringLiteral("The workbook is in a format older than Excel 97"));
    }
    if (kind != expectedKind) {
        throw FormatError(QStringLiteral("The workbook is damaged: a part of unexpected kind"));
    }
}

void XlsSheetReader::read(const QByteArray& stream, uint32_t offset)
{
    BiffRecordReader records(stream, offset);
    BiffRecord bof = records.next();
    checkBof(bof, 0x0010);
    Cell* pendingString = nullptr; // a formula whose text result follows in STRING
    int embedded = 0;              // an embedded chart's substream, with its own BOF and EOF
    while (!records.atEnd()) {
        BiffRecord record = records.next();
        if (record.type == kBof) {
            ++embedded;
            continue;
        }
        if (embedded > 0) {
            embedded -= record.type == kEof ? 1 : 0;
            continue;
        }
        if (record.type == kEof) {
            if (!m_sheet.merges().mergeAll(m_merges)) {
                throw FormatError(QStringLiteral("The workbook is damaged: merged areas overlap"));
            }
            return;
        }
        if (record.type == kString && pendingString) {
            pendingString->value = CellValue::text(record.unicodeString(true));
            pendingString = nullptr;
            continue;
        }
        // Shared and array formula records may stand between a formula and its text.
        if (record.type == kSharedFormula || record.type == kArray || record.type == kTable) {
            continue;
        }
        pendingString = readRecord(record);
    }
    throw FormatError(QStringLiteral("The workbook is damaged: a sheet has no end"));
}

Cell* XlsSheetReader::place(int row, int column, uint16_t xf)
{
    if (row >= CellRange::kMaxRows || column >= CellRange::kMaxColumns) {
        return nullptr;
    }
    if (++m_cells > WorkbookLimits::kMaxCells) {
        throw FormatError(
            QStringLiteral("The workbook is too large: it holds more than 10 million cells"));
    }
    Cell& cell = m_sheet.cell(row + 1, column + 1);
    cell.format = m_styles.format(xf);
    return &cell;
}

void XlsSheetReader::placeBlank(int row, int column, uint16_t xf)
{
    if (!(m_styles.format(xf) == CellFormat())) {
        place(row, column, xf);
    }
}

void XlsSheetReader::setValue(int row, int column, uint16_t xf, const CellValue& value)
{
    if (Cell* cell = place(row, column, xf)) {
        cell->value = value;
    }
}

Cell* XlsSheetReader::readRecord(BiffRecord& record)
{
    switch (record.type) {
    case kNumber: {
        const int row = record.u16();
        const int column = record.u16();
        const uint16_t xf = record.u16();
        setValue(row, column, xf, CellValue::number(record.f64()));
        break;
    }
    case kRk: {
        const int row = record.u16();
        const int column = record.u16();
        const uint16_t xf = record.u16();
        setValue(row, column, xf, CellValue::number(rkValue(record.u32())));
        break;
    }
    case kMulRk: {
        const int row = record.u16();
        int column = record.u16();
        while (record.remaining() >= 8) {
            const uint16_t xf = record.u16();
            setValue(row, column++, xf, CellValue::number(rkValue(record.u32())));
        }
        break;
    }
    case kLabelSst: {
        const int row = record.u16();
        const int column = record.u16();
        const uint16_t xf = record.u16();
        const uint32_t index = record.u32();
        if (index >= m_strings.size()) {
            throw FormatError(QStringLiteral("The workbook is damaged: a text is missing"));
        }
        setValue(row, column, xf, CellValue::text(m_strings[index]));
        break;
    }
    case kLabel:
    case kRString: {
        const int row = record.u16();
        const int column = record.u16();
        const uint16_t xf = record.u16();
        setValue(row, column, xf, CellValue::text(record.unicodeString(true)));
        break;
    }
    case kBlank: {
        const int row = record.u16();
        const int column = record.u16();
        placeBlank(row, column, record.u16());
        break;
    }
    case kMulBlank: {
        const int row = record.u16();
        int column = record.u16();
        while (record.remaining() >= 4) {
            placeBlank(row, column++, record.u16());
        }
        break;
    }
    case kBoolErr: {
        const int row = record.u16();
        const int column = record.u16();
        const uint16_t xf = record.u16();
        const uint8_t value = record.u8();
        const bool isError = record.u8() != 0;
        setValue(row, column, xf,
                 isError ? CellValue::text(errorText(value)) : CellValue::boolean(value != 0));
        break;
    }
    case kFormula:
        return readFormula(record);
    case kMergedCells: {
        const uint16_t count = record.u16();
        for (uint16_t index = 0; index < count; ++index) {
            const int firstRow = record.u16();
            const int lastRow = record.u16();
            const int firstColumn = record.u16();
            const int lastColumn = record.u16();
            if (firstRow <= lastRow && firstColumn <= lastColumn &&
                lastColumn < CellRange::kMaxColumns) {
                m_merges.push_back({firstRow + 1, firstColumn + 1, lastRow + 1, lastColumn + 1});
            }
        }
        break;
    }
    case kColInfo: {
        const int first = record.u16();
        const int last = record.u16();
        const uint16_t width = record.u16();
        record.u16();
        const uint16_t flags = record.u16();
        for (int column = first; column <= std::min(last, 255); ++column) {
            m_sheet.setColumnWidth(
                column + 1,
                (flags & 0x0001) ? 0.0 : ColumnWidthUnits::fromFileWidth(width / 256.0));
        }
        break;
    }
    case kRow: {
        const int row = record.u16();
        record.skip(4);
        const uint16_t height = record.u16() & 0x7FFF;
        record.skip(4);
        const uint32_t flags = record.u32();
        if (flags & 0x20) {
            m_sheet.setRowHeight(row + 1, 0.0);
        } else if (flags & 0x40) {
            m_sheet.setRowHeight(row + 1, height / 20.0);
        }
        break;
    }
    default:
        break;
    }
    return nullptr;
}

Cell* XlsSheetReader::readFormula(BiffRecord& record)
{
    const int row = record.u16();
    const int column = record.u16();
    const uint16_t xf = record.u16();
    uint8_t result[8];
    for (uint8_t& byte : result) {
        byte = record.u8();
    }
    Cell* cell = place(row, column, xf);
    if (!cell) {
        return nullptr;
    }
    if (result[6] == 0xFF && result[7] == 0xFF) {
        switch (result[0]) {
        case 0:
            cell->value = CellValue::text(QString());
            return cell; // the text follows in a STRING record
        case 1:
            cell->value = CellValue::boolean(result[2] != 0);
            break;
        case 2:
            cell->value = CellValue::text(errorText(result[2]));
            break;
        default:
            cell->value = CellValue::text(QString());
            break;
        }
        return nullptr;
    }
    double value = 0;
    std::memcpy(&value, result, sizeof value); // little-endian like the file
    cell->value = CellValue::number(value);
    return nullptr;
}

} // namespace platform::automation::workbook
