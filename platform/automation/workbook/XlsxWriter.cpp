#include "platform/automation/workbook/XlsxWriter.h"

#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/XlsxFormatCache.h"
#include "platform/automation/workbook/XlsxXml.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include <xlsxwriter.h>
#include "platform/text/CNumberRules.h"

namespace platform::automation::workbook {
namespace {

constexpr qsizetype kMaxCellText = 32767;

void check(lxw_error error, const QString& what)
{
    if (error != LXW_NO_ERROR) {
        throw FormatError(what + QStringLiteral(": ") + QString::fromUtf8(lxw_strerror(error)));
    }
}

// The cell text as the file stores it: cut to the cell's limit, look-alike escapes escaped. The
// library counts the stored form against the limit, so a text full of look-alikes is cut further.
QByteArray storedText(const QString& text)
{
    QString kept = text.left(kMaxCellText);
    QString stored = XlsxXml::escapeLookalikes(kept);
    while (stored.size() > kMaxCellText) {
        kept.chop(std::max<qsizetype>(1, (stored.size() - kMaxCellText) / 7));
        stored = XlsxXml::escapeLookalikes(kept);
    }
    return stored.toUtf8();
}

void writeSheet(lxw_worksheet* target, const Worksheet& sheet, XlsxFormatCache& formats)
{
    for (const auto& [column, width] : sheet.columnWidths()) {
        const auto index = static_cast<lxw_col_t>(column - 1);
        if (width > 0.0) {
            check(worksheet_set_column(target, index, index, width, nullptr),
                  QStringLiteral("Cannot set a column width"));
        } else {
            lxw_row_col_options hidden{};
            hidden.hidden = 1;
            check(worksheet_set_column_opt(target, index, index, Worksheet::kDefaultColumnWidth,
                                           nullptr, &hidden),
                  QStringLiteral("Cannot hide a column"));
        }
    }
    for (const auto& [row, height] : sheet.rowHeights()) {
        const auto index = static_cast<lxw_row_t>(row - 1);
        if (height > 0.0) {
            check(worksheet_set_row(target, index, height, nullptr),
                  QStringLiteral("Cannot set a row height"));
        } else {
            lxw_row_col_options hidden{};
            hidden.hidden = 1;
            check(worksheet_set_row_opt(target, index, LXW_DEF_ROW_HEIGHT, nullptr, &hidden),
                  QStringLiteral("Cannot hide a row"));
        }
    }
    // The library's merge writes its own first cell and blanks; the cells written after it
    // replace them with the real contents and formats.
    for (const CellRange& area : sheet.merges().areas()) {
        check(worksheet_merge_range(target, static_cast<lxw_row_t>(area.firstRow - 1),
                                    static_cast<lxw_col_t>(area.firstColumn - 1),
                                    static_cast<lxw_row_t>(area.lastRow - 1),
                                    static_cast<lxw_col_t>(area.lastColumn - 1), "", nullptr),
              QStringLiteral("Cannot merge ") + area.toA1());
    }
    for (const auto& [key, cell] : sheet.cells()) {
        const auto row = static_cast<lxw_row_t>(key.first - 1);
        const auto column = static_cast<lxw_col_t>(key.second - 1);
        lxw_format* format = formats.formatFor(cell.format);
        lxw_error error = LXW_NO_ERROR;
        switch (cell.value.type()) {
        case CellValue::Type::Number:
            error = worksheet_write_number(target, row, column, cell.value.toNumber(), format);
            break;
        case CellValue::Type::Text:
            error = worksheet_write_string(target, row, column,
                                           storedText(cell.value.textValue()).constData(), format);
            break;
        case CellValue::Type::Boolean:
            error = worksheet_write_boolean(target, row, column, cell.value.toBoolean() ? 1 : 0,
                                            format);
            break;
        case CellValue::Type::Empty:
            error = worksheet_write_blank(target, row, column, format);
            break;
        }
        check(error,
              QStringLiteral("Cannot write cell ") + CellRange::cell(key.first, key.second).toA1());
    }
}

} // namespace

void XlsxWriter::write(const Workbook& workbook, const QString& path)
{
    if (workbook.sheetCount() == 0) {
        throw FormatError(QStringLiteral("A workbook without sheets cannot be saved"));
    }
    // The library writes every number with printf.
    const text::CNumberRules numberRules;
    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook* target = workbook_new(fileName.constData());
    if (!target) {
        throw FormatError(QStringLiteral("Cannot create the workbook file"));
    }
    try {
        XlsxFormatCache formats(target);
        for (int index = 0; index < workbook.sheetCount(); ++index) {
            const Worksheet& sheet = workbook.sheet(index);
            lxw_worksheet* page = workbook_add_worksheet(target, sheet.name().toUtf8().constData());
            if (!page) {
                throw FormatError(QStringLiteral("Cannot add the sheet \"%1\"").arg(sheet.name()));
            }
            writeSheet(page, sheet, formats);
            if (index == workbook.activeSheetIndex()) {
                worksheet_activate(page);
            }
        }
    } catch (...) {
        workbook_close(target); // frees the library's workbook; the caller drops the file
        throw;
    }
    // The library says which step failed but not why; the errno of its failing file operation
    // (a full disk, a file-size limit) is still there when it returns.
    errno = 0;
    const lxw_error closed = workbook_close(target);
    const int systemError = errno;
    if (closed != LXW_NO_ERROR) {
        throw FormatError(QStringLiteral("Cannot write the workbook file: ") +
                              QString::fromUtf8(lxw_strerror(closed)),
                          systemError);
    }
}

} // namespace platform::automation::workbook
