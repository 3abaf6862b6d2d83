#include "app/procin/Procin.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/TestDriver.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <string>

using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* Title = "Открытие заказа";

class Procin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        addLine(1, "OLD-1");
        addLine(2, "OLD-2");
    }
    void TearDown() override
    {
        app::RelateKORZAK->close();
        app::DictionaryKill();
    }

    static void addLine(int32_t code, const char* oboz)
    {
        app::KORZAK().clearBuffer();
        app::K().KOD = code;
        app::K().OBOZ = w(oboz);
        ASSERT_EQ(app::KORZAK().add(), 0);
    }

    static std::string codes()
    {
        std::string out;
        app::KORZAK().setKey(app::K_pokod);
        while (app::KORZAK().next() == 0)
            out += std::to_string(app::K().KOD) + ":" + app::K().OBOZ.str() + " ";
        return out;
    }

    // Runs procin while the driver waits for the window to come and go; what failed, or "".
    static std::string open(TestDriver& driver, const std::string& name)
    {
        driver.waitOpen(Title).waitClose(Title);
        bool done = false;
        std::string failure;
        driver.start(
            [&](const std::string& result) {
                done = true;
                failure = result;
            },
            15000);
        app::procin(w(name));
        QElapsedTimer waited;
        waited.start();
        while (!done && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done ? failure : "the driver did not finish";
    }

    testsupport::TempWorkFolder m_folder;
};

} // namespace

TEST(ProcinName, WorkbookByTheLastFourCharacters)
{
    for (const char* name : {"order.xls", "ORDER.XLS", "a.XlS", "dir/b.xls   ", ".xls"})
        EXPECT_TRUE(app::Procin::isWorkbookName(name)) << name;
    for (const char* name : {"order.xlsx", "order.txt", "order", "xls", "order.xls.txt", ""})
        EXPECT_FALSE(app::Procin::isWorkbookName(name)) << name;
}

TEST_F(Procin, TextFileReplacesTheBasket)
{
    testsupport::writeFileBytes(m_folder.file("order.txt"),
                                w("#Заказчик: ООО Ромашка\r\n30;N-30;Имя;Ардо;1;2;2\r\n"
                                  "10;N-10;Имя;Ардо;3;1.5;4.5\r\n"));
    TestDriver driver;
    EXPECT_EQ(open(driver, "  order.txt  "), "");
    EXPECT_EQ(codes(), "10:N-10 30:N-30 ");
    EXPECT_TRUE(driver.messages().empty());
}

TEST_F(Procin, MissingFileKeepsTheBasketAndSaysWhy)
{
    TestDriver driver;
    driver.answerMessage(Button::Ok);
    EXPECT_EQ(open(driver, "absent.txt"), "");
    EXPECT_EQ(codes(), "1:OLD-1 2:OLD-2 ");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].caption, w("Ошибка"));
    EXPECT_EQ(driver.messages()[0].text, w("Файл заказа не найден: absent.txt. Заказ не изменён."));
}

TEST_F(Procin, DamagedWorkbookKeepsTheBasket)
{
    testsupport::writeFileBytes(m_folder.file("order.XLS"), "5;A;B;C;1;1;1\r\n");
    TestDriver driver;
    driver.answerMessage(Button::Ok);
    EXPECT_EQ(open(driver, "order.XLS"), "");
    EXPECT_EQ(codes(), "1:OLD-1 2:OLD-2 ");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text,
              w("Не удалось прочитать файл заказа order.XLS. Заказ не изменён."));
}

TEST_F(Procin, NameWithALetterAfterXlsIsReadAsText)
{
    testsupport::writeFileBytes(m_folder.file("order.xlsx"), "7;T;B;C;1;1;1\r\n");
    TestDriver driver;
    EXPECT_EQ(open(driver, "order.xlsx"), "");
    EXPECT_EQ(codes(), "7:T ");
}
