#include "app/pechzakaz/Pechzakaz.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/Event.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/report/ReportDefinitionReader.h"
#include "tests/support/TempWorkFolder.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace platform::ui;
using platform::text::w;

namespace {

class Pechzakaz : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        ASSERT_EQ(app::RelateREKV->open(), 0);
        Clock::setFixed(2026, 3, 5, 9, 7);
        QPrinter& printer = PrinterSetup::printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf().string()));
    }
    void TearDown() override
    {
        PrinterSetup::printer().setOutputFileName(QString());
        Clock::clearFixed();
        app::RelateREKV->close();
        app::RelateKORZAK->close();
        app::DictionaryKill();
    }

    std::filesystem::path pdf() const { return m_folder.file("order.pdf"); }

    static void addLine(int32_t code, const char* name, double sum)
    {
        app::KORZAK().clearBuffer();
        app::K().KOD = code;
        app::K().OBOZ = w("OB-") + std::to_string(code);
        app::K().NAIM = w(name);
        app::K().PROIZV = w("Ардо");
        app::K().KOL = 1;
        app::K().CENA = sum;
        app::K().SUMMA = sum;
        ASSERT_EQ(app::KORZAK().add(), 0);
    }

    static void addRequisites()
    {
        app::REKV().clearBuffer();
        app::REK().NAIM = w("ООО Ромашка");
        app::REK().ADR = w("г. Тверь, ул. Лесная, д. 5");
        app::REK().INN = w("6901234567");
        app::REK().BIK = w("042809679");
        ASSERT_EQ(app::REKV().add(), 0);
        app::REKV().clearBuffer();
    }

    std::string pdfText() const
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), QString::fromStdString(pdf().string()),
                       QStringLiteral("-")});
        process.waitForFinished(20000);
        return process.readAllStandardOutput().toStdString();
    }

    // The words pdftotext finds, with their boxes in points, page by page.
    struct Word
    {
        int page;
        double xMin, yMin, xMax, yMax;
        QString text;
    };
    std::vector<Word> pdfWords(double* pageHeight) const
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-bbox"), QString::fromStdString(pdf().string()),
                       QStringLiteral("-")});
        process.waitForFinished(20000);
        const QString html = QString::fromUtf8(process.readAllStandardOutput());
        std::vector<Word> words;
        int page = 0;
        static const QRegularExpression tag(
            QStringLiteral("<page width=\"[0-9.]+\" height=\"([0-9.]+)\">|"
                           "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                           "yMax=\"([0-9.]+)\">([^<]*)</word>"));
        for (auto it = tag.globalMatch(html); it.hasNext();) {
            const auto match = it.next();
            if (!match.captured(1).isEmpty()) {
                ++page;
                *pageHeight = match.captured(1).toDouble();
                continue;
            }
            words.push_back({page, match.captured(2).toDouble(), match.captured(3).toDouble(),
                             match.captured(4).toDouble(), match.captured(5).toDouble(),
                             match.captured(6)});
        }
        return words;
    }

    testsupport::TempWorkFolder m_folder;
};

} // namespace

TEST(PechzakazHeading, DateAndTimeWithLeadingBlanks)
{
    Clock::setFixed(2026, 3, 5, 9, 7);
    EXPECT_EQ(app::Pechzakaz::heading(), w("Заказ  (распечатан  5.03.2026 в  9:07)"));
    Clock::setFixed(2026, 12, 25, 18, 30);
    EXPECT_EQ(app::Pechzakaz::heading(), w("Заказ  (распечатан 25.12.2026 в 18:30)"));
    Clock::clearFixed();
}

