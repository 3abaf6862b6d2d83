#include "app/browsepriosn/Browsepriosn.h"
#include "app/browsepriosn/PriceWindowCalls.h"
#include "app/browsepriosn/SelectionState.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/SettingsFile.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/ListFormat.h"
#include "platform/ui/list/ListView.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QWidget>

#include <cstdio>

#include <algorithm>
#include <string>
#include <vector>

// The price-list window's two lists as a user pages, orders and resizes: lists over a
// manufacturer shared by many items, the basket in file order, and lists that grow with the
// window.
using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* Title = "Прайс-лист/Заказ";
constexpr const char* OrderTitle = "Заказ товара";
constexpr const char* ChangeTitle = "ИЗменение количество заказанной позиции";

class PriceWindowLists : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        app::Selection() = app::SelectionState{};
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::priceWindowCalls().ipmprice = [] { return uint8_t{1}; };
    }
    void TearDown() override
    {
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::DictionaryKill();
    }

    // Items 1000, 1001 ... added in this order; every one but each fifth made by "Maker", so
    // the maker's items are spread through the file among others.
    static void writeItems(
        int count, int first = 1000,
        std::string (*designation)(int) = [](int) { return w("Обозначение"); })
    {
        ASSERT_EQ(app::RelatePRIOSN->open(), 0);
        app::PRIOSN().stream();
        for (int i = 0; i < count; ++i) {
            app::PRIOSN().clearBuffer();
            app::PR().KOD = first + i;
            app::PR().OBOZ = designation(i);
            app::PR().NAIM = w("Деталь");
            app::PR().PROIZV = i % 5 == 4 ? std::string("Other") + std::to_string(i) : "Maker";
            app::PR().CENA = 1.0;
            app::PR().KOLVUP = 1;
            ASSERT_EQ(app::PRIOSN().add(), 0);
        }
        app::PRIOSN().flush();
        app::RelatePRIOSN->close();
    }

    std::string run(TestDriver& driver)
    {
        driver.close().waitClose(Title);
        ThreadRegistry::start(app::browsepriosn, 50000);
        return driver.run(60000);
    }

    static std::vector<int> codes(const char* list)
    {
        std::vector<int> result;
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

    // Every code that comes into view, in the order met (rows added at the page's edge).
    struct Met
    {
        std::vector<int> codes;
        std::vector<int> page;

        void see(const std::vector<int>& now, bool forward)
        {
            if (page.empty()) {
                codes = now;
                if (!forward)
                    std::reverse(codes.begin(), codes.end());
            } else if (!now.empty()) {
                const int edge = forward ? page.back() : page.front();
                const auto at = std::find(now.begin(), now.end(), edge);
                if (forward) {
                    for (auto it = at == now.end() ? now.begin() : at + 1; it != now.end(); ++it)
                        codes.push_back(*it);
                } else {
                    const auto stop = at == now.end() ? now.end() : at;
                    for (auto it = std::make_reverse_iterator(stop); it != now.rend(); ++it)
                        codes.push_back(*it);
                }
            }
            page = now;
        }
        std::vector<int> inOrder(bool forward) const
        {
            std::vector<int> out = codes;
            if (!forward)
                std::reverse(out.begin(), out.end());
            return out;
        }
    };

    static ListControl* listControl(const char* list)
    {
        return dynamic_cast<ListControl*>(TestDriver::findControl(list));
    }

    testsupport::TempWorkFolder m_folder;
};

// The maker's items in key order: equal names in the order they were added.
std::vector<int> makerItems(int count, int first = 1000)
{
    std::vector<int> out;
    for (int i = 0; i < count; ++i)
        if (i % 5 != 4)
            out.push_back(first + i);
    return out;
}

TEST_F(PriceWindowLists, PagingThroughSixtyItemsOfOneMakerMeetsEachOnce)
{
    writeItems(75); // 60 of "Maker", then the others ("Other...") after them
    const std::vector<int> maker = makerItems(75);
    ASSERT_EQ(maker.size(), 60u);

    TestDriver driver;
    Met down, up, lineDown, lineUp;
    int afterEnd = 0, afterHome = 0;
    driver.waitOpen(Title).press("?TAB:4").call([&] {
        down.see(codes("?BROWSE:1"), true);
    });
    for (int i = 0; i < 12; ++i)
        driver.key("?BROWSE:1", "PgDn").call([&] { down.see(codes("?BROWSE:1"), true); });
    driver.call([&] { up.see(codes("?BROWSE:1"), false); });
    for (int i = 0; i < 12; ++i)
        driver.key("?BROWSE:1", "PgUp").call([&] { up.see(codes("?BROWSE:1"), false); });
    driver.key("?BROWSE:1", "Home").call([&] { lineDown.see(codes("?BROWSE:1"), true); });
    for (int i = 0; i < 80; ++i)
        driver.key("?BROWSE:1", "Down").call([&] { lineDown.see(codes("?BROWSE:1"), true); });
    driver.key("?BROWSE:1", "End").call([&] {
        afterEnd = highlightedCode("?BROWSE:1");
        lineUp.see(codes("?BROWSE:1"), false);
    });
    for (int i = 0; i < 80; ++i)
        driver.key("?BROWSE:1", "Up").call([&] { lineUp.see(codes("?BROWSE:1"), false); });
    driver.key("?BROWSE:1", "Home").call([&] { afterHome = highlightedCode("?BROWSE:1"); });
    EXPECT_EQ(run(driver), "");

    // The whole tab: the maker's items first ("Maker" sorts before "Other..."), each once.
    std::vector<int> all = maker;
    for (int i = 4; i < 75; i += 5)
        all.push_back(1000 + i);
    std::sort(all.begin() + 60, all.end(), [](int a, int b) {
        return std::to_string(a - 1000) < std::to_string(b - 1000);
    });
    ASSERT_GT(down.page.size(), 5u);
    ASSERT_LT(down.page.size(), 60u); // the maker's items do not fit on one page
    EXPECT_EQ(down.inOrder(true), all);
    EXPECT_EQ(up.inOrder(false), all);
    EXPECT_EQ(lineDown.inOrder(true), all);
    EXPECT_EQ(lineUp.inOrder(false), all);
    EXPECT_EQ(afterEnd, all.back());
    EXPECT_EQ(afterHome, all.front());
}

