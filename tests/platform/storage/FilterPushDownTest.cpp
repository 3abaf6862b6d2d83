// The filter decided by the engine (translated to SQL) against the evaluator: every price-list
// filter text over a mixed data set, walked every way, must give the same records.
#include "platform/storage/Bindings.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterSql.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"
#include "platform/storage/sqlite/Collations.h"
#include "platform/storage/sqlite/FilterFunctions.h"
#include "platform/storage/sqlite/SchemaSql.h"

#include "PriceTestRecord.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

using platform::storage::Bindings;
using platform::storage::FilterSql;
using platform::storage::RecordFile;
using platform::storage::View;
using platform::text::FixedString;
using platform::text::w;
using pricetest::price;
using pricetest::PriceRecord;

namespace {

// The price list's keys, the name key optional as in the program.
platform::storage::FileLayout layout()
{
    using Builder = platform::storage::LayoutBuilder<PriceRecord>;
    const Builder::KeyAttributes duplicates{false, true, false, false};
    const Builder::KeyAttributes optional{false, true, true, false};
    return Builder("PRICE", "PR")
        .field("KOD", &PriceRecord::KOD)
        .field("OBOZ", &PriceRecord::OBOZ)
        .field("NAIM", &PriceRecord::NAIM)
        .field("PRIMEN", &PriceRecord::PRIMEN)
        .field("PROIZV", &PriceRecord::PROIZV)
        .field("GRUP", &PriceRecord::GRUP)
        .field("KOD2", &PriceRecord::KOD2)
        .field("KOLVUP", &PriceRecord::KOLVUP)
        .field("KODCENA", &PriceRecord::KODCENA)
        .field("CENA", &PriceRecord::CENA)
        .key("pooboz", {"OBOZ"}, duplicates)
        .key("ponaim", {"NAIM"}, optional)
        .key("poprimen", {"PRIMEN"}, optional)
        .key("poproizv", {"PROIZV"}, duplicates)
        .key("pogrup", {"GRUP"}, duplicates)
        .key("pokod", {"KOD"}, {false, false, false, true})
        .build();
}

// The filter texts of the six search tabs, with their keys.
struct Tab
{
    int key;
    const char* filter;
};

const Tab Tabs[] = {
    {0, "(((kodstr2='' or (kodstr2<>'' and instring(upper(clip(kodstr2)),upper(pr:oboz),1)>0)) and "
        "fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or k2=pr:kod or k2=pr:kod2)))"},
    {1, "(((kodstr3='' or (kodstr3<>'' and instring(upper(clip(kodstr3)),upper(pr:naim),1)>0)) and "
        "fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or k2=pr:kod or k2=pr:kod2)))"},
    {2, "(((kodstr4='' or (kodstr4<>'' and instring(upper(clip(kodstr4)),upper(pr:primen),1)>0)) "
        "and fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or k2=pr:kod or k2=pr:kod2)))"},
    {3, "(((kodstr5='' or (kodstr5<>'' and instring(upper(clip(kodstr5)),upper(pr:proizv),1)>0)) "
        "and fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or k2=pr:kod or k2=pr:kod2)))"},
    {4, "(((kodstr6='' or (kodstr6<>'' and instring(upper(clip(kodstr6)),upper(pr:grup),1)>0)) and "
        "fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or k2=pr:kod or k2=pr:kod2)))"},
    {5,
     "(((ks=0 or (ks<>0 and instring(upper(clip(format(ks,@s8))),upper(format(pr:kod,@s8)),1)>0)) "
     "and fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or k2=pr:kod or k2=pr:kod2)))"},
};

// Texts that exercise what SQL could get wrong: padding, trailing blanks, numbers as texts.
const char* const Expressions[] = {
    "pr:naim = 'Фильтр масляный   '",
    "pr:naim <> ''",
    "pr:naim < 'Ж'",
    "pr:naim >= 'фильтр'",
    "instring(' ', pr:naim, 1) = 10",
    "instring('й ', pr:naim, 1) > 0",
    "instring(' ', pr:naim, 2, 3) > 20",
    "instring(' ', pr:naim, 1, 17) = 17",
    "instring('Я  ', upper(pr:naim), 1) > 0",
    "instring(format(pr:kod, @s8), format(pr:kod, @s9), 1) = 1",
    "instring('5', format(pr:kod, @s8), 1) = 3",
    "format(pr:kod, @s2) = '30'",
    "format(pr:cena, @n_8.2) = '   12.50'",
    "pr:naim",
    "not pr:oboz",
    "pr:oboz > 0 or pr:oboz = '0'",
    "pr:kod2",
    "upper(pr:naim) = 'ЁЛОЧКА' or clip(pr:grup) = 'ГР'",
    "pr:kod = pr:kod2 or pr:kod > 3000 and not pr:kod2 = 0",
    "kodstr3 = pr:naim",
    "ks",
};

class PushDown : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_sql.setDiskName("sql.tps");
        m_plain.setDiskName("plain.tps");
        for (RecordFile* file : {&m_sql, &m_plain}) {
            ASSERT_EQ(file->create(), 0);
            ASSERT_EQ(file->open(0x22), 0);
            fill(*file);
        }
        m_bindings.bind("ks", ks);
        m_bindings.bind("kodstr2", kodstr2);
        m_bindings.bind("kodstr3", kodstr3);
        m_bindings.bind("kodstr4", kodstr4);
        m_bindings.bind("kodstr5", kodstr5);
        m_bindings.bind("kodstr6", kodstr6);
        m_bindings.bind("fk", fk);
        m_bindings.bind("k1", k1);
        m_bindings.bind("k2", k2);
    }

    void TearDown() override
    {
        m_sql.close();
        m_plain.close();
    }

    static void fill(RecordFile& file)
    {
        PriceRecord records[] = {
            price(30512, "Свеча зажигания", 0, "BP6ES", "ВАЗ 2101", "NGK", "Зажигание"),
            price(305, "фильтр масляный", 0, "W 914/2", "ваз, газ", "MANN", "Фильтры"),
            price(7, "Колодка тормозная", 3105, "", "", "", ""),
            price(1305, "Фильтр воздушный ", 305, "0305", "ГАЗ", "mann", "фильтры"),
            price(3105, "Ёлочка", 7, "  E", "ёлка", "", "ГР"),
            price(40, "ёлка искусственная", 0, "12", "Ёлка", "Ёж", "гр"),
            price(0, "", 0, "", "", "", ""),
            price(0, "  Пробел впереди", 30512, "305", "", "", ""),
            price(99, "Амортизатор", 0, "0", "ваз", "", ""),
            price(305305, "фильтр", 1305, "", "", "", ""),
        };
        records[1].CENA = 12.5;
        for (const PriceRecord& record : records) {
            file.record<PriceRecord>() = record;
            ASSERT_EQ(file.add(), 0);
        }
    }

    // Codes and rowid order of the records a view gives; the walk as the list does it.
    static std::vector<int32_t> walk(View& view, RecordFile& file, bool forward)
    {
        std::vector<int32_t> codes;
        while ((forward ? view.next() : view.previous()) == 0)
            codes.push_back(int32_t{file.record<PriceRecord>().KOD});
        EXPECT_EQ(platform::storage::errorCode(), platform::storage::Error::RecordNotAvailable);
        return codes;
    }

    // The same filter both ways: every walk gives the same records.
    void compare(int key, const char* filter)
    {
        SCOPED_TRACE(std::string(filter) + " key " + std::to_string(key));
        View sql(m_sql, key);
        View plain(m_plain, key);
        ASSERT_EQ(sql.setFilter(filter, &m_bindings), 0);
        ASSERT_EQ(plain.setFilter(filter, &m_bindings), 0);
        plain.setFilterInStorage(false);
        ASSERT_TRUE(sql.filterInStorage());
        ASSERT_FALSE(plain.filterInStorage());

        for (const bool forward : {true, false}) {
            sql.setStart();
            plain.setStart();
            EXPECT_EQ(walk(sql, m_sql, forward), walk(plain, m_plain, forward)) << forward;
        }
        // From the buffer, as a locator does.
        for (const char* name : {"Ф", "ё", "", "Я"}) {
            for (RecordFile* file : {&m_sql, &m_plain}) {
                file->clearBuffer();
                file->record<PriceRecord>().NAIM = w(name);
                file->record<PriceRecord>().OBOZ = w(name);
                file->record<PriceRecord>().KOD = 305;
            }
            for (const bool forward : {true, false}) {
                for (RecordFile* file : {&m_sql, &m_plain}) {
                    file->record<PriceRecord>().NAIM = w(name);
                    file->record<PriceRecord>().OBOZ = w(name);
                    file->record<PriceRecord>().KOD = 305;
                }
                sql.setFromBuffer();
                plain.setFromBuffer();
                EXPECT_EQ(walk(sql, m_sql, forward), walk(plain, m_plain, forward)) << name;
            }
        }
        EXPECT_EQ(sql.records(), plain.records());
    }

    void compareTabs()
    {
        for (const Tab& tab : Tabs)
            compare(tab.key, tab.filter);
    }

    testsupport::TempWorkFolder m_folder;
    RecordFile m_sql{layout()};
    RecordFile m_plain{layout()};
    Bindings m_bindings;
    int32_t ks = 0;
    FixedString<50> kodstr2;
    FixedString<50> kodstr3;
    FixedString<200> kodstr4;
    FixedString<50> kodstr5;
    FixedString<30> kodstr6;
    uint8_t fk = 0;
    int32_t k1 = 0;
    int32_t k2 = 0;
};

} // namespace

