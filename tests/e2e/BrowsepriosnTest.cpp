#include "app/browsepriosn/Browsepriosn.h"
#include "app/browsepriosn/BasketList.h"
#include "app/browsepriosn/PriceList.h"
#include "app/browsepriosn/PriceWindowCalls.h"
#include "app/browsepriosn/SelectionState.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/LayoutAudit.h"
#include "platform/ui/SettingsFile.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/ListFormat.h"
#include "platform/ui/list/ListView.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempWorkFolder.h"

#include "ProgramSession.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <vector>

using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* Title = "Прайс-лист/Заказ";
constexpr const char* OrderTitle = "Заказ товара";
constexpr const char* ConfirmTitle = "Запрос подтверждения";

struct Item
{
    int32_t code;
    int32_t code2;
    const char* designation;
    double price;
    uint8_t priceChange = 0;
    double weight = 0.0;
};

struct Line
{
    int32_t code;
    int16_t quantity;
    double price;
};

class BrowsepriosnWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        app::Selection() = app::SelectionState{};
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::priceWindowCalls().procvyg = [this](int32_t, double) { ++m_saves; };
        app::priceWindowCalls().pechzakaz = [this] { ++m_prints; };
        app::priceWindowCalls().ipmprice = [] { return uint8_t{1}; };
    }
    void TearDown() override
    {
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::DictionaryKill();
    }

    static void writeItems(const std::vector<Item>& items)
    {
        ASSERT_EQ(app::RelatePRIOSN->open(), 0);
        for (const Item& item : items) {
            app::PRIOSN().clearBuffer();
            app::PR().KOD = item.code;
            app::PR().KOD2 = item.code2;
            app::PR().OBOZ = w(item.designation);
            app::PR().NAIM = w("Деталь");
            app::PR().CENA = item.price;
            app::PR().KODCENA = item.priceChange;
            app::PR().VES = item.weight;
            app::PR().KOLVUP = 1;
            ASSERT_EQ(app::PRIOSN().add(), 0);
        }
        app::RelatePRIOSN->close();
    }

    static void writeLines(const std::vector<Line>& lines)
    {
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        for (const Line& line : lines) {
            app::KORZAK().clearBuffer();
            app::K().KOD = line.code;
            app::K().KOL = line.quantity;
            app::K().CENA = line.price;
            app::K().SUMMA = line.quantity * line.price;
            ASSERT_EQ(app::KORZAK().add(), 0);
        }
        app::RelateKORZAK->close();
    }

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

    // Opens the window, runs the driver's commands in it and closes it again.
    std::string run(TestDriver& driver)
    {
        driver.close().waitClose(Title);
        m_thread = ThreadRegistry::start(app::browsepriosn, 50000);
        return driver.run(30000);
    }

    static app::Browsepriosn* window()
    {
        Window* top = TestDriver::topWindow();
        return top ? dynamic_cast<app::Browsepriosn*>(top->controller()) : nullptr;
    }

    // The first cell (the code) of every row of a list.
    static std::vector<int32_t> codes(const char* list)
    {
        std::vector<int32_t> result;
        if (Control* control = TestDriver::findControl(list))
            for (const std::string& row : control->rows())
                result.push_back(std::stoi(row.substr(0, row.find('|'))));
        return result;
    }

    static int highlightedCode(const char* list)
    {
        Control* control = TestDriver::findControl(list);
        if (!control)
            return -1;
        const std::string state = control->state();
        if (state.rfind("highlight ", 0) != 0)
            return -1;
        return codes(list).at(static_cast<std::size_t>(std::stoi(state.substr(10)) - 1));
    }

    static bool disabled(const char* control)
    {
        Control* found = TestDriver::findControl(control);
        return found && found->isDisabled();
    }

    testsupport::TempWorkFolder m_folder;
    int m_thread = 0;
    int m_saves = 0;
    int m_prints = 0;
};

