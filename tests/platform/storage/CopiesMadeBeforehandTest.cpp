// Search copies made beforehand on other threads: a search takes the copy being made and lists
// what the file walk lists, writes made meanwhile are seen, and a write never waits for (or is
// refused because of) a reader of another thread.
#include "tests/support/RefusedThreads.h"
#include "StorageFixtures.h"

#include "platform/storage/BackgroundQueue.h"
#include "platform/storage/BackgroundScan.h"
#include "platform/storage/ContainsCopyBuild.h"
#include "platform/storage/Bindings.h"
#include "platform/storage/ContainsSearch.h"
#include "platform/storage/FilterExpression.h"
#include "platform/storage/FilterScope.h"
#include "platform/storage/FilterSql.h"
#include "platform/storage/View.h"

#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <thread>

using namespace platform::storage;
using namespace storagetest;

namespace {

const char* const NameFilter = "s='' or instring(upper(clip(s)),upper(it:name),1)>0";

class CopiesMadeBeforehand : public ItemFileTest
{
protected:
    void SetUp() override
    {
        ItemFileTest::SetUp();
        m_bindings.bind("s", m_sought);
    }

    void fill(RecordFile& file, int count)
    {
        // Names in both letter cases, blank ones (left out of the optional keys), makers.
        const char* const words[] = {"Фильтр", "ФИЛЬТР", "масляный", "ёж", "ЁЖИК", "", "Ремень"};
        ASSERT_EQ(file.stream(), 0);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(addItem(file, i + 1, std::string(words[i % 7]) + " " + std::to_string(i % 13),
                              i % 3 ? "Bosch" : "MANN"),
                      0);
        ASSERT_EQ(file.flush(), 0);
    }

    std::vector<int> listed(int key, bool throughCopy)
    {
        View view(m_file, key);
        EXPECT_EQ(view.setFilter(NameFilter, &m_bindings), 0);
        if (throughCopy)
            view.setContainsSearch(search(key));
        std::vector<int> codes;
        view.setStart();
        EXPECT_EQ(view.walksThroughIndex(), throughCopy);
        while (view.next() == 0)
            codes.push_back(m_file.record<Item>().code);
        return codes;
    }

    std::shared_ptr<ContainsSearch> search(int key)
    {
        auto& made = m_searches[key];
        if (!made)
            made = std::make_shared<ContainsSearch>(m_file, key, "upper(it:name)", "upper(clip(s))",
                                                    "s<>''", &m_bindings);
        return made;
    }

    // Starts every copy beforehand; true when each is being made.
    bool prepareAll()
    {
        bool all = true;
        for (const int key : Keys) {
            search(key)->index().prepare();
            all = all && search(key)->index().preparing();
        }
        return all;
    }

    std::shared_ptr<const FilterSql> upperName(RecordFile& file)
    {
        FilterScope scope(nullptr);
        scope.addFile(file);
        return FilterSql::translateText(FilterExpression("upper(it:name)", scope), file);
    }

