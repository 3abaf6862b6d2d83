#include "platform/storage/Bindings.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterExpression.h"

#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <cstring>

using platform::storage::Bindings;
using platform::storage::FilterExpression;
using platform::storage::FilterScope;
using platform::text::FixedString;

namespace {

bool evaluate(const Bindings& bindings, const char* text)
{
    FilterScope scope(&bindings);
    FilterExpression filter(platform::text::w(text), scope);
    EXPECT_TRUE(filter.isValid()) << text << ": " << filter.errorMessage();
    return filter.matches();
}

} // namespace

TEST(Bindings, EveryVariableTypeIsReadAtEvaluationTime)
{
    int32_t longValue = -70000;
    int16_t shortValue = -3;
    uint8_t byteValue = 200;
    double realValue = 2.5;
    FixedString<10> fixed(platform::text::w("Ёж"));
    char buffer[8] = "abc";

    Bindings bindings;
    bindings.bind("LongV", longValue);
    bindings.bind("shortv", shortValue);
    bindings.bind("bytev", byteValue);
    bindings.bind("realv", realValue);
    bindings.bind("fixedv", fixed);
    bindings.bind("cstr", buffer, sizeof buffer);
    EXPECT_EQ(bindings.size(), 6u);

    FilterScope scope(&bindings);
    FilterExpression filter("longv = -70000 and SHORTV = -3 and bytev = 200 and realv = 2.5 "
                            "and fixedv = '" + platform::text::w("Ёж") + "' and cstr = 'abc'",
                            scope);
    ASSERT_TRUE(filter.isValid()) << filter.errorMessage();
    EXPECT_TRUE(filter.matches());

    longValue = 1;
    EXPECT_FALSE(filter.matches());
    longValue = -70000;
    std::strcpy(buffer, "ab"); // the text ends at its zero byte
    EXPECT_FALSE(filter.matches());
    std::strcpy(buffer, "abc");
    EXPECT_TRUE(filter.matches());
    byteValue = 0;
    EXPECT_FALSE(filter.matches());

    // A full buffer without a zero byte is read to its end.
    char full[3] = {'x', 'y', 'z'};
    bindings.bind("full", full, sizeof full);
    EXPECT_TRUE(evaluate(bindings, "full = 'xyz'"));
}

TEST(Bindings, RebindingReplacesAndUnbindForgets)
{
    int32_t first = 1;
    int32_t second = 2;
    Bindings bindings;
    bindings.bind("v", first);
    bindings.bind("V", second);
    EXPECT_EQ(bindings.size(), 1u);
    EXPECT_TRUE(evaluate(bindings, "v = 2"));
    bindings.unbind("v");
    EXPECT_EQ(bindings.find("v"), nullptr);
    FilterScope scope(&bindings);
    FilterExpression filter("v = 2", scope);
    EXPECT_EQ(filter.error(), platform::storage::Error::UnknownVariable);
}