TEST_F(BrowsepriosnWindow, ASecondStartBringsTheFirstForwardAndOpensNothing)
{
    TestDriver driver;
    std::size_t windows = 0;
    int second = -1;
    driver.waitOpen(Title).call([&] { second = ThreadRegistry::start(app::browsepriosn, 50000); });
    driver.call([&] {
        for (Window* open : ThreadRegistry::openWindows())
            if (open->title() == w(Title))
                ++windows;
    });
    EXPECT_EQ(run(driver), "");
    EXPECT_EQ(windows, 1u);
    EXPECT_NE(second, m_thread);
    EXPECT_EQ(app::BrowsepriosnThread, 0);
    EXPECT_FALSE(app::PRIOSN().isOpen());
}

TEST_F(BrowsepriosnWindow, CodeTabFindsEveryCodeContainingTheDigits)
{
    writeItems({{305, 0, "A", 1.0}, {1305, 0, "B", 1.0}, {3050, 0, "C", 1.0}, {12, 0, "D", 1.0}});
    TestDriver driver;
    std::vector<int32_t> all, found, none;
    bool orderDisabled = false;
    driver.waitOpen(Title)
        .call([&] { all = codes("?BROWSE:1"); })
        .type("?KS", "305")
        .call([&] { found = codes("?BROWSE:1"); })
        .type("?KS", "999")
        .call([&] {
            none = codes("?BROWSE:1");
            orderDisabled = disabled("?BUTTON4") && disabled("?BUTTON14");
        });
    EXPECT_EQ(run(driver), "");
    EXPECT_EQ(all, (std::vector<int32_t>{12, 305, 1305, 3050}));
    EXPECT_EQ(found, (std::vector<int32_t>{305, 1305, 3050}));
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(orderDisabled);
}

TEST_F(BrowsepriosnWindow, AnaloguesWithAZeroSecondCodeIgnoreTheSelection)
{
    writeItems({{305, 0, "A", 1.0}, {77, 305, "B", 1.0}, {500, 0, "C", 1.0}, {600, 9, "D", 1.0}});
    app::Selection().manufacturerMode = 1; // an empty list of manufacturers passes nothing
    TestDriver driver;
    std::vector<int32_t> selected, analogues, back;
    std::string caption;
    driver.waitOpen(Title)
        .call([&] { selected = codes("?BROWSE:1"); })
        .call([&] {
            app::Selection().manufacturerMode = 0;
            app::flip(window()->variables().PriceResetToggle);
        })
        .type("?KS", "305")
        .select("?BROWSE:1", 1)
        .press("?BUTTON14")
        .call([&] {
            app::Selection().manufacturerMode = 1;
            app::flip(window()->variables().PriceResetToggle);
        })
        .call([&] {
            analogues = codes("?BROWSE:1");
            caption = platform::text::cp1251ToUtf8(TestDriver::findControl("?BUTTON14")->text());
        })
        .press("?BUTTON14")
        .call([&] { back = codes("?BROWSE:1"); });
    EXPECT_EQ(run(driver), "");
    EXPECT_TRUE(selected.empty());
    EXPECT_EQ(analogues, (std::vector<int32_t>{77, 305, 500})); // every record whose KOD2 is 0
    EXPECT_EQ(caption, "Вернуться к списку");
    EXPECT_TRUE(back.empty());
}

TEST_F(BrowsepriosnWindow, OrderingTwiceRepricesTheLineAndRoundsHalfUp)
{
    writeItems({{7, 0, "A", 0.335}, {8, 0, "B", 2.0}});
    writeLines({{7, 1, 0.30}});
    TestDriver driver;
    double sum = 0.0;
    int highlighted = 0;
    driver.waitOpen(Title)
        .select("?BROWSE:1", 1)
        .press("?BUTTON4")
        .waitOpen(OrderTitle)
        .type("?KOL", "2")
        .press("?BUTTON1")
        .waitClose(OrderTitle)
        .call([&] {
            sum = window()->variables().TotalSum;
            highlighted = highlightedCode("?LIST");
        });
    EXPECT_EQ(run(driver), "");
    const auto lines = basket();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].quantity, 3);
    EXPECT_DOUBLE_EQ(lines[0].price, 0.335);
    EXPECT_DOUBLE_EQ(sum, 1.01);
    EXPECT_EQ(highlighted, 7);
}