TEST_F(PriceWindowLists, TheUnsortedBasketShowsEveryLineAfterEachChange)
{
    writeItems(4, 1);
    TestDriver driver;
    std::vector<std::vector<int>> shown;
    std::vector<int> totals;
    const auto look = [&] {
        shown.push_back(codes("?LIST"));
        totals.push_back(static_cast<int>(
            dynamic_cast<app::Browsepriosn*>(TestDriver::topWindow()->controller())
                ->variables()
                .TotalQuantity));
    };
    driver.waitOpen(Title);
    // Items 3, 1, 4 ordered in this order on the default tab "Без сортировки".
    for (int row : {3, 1, 4}) {
        driver.select("?BROWSE:1", row)
            .press("?BUTTON4")
            .waitOpen(OrderTitle)
            .type("?KOL", "1")
            .press("?BUTTON1")
            .waitClose(OrderTitle)
            .call(look);
    }
    driver.key("?LIST", "Up").call(look);
    driver.select("?LIST", 2)
        .press("?BUTTON6")
        .waitOpen(ChangeTitle)
        .type("?KOL", "5")
        .press("?BUTTON1")
        .waitClose(ChangeTitle)
        .call(look);
    driver.press("?TAB8").call(look).press("?TAB7").call(look);
    driver.select("?LIST", 1).press("?BUTTON5").call(look);
    EXPECT_EQ(run(driver), "");
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_EQ(shown[0], (std::vector<int>{3}));
    EXPECT_EQ(shown[1], (std::vector<int>{3, 1}));
    EXPECT_EQ(shown[2], (std::vector<int>{3, 1, 4}));
    EXPECT_EQ(shown[3], (std::vector<int>{3, 1, 4})); // Up moves the highlight within the page
    EXPECT_EQ(shown[4], (std::vector<int>{3, 1, 4})); // quantity of the second line changed
    EXPECT_EQ(shown[5], (std::vector<int>{1, 3, 4})); // "По коду"
    EXPECT_EQ(shown[6], (std::vector<int>{3, 1, 4})); // back to "Без сортировки"
    EXPECT_EQ(shown[7], (std::vector<int>{1, 4}));    // the first line deleted
    EXPECT_EQ(totals, (std::vector<int>{1, 2, 3, 3, 7, 7, 7, 6}));
}

TEST_F(PriceWindowLists, AMaximisedWindowShowsMoreRowsInBothLists)
{
    writeItems(300);
    ASSERT_EQ(app::RelateKORZAK->open(), 0);
    for (int code = 1000; code < 1100; ++code) {
        app::KORZAK().clearBuffer();
        app::K().KOD = code;
        app::K().KOL = 1;
        ASSERT_EQ(app::KORZAK().add(), 0);
    }
    app::RelateKORZAK->close();

    TestDriver driver;
    std::size_t priceBefore = 0, basketBefore = 0, priceAfter = 0, basketAfter = 0;
    QSize before, after;
    driver.waitOpen(Title)
        .call([&] {
            priceBefore = codes("?BROWSE:1").size();
            basketBefore = codes("?LIST").size();
            QWidget* top = TestDriver::topWindow()->topWidget();
            before = top->size();
            top->showMaximized();
        })
        .call([] {}) // the resize reaches the window's event loop
        .call([&] {
            priceAfter = codes("?BROWSE:1").size();
            basketAfter = codes("?LIST").size();
            after = TestDriver::topWindow()->topWidget()->size();
        });
    EXPECT_EQ(run(driver), "");
    ASSERT_GT(after.height(), before.height());
    EXPECT_GT(priceAfter, priceBefore);
    EXPECT_GT(basketAfter, basketBefore);
}

