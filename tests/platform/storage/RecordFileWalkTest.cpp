#include "StorageFixtures.h"

#include "platform/storage/LogicalThread.h"

#include <algorithm>
#include <set>

using namespace platform::storage;
using namespace storagetest;
using ::testing::ElementsAre;

namespace {

class RecordFileWalk : public ItemFileTest
{
protected:
    void SetUp() override
    {
        ItemFileTest::SetUp();
        // Codes 10, 20 ... 100; names "n01" ... "n10" in reverse code order.
        for (int i = 1; i <= 10; ++i) {
            char name[8];
            std::snprintf(name, sizeof name, "n%02d", 11 - i);
            ASSERT_EQ(addItem(m_file, i * 10, name, i % 2 ? "odd" : "even", i), 0);
        }
    }
};

TEST_F(RecordFileWalk, SetFromBufferStartsAtFirstKeyNotLower)
{
    m_file.clearBuffer();
    m_file.record<Item>().code = 35;
    ASSERT_EQ(m_file.setKeyFromBuffer(ByCode), 0);
    ASSERT_EQ(m_file.next(), 0);
    EXPECT_EQ(m_file.record<Item>().code, 40);

    m_file.record<Item>().code = 40; // an equal value is included
    m_file.setKeyFromBuffer(ByCode);
    ASSERT_EQ(m_file.next(), 0);
    EXPECT_EQ(m_file.record<Item>().code, 40);

    m_file.record<Item>().code = 35; // backwards: the last key not beyond
    m_file.setKeyFromBuffer(ByCode);
    ASSERT_EQ(m_file.previous(), 0);
    EXPECT_EQ(m_file.record<Item>().code, 30);

    m_file.clearBuffer();
    m_file.record<Item>().maker = "odd";
    m_file.record<Item>().name = "n05";
    m_file.setKeyFromBuffer(ByMakerName);
    std::vector<int> codes;
    while (m_file.next() == 0)
        codes.push_back(m_file.record<Item>().code);
    EXPECT_THAT(codes, ElementsAre(50, 30, 10));
}

TEST_F(RecordFileWalk, NextPastTheEndGives33AndLeavesNothingToPut)
{
    m_file.record<Item>().code = 100;
    m_file.setKeyFromBuffer(ByCode);
    ASSERT_EQ(m_file.next(), 0);
    EXPECT_EQ(m_file.next(), Error::RecordNotAvailable);
    EXPECT_EQ(errorCode(), Error::RecordNotAvailable);
    EXPECT_EQ(m_file.next(), Error::RecordNotAvailable);
    EXPECT_EQ(m_file.put(), Error::RecordNotAvailable);
    EXPECT_EQ(m_file.records(), 10);
}

TEST_F(RecordFileWalk, DirectionChangesTurnAtTheLastRecordGiven)
{
    m_file.setKey(ByCode);
    m_file.next();
    m_file.next();
    m_file.next();
    ASSERT_EQ(m_file.previous(), 0);
    EXPECT_EQ(m_file.record<Item>().code, 20);
    ASSERT_EQ(m_file.next(), 0);
    EXPECT_EQ(m_file.record<Item>().code, 30);
}

TEST_F(RecordFileWalk, PutThatMovesKeysDuringAWalkNeitherSkipsNorRepeats)
{
    // Every record moves ahead of the walk: it must still be met once.
    m_file.setKey(ByPrice);
    std::vector<int> codes;
    while (m_file.next() == 0) {
        codes.push_back(m_file.record<Item>().code);
        m_file.record<Item>().price += 100;
        ASSERT_EQ(m_file.put(), 0);
        ASSERT_LT(codes.size(), 20u);
    }
    EXPECT_THAT(codes, ElementsAre(10, 20, 30, 40, 50, 60, 70, 80, 90, 100));

    // Moving behind the walk does not bring a record back either.
    m_file.setKey(ByName);
    std::set<int> seen;
    while (m_file.next() == 0) {
        EXPECT_TRUE(seen.insert(m_file.record<Item>().code).second);
        m_file.record<Item>().name = "a";
        ASSERT_EQ(m_file.put(), 0);
    }
    EXPECT_EQ(seen.size(), 10u);
}

TEST_F(RecordFileWalk, EraseAndAddByOthersDuringAWalk)
{
    m_file.setKey(ByCode);
    std::vector<int> codes;
    while (m_file.next() == 0) {
        const int code = m_file.record<Item>().code;
        codes.push_back(code);
        if (code == 30) {
            ASSERT_EQ(m_file.erase(), 0);
        }
        if (code == 50) {
            // Another thread deletes a record ahead and adds one further on.
            ThreadScope other(2);
            ASSERT_EQ(m_file.open(), 0);
            m_file.record<Item>().code = 70;
            ASSERT_EQ(m_file.get(ByCode), 0);
            ASSERT_EQ(m_file.erase(), 0);
            ASSERT_EQ(addItem(m_file, 75, "new"), 0);
            m_file.close();
        }
    }
    EXPECT_THAT(codes, ElementsAre(10, 20, 30, 40, 50, 60, 75, 80, 90, 100));
    EXPECT_EQ(m_file.records(), 9);
}

TEST_F(RecordFileWalk, LongWalkAcrossReadAheadBatches)
{
    m_file.stream();
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(addItem(m_file, 1000 + i, "x", "m"), 0);
    ASSERT_EQ(m_file.flush(), 0);
    int count = 0;
    int last = -1;
    m_file.setKey(ByCode);
    while (m_file.next() == 0) {
        EXPECT_GT(m_file.record<Item>().code, last);
        last = m_file.record<Item>().code;
        ++count;
    }
    EXPECT_EQ(count, 3010);
    m_file.send("QUICKSCAN=on");
    EXPECT_EQ(static_cast<int>(walk(m_file, ByMaker).size()), 3010);
    EXPECT_EQ(m_file.send("QUICKSCAN=off"), 0);
    EXPECT_NE(m_file.send("SOMETHING=1"), 0);
}

TEST_F(RecordFileWalk, GetEmptyAndRecords)
{
    m_file.clearBuffer();
    m_file.record<Item>().code = 40;
    ASSERT_EQ(m_file.get(ByCode), 0);
    EXPECT_EQ(m_file.record<Item>().name, std::string_view("n07"));
    EXPECT_DOUBLE_EQ(m_file.record<Item>().price, 4);

    m_file.record<Item>().code = 41;
    EXPECT_EQ(m_file.get(ByCode), Error::RecordNotFound);
    m_file.record<Item>().code = 0; // blank values are not in an optional key
    EXPECT_EQ(m_file.get(ByCode), Error::RecordNotFound);
    EXPECT_EQ(m_file.get(99), 77);

    ASSERT_EQ(m_file.empty(), 0);
    EXPECT_EQ(m_file.records(), 0);
    m_file.setFileOrder();
    EXPECT_EQ(m_file.next(), Error::RecordNotAvailable);
}

TEST_F(RecordFileWalk, ValuesSurviveTheRoundTrip)
{
    m_file.clearBuffer();
    Item& item = m_file.record<Item>();
    item.code = -2147483647 - 1;
    item.name = w("  ведущие пробелы");
    item.maker = "0123456789";
    item.price = 1234567.125;
    item.pack = -32768;
    item.mark = 255;
    ASSERT_EQ(m_file.add(), 0);
    m_file.clearBuffer();
    m_file.record<Item>().code = -2147483647 - 1;
    ASSERT_EQ(m_file.get(ByCode), 0);
    EXPECT_EQ(std::string(item.name.view()), w("  ведущие пробелы") + "   ");
    EXPECT_EQ(item.maker, std::string_view("0123456789"));
    EXPECT_DOUBLE_EQ(item.price, 1234567.125);
    EXPECT_EQ(item.pack, -32768);
    EXPECT_EQ(item.mark, 255);
}

} // namespace

