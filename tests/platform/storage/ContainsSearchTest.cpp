// Views narrowed by a search copy give the records the plain view gives, in its order: with
// optional keys, equal key values, letter case, texts the copy must leave to the engine, and
// writes of this and of another process.
#include "StorageFixtures.h"

#include "platform/storage/Bindings.h"
#include "platform/storage/ContainsSearch.h"
#include "platform/storage/View.h"

#include <sys/wait.h>
#include <unistd.h>

using namespace platform::storage;
using namespace storagetest;

namespace {

const char* const NameFilter = "s='' or instring(upper(clip(s)),upper(it:name),1)>0";

class ContainsSearchTest : public ItemFileTest
{
protected:
    void SetUp() override
    {
        ItemFileTest::SetUp();
        m_bindings.bind("s", m_sought);
    }

    // The codes the view of a key lists, through a search copy or not.
    std::vector<int> listed(int key, bool throughCopy, bool* usedCopy = nullptr)
    {
        View view(m_file, key);
        EXPECT_EQ(view.setFilter(NameFilter, &m_bindings), 0);
        if (throughCopy)
            view.setContainsSearch(search(key));
        std::vector<int> codes;
        view.setStart();
        if (usedCopy)
            *usedCopy = view.walksThroughIndex();
        while (view.next() == 0)
            codes.push_back(m_file.record<Item>().code);
        return codes;
    }

    std::shared_ptr<ContainsSearch> search(int key)
    {
        auto& made = m_searches[key];
        if (!made)
            made = std::make_shared<ContainsSearch>(m_file, key, "upper(it:name)",
                                                    "upper(clip(s))", "s<>''", &m_bindings);
        return made;
    }

