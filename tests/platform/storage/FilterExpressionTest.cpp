#include "platform/storage/Bindings.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterExpression.h"

#include "PriceTestRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using platform::storage::Bindings;
using platform::storage::FilterExpression;
using platform::storage::FilterScope;
namespace Error = platform::storage::Error;
using platform::storage::errorCode;
using platform::text::FixedString;
using platform::text::w;
using pricetest::price;
using pricetest::PriceRecord;

namespace {

// The price list's filter texts, one per search tab, as the window stores them.
std::string tabFilter(const std::string& variable, const std::string& field)
{
    return "(((" + variable + "='' or (" + variable + "<>'' and instring(upper(clip(" + variable
           + ")),upper(" + field + "),1)>0)) and fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or "
             "k2=pr:kod or k2=pr:kod2)))";
}

const char* const CodeTabFilter =
    "(((ks=0 or (ks<>0 and instring(upper(clip(format(ks,@s8))),upper(format(pr:kod,@s8)),1)>0)) "
    "and fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or k2=pr:kod or k2=pr:kod2)))";

// The price window's variables with a record buffer scanned through a set of records.
class PriceFilter : public ::testing::Test
{
protected:
    PriceFilter()
        : m_layout(pricetest::priceLayout())
        , m_scope(&m_bindings)
    {
        m_bindings.bind("ks", ks);
        m_bindings.bind("kodstr2", kodstr2);
        m_bindings.bind("kodstr3", kodstr3);
        m_bindings.bind("kodstr4", kodstr4);
        m_bindings.bind("kodstr5", kodstr5);
        m_bindings.bind("kodstr6", kodstr6);
        m_bindings.bind("fk", fk);
        m_bindings.bind("k1", k1);
        m_bindings.bind("k2", k2);
        m_scope.addRecord(m_layout, reinterpret_cast<const std::byte*>(&m_record));

        m_records = {
            price(305, "Фильтр масляный", 0, "2101-1012005", "ВАЗ 2101-2107", "Автоагрегат", "Фильтры"),
            price(1305, "ФИЛЬТР ВОЗДУШНЫЙ", 305, "2108-1109013", "ВАЗ 2108", "Невский фильтр", "Фильтры"),
            price(30512, "Свеча зажигания", 0, "А17ДВР", "ГАЗ, УАЗ", "Энгельс", "Зажигание"),
            price(3105, "Ёлочка ароматизатор", 7, "ЕЛ-1", "", "Ёлка и К", "Прочее"),
            price(7, "колодка тормозная", 3105, "2101-3501090", "ВАЗ классика", "ТИИР", "Тормоза"),
        };
    }

    // The codes of the records that pass.
    std::vector<int32_t> passing(FilterExpression& filter)
    {
        std::vector<int32_t> codes;
        for (const PriceRecord& record : m_records) {
            m_record = record;
            const int32_t code = record.KOD; // a packed member is copied, not bound
            if (filter.matches())
                codes.push_back(code);
        }
        return codes;
    }

    std::vector<int32_t> passing(const std::string& text)
    {
        FilterExpression filter;
        EXPECT_EQ(filter.compile(text, m_scope), 0) << text << ": " << filter.errorMessage();
        return passing(filter);
    }

    const std::vector<int32_t> all{305, 1305, 30512, 3105, 7};

    int32_t ks = 0;
    FixedString<50> kodstr2;
    FixedString<50> kodstr3;
    FixedString<200> kodstr4;
    FixedString<50> kodstr5;
    FixedString<30> kodstr6;
    uint8_t fk = 0;
    int32_t k1 = 0;
    int32_t k2 = 0;

    platform::storage::FileLayout m_layout;
    Bindings m_bindings;
    FilterScope m_scope;
    PriceRecord m_record{};
    std::vector<PriceRecord> m_records;
};

using V = std::vector<int32_t>;

} // namespace

TEST_F(PriceFilter, EmptySearchShowsEveryRecordOnEveryTab)
{
    for (const auto& [variable, field] :
         std::vector<std::pair<std::string, std::string>>{{"kodstr2", "pr:oboz"},
                                                          {"kodstr3", "pr:naim"},
                                                          {"kodstr4", "pr:primen"},
                                                          {"kodstr5", "pr:proizv"},
                                                          {"kodstr6", "pr:grup"}})
        EXPECT_EQ(passing(tabFilter(variable, field)), all) << variable;
    EXPECT_EQ(passing(CodeTabFilter), all);
    kodstr3 = std::string_view("   "); // blanks only count as empty
    EXPECT_EQ(passing(tabFilter("kodstr3", "pr:naim")), all);
}

