#include "platform/storage/Queue.h"

#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using platform::storage::Queue;
namespace Error = platform::storage::Error;
using platform::storage::errorCode;
using platform::text::FixedString;

namespace {

// The error-text index: a code and the field number of its text.
struct ErrEntry
{
    int32_t code;
    int32_t message;
};

struct NameEntry
{
    FixedString<50> n;
};

} // namespace

TEST(Queue, ErrorIndexInAscendingKeyOrderFoundByKey)
{
    Queue<ErrEntry> q;
    // Rows are not sorted in the table: lower codes follow higher ones.
    const int32_t codes[] = {0, 5, 2404, 1200, 1938, 6118, 2000, 12168, 12157, 12170, -3};
    int32_t field = 2;
    for (int32_t code : codes) {
        q.buffer() = {code, field};
        ASSERT_EQ(q.addOrdered(&ErrEntry::code), 0);
        field += 2;
    }
    ASSERT_EQ(q.records(), std::size(codes));
    for (std::size_t i = 2; i <= q.records(); ++i)
        EXPECT_LT(q.at(i - 1).code, q.at(i).code);

    q.buffer().code = 12157;
    q.buffer().message = 0;
    ASSERT_EQ(q.getByKey(&ErrEntry::code), 0);
    EXPECT_EQ(q.buffer().message, 18);
    EXPECT_EQ(q.at(q.position()).code, 12157);

    for (int32_t absent : {1, 12169, 99999, -4}) {
        q.buffer().code = absent;
        EXPECT_EQ(q.getByKey(&ErrEntry::code), Error::QueueEntryNotFound) << absent;
        EXPECT_EQ(errorCode(), Error::QueueEntryNotFound);
    }
    q.buffer().code = -3;
    EXPECT_EQ(q.getByKey(&ErrEntry::code), 0);
    EXPECT_EQ(errorCode(), 0);
    EXPECT_EQ(q.position(), 1u);
}

TEST(Queue, EqualKeysGoAfterExistingOnes)
{
    Queue<ErrEntry> q;
    for (auto [code, tag] : {std::pair{5, 1}, {3, 2}, {5, 3}, {3, 4}, {5, 5}}) {
        q.buffer() = {code, tag};
        q.addOrdered([](const ErrEntry& a, const ErrEntry& b) { return a.code < b.code; });
    }
    std::string order;
    for (std::size_t i = 1; i <= q.records(); ++i)
        order += std::to_string(q.at(i).message);
    EXPECT_EQ(order, "24135");
    // A lookup finds the first of equal keys.
    q.buffer().code = 5;
    ASSERT_EQ(q.getByKey(&ErrEntry::code), 0);
    EXPECT_EQ(q.buffer().message, 1);
}

TEST(Queue, GetByPositionIsOneBasedWith30OutOfRange)
{
    Queue<NameEntry> q;
    EXPECT_EQ(q.get(1), Error::QueueEntryNotFound);
    for (const char* name : {"ВАЗ", "ГАЗ", "КАМАЗ"}) {
        q.buffer().n = platform::text::w(name);
        q.append();
    }
    EXPECT_EQ(q.get(0), Error::QueueEntryNotFound);
    EXPECT_EQ(q.get(4), Error::QueueEntryNotFound);
    ASSERT_EQ(q.get(2), 0);
    EXPECT_EQ(q.buffer().n, platform::text::w("ГАЗ"));
    ASSERT_EQ(q.get(3), 0);
    EXPECT_EQ(q.buffer().n, platform::text::w("КАМАЗ"));
}

TEST(Queue, PutAndEraseAtTheCurrentPosition)
{
    Queue<NameEntry> q;
    for (const char* name : {"a", "b", "c", "d"}) {
        q.buffer().n = std::string_view(name);
        q.append();
    }
    EXPECT_EQ(q.put(), 0); // after append the position is the new entry
    ASSERT_EQ(q.get(2), 0);
    q.buffer().n = std::string_view("B");
    ASSERT_EQ(q.put(), 0);
    ASSERT_EQ(q.get(3), 0);
    ASSERT_EQ(q.erase(), 0);
    ASSERT_EQ(q.get(q.position() + 1), 0); // the walk goes on with the entry after "c"
    EXPECT_EQ(q.buffer().n, std::string_view("d"));
    ASSERT_EQ(q.records(), 3u);
    EXPECT_EQ(q.at(2).n, std::string_view("B"));

    // Strings in key order ignore trailing blanks.
    Queue<NameEntry> sorted;
    for (const char* name : {"b", "a ", "c", "a"}) {
        sorted.buffer().n = std::string_view(name);
        sorted.addOrdered(&NameEntry::n);
    }
    sorted.buffer().n = std::string_view("c  ");
    ASSERT_EQ(sorted.getByKey(&NameEntry::n), 0);
    EXPECT_EQ(sorted.position(), 4u);

    q.free();
    EXPECT_EQ(q.records(), 0u);
    EXPECT_EQ(q.put(), Error::QueueEntryNotFound);
    EXPECT_EQ(q.erase(), Error::QueueEntryNotFound);
    q.append();
    EXPECT_EQ(q.records(), 1u);
    q.release();
    EXPECT_EQ(q.records(), 0u);
}