TEST_F(Pechzakaz, PrintsHeadingRequisitesLinesInCodeOrderAndTheTotal)
{
    addRequisites();
    // Added out of code order, with names that sort otherwise.
    addLine(30, "Альфа", 0.35);
    addLine(10, "Вега", 10.00);
    addLine(20, "Бета", 2.50);
    TestDriver driver; // answers any box; none is expected
    app::pechzakaz();
    EXPECT_TRUE(driver.messages().empty());
    EXPECT_EQ(LastResponse, static_cast<uint8_t>(Response::Completed));
    ASSERT_TRUE(std::filesystem::exists(pdf()));

    const std::string text = pdfText();
    EXPECT_NE(text.find("Заказ (распечатан 5.03.2026 в 9:07)"), std::string::npos) << text;
    EXPECT_NE(text.find("ООО Ромашка"), std::string::npos) << text;
    EXPECT_NE(text.find("г. Тверь, ул. Лесная, д. 5"), std::string::npos) << text;
    EXPECT_NE(text.find("6901234567"), std::string::npos) << text;
    for (const char* heading : {"Заказчик:", "Адрес:", "ИНН:", "БИК:", "Код", "Обозначение",
                                "Наименование", "Кол-во", "Цена", "Сумма", "Производитель"})
        EXPECT_NE(text.find(heading), std::string::npos) << heading << "\n" << text;
    const auto vega = text.find("Вега");
    const auto beta = text.find("Бета");
    const auto alpha = text.find("Альфа");
    ASSERT_NE(vega, std::string::npos) << text;
    EXPECT_LT(vega, beta);
    EXPECT_LT(beta, alpha);
    EXPECT_NE(text.find("10.00"), std::string::npos);
    const auto total = text.find("Всего:");
    ASSERT_NE(total, std::string::npos) << text;
    EXPECT_GT(total, alpha);
    EXPECT_NE(text.find("12.85", total), std::string::npos) << text;
    EXPECT_NE(text.find("Стр 1"), std::string::npos) << text;
}

TEST_F(Pechzakaz, WithoutRequisitesTheyPrintBlank)
{
    addLine(5, "Гамма", 1.5);
    TestDriver driver;
    app::pechzakaz();
    const std::string text = pdfText();
    EXPECT_NE(text.find("Заказчик:"), std::string::npos) << text;
    EXPECT_NE(text.find("Гамма"), std::string::npos) << text;
    EXPECT_NE(text.find("1.50"), std::string::npos) << text;
}

TEST_F(Pechzakaz, EmptyBasketPrintsNothing)
{
    TestDriver driver;
    driver.answerMessage(Button::Ok);
    app::pechzakaz();
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text, w("Нет доступных для процесса записей."));
    EXPECT_FALSE(std::filesystem::exists(pdf()));
}

// A total of a hundred million and more prints whole beside "Всего:", as the window shows it.
TEST_F(Pechzakaz, ATotalOfAHundredMillionPrintsWhole)
{
    addLine(1, "Станок", 41152263.00);
    addLine(2, "Станок", 41152263.00);
    addLine(3, "Станок", 41152263.00);
    addLine(4, "Шайба", 0.01);
    TestDriver driver;
    app::pechzakaz();
    const std::string text = pdfText();
    const auto total = text.find("Всего:");
    ASSERT_NE(total, std::string::npos) << text;
    const std::string line = text.substr(total, text.find('\n', total) - total);
    EXPECT_NE(line.find("123456789.01"), std::string::npos) << line;
    EXPECT_EQ(text.find('#'), std::string::npos) << text;
}

