#include "platform/automation/workbook/XlsSheetWriter.h"

#include "platform/automation/workbook/ByteWriter.h"
#include "platform/automation/workbook/ColumnWidthUnits.h"
#include "platform/automation/workbook/FormatError.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace platform::automation::workbook {
namespace {

constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kCalcMode = 0x000D;
constexpr uint16_t kCalcCount = 0x000C;
constexpr uint16_t kRefMode = 0x000F;
constexpr uint16_t kIteration = 0x0011;
constexpr uint16_t kDelta = 0x0010;
constexpr uint16_t kSaveRecalc = 0x005F;
constexpr uint16_t kPrintHeaders = 0x002A;
constexpr uint16_t kPrintGridlines = 0x002B;
constexpr uint16_t kGridSet = 0x0082;
constexpr uint16_t kGuts = 0x0080;
constexpr uint16_t kDefaultRowHeight = 0x0225;
constexpr uint16_t kWsBool = 0x0081;
constexpr uint16_t kDefColWidth = 0x0055;
constexpr uint16_t kColInfo = 0x007D;
constexpr uint16_t kDimensions = 0x0200;
constexpr uint16_t kRow = 0x0208;
constexpr uint16_t kBlank = 0x0201;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kLabelSst = 0x00FD;
constexpr uint16_t kBoolErr = 0x0205;
constexpr uint16_t kWindow2 = 0x023E;
constexpr uint16_t kMergedCells = 0x00E5;
constexpr int kRowBlock = 32;
constexpr int kDefaultHeightTwips = 255;
constexpr size_t kMergesPerRecord = 1026;

QByteArray u16Data(uint32_t value)
{
    QByteArray data;
    ByteWriter(data).u16(value);
    return data;
}

std::optional<uint32_t> rkOf(double value)
{
    constexpr double kLimit = 536870912.0; // 2^29: the 30-bit integer form
    if (value == std::trunc(value) && std::fabs(value) < kLimit) {
        return (static_cast<uint32_t>(static_cast<int32_t>(value)) << 2) | 2U;
    }
    const double hundred = value * 100.0;
    if (hundred == std::trunc(hundred) && std::fabs(hundred) < kLimit && hundred / 100.0 == value) {
        return (static_cast<uint32_t>(static_cast<int32_t>(hundred)) << 2) | 3U;
    }
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    if ((bits & 0x00000003FFFFFFFFULL) == 0) {
        return static_cast<uint32_t>(bits >> 32);
    }
    return std::nullopt;
}

struct RowInfo
{
    int firstColumn = -1;
    int lastColumn = -1;
    double largestFont = 0;
};

} // namespace

XlsSheetWriter::XlsSheetWriter(XlsStyleTable& styles, XlsStringTable& strings)
    : m_styles(styles), m_strings(strings)
{
}

double XlsSheetWriter::automaticRowHeight(double fontSize)
{
    if (fontSize <= 10.0) {
        return kDefaultHeightTwips / 20.0;
    }
    return std::ceil((fontSize * 1.25 + 0.5) / 0.75) * 0.75;
}

void XlsSheetWriter::writeCell(BiffStreamWriter& out, int row, int column, const Cell& cell)
{
    QByteArray data;
    ByteWriter writer(data);
    writer.u16(static_cast<uint32_t>(row - 1));
    writer.u16(static_cast<uint32_t>(column - 1));
    writer.u16(m_styles.xfFor(cell.format));
    const CellValue& value = cell.value;
    switch (value.type()) {
    case CellValue::Type::Number:
        if (const std::optional<uint32_t> rk = rkOf(value.toNumber())) {
            writer.u32(*rk);
            out.record(kRk, data);
        } else {
            writer.f64(value.toNumber());
            out.record(kNumber, data);
        }
        return;
    case CellValue::Type::Text:
        if (!value.textValue().isEmpty()) {
            writer.u32(m_strings.indexOf(value.textValue()));
            out.record(kLabelSst, data);
            return;
        }
        break;
    case CellValue::Type::Boolean:
        writer.u8(value.toBoolean() ? 1 : 0);
        writer.u8(0);
        out.record(kBoolErr, data);
        return;
    case CellValue::Type::Empty:
        break;
    }
    out.record(kBlank, data);
}