    Bindings m_bindings;
    FixedString<20> m_sought;
    std::map<int, std::shared_ptr<ContainsSearch>> m_searches;
};

TEST_F(ContainsSearchTest, EqualNamesBlankNamesAndLetterCaseComeAsTheFileGivesThem)
{
    // Equal names in every letter case, added out of order; blank names, which the optional
    // name key leaves out; ё and Ё, which the case table pairs.
    const char* const names[] = {"ёЖ", "Ёж", "", "ежевика", "ЁЖИК", "ёж", "  ёж", "ЕЖ", "", "ёж"};
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(addItem(m_file, 100 - i, names[i]), 0);
    for (const char* text : {"ёж", "ЁЖ", "Е", "ж", " ё", "ЁЖИКИ"}) {
        m_sought = w(text);
        for (const int key : {ByName, ByNameCase, ByMakerName}) {
            SCOPED_TRACE(std::string(text) + " key " + std::to_string(key));
            bool usedCopy = false;
            const std::vector<int> fast = listed(key, true, &usedCopy);
            EXPECT_EQ(fast, listed(key, false));
            EXPECT_TRUE(usedCopy);
        }
    }
    m_sought = w("ёж");
    // The four equal names of the "no case" key by record position: 100, 99, 95, 91.
    EXPECT_EQ(listed(ByName, true), (std::vector<int>{94, 100, 99, 95, 91, 96}));
}

// Pages of a list go on beyond a place (key values and position): among equal names too.
TEST_F(ContainsSearchTest, WalksBeyondAPlaceAmongEqualNamesMatchTheFileWalk)
{
    for (int i = 0; i < 30; ++i)
        ASSERT_EQ(addItem(m_file, i, i % 4 ? "ёж" : "ЁЖИК"), 0);
    m_sought = w("Ж");
    const std::vector<int> all = listed(ByName, false);
    ASSERT_EQ(all.size(), 30u);
    for (const std::size_t at : {std::size_t{0}, std::size_t{9}, std::size_t{21}, std::size_t{29}}) {
        for (const bool forward : {true, false}) {
            std::vector<int> met[2];
            for (int through = 0; through < 2; ++through) {
                View view(m_file, ByName);
                ASSERT_EQ(view.setFilter(NameFilter, &m_bindings), 0);
                if (through)
                    view.setContainsSearch(search(ByName));
                // The record at the place, in the buffer, and its position.
                m_file.clearBuffer();
                m_file.record<Item>().code = all[at];
                ASSERT_EQ(m_file.get(ByCode), 0);
                view.setAt(m_file.position());
                EXPECT_EQ(view.walksThroughIndex(), through == 1);
                for (int i = 0; i < 4 && (forward ? view.next() : view.previous()) == 0; ++i)
                    met[through].push_back(m_file.record<Item>().code);
            }
            EXPECT_EQ(met[1], met[0]) << "from " << at << (forward ? " forward" : " backward");
        }
    }
}

TEST_F(ContainsSearchTest, TextsTheCopyCannotDecideAreLeftToTheEngine)
{
    ASSERT_EQ(addItem(m_file, 1, "ab"), 0);
    ASSERT_EQ(addItem(m_file, 2, "a b"), 0);
    ASSERT_EQ(addItem(m_file, 3, "b"), 0);
    bool usedCopy = true;
    m_sought = "";
    EXPECT_EQ(listed(ByName, true, &usedCopy).size(), 3u); // no search: every record
    EXPECT_FALSE(usedCopy);
    // A sought text that ends in blanks meets the padding after the name: the unclipped
    // variable (B and 19 blanks) is only in the name "b".
    View padded(m_file, ByName);
    ASSERT_EQ(padded.setFilter("instring(upper(s),upper(it:name),1)>0", &m_bindings), 0);
    padded.setContainsSearch(std::make_shared<ContainsSearch>(
        m_file, ByName, "upper(it:name)", "upper(s)", "s<>''", &m_bindings));
    m_sought = "B ";
    padded.setStart();
    EXPECT_FALSE(padded.walksThroughIndex());
    EXPECT_EQ(padded.records(), 1);
    padded.setContainsSearch(nullptr);
    EXPECT_EQ(padded.records(), 1);
    // A view in another order than the copy's walks the file.
    View unusual(m_file, ByName);
    ASSERT_EQ(unusual.setFilter(NameFilter, &m_bindings), 0);
    unusual.setContainsSearch(std::make_shared<ContainsSearch>(
        m_file, ByName, "upper(it:name)", "upper(clip(s))", "s<>''", &m_bindings));
    unusual.setKey(ByMaker); // the copy is in another order
    m_sought = "B";
    unusual.setStart();
    EXPECT_FALSE(unusual.walksThroughIndex());
    EXPECT_EQ(unusual.records(), 3);
}

// A walk that rewrites what it walks (as a batch would) meets through the copy the records the
// file's own walk meets: a record moved further on by its own rewrite is not met again, one
// added ahead is, none is skipped.
TEST_F(ContainsSearchTest, WritesDuringAWalkNeitherSkipNorRepeatRecords)
{
    RecordFile twin(itemLayout());
    twin.setDiskName("twin.tps");
    ASSERT_EQ(twin.create(), 0);
    ASSERT_EQ(twin.open(), 0);
    for (RecordFile* file : {&m_file, &twin}) {
        ASSERT_EQ(file->stream(), 0);
        for (int i = 0; i < 24; ++i)
            ASSERT_EQ(addItem(*file, i, (i % 3 ? "ёж " : "уж ") + std::to_string(i % 7)), 0);
        ASSERT_EQ(file->flush(), 0);
    }
    m_sought = w("ёж");
    std::vector<int> met[2];
    for (int through = 0; through < 2; ++through) {
        RecordFile& file = through ? m_file : twin;
        View view(file, ByName);
        ASSERT_EQ(view.setFilter(NameFilter, &m_bindings), 0);
        if (through)
            view.setContainsSearch(std::make_shared<ContainsSearch>(
                file, ByName, "upper(it:name)", "upper(clip(s))", "s<>''", &m_bindings));
        view.setStart();
        int step = 0;
        while (view.next() == 0) {
            Item& item = file.record<Item>();
            met[through].push_back(item.code);
            ++step;
            if (step % 4 == 0) { // moved to the end of the name order, still found
                item.name = w("ёжик ") + std::to_string(item.code);
                ASSERT_EQ(file.put(), 0);
            } else if (step % 5 == 0) { // no longer found
                item.name = w("уж");
                ASSERT_EQ(file.put(), 0);
            } else if (step == 3) { // a new record ahead and one behind
                ASSERT_EQ(addItem(file, 100, "ёж 9"), 0);
                ASSERT_EQ(addItem(file, 101, "ёж 0"), 0);
            }
        }
        EXPECT_EQ(view.walksThroughIndex(), through == 1);
    }
    EXPECT_EQ(met[1], met[0]);
    EXPECT_GT(met[0].size(), 16u);
}

TEST_F(ContainsSearchTest, AnotherProcessWritingTheFileIsSeenAtTheNextSearch)
{
    // Both processes open the file for writing, denying nothing, as a second copy of the
    // program would.
    ASSERT_EQ(m_file.close(), 0);
    ASSERT_EQ(m_file.open(0x42), 0);
    ASSERT_EQ(addItem(m_file, 1, "Фильтр"), 0);
    m_sought = w("фил");
    EXPECT_EQ(listed(ByName, true), (std::vector<int>{1}));
    const pid_t pid = ::fork();
    if (pid == 0) {
        RecordFile other(itemLayout());
        int code = other.open(0x42);
        if (code == 0)
            code = addItem(other, 2, "Фильтр салона");
        if (code == 0)
            code = other.close();
        ::_exit(code);
    }
    int status = -1;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(listed(ByName, true), (std::vector<int>{1, 2}));
    EXPECT_EQ(listed(ByName, false), (std::vector<int>{1, 2}));
}

} // namespace
