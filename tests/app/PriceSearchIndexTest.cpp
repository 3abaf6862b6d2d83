// The price list's searches through the in-memory copies of the searched fields against the
// stored filter texts evaluated by the storage walk, record for record and in the same order,
// in every tab and mode.
#include "app/browsepriosn/PriceRecordFilter.h"
#include "app/browsepriosn/PriceSortOrders.h"
#include "app/dictionary/Dictionary.h"
#include "app/dictionary/SelectionQueues.h"
#include "platform/storage/Bindings.h"
#include "platform/storage/ContainsSearch.h"
#include "platform/storage/View.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/text/Cp1251.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace app;
using platform::text::w;

namespace {

// Words with both letter cases, ё and Ё, Latin letters, digits and blanks.
const std::vector<std::string>& words()
{
    static const std::vector<std::string> list = [] {
        std::vector<std::string> utf8 = {
            "Фильтр", "масляный", "ЁМКОСТЬ", "ёлка", "Ёж", "щётка", "ЩЁТКА", "колодка",
            "Колодки", "тормозные", "ВАЗ", "ГАЗель", "2107", "21099", "Bosch", "MANN",
            "mann-filter", "KYB", "ремень", "РЕМЕНЬ", "ГРМ", "ролик", "Прокладка", "sensor",
            "Ersatz", "ПодШипник", "ступица", "задний", "левый", "(2 шт.)", "№5", "A-1",
            "x", "Ъ", "ъ", "Я", "я", "Е", "е", "ё", "Ё"};
        std::vector<std::string> converted;
        for (const std::string& word : utf8)
            converted.push_back(w(word));
        return converted;
    }();
    return list;
}

std::string phrase(std::mt19937& random, std::size_t most, std::size_t size)
{
    std::uniform_int_distribution<std::size_t> count(1, most);
    std::uniform_int_distribution<std::size_t> pick(0, words().size() - 1);
    std::string text;
    const std::size_t n = count(random);
    for (std::size_t i = 0; i < n; ++i) {
        if (i)
            text += random() % 5 == 0 ? "  " : " ";
        text += words()[pick(random)];
    }
    if (random() % 7 == 0)
        text = " " + text; // a leading blank is part of what is sought
    return text.substr(0, size);
}

class PriceSearchIndexTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DictionaryInit();
        ASSERT_EQ(RelatePRIOSN->open(), 0);
        m_bindings.bind("ks", m_ks);
        m_bindings.bind("kodstr2", m_kodstr2);
        m_bindings.bind("kodstr3", m_kodstr3);
        m_bindings.bind("kodstr4", m_kodstr4);
        m_bindings.bind("kodstr5", m_kodstr5);
        m_bindings.bind("kodstr6", m_kodstr6);
        m_bindings.bind("fk", m_fk);
        m_bindings.bind("k1", m_k1);
        m_bindings.bind("k2", m_k2);
        Q1().free();
        Q2().free();
    }
    void TearDown() override
    {
        Q1().free();
        Q2().free();
        RelatePRIOSN->close();
        DictionaryKill();
    }

    void generate(std::size_t items, std::mt19937& random)
    {
        std::uniform_int_distribution<int32_t> code(1, 99999999);
        PRIOSN().stream();
        for (std::size_t i = 0; i < items; ++i) {
            PRIOSN().clearBuffer();
            PriosnRecord& r = PR();
            r.KOD = code(random);
            r.KOD2 = random() % 4 == 0 ? code(random) % 1000 : 0;
            r.OBOZ = phrase(random, 2, 50);
            r.NAIM = phrase(random, 4, 50);
            r.PRIMEN = phrase(random, 8, 200);
            r.PROIZV = phrase(random, 1, 50);
            r.GRUP = phrase(random, 2, 30);
            if (PRIOSN().add() != 0)
                --i; // a code drawn twice
        }
        ASSERT_EQ(PRIOSN().flush(), 0);
    }

    void setSearch(int order, const std::string& text)
    {
        switch (order) {
        case 1: m_kodstr2 = text; break;
        case 2: m_kodstr3 = text; break;
        case 3: m_kodstr4 = text; break;
        case 4: m_kodstr5 = text; break;
        case 5: m_kodstr6 = text; break;
        default: m_ks = static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10)); break;
        }
    }

    // The record positions an order lists, in its order; through the copy or not.
    std::vector<int64_t> listed(int order, bool throughCopy)
    {
        const PriceSortOrder& sort = priceSortOrders()[static_cast<std::size_t>(order - 1)];
        platform::storage::View view(PRIOSN(), sort.key);
        EXPECT_EQ(view.setFilter(sort.filter, &m_bindings), 0);
        view.setPredicate([this] {
            return PriceRecordFilter(PR(), m_fk, m_selection) == RecordFilterResult::Accepted;
        });
        if (throughCopy)
            view.setContainsSearch(search(order));
        std::vector<int64_t> result;
        view.setStart();
        while (view.next() == 0)
            result.push_back(PRIOSN().position());
        return result;
    }

    std::shared_ptr<platform::storage::ContainsSearch> search(int order)
    {
        auto& made = m_searches[static_cast<std::size_t>(order - 1)];
        if (!made) {
            const PriceSortOrder& sort = priceSortOrders()[static_cast<std::size_t>(order - 1)];
            made = std::make_shared<platform::storage::ContainsSearch>(
                PRIOSN(), sort.key, std::string(sort.searched), std::string(sort.sought),
                std::string(sort.searchCondition), &m_bindings);
        }
        return made;
    }

    testsupport::TempWorkFolder m_folder;
    platform::storage::Bindings m_bindings;
    int32_t m_ks = 0;
    platform::text::FixedString<50> m_kodstr2, m_kodstr3, m_kodstr5;
    platform::text::FixedString<200> m_kodstr4;
    platform::text::FixedString<30> m_kodstr6;
    uint8_t m_fk = 0;
    int32_t m_k1 = 0;
    int32_t m_k2 = 0;
    SelectionState m_selection;
    std::shared_ptr<platform::storage::ContainsSearch> m_searches[6];
};

