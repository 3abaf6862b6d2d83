#include "platform/ui/report/ReportRunner.h"
#include "platform/ui/report/ReportDefinitionReader.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using namespace platform::ui;
using platform::text::w;

namespace {

QString qs(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

// The text of a PDF as pdftotext lays it out; page 0 means every page.
QString pdfText(const std::filesystem::path& pdf, int page = 0)
{
    QStringList arguments{QStringLiteral("-layout"), QStringLiteral("-enc"),
                          QStringLiteral("UTF-8")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments << qs(pdf) << QStringLiteral("-"));
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool hasLine(const QString& text, const QString& pattern)
{
    return QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text).hasMatch();
}

// Values a test sets before each detail, handed to the report by name.
struct Values
{
    std::map<std::string, ReportValue, std::less<>> map;
    void set(const std::string& name, double number) { map[name] = ReportValue::ofNumber(number); }
    void set(const std::string& name, const char* utf8)
    {
        map[name] = ReportValue::ofText(w(utf8));
    }
    ReportValueSource source()
    {
        return [this](std::string_view name) {
            const auto found = map.find(name);
            return found == map.end() ? ReportValue{} : found->second;
        };
    }
};

ReportItem item(ReportItemKind kind, int x, int y, const char* text = "",
                const std::string& use = {}, const std::string& picture = {},
                ReportTotalKind total = ReportTotalKind::None)
{
    return ReportItem{kind,         x,   y,       1500,  250,
                      w(text),      use, picture, total, ReportAlignment::Right,
                      std::nullopt, 10};
}

// One-inch detail lines "Строка N" under a 0.4 inch heading, a 0.9 inch footer with their
// count, the page number at every foot. A4 with half-inch margins leaves 10.19 inches above
// the page footer: lines 1-9 on the first page, ten on each further page.
ReportDefinition linesReport()
{
    ReportDefinition report;
    report.bands = {
        {ReportBandKind::GroupHeader, 400, {item(ReportItemKind::Label, 0, 0, "Заголовок")}},
        {ReportBandKind::Detail,
         1000,
         {item(ReportItemKind::Label, 0, 0, "Строка"),
          item(ReportItemKind::Field, 800, 0, "", "N", "n_4"), item(ReportItemKind::Box, 0, 0)}},
        {ReportBandKind::GroupFooter,
         900,
         {item(ReportItemKind::Label, 0, 0, "Итого строк:"),
          item(ReportItemKind::Field, 2000, 0, "", "N", "n_6", ReportTotalKind::Count)}},
        {ReportBandKind::PageFooter,
         500,
         {item(ReportItemKind::Field, 2500, 200, "", "", w("pСтр  <<<#p"),
               ReportTotalKind::PageNumber),
          item(ReportItemKind::Line, 0, 100)}}};
    return report;
}

class ReportRunnerTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(QCoreApplication::instance(), nullptr); }
    void TearDown() override { setMessageHandler({}); }

    std::filesystem::path printLines(int count)
    {
        const auto pdf = m_folder.file("lines.pdf");
        Values values;
        ReportRunner runner(linesReport(), values.source());
        runner.startPdf(qs(pdf));
        for (int n = 1; n <= count; ++n) {
            values.set("N", n);
            EXPECT_TRUE(runner.printDetail());
        }
        EXPECT_EQ(runner.finish(), ReportOutcome::Printed);
        m_pages = runner.pageCount();
        return pdf;
    }

    testsupport::TempWorkFolder m_folder;
    int m_pages = 0;
};