// The widest letters fill a designation, a name and a maker of 50 characters each: every one
// is printed whole inside its column, the rows growing to the lines they need, the pages
// breaking above the page footer, the total still the sum of all lines.
TEST_F(Pechzakaz, LongDesignationNameAndMakerPrintWholeInTheirColumns)
{
    const auto fifty = [](const std::string& pattern, int code) {
        std::string text;
        for (int i = 0; text.size() < 47; ++i)
            text += pattern[i % pattern.size()];
        return text.substr(0, 47) + std::to_string(code);
    };
    std::map<std::string, std::vector<std::string>> expected; // the column's texts, code order
    double total = 0;
    for (int code = 101; code <= 140; ++code) {
        app::KORZAK().clearBuffer();
        app::K().KOD = code;
        // One Latin-letter byte stands for each Cyrillic "Ш", so every text is 50 characters.
        std::string oboz = fifty("SWSW-", code), naim = fifty("SSWW SWSW ", code),
                    proizv = fifty("WSWSW S", code);
        for (std::string* text : {&oboz, &naim, &proizv})
            std::replace(text->begin(), text->end(), 'S', '\xD8'); // "Ш" in Windows-1251
        app::K().OBOZ = oboz;
        app::K().NAIM = naim;
        app::K().PROIZV = proizv;
        app::K().KOL = 1;
        app::K().CENA = 1.25;
        app::K().SUMMA = 1.25;
        total += 1.25;
        ASSERT_EQ(app::KORZAK().add(), 0);
        ASSERT_EQ(platform::text::toQString(oboz).size(), 50);
        expected["K:OBOZ"].push_back(oboz);
        expected["K:NAIM"].push_back(naim);
        expected["K:PROIZV"].push_back(proizv);
        expected["K:KOD"].push_back(std::to_string(code));
    }
    TestDriver driver;
    app::pechzakaz();
    EXPECT_TRUE(driver.messages().empty());
    ASSERT_TRUE(std::filesystem::exists(pdf()));

    const auto definition = ReportDefinitionReader::readFile(
        QString::fromStdString(
            resolveNoCase(resourceFolder() / "windows", "quelb017.json").string()),
        "P1$REPORT");
    const ReportBand* detail = definition.band(ReportBandKind::Detail);
    const ReportBand* footer = definition.band(ReportBandKind::PageFooter);
    const ReportBand* header = definition.band(ReportBandKind::GroupHeader);
    ASSERT_TRUE(detail && footer && header);
    double pageHeight = 0;
    const std::vector<Word> words = pdfWords(&pageHeight);
    ASSERT_FALSE(words.empty());
    const auto points = [](int units) { return units * 72.0 / 1000; };
    const double leftMargin = points(definition.margins.left);
    const double footerTop =
        pageHeight - points(definition.margins.bottom) - points(footer->height);
    const double headerFoot = points(definition.margins.top) + points(header->height);
    constexpr double slack = 0.5;

    for (const ReportItem& item : detail->items) {
        if (!expected.count(item.use))
            continue;
        const double left = leftMargin + points(item.x), right = left + points(item.width);
        std::vector<Word> inColumn;
        for (const Word& word : words)
            if ((word.xMin + word.xMax) / 2 > left && (word.xMin + word.xMax) / 2 < right &&
                word.yMin < footerTop && (word.page > 1 || word.yMin > headerFoot))
                inColumn.push_back(word);
        std::stable_sort(inColumn.begin(), inColumn.end(), [](const Word& a, const Word& b) {
            return a.page != b.page ? a.page < b.page : a.yMin < b.yMin - 1;
        });
        QString printed;
        for (const Word& word : inColumn) {
            EXPECT_GE(word.xMin, left - slack) << item.use << ": " << qPrintable(word.text);
            EXPECT_LE(word.xMax, right + slack) << item.use << ": " << qPrintable(word.text);
            printed += word.text;
        }
        QString all;
        for (const std::string& text : expected[item.use])
            all += platform::text::toQString(text).remove(QLatin1Char(' '));
        EXPECT_TRUE(printed == all) << item.use << " printed " << printed.size() << " of "
                                    << all.size() << " letters, or others";
    }

    int pages = 0;
    for (const Word& word : words) {
        pages = std::max(pages, word.page);
        const bool pageNumber =
            word.text == QStringLiteral("Стр") || word.text == QString::number(word.page);
        EXPECT_TRUE(pageNumber || word.yMax <= footerTop + slack)
            << "page " << word.page << ": " << qPrintable(word.text) << " over the footer";
    }
    EXPECT_GE(pages, 3) << "forty rows of several lines each fill more than two pages";
    for (int page = 1; page <= pages; ++page)
        EXPECT_TRUE(std::any_of(words.begin(), words.end(), [&](const Word& word) {
            return word.page == page && word.yMin > footerTop &&
                   word.text == QString::number(page);
        })) << "no page number on page " << page;
    const std::string text = pdfText();
    const auto sum = text.find("Всего:");
    ASSERT_NE(sum, std::string::npos) << text;
    EXPECT_NE(text.find("50.00", sum), std::string::npos) << text;
    EXPECT_DOUBLE_EQ(total, 50.0);
}