namespace {

// Records of one maker ("odd"/"even" alternate in the fixture) are ordered by position.
TEST_F(RecordFileWalk, APlaceAmongEqualKeyValuesIsUniqueByPosition)
{
    m_file.setKey(ByMaker);
    std::vector<int> even;
    std::vector<int64_t> positions;
    while (m_file.next() == 0 && m_file.record<Item>().maker.str() == "even") {
        even.push_back(m_file.record<Item>().code);
        positions.push_back(m_file.position());
    }
    ASSERT_THAT(even, ElementsAre(20, 40, 60, 80, 100));
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));

    // From the third "even" record: forward the fourth, backward the second.
    m_file.clearBuffer();
    m_file.record<Item>().maker = "even";
    ASSERT_EQ(m_file.setKeyAt(ByMaker, positions[2]), 0);
    ASSERT_EQ(m_file.next(), 0);
    EXPECT_EQ(m_file.record<Item>().code, 80);
    m_file.record<Item>().maker = "even";
    ASSERT_EQ(m_file.setKeyAt(ByMaker, positions[2]), 0);
    ASSERT_EQ(m_file.previous(), 0);
    EXPECT_EQ(m_file.record<Item>().code, 40);
    // Beyond the last "even" record the walk goes on with the next maker.
    m_file.record<Item>().maker = "even";
    ASSERT_EQ(m_file.setKeyAt(ByMaker, positions[4]), 0);
    ASSERT_EQ(m_file.next(), 0);
    EXPECT_EQ(m_file.record<Item>().maker.str(), "odd");
    EXPECT_EQ(m_file.record<Item>().code, 10);
}

