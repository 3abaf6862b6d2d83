// Damaged data files met while the program works: said with their code and name, never shown
// as empty, and then the way out (the basket recovered, the other files made anew).
#include "ProgramSession.h"

#include "app/browsepriosn/BasketRecovery.h"
#include "app/browsepriosn/Browsepriosn.h"
#include "app/browsepriosn/BrowsepriosnSettings.h"
#include "app/browsepriosn/PriceWindowCalls.h"
#include "app/browsepriosn/SelectionState.h"
#include "app/dictionary/Dictionary.h"
#include "app/ipmprice/Ipmprice.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/list/InPlaceEditor.h"
#include "platform/ui/list/ListControl.h"
#include "tests/support/DamagedPages.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace platform::ui;
using platform::text::cp1251ToUtf8;
using platform::text::w;

namespace {

constexpr const char* PriceTitle = "Прайс-лист/Заказ";
constexpr const char* OrderTitle = "Заказ товара";

// A box of the damage itself: its code and the file's name, captioned "Ошибка".
void expectDamageSaid(const MessageRequest& shown, const std::string& file)
{
    EXPECT_EQ(shown.caption, w("Ошибка"));
    EXPECT_NE(shown.text.find("(36)"), std::string::npos) << cp1251ToUtf8(shown.text);
    EXPECT_NE(shown.text.find(file), std::string::npos) << cp1251ToUtf8(shown.text);
}

std::vector<std::string> rowsOf(const char* list)
{
    std::vector<std::string> rows;
    if (Control* control = TestDriver::findControl(list))
        for (const std::string& row : control->rows())
            rows.push_back(cp1251ToUtf8(row));
    return rows;
}

class PriceWindowDamage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        app::Selection() = app::SelectionState{};
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::priceWindowCalls().ipmprice = [this] {
            ++m_loads;
            return uint8_t{1};
        };
    }
    void TearDown() override
    {
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::DictionaryKill();
    }

    static void writeItems(int32_t first, int32_t last)
    {
        ASSERT_EQ(app::RelatePRIOSN->open(), 0);
        app::PRIOSN().stream();
        for (int32_t code = first; code <= last; ++code) {
            app::PRIOSN().clearBuffer();
            app::PR().KOD = code;
            app::PR().OBOZ = w("Обозначение ") + std::to_string(code);
            app::PR().NAIM = w("Деталь");
            app::PR().CENA = 2.0;
            app::PR().KOLVUP = 1;
            ASSERT_EQ(app::PRIOSN().add(), 0);
        }
        ASSERT_EQ(app::PRIOSN().flush(), 0);
        app::RelatePRIOSN->close();
    }

    // Basket line n: code n, quantity n % 9 + 1, price n / 2.
    static void writeLines(int count)
    {
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        app::KORZAK().stream();
        for (int code = 1; code <= count; ++code) {
            app::KORZAK().clearBuffer();
            app::K().KOD = code;
            app::K().KOL = static_cast<int16_t>(code % 9 + 1);
            app::K().CENA = code / 2.0;
            app::K().SUMMA = app::K().KOL * app::K().CENA;
            ASSERT_EQ(app::KORZAK().add(), 0);
        }
        ASSERT_EQ(app::KORZAK().flush(), 0);
        app::RelateKORZAK->close();
    }

    struct Line
    {
        int32_t code;
        int16_t quantity;
        double price;
        bool operator==(const Line&) const = default;
    };
    static std::vector<Line> basket()
    {
        std::vector<Line> lines;
        EXPECT_EQ(app::RelateKORZAK->open(), 0);
        app::KORZAK().setKey(app::K_pokod);
        while (app::KORZAK().next() == 0)
            lines.push_back({app::K().KOD, app::K().KOL, app::K().CENA});
        app::RelateKORZAK->close();
        return lines;
    }

    // Opens the window once the driver runs, so that it answers the boxes the window's opening
    // shows; runs the driver's commands and closes the window again.
    static std::string run(TestDriver& driver)
    {
        driver.close().waitClose(PriceTitle);
        return e2e::runAlongside(
            driver, [] { ThreadRegistry::start(app::browsepriosn, 50000); }, 30000);
    }

    testsupport::TempWorkFolder m_folder;
    int m_loads = 0;
};

