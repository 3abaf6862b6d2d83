#include "platform/automation/workbook/CellRange.h"
#include "platform/automation/workbook/ColumnWidthUnits.h"
#include "platform/automation/workbook/FormulaValue.h"
#include "platform/automation/workbook/MergeList.h"
#include "platform/automation/workbook/Palette.h"
#include "platform/automation/workbook/Workbook.h"

#include <gtest/gtest.h>

using namespace platform::automation::workbook;

TEST(WorkbookCellRange, ParsesAndFormatsA1References)
{
    EXPECT_EQ(CellRange::parse(u"A1:G1"), (CellRange{1, 1, 1, 7}));
    EXPECT_EQ(CellRange::parse(u"b12"), CellRange::cell(12, 2));
    EXPECT_EQ(CellRange::parse(u"$A$1:$B$2"), (CellRange{1, 1, 2, 2}));
    EXPECT_EQ(CellRange::parse(u"G10:A1"), (CellRange{1, 1, 10, 7})) << "corners put in order";
    EXPECT_EQ(CellRange::parse(u"XFD1048576")->lastColumn, 16384);
    for (const char16_t* bad :
         {u"", u"A", u"1", u"A0", u"XFE1", u"A1048577", u"A1:", u"Ж1", u"A1B"}) {
        EXPECT_FALSE(CellRange::parse(bad)) << QString::fromUtf16(bad).toStdString();
    }
    EXPECT_EQ(CellRange::columnName(1), QStringLiteral("A"));
    EXPECT_EQ(CellRange::columnName(26), QStringLiteral("Z"));
    EXPECT_EQ(CellRange::columnName(27), QStringLiteral("AA"));
    EXPECT_EQ(CellRange::columnName(16384), QStringLiteral("XFD"));
    EXPECT_EQ((CellRange{1, 1, 1, 7}).toA1(), QStringLiteral("A1:G1"));
    EXPECT_EQ(CellRange::cell(12, 2).toA1(), QStringLiteral("B12"));
}

TEST(WorkbookMergeList, MergingOverExistingMergesWidensAndNeverOverlaps)
{
    MergeList merges;
    merges.merge({1, 1, 1, 7});
    merges.merge(CellRange::cell(3, 3));
    EXPECT_EQ(merges.areas().size(), 1U) << "a single cell merges nothing";

    merges.merge({1, 7, 2, 8}); // touches A1:G1
    ASSERT_EQ(merges.areas().size(), 1U);
    EXPECT_EQ(merges.areas()[0], (CellRange{1, 1, 2, 8}));
    EXPECT_EQ(merges.areaAt(2, 4), (CellRange{1, 1, 2, 8}));
    EXPECT_FALSE(merges.areaAt(3, 1));

    merges.merge({5, 1, 5, 2});
    merges.unmerge(CellRange::cell(2, 8));
    ASSERT_EQ(merges.areas().size(), 1U);
    EXPECT_EQ(merges.areas()[0], (CellRange{5, 1, 5, 2}));
}

TEST(WorkbookMergeList, MergingAFilesAreasAtOnce)
{
    // Many disjoint areas, as a large sound file has them, go in without pairwise checks.
    std::vector<CellRange> stripes;
    for (int row = 1; row <= 60000; ++row) {
        stripes.push_back({row, 1 + row % 2, row, 3 + row % 2});
    }
    stripes.push_back(CellRange::cell(70000, 1));
    MergeList merges;
    ASSERT_TRUE(merges.mergeAll(stripes));
    EXPECT_EQ(merges.areas().size(), 60000U);

    // Overlapping areas are sorted out as single merges would be.
    MergeList few;
    ASSERT_TRUE(few.mergeAll({{1, 1, 1, 3}, {1, 3, 2, 4}, {5, 5, 6, 6}}));
    EXPECT_EQ(few.areas().size(), 2U);
    EXPECT_EQ(few.areaAt(2, 1), (CellRange{1, 1, 2, 4}));
    ASSERT_TRUE(few.mergeAll({{6, 6, 7, 7}}));
    EXPECT_EQ(few.areaAt(5, 5), (CellRange{5, 5, 7, 7})) << "checked against the existing areas";

    // Too many overlapping areas are refused rather than sorted out for minutes.
    std::vector<CellRange> crossing(20000, CellRange{1, 1, 2, 2});
    MergeList refused;
    EXPECT_FALSE(refused.mergeAll(crossing));
    EXPECT_TRUE(refused.isEmpty());
}

TEST(WorkbookFormulaValue, EntriesBecomeNumbersTextsOrFormulas)
{
    const auto entry = [](const char* text) {
        return FormulaValue::evaluate(QString::fromUtf8(text));
    };

    EXPECT_EQ(entry("      12.50").value, CellValue::number(12.5)) << "blank-padded picture output";
    EXPECT_EQ(entry("    5").value, CellValue::number(5));
    EXPECT_EQ(entry("-1.5e3").value, CellValue::number(-1500));
    EXPECT_TRUE(entry("    5").formula.isEmpty());
    EXPECT_EQ(entry("12,5").value, CellValue::text(QStringLiteral("12,5")));
    EXPECT_EQ(entry("1.2.3").value, CellValue::text(QStringLiteral("1.2.3")));
    EXPECT_EQ(entry("ИНН: ").value, CellValue::text(QString::fromUtf8("ИНН: ")))
        << "trailing blank kept";
    EXPECT_EQ(entry("'0012").value, CellValue::text(QStringLiteral("0012")));
    EXPECT_EQ(entry("true").value, CellValue::boolean(true));
    EXPECT_TRUE(entry("").value.isEmpty());

    const FormulaValue::Entry five = entry("=5");
    EXPECT_EQ(five.value, CellValue::number(5));
    EXPECT_EQ(five.formula, QStringLiteral("=5"));
    EXPECT_EQ(entry("=\"a\"\"b\"").value, CellValue::text(QStringLiteral("a\"b")));
    EXPECT_EQ(entry("=FALSE").value, CellValue::boolean(false));

    const FormulaValue::Entry sum = entry("=SUM(R1C1:R2C1)");
    EXPECT_TRUE(sum.value.isEmpty()) << "not evaluated";
    EXPECT_EQ(sum.formula, QStringLiteral("=SUM(R1C1:R2C1)"));
    EXPECT_TRUE(entry("=\"a\"&\"b\"").value.isEmpty()) << "more than one constant";
}

