#include "app/browsepriosn/Browsepriosn.h"
#include "app/browsepriosn/PriceList.h"
#include "app/browsepriosn/PriceRecordFilter.h"
#include "app/browsepriosn/PriceSortOrders.h"
#include "app/browsepriosn/PriceWindowCalls.h"
#include "app/browsepriosn/SelectionState.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/Bindings.h"
#include "platform/storage/ContainsSearch.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// The price window's search copies are made on other threads as soon as the list is open and
// again after a load: searches typed while they are made, and after a load, list what the
// stored filter texts list (the storage's walk, and the copy made where it is used).
using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* Title = "Прайс-лист/Заказ";

struct Search
{
    const char* tab;
    const char* entry;
    const char* typed;
    int order; // the list's sort order of the tab (0 ... 5)
};
const Search Searches[] = {
    {"?TAB:5", "?KODSTR2", "d12", 0},    {"?TAB:6", "?KODSTR3", "фильтр 1", 1},
    {"?TAB:3", "?KODSTR4", "ВАЗ 21", 2}, {"?TAB:4", "?KODSTR5", "osch", 3},
    {"?TAB:7", "?KODSTR6", "масл", 4},   {"?TAB:2", "?KS", "123", 5}};

// Items of the price list; shift gives another list (as a load would bring).
void writeItems(int count, int shift)
{
    const char* const names[] = {"Фильтр", "ФИЛЬТР масляный", "Ремень", "ёж", "Колодки"};
    const char* const uses[] = {"ВАЗ 2107", "ваз 21099", "ГАЗель", "УАЗ"};
    const char* const makers[] = {"Bosch", "BOSCH", "MANN", "Febi"};
    const char* const groups[] = {"Масла", "Фильтры", "масляные фильтры"};
    app::PRIOSN().stream();
    for (int i = 0; i < count; ++i) {
        const int k = i + shift;
        app::PRIOSN().clearBuffer();
        app::PriosnRecord& r = app::PR();
        r.KOD = 10 + k;
        r.OBOZ = "D" + std::to_string(k * 7919 % 100000);
        r.NAIM = w(names[k % 5]) + " " + std::to_string(k % 300);
        r.PRIMEN = w(uses[k % 4]);
        r.PROIZV = std::string(makers[k % 4]) + " " + std::to_string(k % 7);
        r.GRUP = w(groups[k % 3]);
        r.CENA = 1.0;
        r.KOLVUP = 1;
        ASSERT_EQ(app::PRIOSN().add(), 0);
    }
    ASSERT_EQ(app::PRIOSN().flush(), 0);
}

class PriceSearchCopies : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        app::Selection() = app::SelectionState{};
        app::priceWindowCalls() = app::programPriceWindowCalls();
        m_bindings.bind("ks", m_variables.ks);
        m_bindings.bind("kodstr2", m_variables.kodstr2);
        m_bindings.bind("kodstr3", m_variables.kodstr3);
        m_bindings.bind("kodstr4", m_variables.kodstr4);
        m_bindings.bind("kodstr5", m_variables.kodstr5);
        m_bindings.bind("kodstr6", m_variables.kodstr6);
        m_bindings.bind("fk", m_variables.fk);
        m_bindings.bind("k1", m_variables.k1);
        m_bindings.bind("k2", m_variables.k2);
    }
    void TearDown() override
    {
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::DictionaryKill();
    }

    // The codes the tab lists for the search, in its order: by the storage's walk of the filter
    // text, checked against a copy made where it is used (as before copies were made
    // beforehand).
    std::vector<int32_t> expected(const Search& search)
    {
        const app::PriceSortOrder& order =
            app::priceSortOrders()[static_cast<std::size_t>(search.order)];
        m_variables = app::PriceWindowVariables{};
        switch (search.order) {
        case 0:
            m_variables.kodstr2 = w(search.typed);
            break;
        case 1:
            m_variables.kodstr3 = w(search.typed);
            break;
        case 2:
            m_variables.kodstr4 = w(search.typed);
            break;
        case 3:
            m_variables.kodstr5 = w(search.typed);
            break;
        case 4:
            m_variables.kodstr6 = w(search.typed);
            break;
        default:
            m_variables.ks = std::stoi(search.typed);
            break;
        }
        std::vector<int32_t> walked[2];
        for (int through = 0; through < 2; ++through) {
            platform::storage::View view(app::PRIOSN(), order.key);
            EXPECT_EQ(view.setFilter(order.filter, &m_bindings), 0);
            view.setPredicate([this] {
                return app::PriceRecordFilter(app::PR(), m_variables.fk, m_selection) ==
                       app::RecordFilterResult::Accepted;
            });
            if (through)
                view.setContainsSearch(std::make_shared<platform::storage::ContainsSearch>(
                    app::PRIOSN(), order.key, std::string(order.searched),
                    std::string(order.sought), std::string(order.searchCondition), &m_bindings));
            view.setStart();
            EXPECT_EQ(view.walksThroughIndex(), through == 1);
            while (view.next() == 0)
                walked[through].push_back(app::PR().KOD);
        }
        EXPECT_EQ(walked[1], walked[0]) << search.entry;
        return walked[0];
    }

    static std::vector<int32_t> codes()
    {
        std::vector<int32_t> result;
        if (Control* control = TestDriver::findControl("?BROWSE:1"))
            for (const std::string& row : control->rows())
                result.push_back(std::stoi(row.substr(0, row.find('|'))));
        return result;
    }

    // How many of the price list's six search copies are being made beforehand.
    static int copiesBeingMade()
    {
        Window* top = TestDriver::topWindow();
        auto* window = top ? dynamic_cast<app::Browsepriosn*>(top->controller()) : nullptr;
        if (!window)
            return -1;
        int count = 0;
        for (int order = 0; order < window->priceList().sortOrders(); ++order)
            if (const auto search =
                    window->priceList().sortOrder(order).containsSearch(app::PRIOSN(), nullptr))
                count += search->index().preparing() ? 1 : 0;
        return count;
    }

    testsupport::TempWorkFolder m_folder;
    platform::storage::Bindings m_bindings;
    app::PriceWindowVariables m_variables;
    app::SelectionState m_selection;
};