TEST_F(BrowsepriosnWindow, AnOrderPast32767IsRefusedAndChangesNothing)
{
    writeItems({{7, 0, "A", 1.0}});
    writeLines({{7, 32000, 1.0}});
    TestDriver driver;
    driver.waitOpen(Title)
        .press("?BUTTON4")
        .waitOpen(OrderTitle)
        .type("?KOL", "800")
        .answerMessage(Button::Ok)
        .press("?BUTTON1")
        .waitClose(OrderTitle);
    EXPECT_EQ(run(driver), "");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].caption, w("Ошибка"));
    const auto lines = basket();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].quantity, 32000);
}

TEST_F(BrowsepriosnWindow, AnOrderTheDiskCannotTakeIsSaidAndTheBasketShownAsStored)
{
    writeItems({{7, 0, "A", 1.0}, {8, 0, "B", 2.0}});
    writeLines({{7, 2, 1.0}});
    TestDriver driver;
    std::unique_ptr<testsupport::FileSizeLimit> full; // a full disk
    std::vector<int32_t> shown;
    int totalQuantity = -1;
    driver.waitOpen(Title)
        .select("?BROWSE:1", 2)
        .call([&] { full = std::make_unique<testsupport::FileSizeLimit>(16); })
        .press("?BUTTON4")
        .waitOpen(OrderTitle)
        .type("?KOL", "5")
        .answerMessage(Button::Ok)
        .press("?BUTTON1")
        .waitClose(OrderTitle)
        .call([&] {
            full.reset();
            shown = codes("?LIST");
            totalQuantity = window()->variables().TotalQuantity;
        });
    EXPECT_EQ(run(driver), "");
    full.reset();
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].caption, w("Ошибка"));
    const std::string text = platform::text::cp1251ToUtf8(driver.messages()[0].text);
    EXPECT_EQ(text.rfind("Заказ не изменён: не удалось записать корзину korzak.tps: ", 0), 0u)
        << text;
    EXPECT_EQ(shown, std::vector<int32_t>{7});
    EXPECT_EQ(totalQuantity, 2);
    const auto lines = basket();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].quantity, 2);
}

TEST_F(BrowsepriosnWindow, DeletingALineHighlightsTheCodeOneBelow)
{
    writeLines({{10, 1, 1.0}, {11, 1, 1.0}, {20, 1, 1.0}});
    TestDriver driver;
    int afterFirst = 0, afterSecond = 0;
    driver.waitOpen(Title)
        .press("?TAB8") // basket sorted by code
        .select("?LIST", 2)
        .press("?BUTTON5")
        .call([&] { afterFirst = highlightedCode("?LIST"); })
        .select("?LIST", 1)
        .key("?LIST", "Delete")
        .call([&] { afterSecond = highlightedCode("?LIST"); });
    EXPECT_EQ(run(driver), "");
    EXPECT_EQ(afterFirst, 10);
    EXPECT_EQ(afterSecond, 20);
    const auto lines = basket();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].code, 20);
}

TEST_F(BrowsepriosnWindow, PriceCheckLeavesMissingItemsAlone)
{
    writeItems({{1, 0, "A", 2.0}});
    writeLines({{1, 3, 1.0}, {2, 2, 7.77}});
    TestDriver driver;
    driver.waitOpen(Title)
        .press("?BUTTON12")
        .waitOpen(ConfirmTitle)
        .answerMessage(Button::Ok)
        .press("?BUTTON1")
        .waitClose(ConfirmTitle);
    EXPECT_EQ(run(driver), "");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text, w("Соответствие цен в заказе и прайс-листе проверено."));
    const auto lines = basket();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_DOUBLE_EQ(lines[0].price, 2.0);
    EXPECT_DOUBLE_EQ(lines[1].price, 7.77);
}

