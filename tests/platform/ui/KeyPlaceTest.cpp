#include "platform/storage/Layout.h"
#include "platform/text/Collation.h"
#include "platform/text/Cp1251.h"
#include "platform/text/FixedString.h"
#include "platform/ui/list/KeyPlace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using platform::ui::KeyPlace;

namespace {

#pragma pack(push, 1)
struct Part
{
    platform::text::FixedString<12> maker;
    int32_t number;
};
#pragma pack(pop)

enum { ByMaker, ByMakerNumber, ByNumber };

const platform::storage::FileLayout& layout()
{
    static const auto built = platform::storage::LayoutBuilder<Part>("PARTS", "PT")
                                  .field("MAKER", &Part::maker)
                                  .field("NUMBER", &Part::number)
                                  .key("bymaker", {"MAKER"}, {.noCase = true})
                                  .key("bymakernumber", {"MAKER", "NUMBER"}, {.noCase = true})
                                  .key("bynumber", {"NUMBER"}, {.unique = true})
                                  .build();
    return built;
}

Part part(const std::string& utf8, int32_t number)
{
    Part p{};
    p.maker = platform::text::w(utf8);
    p.number = number;
    return p;
}

const std::byte* bytes(const Part& p)
{
    return reinterpret_cast<const std::byte*>(&p);
}

// Names in key order (no case: capitals equal small letters; Ё right after Е), with repeats.
std::vector<Part> sortedMakers()
{
    std::vector<Part> parts;
    int n = 0;
    for (const char* name : {"", "1st", "ABC", "abc", "Abd", "b", "Bosch", "Z", "zz", "Аист", "Ель",
                             "ель", "Ёж", "Жук", "Жук", "Я", "яя"})
        parts.push_back(part(name, n++));
    std::stable_sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
        return platform::text::compareNoCase(a.maker.view(), b.maker.view()) < 0;
    });
    return parts;
}

TEST(KeyPlace, TextKeysPlaceRecordsInOrderFromNoughtToOne)
{
    const std::vector<Part> parts = sortedMakers();
    KeyPlace place(layout(), ByMaker);
    place.setEnds(bytes(parts.front()), 1, bytes(parts.back()), 17);
    double before = -1.0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const double at = place.fraction(bytes(parts[i]), static_cast<int64_t>(i + 1));
        EXPECT_GE(at, before) << i;
        before = at;
    }
    EXPECT_EQ(place.fraction(bytes(parts.front()), 1), 0.0);
    EXPECT_EQ(place.fraction(bytes(parts.back()), 17), 1.0);
}

TEST(KeyPlace, EqualLeadingComponentsLeaveTheDecisionToTheNext)
{
    KeyPlace place(layout(), ByMakerNumber);
    place.setEnds(bytes(part("Bosch", 100)), 5, bytes(part("BOSCH", 300)), 2);
    EXPECT_DOUBLE_EQ(place.fraction(bytes(part("bosch", 200)), 9), 0.5);

    // The way back: the values of the first end with the number half way.
    Part target{};
    EXPECT_EQ(place.target(0.25, reinterpret_cast<std::byte*>(&target)), 0);
    EXPECT_EQ(target.maker.str(), "Bosch");
    EXPECT_EQ(target.number, 150);
}

TEST(KeyPlace, EndsWithEqualValuesArePlacedByPosition)
{
    KeyPlace place(layout(), ByMaker);
    place.setEnds(bytes(part("Same", 1)), 100, bytes(part("same", 2)), 300);
    EXPECT_DOUBLE_EQ(place.fraction(bytes(part("Same", 3)), 200), 0.5);
    Part target{};
    EXPECT_EQ(place.target(0.75, reinterpret_cast<std::byte*>(&target)), 250);
    EXPECT_EQ(target.maker.str(), "Same");

    KeyPlace file(layout(), -1);
    file.setEnds(bytes(part("x", 1)), 1, bytes(part("a", 2)), 1001);
    EXPECT_DOUBLE_EQ(file.fraction(bytes(part("m", 3)), 501), 0.5);
}

TEST(KeyPlace, ATextTargetSpellsAValueBetweenTheEnds)
{
    KeyPlace place(layout(), ByMaker);
    const Part first = part("Аист", 1);
    const Part last = part("Як", 2);
    place.setEnds(bytes(first), 1, bytes(last), 2);
    Part target{};
    place.target(0.5, reinterpret_cast<std::byte*>(&target));
    EXPECT_GT(platform::text::compareNoCase(target.maker.view(), first.maker.view()), 0);
    EXPECT_LT(platform::text::compareNoCase(target.maker.view(), last.maker.view()), 0);
    EXPECT_NEAR(place.fraction(bytes(target), 1), 0.5, 0.01);
}

} // namespace