TEST(WorkbookCellValue, TextFormsFollowTheSpreadsheet)
{
    EXPECT_EQ(CellValue::number(12.5).toText(), QStringLiteral("12.5"));
    EXPECT_EQ(CellValue::number(1000).toText(), QStringLiteral("1000"));
    EXPECT_EQ(CellValue::number(0.1 + 0.2).toText(), QStringLiteral("0.3"));
    EXPECT_EQ(CellValue::boolean(true).toText(), QStringLiteral("TRUE"));
    EXPECT_EQ(CellValue().toText(), QString());
}

TEST(WorkbookColumnWidthUnits, ShownWidthsRoundTripThroughFileWidths)
{
    EXPECT_DOUBLE_EQ(ColumnWidthUnits::toFileWidth(10), 10.7109375);
    EXPECT_DOUBLE_EQ(ColumnWidthUnits::toFileWidth(8.43), 9.140625);
    EXPECT_DOUBLE_EQ(ColumnWidthUnits::toFileWidth(0), 0);
    for (double width : {10.0, 40.0, 30.0, 12.0, 16.0, 17.0, 8.43, 0.5, 255.0}) {
        EXPECT_DOUBLE_EQ(ColumnWidthUnits::fromFileWidth(ColumnWidthUnits::toFileWidth(width)),
                         width)
            << width;
    }
}

TEST(WorkbookPalette, StandardColoursAndNearestIndex)
{
    EXPECT_EQ(Palette::rgb(5), 0x0000FFU);
    EXPECT_EQ(Palette::rgb(11), 0x000080U);
    EXPECT_EQ(Palette::rgb(1), 0x000000U);
    EXPECT_FALSE(Palette::rgb(0));
    EXPECT_FALSE(Palette::rgb(57));
    EXPECT_FALSE(Palette::rgb(Palette::kAutomatic));
    EXPECT_EQ(Palette::nearestIndex(0x000080), 11) << "the first of two equal entries";
    EXPECT_EQ(Palette::nearestIndex(0x0000FE), 5);
}

TEST(WorkbookSheets, NamesAreUniqueAndValid)
{
    Workbook book;
    EXPECT_EQ(book.activeSheet(), nullptr);
    EXPECT_EQ(book.addSheet().name(), QStringLiteral("Sheet1"));
    EXPECT_EQ(book.addSheet(QString::fromUtf8("Заказ")).name(), QString::fromUtf8("Заказ"));
    EXPECT_EQ(book.addSheet(QString::fromUtf8("заказ")).name(), QStringLiteral("Sheet3"))
        << "names compare without case";
    EXPECT_EQ(book.addSheet(QStringLiteral("a[1]")).name(), QStringLiteral("Sheet4"));
    EXPECT_FALSE(book.renameSheet(0, QString(32, u'x')));
    EXPECT_TRUE(book.renameSheet(0, QString(31, u'x')));
    EXPECT_FALSE(book.renameSheet(0, QStringLiteral("SHEET3")));
    EXPECT_TRUE(book.renameSheet(2, QStringLiteral("SHEET3")));
    book.setActiveSheetIndex(9);
    EXPECT_EQ(book.activeSheetIndex(), 0);
}

TEST(WorkbookWorksheet, CellsWidthsAndHeights)
{
    Worksheet sheet(QStringLiteral("s"));
    EXPECT_FALSE(sheet.usedRange());
    EXPECT_EQ(sheet.cellAt(1, 1), nullptr);
    sheet.setFormula(3, 2, QStringLiteral("=5"));
    sheet.cell(5, 4).format.font.bold = true;
    EXPECT_EQ(sheet.value(3, 2), CellValue::number(5));
    EXPECT_TRUE(sheet.value(5, 4).isEmpty());
    EXPECT_EQ(sheet.usedRange(), (CellRange{3, 2, 5, 4}));
    sheet.setValue(3, 2, CellValue::text(QStringLiteral("x")));
    EXPECT_TRUE(sheet.cellAt(3, 2)->formula.isEmpty()) << "a value replaces the formula";

    EXPECT_DOUBLE_EQ(sheet.columnWidth(1), Worksheet::kDefaultColumnWidth);
    sheet.setColumnWidth(1, 300);
    EXPECT_DOUBLE_EQ(sheet.columnWidth(1), 255);
    EXPECT_FALSE(sheet.rowHeight(1));
    sheet.setRowHeight(1, 20.25);
    EXPECT_EQ(sheet.rowHeight(1), 20.25);
}