TEST_F(RecordFileWalk, FileOrderGoesOnFromAPosition)
{
    m_file.setFileOrder();
    m_file.next();
    m_file.next();
    const int64_t second = m_file.position();
    ASSERT_EQ(m_file.setFileOrderAt(second), 0);
    ASSERT_EQ(m_file.next(), 0);
    EXPECT_EQ(m_file.record<Item>().code, 30);
    ASSERT_EQ(m_file.setFileOrderAt(second), 0);
    ASSERT_EQ(m_file.previous(), 0);
    EXPECT_EQ(m_file.record<Item>().code, 10);
}

TEST_F(RecordFileWalk, ReadingByPositionAndPeekingLeaveTheRightRecordToWrite)
{
    m_file.setKey(ByCode);
    m_file.next();
    const int64_t first = m_file.position();
    m_file.next();
    const int64_t second = m_file.position();

    // A peek copies the record elsewhere: the buffer and the record to put stay the second.
    Item peeked{};
    ASSERT_EQ(m_file.peekAt(first, reinterpret_cast<std::byte*>(&peeked)), 0);
    EXPECT_EQ(peeked.code, 10);
    EXPECT_EQ(m_file.record<Item>().code, 20);
    EXPECT_EQ(m_file.position(), second);
    m_file.record<Item>().pack = 99;
    ASSERT_EQ(m_file.put(), 0);

    ASSERT_EQ(m_file.getAt(second), 0);
    EXPECT_EQ(m_file.record<Item>().pack, 99);
    ASSERT_EQ(m_file.getAt(first), 0);
    EXPECT_EQ(m_file.record<Item>().code, 10);
    ASSERT_EQ(m_file.erase(), 0);
    EXPECT_EQ(m_file.position(), 0);
    EXPECT_EQ(m_file.getAt(first), Error::RecordNotFound);
    EXPECT_EQ(m_file.peekAt(first, reinterpret_cast<std::byte*>(&peeked)), Error::RecordNotFound);
    EXPECT_EQ(m_file.put(), Error::RecordNotAvailable); // a failed read leaves nothing to put
}

} // namespace
