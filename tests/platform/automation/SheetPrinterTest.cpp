#include "platform/automation/excel/SheetPrinter.h"
#include "platform/automation/excel/SheetPageLayout.h"

#include "tests/platform/automation/WorkbookTestSupport.h"
#include "tests/support/TempWorkFolder.h"

#include "platform/text/Cp1251.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

using namespace platform::automation;
using namespace platform::automation::workbook;
using workbooktest::u8;

namespace {

struct Word
{
    int page;
    double left;
    double top;
    double right;
    double bottom;
    QString text;
    double height() const { return bottom - top; }
};

// What a reader of the PDF sees: the text of each page as laid out, and each word's box in
// points.
struct Printout
{
    QStringList pages;
    std::vector<Word> words;
    QSizeF paper;

    std::vector<Word> find(const QString& text) const
    {
        std::vector<Word> found;
        for (const Word& word : words)
            if (word.text == text)
                found.push_back(word);
        return found;
    }
};

QString run(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class SheetPrinterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!workbooktest::commandWorks(QStringLiteral("pdftotext"), {QStringLiteral("-v")}))
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        m_setup = std::make_shared<excel::SettingsObject>(
            "PageSetup",
            std::vector<std::string>{"centerheader", "centerfooter", "topmargin", "bottommargin",
                                     "leftmargin", "rightmargin", "orientation", "zoom",
                                     "papersize", "fittopageswide", "fittopagestall"},
            std::vector<std::string>{}, std::vector<std::string>{});
    }

    Printout print(const Worksheet& sheet)
    {
        const QString pdf = QString::fromStdString(m_folder.file("sheet.pdf").string());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        excel::SheetPrinter::print(sheet, *m_setup, 1, printer);
        Printout out;
        out.pages = run({QStringLiteral("-layout"), pdf, QStringLiteral("-")}).split(u'\f');
        if (!out.pages.isEmpty() && out.pages.last().trimmed().isEmpty())
            out.pages.removeLast();
        static const QRegularExpression page(
            QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
        static const QRegularExpression word(QStringLiteral(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
        int number = 0;
        for (const QString& line :
             run({QStringLiteral("-bbox"), pdf, QStringLiteral("-")}).split(u'\n')) {
            if (const auto found = page.match(line); found.hasMatch()) {
                ++number;
                out.paper = QSizeF(found.captured(1).toDouble(), found.captured(2).toDouble());
            } else if (const auto found = word.match(line); found.hasMatch()) {
                out.words.push_back({number, found.captured(1).toDouble(),
                                     found.captured(2).toDouble(), found.captured(3).toDouble(),
                                     found.captured(4).toDouble(), found.captured(5)});
            }
        }
        return out;
    }
    void set(const char* name, const std::string& value)
    {
        m_setup->setValue(name, AutomationValue::text(value));
    }

    testsupport::TempWorkFolder m_folder;
    std::shared_ptr<excel::SettingsObject> m_setup;
};

constexpr double kLeft = 54; // the default side margin, points

// Left edges of the order's columns A to G on the paper, when the page starts at column A or D.
double columnLeft(int column, int firstOnPage)
{
    const double widths[] = {10, 40, 40, 30, 12, 16, 17};
    double x = kLeft;
    for (int c = firstOnPage; c < column; ++c)
        x += excel::SheetPageLayout::columnWidthPoints(widths[c - 1]);
    return x;
}

} // namespace

// 110 lines run to three pages down; the seven columns are wider than the paper, so columns D to
// G follow on three more pages, each column at its own width, the text at its own size.
TEST_F(SheetPrinterTest, LongOrderPrintsEveryColumnAtItsWidthAndEveryTextAtItsSize)
{
    const Workbook book = workbooktest::makeOrderWorkbook(110);
    const Printout out = print(book.sheet(0));
    ASSERT_EQ(out.pages.size(), 6) << out.pages.join(u"\n=====\n").toStdString();
    EXPECT_NEAR(out.paper.width(), 595.3, 0.5) << "A4 portrait";
    // The headings head the first page of each column run; the rows below run on.
    EXPECT_TRUE(out.pages[0].contains(u8("Наименование")));
    EXPECT_TRUE(out.pages[3].contains(u8("Кол-во")));
    for (int page = 0; page < 3; ++page) {
        EXPECT_FALSE(out.pages[page].contains(u8("Кол-во"))) << page;
        EXPECT_FALSE(out.pages[page + 3].contains(u8("Обозначение"))) << page;
    }
    // Every line once, its code on the first three pages and its sum on the last three.
    for (int line = 0; line < 110; ++line) {
        const auto code = out.find(QString::number(1000 + line));
        ASSERT_EQ(code.size(), 1u) << line;
        EXPECT_LE(code[0].page, 3);
        const auto sum = out.find(QString::number((12.5 + line) * (line % 17 + 1), 'f', 2));
        ASSERT_FALSE(sum.empty()) << line;
        EXPECT_GE(sum.back().page, 4);
    }
    // Columns where their widths put them: the left-aligned texts start at their column's edge,
    // the right-aligned ones end at the next column's.
    const Word designation = out.find(u8("ОБОЗ-0")).at(0);
    EXPECT_NEAR(designation.left, columnLeft(2, 1) + 2, 1.5);
    const Word name = out.find(u8("Фильтр")).at(0);
    EXPECT_NEAR(name.left, columnLeft(3, 1) + 2, 1.5);
    const Word maker = out.find(u8("Производитель")).at(1); // the heading comes first
    EXPECT_EQ(maker.page, 4);
    EXPECT_NEAR(maker.left, columnLeft(4, 4) + 2, 1.5);
    const Word firstSum = out.find(QStringLiteral("12.50")).at(1); // the price comes first
    EXPECT_NEAR(firstSum.right, columnLeft(8, 4) - 2, 1.5);
    const Word code = out.find(QStringLiteral("1000")).at(0);
    EXPECT_NEAR(code.right, columnLeft(2, 1) - 2, 1.5);
    // 12-point text is about 12 points high, the 14-point title a little more.
    EXPECT_GT(designation.height(), 10);
    EXPECT_LT(designation.height(), 15);
    const Word title = out.find(u8("ЗАКАЗ")).at(0);
    EXPECT_GT(title.height(), designation.height());
    EXPECT_LT(title.height(), 18);
    EXPECT_NEAR((title.left + title.right) / 2, (columnLeft(1, 1) + columnLeft(8, 1)) / 2, 60)
        << "the title is centred across its merged area";
}

TEST_F(SheetPrinterTest, FitToOnePageWideShrinksEverythingAlike)
{
    const Workbook book = workbooktest::makeOrderWorkbook(10);
    m_setup->setValue("zoom", AutomationValue::boolean(false));
    set("fittopageswide", "1");
    set("fittopagestall", "0");
    const Printout out = print(book.sheet(0));
    ASSERT_EQ(out.pages.size(), 1);
    for (const char* heading :
         {"Код", "Обозначение", "Наименование", "Производитель", "Кол-во", "Цена", "Сумма"})
        EXPECT_TRUE(out.pages[0].contains(u8(heading))) << heading;
    const Word sum = out.find(u8("Сумма")).at(0);
    EXPECT_LE(sum.right, out.paper.width() - kLeft + 1) << "the last column fits the paper";
    const Word designation = out.find(u8("ОБОЗ-0")).at(0);
    EXPECT_LT(designation.height(), 9) << "shrunk with the columns";
}

TEST_F(SheetPrinterTest, LandscapeMarginsHeaderAndFooter)
{
    Workbook book;
    Worksheet& sheet = book.addSheet();
    sheet.setFormula(1, 1, QStringLiteral("first"));
    sheet.setFormula(90, 1, QStringLiteral("last"));
    set("orientation", "2");
    set("leftmargin", "100");
    set("topmargin", "150");
    set("centerheader", platform::text::w("Заказ &P из &N"));
    set("centerfooter", "&&P");
    set("zoom", "200");
    const Printout out = print(sheet);
    EXPECT_NEAR(out.paper.width(), 841.9, 0.5);
    // 90 rows of 25.5 points in the 373 points between the margins: 14 rows a page.
    ASSERT_EQ(out.pages.size(), 7) << "rows twice as high";
    EXPECT_TRUE(out.pages[0].contains(u8("Заказ 1 из 7")));
    EXPECT_TRUE(out.pages[6].contains(u8("Заказ 7 из 7")));
    EXPECT_TRUE(out.pages[1].contains(QStringLiteral("&P")));
    const Word first = out.find(QStringLiteral("first")).at(0);
    EXPECT_NEAR(first.left, 100 + 2 * 2, 1.5);
    EXPECT_GT(first.top, 150);
    EXPECT_LT(first.top, 150 + 25.5);
    EXPECT_GT(first.height(), 18) << "ten points at twice the size";
}

// Pure layout: pages go down the rows first, then across; a column wider than the paper gets a
// page of its own rather than being dropped.
TEST(SheetPageLayout, PagesGoDownThenAcrossAndKeepAColumnTooWideForThePaper)
{
    Worksheet sheet(QStringLiteral("S"));
    sheet.setColumnWidth(2, 200);
    sheet.setFormula(100, 3, QStringLiteral("x"));
    excel::SheetPageLayout::Settings settings;
    const excel::SheetPageLayout layout(sheet, settings);
    ASSERT_EQ(layout.pages().size(), 6u);
    EXPECT_EQ(layout.pages()[0].firstColumn, 1);
    EXPECT_EQ(layout.pages()[0].lastColumn, 1);
    EXPECT_EQ(layout.pages()[1].firstRow, layout.pages()[0].lastRow + 1);
    EXPECT_EQ(layout.pages()[2].firstColumn, 2);
    EXPECT_EQ(layout.pages()[2].lastColumn, 2);
    EXPECT_EQ(layout.pages()[4].firstColumn, 3);
    EXPECT_EQ(layout.pages()[5].lastRow, 100);
    EXPECT_DOUBLE_EQ(layout.scale(), 1.0);
}
