#include "StorageFixtures.h"

#include "platform/storage/sqlite/QualifiedSql.h"

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace platform::storage;
using namespace storagetest;

namespace {

// An item file and a contact file written as one unit.
class JointStream : public ItemFileTest
{
protected:
    void SetUp() override
    {
        ItemFileTest::SetUp();
        ASSERT_EQ(m_contacts.create(), 0);
        ASSERT_EQ(m_contacts.open(), 0);
        ASSERT_EQ(addItem(m_file, 1, "old"), 0);
        ASSERT_EQ(addContact("old"), 0);
    }

    int addContact(const std::string& name)
    {
        m_contacts.clearBuffer();
        m_contacts.record<Contact>().name = w(name);
        return m_contacts.add();
    }

    std::vector<std::string> contacts()
    {
        std::vector<std::string> names;
        m_contacts.setFileOrder();
        while (m_contacts.next() == 0)
            names.push_back(m_contacts.record<Contact>().name.str());
        return names;
    }

    // Both files emptied and filled with `count` new records each.
    void rewriteBoth(int count)
    {
        ASSERT_EQ(m_file.stream(m_contacts), 0);
        ASSERT_EQ(m_file.empty(), 0);
        ASSERT_EQ(m_contacts.empty(), 0);
        for (int i = 1; i <= count; ++i) {
            ASSERT_EQ(addItem(m_file, i, "new"), 0);
            ASSERT_EQ(addContact("new" + std::to_string(i)), 0);
        }
    }

    RecordFile m_contacts{contactLayout()};
};

TEST_F(JointStream, BothFilesKeepTheRunOrNeither)
{
    rewriteBoth(3);
    // Inside the run each file reads its own writes, by key and in file order.
    EXPECT_EQ(walk(m_file, ByCode), (std::vector<int>{1, 2, 3}));
    m_contacts.clearBuffer();
    m_contacts.record<Contact>().name = w("new2");
    EXPECT_EQ(m_contacts.get(0), 0);
    EXPECT_EQ(m_contacts.records(), 3);
    // A duplicate is still refused by the partner's unique key and breaks nothing.
    EXPECT_EQ(addContact("new1"), Error::DuplicateKey);

    EXPECT_EQ(m_contacts.discard(), 0);
    EXPECT_EQ(m_file.discard(), 0);
    EXPECT_EQ(walk(m_file, -1), (std::vector<int>{1}));
    EXPECT_EQ(contacts(), (std::vector<std::string>{"old"}));

    rewriteBoth(2);
    EXPECT_EQ(m_contacts.flush(), 0);
    EXPECT_EQ(m_file.flush(), 0);
    EXPECT_EQ(walk(m_file, -1), (std::vector<int>{1, 2}));
    EXPECT_EQ(contacts(), (std::vector<std::string>{"new1", "new2"}));

    // After the run each file writes on its own again.
    EXPECT_EQ(addContact("alone"), 0);
    EXPECT_EQ(m_contacts.records(), 3);
}

TEST_F(JointStream, OneFileGivingUpTakesThePartnersWritesBack)
{
    rewriteBoth(2);
    EXPECT_EQ(m_file.discard(), 0);
    // The partner's later writes and its flush are refused: nothing of the run is kept.
    EXPECT_EQ(addContact("late"), Error::StreamError);
    EXPECT_EQ(m_contacts.flush(), Error::StreamError);
    EXPECT_EQ(contacts(), (std::vector<std::string>{"old"}));
    EXPECT_EQ(walk(m_file, -1), (std::vector<int>{1}));
}

TEST_F(JointStream, ARunIsRefusedWhileEitherFileIsInOne)
{
    ASSERT_EQ(m_contacts.stream(), 0);
    EXPECT_EQ(m_file.stream(m_contacts), Error::StreamError);
    EXPECT_EQ(m_contacts.flush(), 0);
    m_contacts.close();
    ASSERT_EQ(m_contacts.open(0x20), 0);
    EXPECT_EQ(m_file.stream(m_contacts), Error::AccessDenied);
}

TEST_F(JointStream, AProcessKilledAtAnyMomentLeavesBothOldOrBothNew)
{
    m_file.close();
    m_contacts.close();
    std::mt19937 random(20261209);
    int sawOld = 0;
    int sawNew = 0;
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            RecordFile items{itemLayout()};
            RecordFile names{contactLayout()};
            if (items.open() || names.open() || items.stream(names))
                ::_exit(1);
            items.empty();
            names.empty();
            for (int i = 1; i <= 3000; ++i) {
                addItem(items, i, "new");
                names.clearBuffer();
                names.record<Contact>().name = w("new" + std::to_string(i));
                names.add();
            }
            names.flush();
            items.flush();
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 120000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        ASSERT_EQ(m_file.open(), 0);
        ASSERT_EQ(m_contacts.open(), 0);
        const int64_t items = m_file.records();
        const int64_t names = m_contacts.records();
        const bool old = items == 1 && names == 1;
        const bool fresh = items == 3000 && names == 3000;
        EXPECT_TRUE(old || fresh) << "round " << round << ": " << items << " items, " << names
                                  << " names";
        sawOld += old;
        sawNew += fresh;
        if (fresh) {
            // Back to the old state for the next round.
            ASSERT_EQ(m_file.stream(m_contacts), 0);
            m_file.empty();
            m_contacts.empty();
            addItem(m_file, 1, "old");
            addContact("old");
            ASSERT_EQ(m_contacts.flush(), 0);
            ASSERT_EQ(m_file.flush(), 0);
        }
        m_file.close();
        m_contacts.close();
    }
    EXPECT_GT(sawOld, 0);
}