TEST_F(PushDown, SearchTabsWithoutASearch)
{
    compareTabs();
}

TEST_F(PushDown, SearchTabsWithSearchTexts)
{
    for (const char* text : {"ф", "Ё", "ё", "е", "ман", "ВАЗ", "а ", " ", "305", "р"}) {
        SCOPED_TRACE(text);
        kodstr2 = w(text);
        kodstr3 = w(text);
        kodstr4 = w(text);
        kodstr5 = w(text);
        kodstr6 = w(text);
        compareTabs();
    }
}

TEST_F(PushDown, CodeTabFindsTheDigitsAnywhere)
{
    ks = 305;
    compare(5, Tabs[5].filter);
    View view(m_sql, 5);
    ASSERT_EQ(view.setFilter(Tabs[5].filter, &m_bindings), 0);
    view.setStart();
    EXPECT_EQ(walk(view, m_sql, true), (std::vector<int32_t>{305, 1305, 30512, 305305}));
    ks = -1;
    compare(5, Tabs[5].filter);
}

TEST_F(PushDown, AnaloguesModeWithASecondCodeOfZero)
{
    fk = 1;
    kodstr3 = w("ф"); // ignored in analogues mode
    k1 = 1305;
    k2 = 305;
    compareTabs();
    k1 = 305;
    k2 = 0; // every record whose second code is 0 too
    compareTabs();
    View view(m_sql, 5);
    ASSERT_EQ(view.setFilter(Tabs[5].filter, &m_bindings), 0);
    view.setStart();
    EXPECT_EQ(walk(view, m_sql, true), (std::vector<int32_t>{0, 0, 40, 99, 305, 1305, 30512}));
}