// A basket whose later page is damaged: the walk over its lines says so, then every line that
// can still be read goes into a new basket, the damaged file is kept, and orders go on.
TEST_F(PriceWindowDamage, ADamagedBasketIsSaidThenRecoveredLineByLine)
{
    writeItems(1000, 1000);
    writeLines(400);
    std::string damaged;
    const std::set<int64_t> lost =
        testsupport::damageRecordPage(m_folder.file("korzak.tps"), 1, &damaged);
    ASSERT_FALSE(lost.empty());
    std::vector<Line> expected;
    for (int code = 1; code <= 400; ++code)
        if (!lost.count(code))
            expected.push_back({code, static_cast<int16_t>(code % 9 + 1), code / 2.0});

    TestDriver driver;
    std::vector<Line> recovered;
    driver.answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .waitOpen(PriceTitle)
        .waitIdle()
        .call([&] { recovered = basket(); })
        .select("?BROWSE:1", 1)
        .press("?BUTTON4")
        .waitOpen(OrderTitle)
        .type("?KOL", "3")
        .press("?BUTTON1")
        .waitClose(OrderTitle);
    EXPECT_EQ(run(driver), "");

    ASSERT_EQ(driver.messages().size(), 2u);
    expectDamageSaid(driver.messages()[0], "korzak.tps");
    EXPECT_EQ(driver.messages()[1].text,
              app::basketRecoveredMessage(static_cast<int64_t>(expected.size()), "korzak.tps",
                                          "korzak.tps.bad"));
    EXPECT_EQ(driver.messages()[1].caption, w("Сообщение"));
    EXPECT_EQ(recovered, expected);
    EXPECT_TRUE(testsupport::readFileBytes(m_folder.file("korzak.tps.bad")) == damaged);
    expected.push_back({1000, 3, 2.0});
    EXPECT_EQ(basket(), expected);
}

// A basket whose head or end is damaged (its first page, its signature, the pages after its
// record page cut off) comes back whole: every line sits on the page left intact. Each damage
// keeps its own copy of the damaged file, named in the box, never over an earlier one.
TEST_F(PriceWindowDamage, ABasketDamagedAtItsHeadOrEndComesBackWholeWithEveryCopyKept)
{
    writeItems(1000, 1000);
    writeLines(30);
    const std::string intact = testsupport::readFileBytes(m_folder.file("korzak.tps"));
    ASSERT_EQ(testsupport::recordPages(intact).size(), 1u);
    std::vector<Line> expected;
    for (int code = 1; code <= 30; ++code)
        expected.push_back({code, static_cast<int16_t>(code % 9 + 1), code / 2.0});
    struct Case
    {
        const char* name;
        std::string bytes;
        const char* keptAs;
    };
    const std::vector<Case> cases = {
        {"first page", testsupport::damagePages(intact, {0}), "korzak.tps.bad"},
        {"signature", testsupport::damageSignature(intact), "korzak.tps.bad-2"},
        {"cut after the lines", testsupport::cutAfterRecordPages(intact), "korzak.tps.bad-3"},
    };
    for (const Case& damage : cases) {
        SCOPED_TRACE(damage.name);
        testsupport::writeFileBytes(m_folder.file("korzak.tps"), damage.bytes);
        TestDriver driver;
        std::vector<Line> recovered;
        std::size_t basketRows = 0;
        driver.answerMessage(Button::Ok)
            .answerMessage(Button::Ok)
            .waitOpen(PriceTitle)
            .waitIdle()
            .call([&] {
                recovered = basket();
                basketRows = rowsOf("?LIST").size();
            });
        EXPECT_EQ(run(driver), "");

        ASSERT_EQ(driver.messages().size(), 2u);
        expectDamageSaid(driver.messages()[0], "korzak.tps");
        EXPECT_EQ(driver.messages()[1].text,
                  app::basketRecoveredMessage(30, "korzak.tps", damage.keptAs));
        EXPECT_EQ(recovered, expected);
        EXPECT_GT(basketRows, 0u);
        EXPECT_TRUE(testsupport::readFileBytes(m_folder.file(damage.keptAs)) == damage.bytes);
    }
    EXPECT_TRUE(testsupport::readFileBytes(m_folder.file("korzak.tps.bad")) == cases[0].bytes);
}