QByteArray XlsSheetWriter::write(const Worksheet& sheet, bool active)
{
    std::map<int, RowInfo> rows;
    for (const auto& [key, cell] : sheet.cells()) {
        const auto [row, column] = key;
        if (row > kMaxRows || column > kMaxColumns) {
            throw FormatError(QStringLiteral("The sheet \"%1\" has cells beyond the .xls format's "
                                             "65536 rows and 256 columns")
                                  .arg(sheet.name()));
        }
        RowInfo& info = rows[row];
        if (info.firstColumn < 0) {
            info.firstColumn = column;
        }
        info.lastColumn = column;
        info.largestFont = std::max(info.largestFont, cell.format.font.size);
    }
    for (const auto& [row, height] : sheet.rowHeights()) {
        if (row >= 1 && row <= kMaxRows) {
            rows[row];
        }
    }

    BiffStreamWriter out;
    {
        QByteArray bof;
        ByteWriter writer(bof);
        writer.u16(0x0600);
        writer.u16(0x0010);
        writer.u16(0x0DBB);
        writer.u16(0x07CC);
        writer.u32(0);
        writer.u32(6);
        out.record(kBof, bof);
    }
    out.record(kCalcMode, u16Data(1));
    out.record(kCalcCount, u16Data(100));
    out.record(kRefMode, u16Data(1));
    out.record(kIteration, u16Data(0));
    {
        QByteArray delta;
        ByteWriter(delta).f64(0.001);
        out.record(kDelta, delta);
    }
    out.record(kSaveRecalc, u16Data(1));
    out.record(kPrintHeaders, u16Data(0));
    out.record(kPrintGridlines, u16Data(0));
    out.record(kGridSet, u16Data(1));
    out.record(kGuts, QByteArray(8, '\0'));
    {
        QByteArray height;
        ByteWriter writer(height);
        writer.u16(0);
        writer.u16(kDefaultHeightTwips);
        out.record(kDefaultRowHeight, height);
    }
    out.record(kWsBool, u16Data(0x04C1));
    out.record(kDefColWidth, u16Data(8));
    for (const auto& [column, width] : sheet.columnWidths()) {
        if (column < 1 || column > kMaxColumns) {
            continue;
        }
        QByteArray info;
        ByteWriter writer(info);
        writer.u16(static_cast<uint32_t>(column - 1));
        writer.u16(static_cast<uint32_t>(column - 1));
        const double stored = std::min(ColumnWidthUnits::toFileWidth(width) * 256.0, 65535.0);
        writer.u16(static_cast<uint32_t>(std::lround(stored)));
        writer.u16(XlsStyleTable::kDefaultCellXf);
        writer.u16(width > 0.0 ? 0x0002 : 0x0003); // set by the user; hidden when 0 wide
        writer.u16(0);
        out.record(kColInfo, info);
    }
    {
        QByteArray dimensions;
        ByteWriter writer(dimensions);
        const std::optional<CellRange> used = sheet.usedRange();
        writer.u32(used ? static_cast<uint32_t>(used->firstRow - 1) : 0);
        writer.u32(used ? static_cast<uint32_t>(used->lastRow) : 0);
        writer.u16(used ? static_cast<uint32_t>(used->firstColumn - 1) : 0);
        writer.u16(used ? static_cast<uint32_t>(used->lastColumn) : 0);
        writer.u16(0);
        out.record(kDimensions, dimensions);
    }

    auto block = rows.begin();
    while (block != rows.end()) {
        const int blockNumber = (block->first - 1) / kRowBlock;
        auto blockEnd = block;
        while (blockEnd != rows.end() && (blockEnd->first - 1) / kRowBlock == blockNumber) {
            ++blockEnd;
        }
        for (auto it = block; it != blockEnd; ++it) {
            const int row = it->first;
            const RowInfo& info = it->second;
            const std::optional<double> explicitHeight = sheet.rowHeight(row);
            const double points = explicitHeight.value_or(automaticRowHeight(info.largestFont));
            QByteArray data;
            ByteWriter writer(data);
            writer.u16(static_cast<uint32_t>(row - 1));
            writer.u16(info.firstColumn > 0 ? static_cast<uint32_t>(info.firstColumn - 1) : 0);
            writer.u16(info.lastColumn > 0 ? static_cast<uint32_t>(info.lastColumn) : 0);
            writer.u16(
                static_cast<uint32_t>(std::clamp<long>(std::lround(points * 20), 0, 0x7FFF)));
            writer.u16(0);
            writer.u16(0);
            uint32_t flags = 0x000F0100; // default XF 15; the always-set bit
            if (explicitHeight) {
                flags |= 0x40; // the height is the user's, not the fonts'
                if (*explicitHeight <= 0.0) {
                    flags |= 0x20;
                }
            }
            writer.u32(flags);
            out.record(kRow, data);
        }
        const auto firstCell = sheet.cells().lower_bound({block->first, 0});
        const int blockLastRow = std::prev(blockEnd)->first;
        for (auto cell = firstCell;
             cell != sheet.cells().end() && cell->first.first <= blockLastRow; ++cell) {
            writeCell(out, cell->first.first, cell->first.second, cell->second);
        }
        block = blockEnd;
    }

    {
        QByteArray window;
        ByteWriter writer(window);
        writer.u16(active ? 0x06B6 : 0x00B6); // grid, headers, zeros, outline; selected, shown
        writer.u16(0);
        writer.u16(0);
        writer.u32(64);
        writer.u16(0);
        writer.u16(0);
        writer.u32(0);
        out.record(kWindow2, window);
    }
    std::vector<CellRange> merges;
    for (const CellRange& area : sheet.merges().areas()) {
        if (area.lastRow <= kMaxRows && area.lastColumn <= kMaxColumns) {
            merges.push_back(area);
        } else {
            throw FormatError(QStringLiteral("The sheet \"%1\" has a merged area beyond the .xls "
                                             "format's limits")
                                  .arg(sheet.name()));
        }
    }
    for (size_t first = 0; first < merges.size(); first += kMergesPerRecord) {
        const size_t count = std::min(kMergesPerRecord, merges.size() - first);
        QByteArray data;
        ByteWriter writer(data);
        writer.u16(static_cast<uint32_t>(count));
        for (size_t index = first; index < first + count; ++index) {
            writer.u16(static_cast<uint32_t>(merges[index].firstRow - 1));
            writer.u16(static_cast<uint32_t>(merges[index].lastRow - 1));
            writer.u16(static_cast<uint32_t>(merges[index].firstColumn - 1));
            writer.u16(static_cast<uint32_t>(merges[index].lastColumn - 1));
        }
        out.record(kMergedCells, data);
    }
    out.record(kEof, QByteArray());
    return out.bytes();
}

} // namespace platform::automation::workbook