TEST_F(PushDown, ExpressionsWithPaddingAndConversions)
{
    kodstr3 = w("Фильтр");
    ks = 12;
    for (const char* expression : Expressions)
        for (const int key : {-1, 1, 5})
            compare(key, expression);
}

TEST_F(PushDown, WritesDuringTheWalkAreSeenTheSameWay)
{
    kodstr3 = w("ф");
    for (const bool forward : {true, false}) {
        std::vector<int32_t> seen[2];
        RecordFile* files[2] = {&m_sql, &m_plain};
        for (int i = 0; i < 2; ++i) {
            RecordFile& file = *files[i];
            View view(file, 1);
            ASSERT_EQ(view.setFilter(Tabs[1].filter, &m_bindings), 0);
            view.setFilterInStorage(i == 0);
            view.setStart();
            int steps = 0;
            while ((forward ? view.next() : view.previous()) == 0) {
                seen[i].push_back(file.record<PriceRecord>().KOD);
                if (++steps == 2) {
                    // Rewrite the current record out of the search, add one ahead and behind.
                    const PriceRecord current = file.record<PriceRecord>();
                    file.record<PriceRecord>().NAIM = w("Бывший фильтр");
                    ASSERT_EQ(file.put(), 0);
                    file.record<PriceRecord>() = price(forward ? 777 : 778, "Фильтр топливный");
                    ASSERT_EQ(file.add(), 0);
                    file.record<PriceRecord>() = price(779, "Аааа фильтр");
                    ASSERT_EQ(file.add(), 0);
                    file.record<PriceRecord>() = current;
                }
            }
        }
        EXPECT_EQ(seen[0], seen[1]) << forward;
        EXPECT_GE(seen[0].size(), 3U);
    }
}

