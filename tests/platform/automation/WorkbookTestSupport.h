#pragma once

#include "platform/automation/workbook/FormatCodes.h"
#include "platform/automation/workbook/Workbook.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <optional>

// Shared by the workbook file tests: the order-like sheet and the independent readers.
namespace workbooktest {

using namespace platform::automation::workbook;

inline QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

inline BorderLine thinLine()
{
    return BorderLine{LineStyle::Continuous, BorderWeight::Thin, Palette::kAutomatic};
}

inline void formatRange(Worksheet& sheet, const CellRange& range, void (*apply)(CellFormat&))
{
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            apply(sheet.cell(row, column).format);
        }
    }
}

// The order sheet as the save window builds it: title, requisites, heading, basket lines.
inline Workbook makeOrderWorkbook(int lines)
{
    Workbook book;
    Worksheet& sheet = book.addSheet();
    const double widths[] = {10, 40, 40, 30, 12, 16, 17};
    for (int column = 1; column <= 7; ++column) {
        sheet.setColumnWidth(column, widths[column - 1]);
    }
    sheet.merges().merge(*CellRange::parse(u"A1:G1"));
    sheet.setFormula(1, 1, u8("ЗАКАЗ"));
    formatRange(sheet, *CellRange::parse(u"A1:G1"), [](CellFormat& format) {
        format.font.size = 14;
        format.font.bold = true;
        format.font.italic = true;
        format.alignment.horizontal = HorizontalAlignment::Center;
        format.alignment.vertical = VerticalAlignment::Center;
        format.borders.setAll(thinLine());
    });
    const char* requisites[] = {"Заказчик: ООО «Ромашка»",
                                "Адрес: ",
                                "ИНН: ",
                                "Телефон: 123-45-67   E-mail:a@b.ru",
                                "Контактное лицо: Иванов",
                                "Банк: ",
                                "БИК: 044525225   Р/сч:1   Корр/сч:2",
                                "Комментарий к заказу: срочно",
                                "Общий вес заказа (кг): 12.5000"};
    for (int row = 2; row <= 10; ++row) {
        const CellRange range{row, 1, row, 7};
        sheet.merges().merge(range);
        formatRange(sheet, range, [](CellFormat& format) { format.font.size = 12; });
        sheet.setFormula(row, 1, u8(requisites[row - 2]));
    }
    formatRange(sheet, CellRange{10, 1, 10, 7},
                [](CellFormat& format) { format.font.bold = true; });
    const char* headings[] = {"Код",    "Обозначение", "Наименование", "Производитель",
                              "Кол-во", "Цена",        "Сумма"};
    for (int column = 1; column <= 7; ++column) {
        Cell& cell = sheet.cell(11, column);
        sheet.setFormula(11, column, u8(headings[column - 1]));
        cell.format.font.size = 12;
        cell.format.font.bold = true;
        cell.format.font.italic = true;
        cell.format.alignment.horizontal = HorizontalAlignment::Center;
        cell.format.alignment.vertical = VerticalAlignment::Center;
        cell.format.borders.setAll(thinLine());
    }
    for (int line = 0; line < lines; ++line) {
        const int row = 12 + line;
        sheet.setFormula(row, 1, QString::number(1000 + line));
        sheet.setFormula(row, 2, u8("ОБОЗ-").append(QString::number(line)).leftJustified(50));
        sheet.setFormula(row, 3,
                         u8("Фильтр масляный № ").append(QString::number(line)).leftJustified(50));
        sheet.setFormula(row, 4, u8("Производитель").leftJustified(50));
        sheet.setFormula(row, 5, QString::number(line % 17 + 1).rightJustified(5));
        sheet.setFormula(row, 6, QString::number(12.5 + line, 'f', 2).rightJustified(11));
        sheet.setFormula(
            row, 7, QString::number((12.5 + line) * (line % 17 + 1), 'f', 2).rightJustified(11));
        for (int column = 1; column <= 7; ++column) {
            CellFormat& format = sheet.cell(row, column).format;
            format.font.size = 12;
            format.alignment.vertical = VerticalAlignment::Center;
            format.borders.setAll(thinLine());
            if (column == 1 || column == 5) {
                format.font.bold = true;
                format.alignment.horizontal = HorizontalAlignment::Right;
                format.font.colorIndex = column == 1 ? 11 : 5;
            }
            if (column >= 6) {
                format.alignment.horizontal = HorizontalAlignment::Right;
                format.numberFormat = QStringLiteral("0.00");
            }
        }
    }
    return book;
}