// A load that meets a damaged price list asks once: after "Нет" neither the load nor the
// price-list window says or asks anything more, and the list stays as it was.
TEST_F(PriceWindowDamage, NoToTheLoadsQuestionIsTheOnlyAnswer)
{
    app::priceWindowCalls().ipmprice = [] { return app::ipmprice(); };
    writeItems(1, 3000);
    // A page of a key the window does not read; the load meets it when it drops that key.
    const std::string damaged = testsupport::damageKeyPage(m_folder.file("priosn.tps"), 0);
    testsupport::writeFileBytes(m_folder.file("new.txt"), "5;;E;;1;3;Mann;;;G\n");

    TestDriver driver;
    driver.waitOpen(PriceTitle)
        .waitIdle()
        .press("?BUTTON7")
        .waitOpen("Загрузка прайс-листа")
        .type("?FNAME", "new.txt")
        .answerMessage(Button::No)
        .press("?BUTTON2")
        .waitClose("Загрузка прайс-листа")
        .waitIdle();
    EXPECT_EQ(run(driver), "");

    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text,
              w("Файл прайс-листа повреждён. Создать его заново и загрузить прайс-лист?"));
    EXPECT_TRUE(testsupport::readFileBytes(m_folder.file("priosn.tps")) == damaged);
    EXPECT_FALSE(std::filesystem::exists(m_folder.file("priosn.tps.bad")));
}

// A damaged price list, met on a late page when the user goes to the end of the list or at
// the open when its layout description is damaged: said, then made anew on "Да" and the load
// started; the empty list carries no load date.
TEST_F(PriceWindowDamage, ADamagedPriceListIsSaidThenMadeAnewAndLoaded)
{
    for (const bool layoutArea : {false, true}) {
        SCOPED_TRACE(layoutArea ? "layout area" : "late page");
        writeItems(1, 1500);
        std::string damaged;
        if (layoutArea) {
            damaged = testsupport::readFileBytes(m_folder.file("priosn.tps"));
            const std::size_t at = damaged.find("field PR:NAIM STRING 50");
            ASSERT_NE(at, std::string::npos);
            damaged.replace(at + 6, 4, "\x01\xff\x02\xfe");
            testsupport::writeFileBytes(m_folder.file("priosn.tps"), damaged);
        } else {
            testsupport::damageRecordPage(m_folder.file("priosn.tps"), 0, &damaged);
        }
        app::saveLoadDay(81000);
        m_loads = 0;

        TestDriver driver;
        std::string dateAfter;
        std::vector<std::string> rowsAfter;
        driver.answerMessage(Button::Ok).answerMessage(Button::Yes).waitOpen(PriceTitle);
        if (!layoutArea)
            driver.key("?BROWSE:1", "End");
        driver.waitIdle().call([&] {
            dateAfter = TestDriver::findControl("?STRZAGRUZ")->text();
            rowsAfter = rowsOf("?BROWSE:1");
        });
        EXPECT_EQ(run(driver), "");

        ASSERT_EQ(driver.messages().size(), 2u);
        expectDamageSaid(driver.messages()[0], "priosn.tps");
        EXPECT_EQ(driver.messages()[1].text,
                  w("Файл прайс-листа повреждён. Создать его заново и загрузить прайс-лист?"));
        EXPECT_EQ(m_loads, 1);
        // The second damage keeps its copy beside the first one's.
        EXPECT_TRUE(testsupport::readFileBytes(m_folder.file(layoutArea ? "priosn.tps.bad-2"
                                                                        : "priosn.tps.bad"))
                    == damaged);
        EXPECT_TRUE(dateAfter.find_first_not_of(' ') == std::string::npos)
            << cp1251ToUtf8(dateAfter);
        EXPECT_TRUE(app::loadDateText().find_first_not_of(' ') == std::string::npos);
        EXPECT_TRUE(rowsAfter.empty());
    }
}