TEST_F(ReportRunnerTest, OrderWithHeadingRequisitesLinesAndTotal)
{
    const char* data = std::getenv("QUELB_TEST_DATA");
    Values values;
    values.set("HEADSTR", "Заказ  (распечатан  5.03.2026 в  9:07)");
    values.set("REK:NAIM", "ООО \"Ромашка\"");
    values.set("REK:INN", "7701234567");
    const auto pdf = m_folder.file("order.pdf");
    ReportRunner runner(
        ReportDefinitionReader::readFile(QString::fromLocal8Bit(data ? data : "tests/data") +
                                             QStringLiteral("/reports/order.json"),
                                         "P1$REPORT"),
        values.source());
    runner.startPdf(qs(pdf));
    struct Line
    {
        int code;
        const char* oboz;
        const char* naim;
        int kol;
        double cena, summa;
    };
    for (const Line& line : {Line{101, "A-1", "Фильтр масляный", 2, 5.00, 10.00},
                             Line{205, "B-22", "Свеча зажигания", 5, 0.50, 2.50},
                             Line{3070, "C-3", "Шайба", 7, 0.05, 0.35}}) {
        values.set("K:KOD", line.code);
        values.set("K:OBOZ", line.oboz);
        values.set("K:NAIM", line.naim);
        values.set("K:KOL", line.kol);
        values.set("K:CENA", line.cena);
        values.set("K:SUMMA", line.summa);
        values.set("K:PROIZV", "Завод №1");
        ASSERT_TRUE(runner.printDetail());
    }
    ASSERT_EQ(runner.finish(), ReportOutcome::Printed);
    EXPECT_EQ(runner.pageCount(), 1);

    const QString text = pdfText(pdf);
    for (const char* line :
         {R"(^\s*Заказ\s+\(распечатан\s+5\.03\.2026 в\s+9:07\)$)", R"(Заказчик:\s+ООО "Ромашка"$)",
          R"(ИНН:\s+7701234567$)",
          R"(^\s*Адрес:$)", // requisites the source does not give print as blanks
          R"(Код\s+Обозначение\s+Наименование\s+Кол-во\s+Цена\s+Сумма\s+Производитель)",
          R"(^\s+101\s+A-1\s+Фильтр масляный\s+2\s+5\.00\s+10\.00\s+Завод №1$)",
          R"(^\s+205\s+B-22\s+Свеча зажигания\s+5\s+0\.50\s+2\.50\s+Завод №1$)",
          R"(^\s+3070\s+C-3\s+Шайба\s+7\s+0\.05\s+0\.35\s+Завод №1$)", R"(Всего:\s+12\.85$)",
          R"(^\s+Стр\s+1$)"})
        EXPECT_TRUE(hasLine(text, QString::fromUtf8(line))) << line << "\n" << qPrintable(text);
    // Heading first, lines in the order printed, the total after the last line.
    EXPECT_LT(text.indexOf(QStringLiteral("Заказчик:")), text.indexOf(QStringLiteral("Фильтр")));
    EXPECT_LT(text.indexOf(QStringLiteral("Фильтр")), text.indexOf(QStringLiteral("Шайба")));
    EXPECT_LT(text.indexOf(QStringLiteral("Шайба")), text.indexOf(QStringLiteral("Всего:")));
}

TEST_F(ReportRunnerTest, EveryTotalKindOnAPrinterOfTheCaller)
{
    ReportDefinition report;
    ReportBand footer{ReportBandKind::GroupFooter, 1500, {}};
    const std::pair<const char*, ReportTotalKind> kinds[] = {
        {"Сумма:", ReportTotalKind::Sum},          {"Среднее:", ReportTotalKind::Average},
        {"Наибольшее:", ReportTotalKind::Maximum}, {"Наименьшее:", ReportTotalKind::Minimum},
        {"Количество:", ReportTotalKind::Count},   {"Страница:", ReportTotalKind::PageNumber}};
    int y = 0;
    for (const auto& [caption, kind] : kinds) {
        footer.items.push_back(item(ReportItemKind::Label, 0, y, caption));
        footer.items.push_back(item(ReportItemKind::Field, 1500, y, "", "V", "n_8.2", kind));
        y += 250;
    }
    report.bands = {{ReportBandKind::Detail, 300, {}}, footer};

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const auto pdf = m_folder.file("totals.pdf");
    printer.setOutputFileName(qs(pdf));
    Values values;
    ReportRunner runner(report, values.source());
    runner.start(printer);
    for (double value : {4.0, -1.0, 3.5}) {
        values.set("V", value);
        runner.printDetail();
    }
    ASSERT_EQ(runner.finish(), ReportOutcome::Printed);
    const QString text = pdfText(pdf);
    for (const char* line :
         {R"(Сумма:\s+6\.50$)", R"(Среднее:\s+2\.17$)", R"(Наибольшее:\s+4\.00$)",
          R"(Наименьшее:\s+-1\.00$)", R"(Количество:\s+3\.00$)", R"(Страница:\s+1\.00$)"})
        EXPECT_TRUE(hasLine(text, QString::fromUtf8(line))) << line << "\n" << qPrintable(text);
}