TEST_F(PriceSearchIndexTest, RandomSearchesListTheSameRecordsAsTheFilterTexts)
{
    // 20,000 items: every search lists all its records twice (up to three quarters of the
    // file), which keeps the test to a few seconds; bench/ compares the two at 1M items.
    std::mt19937 random(20261209);
    generate(20000, random);
    Q2().buffer().N = words()[13]; // "Bosch"
    Q2().append();
    Q1().buffer().N = w("ваз");
    Q1().append();
    std::size_t found = 0;
    for (int i = 0; i < 200; ++i) {
        const int order = 1 + i % 6;
        std::string text;
        if (order == 6)
            text = std::to_string(random() % (i % 4 == 0 ? 100 : 100000));
        else if (i % 8 == 0)
            text = phrase(random, 1, 50).substr(0, 1 + random() % 3); // short: many match
        else
            text = phrase(random, 2, 50);
        setSearch(order, text);
        // Every tenth search in analogues mode, a few with a selection.
        m_fk = i % 10 == 3 ? 1 : 0;
        m_k1 = static_cast<int32_t>(random() % 1000);
        m_k2 = 0;
        m_selection.manufacturerMode = i % 10 == 5 ? 1 : 0;
        m_selection.applicabilityMode = i % 10 == 7 ? 2 : 0;
        const std::vector<int64_t> expected = listed(order, false);
        ASSERT_EQ(listed(order, true), expected) << "order " << order << " text \"" << text << '"';
        found += expected.size();
        setSearch(order, "");
    }
    EXPECT_GT(found, 0u);
}

// The price list's own browse list, paged through to the end and back while a search is on,
// shows the records of the filter texts in their order.
TEST_F(PriceSearchIndexTest, PagingThroughASearchShowsEveryRecordOnce)
{
    class List : public platform::ui::BrowseList
    {
    public:
        using BrowseList::BrowseList;
        int chooseSortOrder() override { return 1; } // the name tab
    };
    std::mt19937 random(5);
    generate(3000, random);
    List list(PRIOSN());
    list.setBindings(&m_bindings);
    list.setPageSize(17);
    for (const PriceSortOrder& order : priceSortOrders()) {
        platform::ui::SortOrder& added = list.addSortOrder(order.key, std::string(order.filter));
        added.setContainsSearch(std::string(order.searched), std::string(order.sought),
                                std::string(order.searchCondition));
        added.addResetField(m_kodstr3);
    }
    m_kodstr3 = w("ёж");
    const std::vector<int64_t> expected = listed(2, false);
    ASSERT_GT(expected.size(), 40u);
    const auto positionsShown = [&] {
        std::vector<int64_t> shown;
        for (int row = 0; row < list.model().rows(); ++row) {
            const auto& record = list.model().row(row).record;
            PRIOSN().clearBuffer();
            std::memcpy(&PR(), record.data(), sizeof(PriosnRecord));
            EXPECT_EQ(PRIOSN().get(PR_pokod), 0);
            shown.push_back(PRIOSN().position());
        }
        return shown;
    };
    list.load();
    EXPECT_TRUE(list.view().walksThroughIndex());
    std::vector<int64_t> forward = positionsShown();
    while (!list.model().atEnd()) {
        const int moved = list.model().scroll(17);
        ASSERT_GT(moved, 0);
        const std::vector<int64_t> page = positionsShown();
        forward.insert(forward.end(), page.end() - moved, page.end());
    }
    EXPECT_EQ(forward, expected);
    std::vector<int64_t> backward = positionsShown();
    while (!list.model().atStart()) {
        const int moved = list.model().scroll(-17);
        ASSERT_GT(moved, 0);
        const std::vector<int64_t> page = positionsShown();
        backward.insert(backward.begin(), page.begin(), page.begin() + moved);
    }
    EXPECT_EQ(backward, expected);
}