TEST_F(PushDown, FieldsOfAnotherRecordAreEvaluatedPerRecord)
{
    PriceRecord other = price(305, "фильтр масляный");
    const platform::storage::FileLayout otherLayout = pricetest::priceLayout();
    View view(m_sql, 5);
    ASSERT_EQ(view.setFilter("pr:kod >= 305 and kodstr3 = ''", &m_bindings), 0);
    EXPECT_TRUE(view.filterInStorage());

    // A field of a fixed record (not the walked file) cannot go into SQL.
    platform::storage::FilterScope fixedOnly(&m_bindings);
    fixedOnly.addRecord(otherLayout, reinterpret_cast<const std::byte*>(&other));
    ASSERT_EQ(view.setFilter("pr:kod = 305", fixedOnly), 0);
    EXPECT_FALSE(view.filterInStorage());
    view.setStart();
    EXPECT_EQ(walk(view, m_sql, true).size(), 10U); // true for every record
    other.KOD = 1;
    view.setStart();
    EXPECT_TRUE(walk(view, m_sql, true).empty());
}

TEST_F(PushDown, AConditionTooDeepForTheEngineIsEvaluatedPerRecord)
{
    // Sixty nested groups: the language takes them, SQLite's parser cannot.
    std::string deep;
    for (int code = 1; code <= 60; ++code)
        deep += "(pr:kod = " + std::to_string(code * 100) + " or ";
    deep += "pr:kod = 7 or pr:kod = 305" + std::string(60, ')');
    compare(-1, deep.c_str());
    compare(5, deep.c_str());

    View view(m_sql, 5);
    ASSERT_EQ(view.setFilter(deep, &m_bindings), 0);
    EXPECT_EQ(view.setStart(), 0);
    EXPECT_EQ(walk(view, m_sql, true), (std::vector<int32_t>{7, 305}));
    EXPECT_EQ(platform::storage::errorCode(), platform::storage::Error::RecordNotAvailable);
    EXPECT_FALSE(view.filterInStorage());
}

TEST_F(PushDown, AnotherWalkOnTheFileDropsTheCondition)
{
    kodstr3 = w("ф");
    View view(m_sql, 1);
    ASSERT_EQ(view.setFilter(Tabs[1].filter, &m_bindings), 0);
    view.setStart();
    ASSERT_NE(m_sql.walkFilter(), nullptr);
    // The program walks the file itself: every record comes up again.
    m_sql.setKey(5);
    EXPECT_EQ(m_sql.walkFilter(), nullptr);
    int records = 0;
    while (m_sql.next() == 0)
        ++records;
    EXPECT_EQ(records, 10);
    // The view still filters on the walk it did not set.
    EXPECT_EQ(walk(view, m_sql, true), std::vector<int32_t>{});
    view.setStart();
    EXPECT_EQ(walk(view, m_sql, true), (std::vector<int32_t>{305305, 1305, 305}));
}

// The name tab's search is decided from the name index: SQLite reads no table row for a record
// it rejects.
TEST_F(PushDown, NameSearchReadsOnlyTheIndex)
{
    View view(m_sql, 1);
    ASSERT_EQ(view.setFilter(Tabs[1].filter, &m_bindings), 0);
    const platform::storage::FileLayout fileLayout = layout();
    const platform::storage::sqlite::SchemaSql schema(fileLayout);

    // What SQLite needs for the name tab while fk = 0: only the name, so the walk's query is
    // answered from the index.
    platform::storage::FilterScope scope(&m_bindings);
    scope.addFile(m_sql);
    platform::storage::FilterExpression search(
        "instring(upper(clip(kodstr3)),upper(pr:naim),1)>0 and pr:naim <> ''", scope);
    const auto condition = FilterSql::translate(search, m_sql);
    ASSERT_NE(condition, nullptr);
    EXPECT_TRUE(condition->usesOnly({2}));

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2("sql.tps", &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    ASSERT_EQ(platform::storage::sqlite::registerCollations(db), SQLITE_OK);
    ASSERT_EQ(platform::storage::sqlite::registerFilterFunctions(db), SQLITE_OK);
    for (const std::string& sql : {schema.filteredKeyFromEnd(1, true, condition->condition()),
                                   schema.filteredKeySegment(1, 0, false, condition->condition()),
                                   schema.filteredKeySegment(1, 1, true, condition->condition())}) {
        sqlite3_stmt* statement = nullptr;
        ASSERT_EQ(
            sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &statement, nullptr),
            SQLITE_OK)
            << sqlite3_errmsg(db);
        std::string plan;
        while (sqlite3_step(statement) == SQLITE_ROW)
            plan += reinterpret_cast<const char*>(sqlite3_column_text(statement, 3));
        sqlite3_finalize(statement);
        EXPECT_NE(plan.find("COVERING INDEX key_2"), std::string::npos) << plan;
        EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;
    }
    sqlite3_close(db);
}