TEST_F(PriceFilter, TextSearchIsCaseInsensitiveSubstringWithCyrillic)
{
    FilterExpression name(tabFilter("kodstr3", "pr:naim"), m_scope);
    ASSERT_TRUE(name.isValid()) << name.errorMessage();

    kodstr3 = w("фильтр");
    EXPECT_EQ(passing(name), (V{305, 1305}));
    kodstr3 = w("ЁЛОЧ"); // Ё is upper-cased from ё
    EXPECT_EQ(passing(name), (V{3105}));
    kodstr3 = w("ДКА т"); // inner blank is part of the search
    EXPECT_EQ(passing(name), (V{7}));
    kodstr3 = w("нет такого");
    EXPECT_EQ(passing(name), V{});

    kodstr2 = std::string_view("-1");
    EXPECT_EQ(passing(tabFilter("kodstr2", "pr:oboz")), (V{305, 1305, 3105}));
    kodstr4 = w("ваз");
    EXPECT_EQ(passing(tabFilter("kodstr4", "pr:primen")), (V{305, 1305, 7}));
    kodstr5 = w("ФИЛЬТР");
    EXPECT_EQ(passing(tabFilter("kodstr5", "pr:proizv")), (V{1305}));
    kodstr6 = w("зажиг");
    EXPECT_EQ(passing(tabFilter("kodstr6", "pr:grup")), (V{30512}));
}

TEST_F(PriceFilter, CodeSearchFindsTheDigitsAnywhereInTheCode)
{
    FilterExpression code(CodeTabFilter, m_scope);
    ASSERT_TRUE(code.isValid()) << code.errorMessage();
    ks = 305;
    EXPECT_EQ(passing(code), (V{305, 1305, 30512}));
    ks = 12; // changed variable, same compiled expression
    EXPECT_EQ(passing(code), (V{30512}));
    ks = 7;
    EXPECT_EQ(passing(code), (V{7}));
    ks = 0;
    EXPECT_EQ(passing(code), all);
}

TEST_F(PriceFilter, AnaloguesModeComparesBothCodesAsTheyStand)
{
    FilterExpression name(tabFilter("kodstr3", "pr:naim"), m_scope);
    kodstr3 = w("нет такого"); // the search is ignored in analogues mode
    fk = 1;
    k1 = 1305;
    k2 = 305;
    EXPECT_EQ(passing(name), (V{305, 1305}));
    // The chosen item's second code is 0: every record whose second code is 0 is listed too.
    k1 = 305;
    k2 = 0;
    EXPECT_EQ(passing(name), (V{305, 1305, 30512}));
    k1 = 7;
    k2 = 3105;
    EXPECT_EQ(passing(CodeTabFilter), (V{3105, 7}));
    fk = 0;
    EXPECT_EQ(passing(name), V{});
}

TEST_F(PriceFilter, ComparisonsOfTextsAndNumbers)
{
    m_record = price(12, "ab");
    const std::vector<std::pair<std::string, bool>> cases = {
        {"'ab ' = 'ab'", true},        // trailing blanks ignored
        {"' ab' = 'ab'", false},       // leading ones are not
        {"pr:naim = 'ab'", true},      // a 50-byte field against a short literal
        {"pr:naim <> 'AB'", true},     // case counts in comparisons
        {"'12' = 12", true},           // a text and a number compare as numbers
        {"'10' > 9", true},
        {"'10' > '9'", false},         // two texts compare as texts
        {"pr:kod >= 12 and pr:kod <= 12 and not pr:kod < 12", true},
        {"pr:kod = 12.0 and -1 < 0", true},
        {"'abc' < 'abd' and 'b' > 'a'", true},
        {"'x' = 'y' or 'x' = 'x'", true},
        {"not ('x' = 'x')", false},
        {"upper('ёжик') = 'ЁЖИК'", true},
        {"clip('ab   ') = 'ab' and instring('b ', clip('ab   '), 1) = 0", true},
        {"pr:kod", true},              // a bare number: not zero
        {"'  '", false},               // a blank text is false
        {"PR:KOD = 12 and Pr:Naim = 'ab'", true},
    };
    for (const auto& [text, expected] : cases) {
        FilterExpression filter(w(text), m_scope);
        ASSERT_TRUE(filter.isValid()) << text << ": " << filter.errorMessage();
        EXPECT_EQ(filter.matches(), expected) << text;
    }
}