TEST_F(ReportRunnerTest, PageFooterOnEveryPage)
{
    const auto pdf = printLines(25);
    EXPECT_EQ(m_pages, 3);
    for (int page = 1; page <= 3; ++page) {
        const QString text = pdfText(pdf, page);
        const int first = page == 1 ? 1 : (page - 1) * 10;
        const int last = std::min(page * 10 - 1, 25);
        EXPECT_TRUE(hasLine(text, QStringLiteral("^\\s*Стр\\s+%1$").arg(page))) << qPrintable(text);
        EXPECT_TRUE(hasLine(text, QStringLiteral("Строка\\s+%1$").arg(first)));
        EXPECT_TRUE(hasLine(text, QStringLiteral("Строка\\s+%1$").arg(last)));
        EXPECT_FALSE(hasLine(text, QStringLiteral("Строка\\s+%1$").arg(last + 1)));
        EXPECT_EQ(text.contains(QStringLiteral("Заголовок")), page == 1);
        EXPECT_EQ(hasLine(text, QStringLiteral("Итого строк:\\s+25$")), page == 3);
    }
}

TEST_F(ReportRunnerTest, GroupFooterThatDoesNotFitStartsAPage)
{
    const auto pdf = printLines(9);
    EXPECT_EQ(m_pages, 2);
    EXPECT_TRUE(hasLine(pdfText(pdf, 1), QStringLiteral("^\\s*Стр\\s+1$")));
    const QString second = pdfText(pdf, 2);
    EXPECT_FALSE(second.contains(QStringLiteral("Строка")));
    EXPECT_TRUE(hasLine(second, QStringLiteral("Итого строк:\\s+9$")));
    EXPECT_TRUE(hasLine(second, QStringLiteral("^\\s*Стр\\s+2$")));
}

TEST_F(ReportRunnerTest, EmptyOrFaultyReportPrintsNothing)
{
    const auto pdf = m_folder.file("empty.pdf");
    ReportRunner empty(linesReport(), {});
    empty.startPdf(qs(pdf));
    EXPECT_EQ(empty.finish(), ReportOutcome::Empty);
    EXPECT_EQ(empty.pageCount(), 0);

    ReportDefinition twice = linesReport();
    twice.bands.push_back(twice.bands.front());
    ReportRunner faulty(twice, {});
    faulty.startPdf(qs(pdf));
    EXPECT_FALSE(faulty.printDetail());
    EXPECT_EQ(faulty.finish(), ReportOutcome::Failed);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(ReportRunnerTest, PrinterThatCannotStartIsReported)
{
    std::vector<MessageRequest> shown;
    setMessageHandler([&shown](const MessageRequest& request) {
        shown.push_back(request);
        return Button::Ok;
    });
    ReportRunner runner(linesReport(), {});
    runner.startPdf(qs(m_folder.file("no-such-folder") / "report.pdf"));
    EXPECT_FALSE(runner.printDetail());
    EXPECT_FALSE(runner.printDetail());
    EXPECT_EQ(runner.finish(), ReportOutcome::Failed);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, w("Ошибка"));
    EXPECT_EQ(shown[0].text, w("Не удалось напечатать отчёт на принтере PDF: нет папки ") +
                                 m_folder.file("no-such-folder").string());
}

} // namespace