TEST_F(BrowsepriosnWindow, AnEmptyBasketDisablesItsButtonsAndHotKeys)
{
    writeItems({{1, 0, "A", 2.0}});
    TestDriver driver;
    std::vector<bool> states;
    double weight = -1.0;
    driver.waitOpen(Title)
        .call([&] {
            for (const char* control :
                 {"?BUTTON5", "?BUTTON6", "?BUTTON9", "?BUTTON11", "?BUTTON12", "?BUTTON13"})
                states.push_back(disabled(control));
            states.push_back(disabled("?BUTTON10")); // "Открыть заказ" stays enabled
            weight = window()->variables().TotalWeight;
        })
        .key("", "Ctrl+S")
        .key("", "Ctrl+P")
        .key("", "Ctrl+N");
    EXPECT_EQ(run(driver), "");
    EXPECT_EQ(states, (std::vector<bool>{true, true, true, true, true, true, false}));
    EXPECT_EQ(weight, 0.0);
    EXPECT_EQ(m_saves, 0);
    EXPECT_EQ(m_prints, 0);
}

TEST_F(BrowsepriosnWindow, HotKeysReachTheirButtonsWhenTheBasketHasLines)
{
    writeItems({{1, 0, "A", 2.0}});
    writeLines({{1, 1, 2.0}});
    TestDriver driver;
    driver.waitOpen(Title)
        .key("", "Ctrl+S")
        .key("", "Ctrl+P")
        .key("", "Ctrl+O")
        .waitOpen(ConfirmTitle)
        .press("?BUTTON2")
        .waitClose(ConfirmTitle);
    EXPECT_EQ(run(driver), "");
    EXPECT_EQ(m_saves, 1);
    EXPECT_EQ(m_prints, 1);
    EXPECT_EQ(basket().size(), 1u); // "Нет" to the open question keeps the basket
}

TEST_F(BrowsepriosnWindow, EnterPressesTheFocusedButtonAndInAnEntryDoesWhatItDid)
{
    writeItems({{1, 0, "A", 2.0}, {12, 0, "B", 3.0}});
    writeLines({{1, 1, 2.0}});
    TestDriver driver;
    std::string afterEntry;
    std::size_t linesAfterNo = 0;
    driver.waitOpen(Title)
        // In the search entry Enter only completes the search: no button is pressed.
        .type("?KS", "12")
        .key("?KS", "Enter")
        .waitIdle()
        .call([&] { afterEntry = platform::text::cp1251ToUtf8(TestDriver::topWindow()->title()); })
        // "Новый заказ" asks first; "Нет" keeps the basket, "Да" empties it.
        .key("?BUTTON13", "Enter")
        .waitOpen(ConfirmTitle)
        .key("?BUTTON2", "Enter")
        .waitClose(ConfirmTitle)
        .call([&] { linesAfterNo = codes("?LIST").size(); })
        .key("?BUTTON13", "Enter")
        .waitOpen(ConfirmTitle)
        .key("?BUTTON1", "Enter")
        .waitClose(ConfirmTitle);
    EXPECT_EQ(run(driver), "");
    EXPECT_EQ(afterEntry, Title);
    EXPECT_EQ(linesAfterNo, 1u);
    EXPECT_TRUE(basket().empty());
}