TEST_F(PriceFilter, InstringStepStartAndFormat)
{
    m_record = price(12, "ab");
    const std::vector<std::pair<std::string, bool>> cases = {
        {"instring('ab', 'xxabab', 1) = 3", true},
        {"instring('ab', 'xxabab', 2) = 3", true},     // tried at 1, 3, 5
        {"instring('ab', 'xabab', 2) = 0", true},      // at 1 and 3 only
        {"instring('ab', 'abxab', 1, 2) = 4", true},
        {"instring('ab', 'ab', 0) = 0", true},         // no step: not found, no endless loop
        {"instring('', 'ab', 1) = 0", true},
        {"instring('abc', 'ab', 1) = 0", true},
        {"instring('b', 'ab', 1, 99) = 0", true},
        {"format(305, @s8) = '305     '", true},
        {"format(123456789, @s8) = '12345678'", true},  // cut to the width
        {"format(-5, @S3) = '-5'", true},
        {"format('abc', '@s2') = 'ab'", true},
        {"format(12.5, @s8) = '12.5'", true},
        {"format(12.5, @n_8.2) = '   12.50'", true}, // number pictures as displayed
        {"format(pr:kod, '@n_6') = '    12'", true},
    };
    for (const auto& [text, expected] : cases) {
        FilterExpression filter(w(text), m_scope);
        ASSERT_TRUE(filter.isValid()) << text << ": " << filter.errorMessage();
        EXPECT_EQ(filter.matches(), expected) << text;
    }
}

TEST_F(PriceFilter, BadExpressionsGive800AndMatchNothing)
{
    m_record = m_records[0];
    const char* const bad[] = {
        "(", "ks=", "ks = = 1", "'unterminated", "1 2", "and", "ks and", "not", "(ks=0",
        "ks=0)", "instring('a')", "instring('a','b',1,1,1)", "upper()", "upper('a','b')",
        "format(ks)", "format(ks, 8)", "format(ks, @q9)", "format(ks, @s99999999999)", "12abc",
        "ks # 1", "- ks", "ks=0,",
    };
    for (const char* text : bad) {
        FilterExpression filter;
        EXPECT_EQ(filter.compile(text, m_scope), Error::BadExpression) << text;
        EXPECT_EQ(errorCode(), Error::BadExpression) << text;
        EXPECT_FALSE(filter.isValid());
        EXPECT_FALSE(filter.matches()) << text;
    }
    // Nesting far beyond any real text is refused, not a stack overflow.
    const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
    FilterExpression filter;
    EXPECT_EQ(filter.compile(deep, m_scope), Error::BadExpression);
    const std::string nots = [] {
        std::string s;
        for (int i = 0; i < 100000; ++i)
            s += "not ";
        return s + "1";
    }();
    EXPECT_EQ(filter.compile(nots, m_scope), Error::BadExpression);
}

TEST_F(PriceFilter, UnknownNamesGive801)
{
    m_record = m_records[0];
    for (const char* text : {"nosuch = 1", "pr:nosuch = 1", "zz:kod = 1", "lower('a') = 'a'",
                             "ks = 0 and kodstr9 = ''"}) {
        FilterExpression filter;
        EXPECT_EQ(filter.compile(text, m_scope), Error::UnknownVariable) << text;
        EXPECT_EQ(errorCode(), Error::UnknownVariable);
        EXPECT_FALSE(filter.matches()) << text;
    }
    // A good compile afterwards clears the state.
    FilterExpression filter;
    EXPECT_EQ(filter.compile("ks = 0", m_scope), 0);
    EXPECT_EQ(errorCode(), 0);
    EXPECT_TRUE(filter.matches());
}

TEST_F(PriceFilter, EmptyTextLetsEverythingPass)
{
    FilterExpression filter;
    EXPECT_EQ(filter.compile("  ", m_scope), 0);
    EXPECT_TRUE(filter.isEmpty());
    EXPECT_EQ(passing(filter), all);
    FilterExpression never;
    EXPECT_TRUE(never.matches());
}