// A column border dragged in either list is what the next start shows; the other columns, the
// last one that the header stretches over the rest included, keep their widths.
TEST_F(PriceWindowLists, ColumnWidthsDraggedByThePersonComeBackAtTheNextStart)
{
    writeItems(5);
    const auto width = [](const char* list, int column) {
        ListControl* control = listControl(list);
        return control ? control->view()->horizontalHeader()->sectionSize(column - 1) : -1;
    };
    int priceBefore = 0, basketBefore = 0, priceDragged = 0, basketDragged = 0;
    std::string priceFormat, basketFormat;
    TestDriver first;
    first.waitOpen(Title)
        .call([&] {
            priceFormat = TestDriver::topWindow()->property(1, Property::Format);
            basketFormat = TestDriver::topWindow()->property(19, Property::Format);
            priceBefore = width("?BROWSE:1", 2);
            basketBefore = width("?LIST", 3);
        })
        .dragColumnBorder("?BROWSE:1", 2, 60)
        .dragColumnBorder("?LIST", 3, -40)
        .call([&] {
            priceDragged = width("?BROWSE:1", 2);
            basketDragged = width("?LIST", 3);
        });
    EXPECT_EQ(run(first), "");
    EXPECT_EQ(priceDragged, priceBefore + 60);
    EXPECT_EQ(basketDragged, basketBefore - 40);

    int priceAgain = 0, basketAgain = 0;
    TestDriver second;
    second.waitOpen(Title).call([&] {
        priceAgain = width("?BROWSE:1", 2);
        basketAgain = width("?LIST", 3);
    });
    EXPECT_EQ(run(second), "");
    // Widths are kept in dialog units: a pixel or two may round away.
    EXPECT_NEAR(priceAgain, priceDragged, 2);
    EXPECT_NEAR(basketAgain, basketDragged, 2);

    // Saved: the dragged column's new width, the design widths of all others.
    const auto expectSaved = [](const std::string& designText, const char* entry,
                                std::size_t dragged, bool wider) {
        const auto design = ListFormat::parse(designText);
        const auto saved =
            ListFormat::parse(SettingsFile::read("quelbarto.ini", "sizeprice", entry));
        ASSERT_TRUE(design && saved) << entry;
        ASSERT_EQ(saved->columns().size(), design->columns().size()) << entry;
        for (std::size_t c = 0; c < design->columns().size(); ++c) {
            const int before = design->columns()[c].width;
            const int after = saved->columns()[c].width;
            if (c != dragged)
                EXPECT_EQ(after, before) << entry << " column " << c + 1;
            else if (wider)
                EXPECT_GT(after, before) << entry;
            else
                EXPECT_LT(after, before) << entry;
        }
    };
    expectSaved(priceFormat, "br1", 1, true);
    expectSaved(basketFormat, "br2", 2, false);
}

// Designations in two long runs that share their first characters ("5712.3708-..." then
// "С12-3501070-..."): the place the key gives a page inside a run is that of the run's start
// or end. The thumb still stands at the top only on the first page and at the bottom only on
// the last, after a page move as after a search that keeps the highlighted record.
TEST_F(PriceWindowLists, TheThumbStandsAtAnEndOnlyWhenThePageIsThere)
{
    writeItems(60, 1000, [](int i) {
        char text[32];
        std::snprintf(text, sizeof text, "%02d", i % 30 + 1);
        return w(i < 30 ? "5712.3708-" : "С12-3501070-") + text;
    });
    struct Look
    {
        QRect thumb;
        int firstCode = 0;
        int lastCode = 0;
    };
    const auto look = [](Look& into) {
        return [&into] {
            into.thumb = listControl("?BROWSE:1")->view()->pageThumb();
            const std::vector<int> shown = codes("?BROWSE:1");
            into.firstCode = shown.empty() ? 0 : shown.front();
            into.lastCode = shown.empty() ? 0 : shown.back();
        };
    };
    Look home, down, searched, end, up, homeAgain;
    TestDriver driver;
    driver.waitOpen(Title).press("?TAB:5").call(look(home));
    driver.key("?BROWSE:1", "PgDn").call(look(down));
    driver.type("?KODSTR2", "-").call(look(searched));
    driver.key("?BROWSE:1", "End").call(look(end));
    driver.key("?BROWSE:1", "PgUp").call(look(up));
    driver.key("?BROWSE:1", "Home").call(look(homeAgain));
    EXPECT_EQ(run(driver), "");

    ASSERT_FALSE(home.thumb.isEmpty());
    EXPECT_EQ(home.firstCode, 1000);
    EXPECT_EQ(end.lastCode, 1059);
    // Records above the first row: the thumb stands visibly below the top.
    EXPECT_GT(down.firstCode, 1000);
    EXPECT_GE(down.thumb.top(), home.thumb.top() + 3);
    EXPECT_EQ(searched.firstCode, down.firstCode);
    EXPECT_GE(searched.thumb.top(), home.thumb.top() + 3);
    // Records below the last row: visibly above the bottom.
    EXPECT_GT(up.lastCode, 1029);
    EXPECT_LT(up.lastCode, 1059);
    EXPECT_LE(up.thumb.bottom(), end.thumb.bottom() - 3);
    EXPECT_EQ(homeAgain.thumb.top(), home.thumb.top());
}

} // namespace