// The managers' list met damaged when the window reads it (its key's page or its layout page
// overwritten, all 40 records intact): said, then on "Да" a new file holding every record,
// which takes new managers; the damaged file is kept.
TEST(ReferenceListDamage, DamagedManagersAreSaidThenMadeAnewWithEveryReadableRecord)
{
    for (const bool layoutPage : {false, true}) {
        SCOPED_TRACE(layoutPage ? "layout page" : "key page");
        testsupport::TempWorkFolder folder;
        e2e::writeApplicabilityTypes({{"Легковые", 0}});
        e2e::writeManufacturers({{"Bosch", 0}});
        std::vector<std::string> expected;
        {
            auto& file = app::SPRMAN();
            ASSERT_EQ(file.create(), 0);
            ASSERT_EQ(file.open(), 0);
            file.stream();
            for (int i = 1; i <= 40; ++i) {
                file.clearBuffer();
                app::SPR().NAME = w("Менеджер ") + std::to_string(i);
                app::SPR().KMAIL = "m" + std::to_string(i) + "@torn.ru";
                expected.push_back("Менеджер " + std::to_string(i) + " | m" + std::to_string(i)
                                   + "@torn.ru");
                ASSERT_EQ(file.add(), 0);
            }
            ASSERT_EQ(file.flush(), 0);
            file.close();
        }
        // The list is read through the key alone (it holds both fields).
        const std::filesystem::path path = folder.file("sprman.tps");
        std::string damaged = testsupport::readFileBytes(path);
        damaged = layoutPage ? testsupport::damagePages(damaged, {testsupport::layoutPage(damaged)})
                             : testsupport::damagePages(damaged, testsupport::keyPages(damaged));
        testsupport::writeFileBytes(path, damaged);

        TestDriver driver;
        std::vector<std::string> rowsAfter;
        driver.waitOpen(e2e::FrameTitle)
            .answerMessage(Button::Ok)
            .answerMessage(Button::Yes)
            .menu("Справочник менеджеров")
            .waitOpen("Справочник менеджеров")
            .waitIdle()
            .call([&] { rowsAfter = rowsOf("?BROWSE:1"); })
            .press("?INSERT:2")
            .call([] {
                auto* list = dynamic_cast<ListControl*>(TestDriver::findControl("?BROWSE:1"));
                ASSERT_TRUE(list && list->editor() && list->editor()->isEditing());
                list->editor()->setCellText(0, w("Сидоров"));
                list->editor()->setCellText(1, "sidorov@torn.ru");
            })
            .key("?BROWSE:1", "Enter")
            .press("?CLOSE")
            .waitClose("Справочник менеджеров")
            .menu("Выход");
        EXPECT_EQ(e2e::runProgram(driver), "");

        ASSERT_EQ(driver.messages().size(), 2u);
        expectDamageSaid(driver.messages()[0], "sprman.tps");
        EXPECT_EQ(driver.messages()[1].text,
                  w("Файл справочника менеджеров повреждён. Создать его заново?"));
        EXPECT_EQ(rowsAfter.size(), 40u);
        EXPECT_TRUE(testsupport::readFileBytes(folder.file("sprman.tps.bad")) == damaged);
        auto& file = app::SPRMAN();
        ASSERT_EQ(file.open(), 0);
        std::vector<std::string> kept;
        file.setFileOrder();
        while (file.next() == 0)
            kept.push_back(cp1251ToUtf8(app::SPR().NAME.str() + " | " + app::SPR().KMAIL.str()));
        file.close();
        expected.push_back("Сидоров | sidorov@torn.ru");
        EXPECT_EQ(kept, expected);
    }
}

} // namespace