    static constexpr int Keys[] = {ByName, ByNameCase, ByMakerName};
    Bindings m_bindings;
    FixedString<20> m_sought;
    std::map<int, std::shared_ptr<ContainsSearch>> m_searches;
};

TEST_F(CopiesMadeBeforehand, ASearchTakesTheCopyBeingMadeAndSeesEveryWriteMadeMeanwhile)
{
    fill(m_file, 3000);
    const auto sameAsTheFile = [&](const char* when) {
        for (const char* text : {"ФИЛЬТР", "ёж", "1", "ежик 1"}) {
            m_sought = w(text);
            for (const int key : Keys) {
                SCOPED_TRACE(std::string(when) + ": " + text + " key " + std::to_string(key));
                const std::vector<int> plain = listed(key, false);
                EXPECT_EQ(listed(key, true), plain);
            }
        }
    };
    ASSERT_TRUE(prepareAll());
    sameAsTheFile("made beforehand");
    for (const int key : Keys)
        EXPECT_FALSE(search(key)->index().preparing()) << key;
    // Up to date copies are not made again.
    const uint64_t builds = search(ByName)->index().builds();
    search(ByName)->index().prepare();
    EXPECT_FALSE(search(ByName)->index().preparing());

    // A write leaves the copies stale: they are made again beforehand, and writes while they
    // are made stop them, so that the search makes its own of the file as it then is.
    ASSERT_EQ(addItem(m_file, 5000, "новый ФИЛЬТР"), 0);
    ASSERT_TRUE(prepareAll());
    ASSERT_EQ(addItem(m_file, 5001, "ещё ёж"), 0);
    m_file.clearBuffer();
    m_file.record<Item>().code = 7;
    ASSERT_EQ(m_file.get(ByCode), 0);
    m_file.record<Item>().name = w("ёж вместо фильтра");
    ASSERT_EQ(m_file.put(), 0);
    sameAsTheFile("written while made");
    EXPECT_GT(search(ByName)->index().builds(), builds);

    // Inside a run of writes nothing is made beforehand (the records may still roll back).
    ASSERT_EQ(m_file.stream(), 0);
    ASSERT_EQ(addItem(m_file, 5002, "фильтр в потоке"), 0);
    search(ByName)->index().prepare();
    EXPECT_FALSE(search(ByName)->index().preparing());
    ASSERT_EQ(m_file.flush(), 0);
    ASSERT_TRUE(prepareAll());
    sameAsTheFile("after the run");

    // Nor for a file whose writes run in another file's run (a joint run), nor once released.
    RecordFile partner(itemLayout());
    partner.setDiskName("partner.tps");
    ASSERT_EQ(partner.create(), 0);
    ASSERT_EQ(partner.open(), 0);
    ASSERT_EQ(partner.stream(m_file), 0);
    ASSERT_EQ(addItem(m_file, 5003, "фильтр в общем потоке"), 0);
    search(ByName)->index().prepare();
    EXPECT_FALSE(search(ByName)->index().preparing());
    EXPECT_EQ(partner.flush(), 0);
    EXPECT_EQ(m_file.flush(), 0);
    ASSERT_TRUE(prepareAll());
    search(ByName)->index().release();
    EXPECT_FALSE(search(ByName)->index().preparing());
    sameAsTheFile("after the joint run");
}

TEST_F(CopiesMadeBeforehand, ACopyNoThreadCanBeStartedForIsMadeWhereItIsUsed)
{
    fill(m_file, 500);
    {
        const testsupport::RefusedThreads refused;
        // The queue takes the work back at once: it never runs later on a freed ticket.
        BackgroundQueue queue(2);
        bool ran = false;
        const auto ticket = queue.add([&] { ran = true; });
        EXPECT_TRUE(ticket->withdraw());
        std::optional<ContainsCopyBuild> build;
        EXPECT_NO_THROW(build.emplace(m_file.backgroundScan(ByName, upperName(m_file)), queue));
        EXPECT_FALSE(build->take().has_value());
        build.reset();
        EXPECT_FALSE(ran);

        // A search whose copy could not be made beforehand lists what the file walk lists.
        m_sought = w("ФИЛЬТР");
        for (const int key : Keys) {
            SCOPED_TRACE(key);
            EXPECT_NO_THROW(search(key)->index().prepare());
            EXPECT_EQ(listed(key, true), listed(key, false));
        }
    }
    // Once threads are given again the queue works as before.
    BackgroundQueue queue(1);
    bool ran = false;
    queue.add([&] { ran = true; })->wait();
    EXPECT_TRUE(ran);
}

TEST_F(CopiesMadeBeforehand, AWriteStopsAReaderOfAnotherThreadAndGoesOnAtOnce)
{
    fill(m_file, 2000);
    const auto nothing = [](int64_t) {};
    // A reader that takes its time over each record, so that it is still reading when the
    // write comes.
    std::unique_ptr<BackgroundScan> scan = m_file.backgroundScan(ByName, upperName(m_file));
    ASSERT_NE(scan, nullptr);
    std::promise<void> reading;
    std::atomic<int> given{0};
    std::future<BackgroundScan::Result> result = std::async(std::launch::async, [&] {
        return scan->run(nothing, [&](int64_t, std::string_view) {
            if (++given == 1)
                reading.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            return true;
        });
    });
    reading.get_future().wait();
    // Not refused as busy, and not waiting for the whole walk (2000 records, 4 s).
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(addItem(m_file, 9001, "записано"), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(result.get(), BackgroundScan::Result::Stopped);
    EXPECT_LT(given.load(), 2000);

    // A scan made before a write reads nothing of the file once the write has begun.
    std::unique_ptr<BackgroundScan> late = m_file.backgroundScan(ByName, upperName(m_file));
    ASSERT_EQ(addItem(m_file, 9002, "ещё"), 0);
    int lateGiven = 0;
    EXPECT_EQ(late->run(nothing, [&](int64_t, std::string_view) { return ++lateGiven > 0; }),
              BackgroundScan::Result::Stopped);
    EXPECT_EQ(lateGiven, 0);

    // One made now reads every record of the key (blank names are not in it) as they are.
    std::unique_ptr<BackgroundScan> whole = m_file.backgroundScan(ByName, upperName(m_file));
    int64_t expected = 0;
    std::vector<int64_t> positions;
    EXPECT_EQ(std::async(std::launch::async,
                         [&] {
                             return whole->run([&](int64_t largest) { expected = largest; },
                                               [&](int64_t position, std::string_view) {
                                                   positions.push_back(position);
                                                   return true;
                                               });
                         })
                  .get(),
              BackgroundScan::Result::Complete);
    std::vector<int64_t> walked;
    m_file.setKey(ByName);
    while (m_file.next() == 0)
        walked.push_back(m_file.position());
    EXPECT_EQ(positions, walked);
    EXPECT_GE(expected, static_cast<int64_t>(walked.size()));

    // An enciphered file is read with its key.
    RecordFile secret(itemLayout("owner"));
    secret.setDiskName("secret.tps");
    ASSERT_EQ(secret.create(), 0);
    ASSERT_EQ(secret.open(), 0);
    fill(secret, 40);
    std::unique_ptr<BackgroundScan> enciphered = secret.backgroundScan(ByName, upperName(secret));
    std::vector<int64_t> secretPositions;
    EXPECT_EQ(std::async(std::launch::async,
                         [&] {
                             return enciphered->run(nothing,
                                                    [&](int64_t position, std::string_view) {
                                                        secretPositions.push_back(position);
                                                        return true;
                                                    });
                         })
                  .get(),
              BackgroundScan::Result::Complete);
    std::vector<int64_t> secretWalked;
    secret.setKey(ByName);
    while (secret.next() == 0)
        secretWalked.push_back(secret.position());
    EXPECT_EQ(secretPositions, secretWalked);
    EXPECT_FALSE(secretWalked.empty());

    // Closing the file stops a reader; none is made inside a run of writes.
    std::unique_ptr<BackgroundScan> closing = m_file.backgroundScan(ByName, upperName(m_file));
    ASSERT_EQ(m_file.close(), 0);
    EXPECT_EQ(closing->run(nothing, [](int64_t, std::string_view) { return true; }),
              BackgroundScan::Result::Stopped);
    ASSERT_EQ(m_file.open(), 0);
    ASSERT_EQ(m_file.stream(), 0);
    EXPECT_EQ(m_file.backgroundScan(ByName, upperName(m_file)), nullptr);
    EXPECT_EQ(m_file.flush(), 0);
}

} // namespace