TEST_F(PriceSearchCopies, SearchesWhileTheCopiesAreMadeAndAfterALoadListWhatTheFiltersList)
{
    ASSERT_EQ(app::RelatePRIOSN->open(), 0);
    writeItems(20000, 0);
    std::vector<std::vector<int32_t>> before;
    for (const Search& search : Searches)
        before.push_back(expected(search));
    app::RelatePRIOSN->close();
    // The load brings another list.
    app::priceWindowCalls().ipmprice = [] {
        app::PRIOSN().empty();
        writeItems(15000, 7);
        return uint8_t{0};
    };

    TestDriver driver;
    int madeAtOpen = -1, madeAfterLoad = -1;
    std::vector<std::vector<int32_t>> shownBefore, shownAfter;
    // Each search typed at once, while the copies are still being made.
    const auto searchEveryTab = [&](std::vector<std::vector<int32_t>>& shown) {
        for (const Search& search : Searches)
            driver.press(search.tab).type(search.entry, search.typed).call([&] {
                shown.push_back(codes());
            });
    };
    driver.waitOpen(Title).call([&] { madeAtOpen = copiesBeingMade(); });
    searchEveryTab(shownBefore);
    for (const Search& search : Searches)
        driver.press(search.tab).type(search.entry, "");
    driver.press("?BUTTON7").call([&] { madeAfterLoad = copiesBeingMade(); });
    searchEveryTab(shownAfter);
    driver.close().waitClose(Title);
    ThreadRegistry::start(app::browsepriosn, 50000);
    ASSERT_EQ(driver.run(60000), "");

    ASSERT_EQ(app::RelatePRIOSN->open(), 0);
    std::vector<std::vector<int32_t>> after;
    for (const Search& search : Searches)
        after.push_back(expected(search));
    app::RelatePRIOSN->close();

    EXPECT_EQ(madeAtOpen, 6);
    EXPECT_EQ(madeAfterLoad, 6);
    ASSERT_EQ(shownBefore.size(), std::size(Searches));
    ASSERT_EQ(shownAfter.size(), std::size(Searches));
    for (std::size_t i = 0; i < std::size(Searches); ++i) {
        SCOPED_TRACE(Searches[i].entry);
        for (const auto& [shown, all] :
             {std::pair{shownBefore[i], before[i]}, std::pair{shownAfter[i], after[i]}}) {
            // A page of what the filter lists: the list keeps its place, so not always the
            // first.
            ASSERT_GE(all.size(), 3u);
            ASSERT_GE(shown.size(), 3u);
            EXPECT_NE(std::search(all.begin(), all.end(), shown.begin(), shown.end()), all.end())
                << ::testing::PrintToString(shown);
        }
        EXPECT_NE(before[i], after[i]);
    }
}

} // namespace