// One cell per border line the formats can store (codes 1 to 13), in varied colours, below row.
inline void addBorderSamples(Worksheet& sheet, int row)
{
    for (int code = 1; code <= 13; ++code) {
        const int colour = code % 3 == 0 ? Palette::kAutomatic : code + 2;
        Borders& borders = sheet.cell(row + code, 6).format.borders;
        borders.edge(Edge::Bottom) = FormatCodes::borderFromCode(code, colour);
        borders.edge(Edge::Left) = FormatCodes::borderFromCode(14 - code, Palette::kAutomatic);
    }
}

// Every cell's value and format, the merges and the column widths of both books agree.
inline void expectSameWorkbook(const Workbook& expected, const Workbook& actual)
{
    ASSERT_EQ(expected.sheetCount(), actual.sheetCount());
    for (int index = 0; index < expected.sheetCount(); ++index) {
        const Worksheet& want = expected.sheet(index);
        const Worksheet& got = actual.sheet(index);
        EXPECT_EQ(want.name(), got.name());
        ASSERT_EQ(want.cells().size(), got.cells().size()) << want.name().toStdString();
        for (const auto& [key, cell] : want.cells()) {
            const Cell* read = got.cellAt(key.first, key.second);
            const std::string where = CellRange::cell(key.first, key.second).toA1().toStdString();
            ASSERT_NE(read, nullptr) << where;
            EXPECT_EQ(read->value, cell.value)
                << where << " " << read->value.toText().toStdString();
            EXPECT_TRUE(read->format == cell.format) << where;
        }
        EXPECT_EQ(want.merges().areas(), got.merges().areas());
        EXPECT_EQ(want.columnWidths(), got.columnWidths());
        EXPECT_EQ(want.rowHeights(), got.rowHeights());
    }
}

// What an independent reader printed: cells by reference (value, bold, italic, size,
// horizontal, vertical, borders, number format, font colour), merges and widths.
struct ExternalView
{
    QMap<QString, QStringList> cells;
    QSet<QString> merges;
    QMap<QString, double> widths;
    QStringList sheets;
};

inline QString testData(const char* name)
{
    // Tests change the working folder, so the fallback is found from this file's place.
    const char* root = std::getenv("QUELB_TEST_DATA");
    const QString data = root ? QString::fromLocal8Bit(root)
                              : QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() +
                                    QStringLiteral("/../../data");
    return data + QStringLiteral("/workbook/") + QString::fromLatin1(name);
}

// Runs program with arguments; nothing when it cannot run or fails, with the reason in why.
inline std::optional<ExternalView> runExternalReader(const QString& program,
                                                     const QStringList& arguments, QString* why)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        *why = program + QStringLiteral(" failed: ") +
               QString::fromUtf8(process.readAllStandardError());
        return std::nullopt;
    }
    ExternalView view;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(u'\n')) {
        const QStringList fields = line.split(u'\t');
        if (fields.value(0) == u"cell" && fields.size() >= 3) {
            view.cells.insert(fields[1], fields.mid(2));
        } else if (fields.value(0) == u"merge") {
            view.merges.insert(fields.value(1));
        } else if (fields.value(0) == u"width") {
            view.widths.insert(fields.value(1), fields.value(2).toDouble());
        } else if (fields.value(0) == u"sheet") {
            view.sheets.append(fields.value(1));
        }
    }
    return view;
}

// True when the command runs and exits 0 (used to see whether a reader is installed).
inline bool commandWorks(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

inline QString pythonWithOpenpyxl()
{
    for (const QString& candidate :
         {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        if (commandWorks(candidate, {QStringLiteral("-c"), QStringLiteral("import openpyxl")})) {
            return candidate;
        }
    }
    return {};
}

} // namespace workbooktest
