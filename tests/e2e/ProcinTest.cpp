#include "ProgramSession.h"

#include "app/procin/OrderFileKind.h"
#include "app/procin/Procin.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/TestDriver.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <string>
#include <utility>

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
        return e2e::runAlongside(driver, [&] { app::procin(w(name)); }, 15000);
    }

    testsupport::TempWorkFolder m_folder;
};

} // namespace

TEST_F(Procin, KindIsToldByTheFirstBytesNotByTheName)
{
    const std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest", 12);
    const std::string zip("PK\x03\x04rest", 8);
    testsupport::writeFileBytes(m_folder.file("a.txt"), compound);
    testsupport::writeFileBytes(m_folder.file("b"), zip);
    testsupport::writeFileBytes(m_folder.file("c.xls"), "5;A;B;C;1;1;1\r\n");
    testsupport::writeFileBytes(m_folder.file("d.xlsx"), "PK\r\n5;A;B;C;1;1;1\r\n");
    testsupport::writeFileBytes(m_folder.file("e.xls"), std::string("\xD0\xCF\x11", 3));
    EXPECT_EQ(app::orderFileKindOf("a.txt"), app::OrderFileKind::Workbook);
    EXPECT_EQ(app::orderFileKindOf("  B  "), app::OrderFileKind::Workbook) << "any case, blanks";
    EXPECT_EQ(app::orderFileKindOf("c.xls"), app::OrderFileKind::Text);
    EXPECT_EQ(app::orderFileKindOf("d.xlsx"), app::OrderFileKind::Text) << "\"PK\" alone is text";
    EXPECT_EQ(app::orderFileKindOf("e.xls"), app::OrderFileKind::Text) << "too short";
    EXPECT_EQ(app::orderFileKindOf("absent.xls"), app::OrderFileKind::Text);
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
    testsupport::writeFileBytes(m_folder.file("order.txt"),
                                std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) +
                                    std::string(600, '\x07'));
    TestDriver driver;
    driver.answerMessage(Button::Ok);
    EXPECT_EQ(open(driver, "order.txt"), "");
    EXPECT_EQ(codes(), "1:OLD-1 2:OLD-2 ");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text,
              w("Не удалось прочитать файл заказа order.txt. Заказ не изменён."));
}

TEST_F(Procin, TextOrderUnderAWorkbookNameIsReadAsText)
{
    testsupport::writeFileBytes(m_folder.file("order.XLS"), "5;A;B;C;1;1;1\r\n");
    TestDriver driver;
    EXPECT_EQ(open(driver, "order.XLS"), "");
    EXPECT_EQ(codes(), "5:A ");
    EXPECT_TRUE(driver.messages().empty());
}

// A file that yields no order line is no order: the basket stays, and the user is told.
TEST_F(Procin, FileWithoutOrderLinesKeepsTheBasketAndSaysSo)
{
    const std::string png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x02", 26);
    const std::pair<const char*, std::string> files[] = {
        {"notes.txt", w("#Заказчик: ООО Ромашка\r\nнет тут строк; совсем\r\n0;X;Y;Z;1;1;1\r\n")},
        {"picture.png", png},
        {"empty.txt", ""},
        {"empty-order.txt", w("#Заказчик: \r\n#Адрес: \r\n#Комментарий к заказу: \r\n")},
    };
    for (const auto& [name, bytes] : files) {
        testsupport::writeFileBytes(m_folder.file(name), bytes);
        TestDriver driver;
        driver.answerMessage(Button::Ok);
        EXPECT_EQ(open(driver, name), "") << name;
        EXPECT_EQ(codes(), "1:OLD-1 2:OLD-2 ") << name;
        ASSERT_EQ(driver.messages().size(), 1u) << name;
        EXPECT_EQ(driver.messages()[0].caption, w("Ошибка"));
        EXPECT_EQ(driver.messages()[0].text,
                  w("В файле ") + name + w(" нет строк заказа. Заказ не изменён."));
    }
}

// Order files carry no pack size: a line whose item is listed takes the price list's, one whose
// item is not listed has none.
TEST_F(Procin, LinesTakeThePackSizeOfTheListedItem)
{
    ASSERT_EQ(app::RelatePRIOSN->open(), 0);
    app::PRIOSN().clearBuffer();
    app::PR().KOD = 10;
    app::PR().OBOZ = w("N-10");
    app::PR().KOLVUP = 12;
    ASSERT_EQ(app::PRIOSN().add(), 0);
    app::PRIOSN().clearBuffer();
    app::PR().KOD = 77; // the buffer the window works with stays as it was
    testsupport::writeFileBytes(m_folder.file("order.txt"),
                                w("30;N-30;Имя;Ардо;1;2;2\r\n10;N-10;Имя;Ардо;3;1.5;4.5\r\n"));
    TestDriver driver;
    EXPECT_EQ(open(driver, "order.txt"), "");
    EXPECT_EQ(app::PR().KOD, 77);
    std::string packs;
    app::KORZAK().setKey(app::K_pokod);
    while (app::KORZAK().next() == 0)
        packs += std::to_string(app::K().KOD) + ":" + std::to_string(app::K().UPAK) + " ";
    EXPECT_EQ(packs, "10:12 30:0 ");
    app::RelatePRIOSN->close();
}