TEST_F(PriceSearchIndexTest, CopyFollowsWritesToTheFile)
{
    std::mt19937 random(7);
    generate(300, random);
    m_kodstr3 = w("ёж");
    const std::vector<int64_t> before = listed(2, true);
    EXPECT_EQ(before, listed(2, false));
    // A new record, a changed name and a deleted one are seen by the next search.
    PRIOSN().clearBuffer();
    PR().KOD = 100000001;
    PR().NAIM = w("новый ЁЖ");
    ASSERT_EQ(PRIOSN().add(), 0);
    ASSERT_EQ(PRIOSN().getAt(before.front()), 0);
    PR().NAIM = w("без него");
    ASSERT_EQ(PRIOSN().put(), 0);
    const std::vector<int64_t> after = listed(2, true);
    EXPECT_EQ(after, listed(2, false));
    EXPECT_EQ(after.size(), before.size());
    ASSERT_EQ(PRIOSN().getAt(after.back()), 0);
    ASSERT_EQ(PRIOSN().erase(), 0);
    EXPECT_EQ(listed(2, true).size(), after.size() - 1);
    // Emptied: nothing is found, and the search still runs through the copy.
    ASSERT_EQ(PRIOSN().empty(), 0);
    EXPECT_TRUE(listed(2, true).empty());
}

TEST_F(PriceSearchIndexTest, WalksFromAKeyValueAndBackwardsMatchTheFileWalk)
{
    std::mt19937 random(11);
    generate(2000, random);
    m_kodstr3 = w("а");
    const PriceSortOrder& sort = priceSortOrders()[1];
    for (const bool throughCopy : {false, true}) {
        SCOPED_TRACE(throughCopy ? "through the copy" : "file walk");
        platform::storage::View plain(PRIOSN(), sort.key);
        ASSERT_EQ(plain.setFilter(sort.filter, &m_bindings), 0);
        platform::storage::View view(PRIOSN(), sort.key);
        ASSERT_EQ(view.setFilter(sort.filter, &m_bindings), 0);
        if (throughCopy)
            view.setContainsSearch(search(2));
        // From the last record backwards.
        std::vector<int64_t> backwards, expected;
        plain.setEnd();
        while (plain.previous() == 0)
            expected.push_back(PRIOSN().position());
        view.setEnd();
        while (view.previous() == 0)
            backwards.push_back(PRIOSN().position());
        EXPECT_EQ(backwards, expected);
        EXPECT_EQ(view.walksThroughIndex(), throughCopy);
        // From a name in the middle, both ways, then turning round (one walk at a time: a
        // thread has one walk per file).
        for (const bool forward : {true, false}) {
            const auto walk = [&](platform::storage::View& v) {
                std::vector<int64_t> positions;
                PRIOSN().clearBuffer();
                PR().NAIM = w("Колодки");
                v.setFromBuffer();
                for (int i = 0; i < 5 && (forward ? v.next() : v.previous()) == 0; ++i)
                    positions.push_back(PRIOSN().position());
                if ((forward ? v.previous() : v.next()) == 0)
                    positions.push_back(PRIOSN().position());
                return positions;
            };
            const std::vector<int64_t> wanted = walk(plain);
            EXPECT_EQ(wanted.size(), 6u);
            EXPECT_EQ(walk(view), wanted);
        }
        EXPECT_EQ(view.records(), plain.records());
    }
}

TEST_F(PriceSearchIndexTest, TheCopyIsNotUsedWhereTheFilterSaysOtherwise)
{
    std::mt19937 random(3);
    generate(50, random);
    const PriceSortOrder& sort = priceSortOrders()[5];
    platform::storage::View view(PRIOSN(), sort.key);
    ASSERT_EQ(view.setFilter(sort.filter, &m_bindings), 0);
    view.setContainsSearch(search(6));
    view.setStart();
    EXPECT_FALSE(view.walksThroughIndex()); // ks = 0 lists everything
    m_ks = 5;
    view.setStart();
    EXPECT_TRUE(view.walksThroughIndex());
    m_fk = 1; // analogues replace the search
    view.setStart();
    EXPECT_FALSE(view.walksThroughIndex());
    m_fk = 0;
    // Inside a run of writes the records may still roll back: no copy is made of them.
    PRIOSN().stream();
    view.setStart();
    EXPECT_FALSE(view.walksThroughIndex());
    PRIOSN().flush();
    view.setStart();
    EXPECT_TRUE(view.walksThroughIndex());
}

} // namespace