TEST_F(BrowsepriosnWindow, GeometryAndListFormatsComeBackFromTheSettingsFile)
{
    const std::string format = "50R~Код~|100L~Обозначение~";
    SettingsFile::write("quelbarto.ini", "sizeprice", "w1", "11");
    SettingsFile::write("quelbarto.ini", "sizeprice", "w2", "12");
    SettingsFile::write("quelbarto.ini", "sizeprice", "w3", "700");
    SettingsFile::write("quelbarto.ini", "sizeprice", "w4", "400");
    SettingsFile::write("quelbarto.ini", "sizeprice", "br1", w(format));
    SettingsFile::write("quelbarto.ini", "sizeprice", "br2", w(format));
    SettingsFile::write("quelbarto.ini", "sizeprice", "br2_1", "0");
    TestDriver driver;
    int x = 0, width = 0, quantityX = 0, basketY = 0, labelRight = 0, sheetY = 0;
    std::string priceFormat, basketFormat;
    driver.waitOpen(Title).call([] {}).call([&] {
        Window& top = *TestDriver::topWindow();
        x = top.propertyNumber(0, Property::X);
        width = top.propertyNumber(0, Property::Width);
        priceFormat = top.property(1, Property::Format);
        basketFormat = top.property(19, Property::Format);
        quantityX = top.propertyNumber(14, Property::X);
        basketY = top.propertyNumber(19, Property::Y);
        labelRight = top.propertyNumber(13, Property::X) + top.propertyNumber(13, Property::Width);
        sheetY = top.propertyNumber(29, Property::Y);
    });
    EXPECT_EQ(run(driver), "");
    EXPECT_EQ(x, 11);
    EXPECT_EQ(width, 700);
    EXPECT_EQ(priceFormat, w(format));
    EXPECT_EQ(quantityX, labelRight); // the totals row closed up after the posted resize
    EXPECT_EQ(basketY, sheetY + 18);
    EXPECT_GT(sheetY, 230);             // the upper list took a part of the larger height
    EXPECT_NE(basketFormat, w(format)); // "br2" counts only when "br2_1" is "1"
    // Closing wrote the sizes back, with the gate.
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "sizeprice", "br2_1"), "1");
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "sizeprice", "w3"), "700");
}

TEST_F(BrowsepriosnWindow, AStoredListFormatIsReadOnlyUpToTheListsOwnColumns)
{
    // A damaged settings file: a price-list format of 20,000 columns.
    std::string huge;
    for (int i = 0; i < 20000; ++i)
        huge += (huge.empty() ? "" : "|") + std::string("40L~c") + std::to_string(i) + "~";
    SettingsFile::write("quelbarto.ini", "sizeprice", "br1", huge);
    TestDriver driver;
    std::size_t ownColumns = 0;
    std::string shown;
    driver.waitOpen(Title).call([&] {
        Window& top = *TestDriver::topWindow();
        shown = top.property(1, Property::Format);
        const auto definition = ListFormat::parse(top.definition().controls.at(0).format);
        ownColumns = definition ? definition->columns().size() : 0;
    });
    EXPECT_EQ(run(driver), "");
    ASSERT_GT(ownColumns, 0u);
    const auto read = ListFormat::parse(shown);
    ASSERT_TRUE(read) << shown;
    EXPECT_EQ(read->columns().size(), ownColumns);
    EXPECT_EQ(read->columns().front().header, "c0");
    // What goes back to the settings file is the list's own layout.
    const std::string saved = SettingsFile::read("quelbarto.ini", "sizeprice", "br1");
    EXPECT_EQ(saved, shown);
}

} // namespace

// Nine-digit codes and five-digit totals are shown, not the overflow marks of a narrow picture.
TEST_F(BrowsepriosnWindow, TheBasketShowsLongCodesAndLargeTotals)
{
    writeItems({{123456789, 0, "LONG", 1.0}});
    writeLines({{123456789, 9000, 1.0}, {2147483647, 9000, 1.0}});
    TestDriver driver;
    std::vector<std::string> rows;
    std::string total;
    driver.waitOpen(Title).call([&] {
        if (Control* list = TestDriver::findControl("?LIST"))
            rows = list->rows();
        if (Control* shown = TestDriver::findControl("?OBKOLPOZ"))
            total = shown->text();
    });
    EXPECT_EQ(run(driver), "");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, rows[0].find(' ')), "123456789") << rows[0];
    EXPECT_EQ(rows[1].substr(0, rows[1].find(' ')), "2147483647") << rows[1];
    EXPECT_EQ(total.find('#'), std::string::npos) << total;
    EXPECT_NE(total.find("18000"), std::string::npos) << total;
}

