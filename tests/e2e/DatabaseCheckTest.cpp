#include "ProgramSession.h"

#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/SettingsFile.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

using namespace app;
using namespace platform::ui;
using platform::text::w;

namespace {

// A price list in the previous version's layout, under the current price list's name.
void writeOldPriceList()
{
    RecordFile old(priosnNLayout());
    old.setDiskName("priosn.tps");
    ASSERT_EQ(old.create(), 0);
    ASSERT_EQ(old.open(), 0);
    old.clearBuffer();
    auto& record = old.record<PriosnNRecord>();
    record.KOD = 17;
    record.NAIM = w("Фильтр");
    ASSERT_EQ(old.add(), 0);
    old.close();
}

void writeBasketLine()
{
    ASSERT_EQ(KORZAK().create(), 0);
    ASSERT_EQ(KORZAK().open(), 0);
    KORZAK().clearBuffer();
    K().KOD = 17;
    K().NAIM = w("Фильтр");
    K().KOL = 3;
    ASSERT_EQ(KORZAK().add(), 0);
    KORZAK().close();
}

int64_t recordsIn(RecordFile& file)
{
    if (file.open() != 0)
        return -1;
    const int64_t count = file.records();
    file.close();
    return count;
}

class DatabaseCheck : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeOldPriceList();
        writeBasketLine();
        e2e::writeApplicabilityTypes({{"Легковые", 1}, {"Грузовые", 0}});
        e2e::writeManufacturers({{"Bosch", 1}});
        testsupport::writeFileBytes(m_folder.file("quelbarto.ini"),
                                    "[sizeprice]\r\nbr1=10,20,30\r\nbr2=40,50\r\n");
    }

    testsupport::TempWorkFolder m_folder;
};

TEST_F(DatabaseCheck, RunClearsThePriceListAndKeepsTheBasket)
{
    TestDriver driver;
    int64_t prices = -1, manufacturers = -1, types = -1, basket = -1;
    std::string br1 = "unread", br2 = "unread";
    std::string checkDump;
    driver.waitOpen("Проверка баз данных")
        .dump([&](const std::string& text) { checkDump = text; })
        .press("?BUTTON1")
        .waitClose("Проверка баз данных")
        .waitOpen(e2e::FrameTitle)
        .call([&] {
            prices = recordsIn(PRIOSN());
            manufacturers = recordsIn(PROIZ());
            types = recordsIn(SPRPR());
            basket = recordsIn(KORZAK());
            br1 = SettingsFile::read("quelbarto.ini", "sizeprice", "br1", "missing");
            br2 = SettingsFile::read("quelbarto.ini", "sizeprice", "br2", "missing");
        })
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok) // both reference files are empty now
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");

    EXPECT_NE(checkDump.find("Текущая версия базы данных не соответствует версии программы !"),
              std::string::npos)
        << checkDump;
    EXPECT_EQ(prices, 0); // opens: the new file has the program's layout
    EXPECT_EQ(manufacturers, 0);
    EXPECT_EQ(types, 0);
    EXPECT_EQ(basket, 1);
    EXPECT_EQ(br1, "");
    EXPECT_EQ(br2, "");
    // No stop box: the layout error met by the check is not the rebuild's.
    EXPECT_EQ(e2e::messagesCaptioned(driver, "Нет записей"), 2);
    EXPECT_EQ(driver.messages().size(), 2u);
}

TEST_F(DatabaseCheck, LeaveClosesTheFrameAtOnceAndStillClearsTheMarks)
{
    TestDriver driver;
    driver.waitOpen("Проверка баз данных").press("?BUTTON2").waitClose(e2e::FrameTitle);
    EXPECT_EQ(e2e::runProgram(driver), "");

    EXPECT_EQ(e2e::applicabilityMarks(), (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(e2e::manufacturerMarks(), (std::vector<uint8_t>{0}));
    // Nothing was rebuilt.
    EXPECT_EQ(PRIOSN().open(), platform::storage::Error::InvalidLayout);
    EXPECT_EQ(recordsIn(KORZAK()), 1);
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "sizeprice", "br1"), "10,20,30");
    EXPECT_TRUE(driver.messages().empty());
}

TEST_F(DatabaseCheck, ClosingTheCheckCountsAsLeave)
{
    TestDriver driver;
    driver.waitOpen("Проверка баз данных").close().waitClose(e2e::FrameTitle);
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(PRIOSN().open(), platform::storage::Error::InvalidLayout);
    EXPECT_EQ(e2e::manufacturerMarks(), (std::vector<uint8_t>{0}));
}

TEST(DatabaseCheckNotAsked, CurrentLayoutOpensTheFrameDirectly)
{
    testsupport::TempWorkFolder folder;
    ASSERT_EQ(PRIOSN().create(), 0);
    e2e::writeApplicabilityTypes({{"Легковые", 0}});
    e2e::writeManufacturers({{"Bosch", 0}});
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle).menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_TRUE(driver.messages().empty());
}

} // namespace