TEST(JointStreamKeys, AnEncipheredFileJoinsAPlainOneAndTheOtherWayRound)
{
    testsupport::TempWorkFolder folder;
    RecordFile secret{itemLayout("owner")};
    RecordFile plain{contactLayout()};
    ASSERT_EQ(secret.create(), 0);
    ASSERT_EQ(plain.create(), 0);
    ASSERT_EQ(secret.open(), 0);
    ASSERT_EQ(plain.open(), 0);
    for (const bool secretHosts : {true, false}) {
        RecordFile& host = secretHosts ? secret : plain;
        RecordFile& partner = secretHosts ? plain : secret;
        ASSERT_EQ(host.stream(partner), 0);
        ASSERT_EQ(addItem(secret, secretHosts ? 1 : 2, "secret"), 0);
        plain.clearBuffer();
        plain.record<Contact>().name = w(secretHosts ? "one" : "two");
        ASSERT_EQ(plain.add(), 0);
        EXPECT_EQ(partner.flush(), 0);
        EXPECT_EQ(host.flush(), 0);
    }
    secret.close();
    plain.close();
    // Each file keeps its own key: reopened on its own, both read back.
    ASSERT_EQ(secret.open(), 0);
    ASSERT_EQ(plain.open(), 0);
    EXPECT_EQ(walk(secret, ByCode), (std::vector<int>{1, 2}));
    EXPECT_EQ(plain.records(), 2);
    EXPECT_EQ(testsupport::readFileBytes(folder.file("items.tps")).find("secret"),
              std::string::npos);
}

TEST(QualifiedSql, NamesTheTableInTheAttachedFileOnly)
{
    using platform::storage::sqlite::qualifiedSql;
    EXPECT_EQ(qualifiedSql("SELECT count(*) FROM records", "j1"), "SELECT count(*) FROM j1.records");
    EXPECT_EQ(qualifiedSql("UPDATE records SET \"records\" = 'records' WHERE rowid = ?1", "j1"),
              "UPDATE j1.records SET \"records\" = 'records' WHERE rowid = ?1");
    EXPECT_EQ(qualifiedSql("SELECT x FROM records INDEXED BY key_1 WHERE \"a\"\"records\" = 1 "
                           "AND y = 'it''s records'",
                           "j1"),
              "SELECT x FROM j1.records INDEXED BY key_1 WHERE \"a\"\"records\" = 1 "
              "AND y = 'it''s records'");
    EXPECT_EQ(qualifiedSql("SELECT myrecords, records_2 FROM main.records", "j1"),
              "SELECT myrecords, records_2 FROM main.records");
}

} // namespace