// Everything below is reached as a person reaches it: each tab by clicking it, each search
// entry by clicking into it and typing.
TEST_F(BrowsepriosnWindow, EverySearchTabAndBasketTabIsClickedAndEverySearchFilters)
{
    struct Full
    {
        int32_t code;
        const char* designation;
        const char* name;
        const char* applicability;
        const char* maker;
        const char* group;
    };
    ASSERT_EQ(app::RelatePRIOSN->open(), 0);
    for (const Full& item : {Full{111, "AAA-1", "Фильтр", "ГАЗ", "Bosch", "Фильтры"},
                             Full{222, "BBB-2", "Свеча", "ВАЗ", "Mann", "Свечи"}}) {
        app::PRIOSN().clearBuffer();
        app::PR().KOD = item.code;
        app::PR().OBOZ = w(item.designation);
        app::PR().NAIM = w(item.name);
        app::PR().PRIMEN = w(item.applicability);
        app::PR().PROIZV = w(item.maker);
        app::PR().GRUP = w(item.group);
        app::PR().CENA = 1.0;
        app::PR().KOLVUP = 1;
        ASSERT_EQ(app::PRIOSN().add(), 0);
    }
    app::RelatePRIOSN->close();
    writeLines({{111, 1, 1.0}, {222, 2, 1.0}});

    struct Search
    {
        const char* tab;
        const char* entry;
        const char* typed;
    };
    const std::vector<Search> searches{
        {"?TAB:2", "?KS", "222"},        {"?TAB:5", "?KODSTR2", "BBB"},
        {"?TAB:6", "?KODSTR3", "Свеча"}, {"?TAB:3", "?KODSTR4", "ВАЗ"},
        {"?TAB:4", "?KODSTR5", "Mann"},  {"?TAB:7", "?KODSTR6", "Свечи"}};
    std::vector<int> searchTabs;
    std::vector<std::vector<int32_t>> found;
    std::vector<int> basketTabs;
    TestDriver driver;
    driver.waitOpen(Title);
    for (const Search& search : searches) {
        driver.press(search.tab)
            .call([&] { searchTabs.push_back(TestDriver::topWindow()->currentTab(35)); })
            .type(search.entry, search.typed)
            .call([&] { found.push_back(codes("?BROWSE:1")); });
    }
    for (const char* tab : {"?TAB8", "?TAB9", "?TAB10", "?TAB11", "?TAB7"})
        driver.press(tab).call(
            [&] { basketTabs.push_back(TestDriver::topWindow()->currentTab(29)); });
    EXPECT_EQ(run(driver), "");
    EXPECT_EQ(searchTabs, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(found.size(), searches.size());
    for (std::size_t i = 0; i < found.size(); ++i)
        EXPECT_EQ(found[i], (std::vector<int32_t>{222})) << searches[i].entry;
    EXPECT_EQ(basketTabs, (std::vector<int>{2, 3, 4, 5, 1}));
}

TEST_F(BrowsepriosnWindow, TheSecondCodeColumnOfWidthNothingIsNotShown)
{
    bool hidden = false;
    bool codeShown = false;
    TestDriver driver;
    driver.waitOpen(Title).call([&] {
        auto* list = dynamic_cast<ListControl*>(TestDriver::findControl("?BROWSE:1"));
        ASSERT_NE(list, nullptr);
        hidden = list->view()->isColumnHidden(11); // "kod 2", width 0
        codeShown = !list->view()->isColumnHidden(0);
    });
    EXPECT_EQ(run(driver), "");
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(codeShown);
}

TEST_F(BrowsepriosnWindow, SelectionOpensByClickingAndAManufacturerIsTickedByItsBox)
{
    writeItems({{111, 0, "AAA-1", 1.0}});
    e2e::writeManufacturers({{"Bosch", 0}, {"Mann", 0}});
    e2e::writeApplicabilityTypes({{"Легковые", 0}});
    TestDriver driver;
    driver.waitOpen(Title)
        .press("?BUTTON15")
        .waitOpen("Выборка")
        .press("?OPTION2:RADIO2")
        .call([] { e2e::clickListRow("?LIST:2", 2, true); })
        .press("?BUTTON2")
        .waitClose("Выборка");
    EXPECT_EQ(run(driver), "");
    EXPECT_EQ(e2e::manufacturerMarks(), (std::vector<uint8_t>{0, 1}));
}

namespace {

// At its design size, on every search and basket tab, the window shows every text and column
// header whole and nothing a person sees overlaps.
TEST_F(BrowsepriosnWindow, EveryTabOfTheWindowAsDesignedIsSeenWhole)
{
    writeItems({{305, 0, "C08-3501090-01", 12.5}});
    writeLines({{305, 2, 12.5}});
    TestDriver driver;
    std::vector<std::string> faults;
    driver.waitOpen(Title).call(
        [&] { faults = LayoutAudit::everyState(*TestDriver::topWindow()); });
    EXPECT_EQ(run(driver), "");
    EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
}

} // namespace

// The basket is shown from the data as soon as it changes: after a load that drops an item its
// weight is gone without a click on a tab, and the price check's message stands over the
// checked prices.
TEST_F(BrowsepriosnWindow, TheBasketShowsTheDataAsSoonAsItChanges)
{
    writeItems({{1296, 0, "ITEM", 2.0, 0, 4.78}, {1300, 0, "KEPT", 1.0, 0, 1.5}});
    writeLines({{1296, 1, 2.0}, {1300, 2, 7.77}});
    app::priceWindowCalls().ipmprice = [] {
        // A new list without item 1296.
        app::PR().KOD = 1296;
        app::PRIOSN().setKeyFromBuffer(app::PR_pokod);
        if (app::PRIOSN().next() == 0 && app::PR().KOD == 1296)
            app::PRIOSN().erase();
        return uint8_t{0};
    };
    auto shown = [](const char* name) {
        Control* control = TestDriver::findControl(name);
        return control ? control->text() : std::string("?");
    };
    auto basketRows = [] {
        Control* list = TestDriver::findControl("?LIST");
        return list ? list->rows() : std::vector<std::string>{};
    };
    MessageHandler driverHandler;
    std::vector<std::string> rowsAtMessage;
    TestDriver driver;
    driverHandler = setMessageHandler([&](const MessageRequest& request) {
        rowsAtMessage = basketRows();
        return driverHandler(request);
    });
    std::string weightBefore, weightAfter;
    driver.waitOpen(Title)
        .call([&] { weightBefore = shown("?OBVES"); })
        .press("?BUTTON7")
        .waitIdle()
        .call([&] { weightAfter = shown("?OBVES"); })
        .press("?BUTTON12")
        .waitOpen(ConfirmTitle)
        .answerMessage(Button::Ok)
        .press("?BUTTON1")
        .waitClose(ConfirmTitle);
    EXPECT_EQ(run(driver), "");
    EXPECT_NE(weightBefore.find("7.78"), std::string::npos) << weightBefore;
    EXPECT_NE(weightAfter.find("3.0000"), std::string::npos) << weightAfter;
    ASSERT_EQ(rowsAtMessage.size(), 2u);
    EXPECT_EQ(rowsAtMessage[1].find("7.77"), std::string::npos) << rowsAtMessage[1];
    EXPECT_NE(rowsAtMessage[1].find("1.00"), std::string::npos) << rowsAtMessage[1];
}
