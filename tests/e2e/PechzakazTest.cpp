#include "app/pechzakaz/Pechzakaz.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Clock.h"
#include "platform/ui/Event.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/ui/TestDriver.h"
#include "tests/support/TempWorkFolder.h"

#include <QPrinter>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
