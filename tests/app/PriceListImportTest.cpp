#include "app/ipmprice/PriceListImport.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace app;
using platform::text::w;

struct Item
{
    int32_t code;
    std::string name;
    double price;
    uint8_t mark;
    std::string group;
};

class PriceListImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DictionaryInit();
        ASSERT_EQ(RelatePRIOSN->open(), 0);
        ASSERT_EQ(RelatePROIZ->open(), 0);
    }
    void TearDown() override
    {
        RelatePRIOSN->close();
        RelatePROIZ->close();
        DictionaryKill();
    }

    int load(const std::string& text, std::string name = "price.txt")
    {
        testsupport::writeFileBytes(m_folder.file(name), text);
        PriceListImport import;
        const int code = import.run(name);
        m_failure = import.failure();
        return code;
    }

    static std::vector<Item> items()
    {
        std::vector<Item> result;
        PRIOSN().setFileOrder();
        while (PRIOSN().next() == 0)
            result.push_back({PR().KOD, PR().NAIM.str(), PR().CENA, PR().KODCENA, PR().GRUP.str()});
        return result;
    }
    static std::vector<std::string> makers()
    {
        std::vector<std::string> result;
        PROIZ().setFileOrder();
        while (PROIZ().next() == 0)
            result.push_back(P().NAIM.str());
        return result;
    }
    static std::map<int32_t, uint8_t> marks()
    {
        std::map<int32_t, uint8_t> result;
        for (const Item& item : items())
            result[item.code] = item.mark;
        return result;
    }

    testsupport::TempWorkFolder m_folder;
    std::string m_failure;
};

TEST_F(PriceListImportTest, ALineBecomesOneItem)
{
    ASSERT_EQ(load("7;A-1;Bolt;Car;10;12.50;Maker;;0.5;G\n"), 0);
    PR().KOD = 7;
    ASSERT_EQ(PRIOSN().get(PR_pokod), 0);
    EXPECT_EQ(PR().KOD2, 7);
    EXPECT_EQ(PR().KOLVUP, 10);
    EXPECT_DOUBLE_EQ(PR().CENA, 12.5);
    EXPECT_DOUBLE_EQ(PR().VES, 0.5);
    EXPECT_EQ(PR().GRUP.str(), "G");
    EXPECT_EQ(PR().OBOZ.str(), "A-1");
    EXPECT_EQ(PR().PRIMEN.str(), "Car");
    EXPECT_EQ(PR().PROIZV.str(), "Maker");
    EXPECT_EQ(PR().KODCENA, 0);
}

TEST_F(PriceListImportTest, CrLfAndLfEndingsGiveTheSameListAndAnUnendedLineIsLeftOut)
{
    ASSERT_EQ(load("1;a;N1;;1;1;M;;;G\r\n2;b;N2;;1;2;M;;;G\r\n3;c;N3;;1;3;M;;;G"), 0);
    const auto crlf = items();
    ASSERT_EQ(load("1;a;N1;;1;1;M;;;G\n2;b;N2;;1;2;M;;;G\n3;c;N3;;1;3;M;;;G"), 0);
    const auto lf = items();
    ASSERT_EQ(crlf.size(), 2u);
    ASSERT_EQ(lf.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(crlf[i].code, lf[i].code);
        EXPECT_EQ(crlf[i].name, lf[i].name);
        EXPECT_EQ(crlf[i].group, "G");
    }
}

TEST_F(PriceListImportTest, ALongLineIsCutAtFiveHundredCharacters)
{
    // The group starts inside the first 500 characters and is cut there; the rest is dropped.
    const std::string head = "9;D;N;;1;1;M;;;";
    const std::string line = head + std::string(500 - head.size() - 3, ' ') + "GRP" + "TAIL;X";
    ASSERT_EQ(line.size(), 506u);
    ASSERT_EQ(load(line + "\n"), 0);
    const auto all = items();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].group, "");
    EXPECT_EQ(all[0].code, 9);
    ASSERT_EQ(load(head + "GRP" + std::string(600, 'x') + "\n"), 0);
    EXPECT_EQ(items()[0].group, "GRP" + std::string(47, 'x'));
}

TEST_F(PriceListImportTest, PriceMarksAndVanishedItems)
{
    ASSERT_EQ(load("1;;A;;1;10;M;;;G\n2;;B;;1;10;M;;;G\n3;;C;;1;10;M;;;G\n4;;D;;1;10;M;;;G\n"), 0);
    ASSERT_EQ(load("1;;A;;1;10;M;;;G\n2;;B;;1;9.5;M;;;G\n3;;C;;1;10.5;M;;;G\n5;;E;;1;7;M;;;G\n"),
              0);
    EXPECT_EQ(marks(), (std::map<int32_t, uint8_t>{{1, 0}, {2, 1}, {3, 2}, {5, 0}}));
    // A repeated code: the last line wins, its mark compares with the earlier line's price.
    ASSERT_EQ(load("1;;A;;1;10;M;;;G\n1;;A2;;1;12;M;;;G\n"), 0);
    const auto all = items();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].name, "A2");
    EXPECT_DOUBLE_EQ(all[0].price, 12);
    EXPECT_EQ(all[0].mark, 2);
}

TEST_F(PriceListImportTest, ManufacturersOnceWhateverTheirCaseAndTheBlankOnce)
{
    ASSERT_EQ(load(w("1;;;;;1;Bosch;;;G\n2;;;;;1;BOSCH;;;G\n3;;;;;1;  bosch;;;G\n"
                     "4;;;;;1;Ёлка;;;G\n5;;;;;1;ёлка;;;G\n6;;;;;1;;;;G\n7;;;;;1;  ;;;G\n")),
              0);
    EXPECT_EQ(makers(), (std::vector<std::string>{"Bosch", w("Ёлка"), ""}));
    // The list is rebuilt by every load.
    ASSERT_EQ(load("1;;;;;1;Mann;;;G\n"), 0);
    EXPECT_EQ(makers(), (std::vector<std::string>{"Mann"}));
}

TEST_F(PriceListImportTest, CodeZeroLinesAreAlwaysNewAndStoredOnesGo)
{
    ASSERT_EQ(load("0;;first;;;1;M;;;G\n0;;second;;;1;M;;;G\n"), 0);
    EXPECT_EQ(items().size(), 2u);
    ASSERT_EQ(load("0;;third;;;1;M;;;G\n"), 0);
    const auto all = items();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].name, "third");
}

TEST_F(PriceListImportTest, ShortAndEmptyLinesCorruptNoOtherItem)
{
    ASSERT_EQ(load("1;;A;;2;10;M;;3;G1\n\n   \n2;;B\n"), 0);
    const auto all = items();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].code, 1);
    EXPECT_EQ(all[0].name, "A");
    EXPECT_EQ(all[0].group, "G1");
    EXPECT_DOUBLE_EQ(all[0].price, 10);
    EXPECT_EQ(all[1].code, 2);
    EXPECT_EQ(all[1].name, ""); // not the previous line's
    EXPECT_EQ(all[1].group, "B");
    EXPECT_DOUBLE_EQ(all[1].price, 0);
}

TEST_F(PriceListImportTest, AFileThatCannotBeOpenedChangesNothing)
{
    ASSERT_EQ(load("1;;A;;1;10;Bosch;;;G\n"), 0);
    PriceListImport import;
    EXPECT_EQ(import.run("missing.txt"), 2);
    EXPECT_EQ(import.failure().rfind(w("Ошибка открытия файла missing.txt"), 0), 0u)
        << import.failure();
    // A folder opens but cannot be read.
    std::filesystem::create_directory(m_folder.file("folder.txt"));
    EXPECT_NE(import.run("folder.txt"), 0);
    const auto all = items();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].code, 1);
    EXPECT_EQ(makers(), (std::vector<std::string>{"Bosch"}));
}

TEST_F(PriceListImportTest, TheCounterReachesEveryLineAndRecord)
{
    ASSERT_EQ(load("1;;A;;1;1;M;;;G\n2;;B;;1;1;M;;;G\n3;;C;;1;1;M;;;G\n"), 0);
    testsupport::writeFileBytes(m_folder.file("p.txt"), "1;;A;;1;1;M;;;G\n\n");
    std::vector<std::pair<PriceListImport::Phase, int64_t>> seen;
    PriceListImport import(
        [&](PriceListImport::Phase phase, int64_t n) { seen.emplace_back(phase, n); }, 1);
    ASSERT_EQ(import.run("p.txt"), 0);
    using P = PriceListImport::Phase;
    const std::vector<std::pair<P, int64_t>> expected{
        {P::Initialise, 1}, {P::Initialise, 2}, {P::Initialise, 3}, {P::Initialise, 3},
        {P::Update, 1},     {P::Update, 2},     {P::Update, 2}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(items().size(), 1u);
}

TEST_F(PriceListImportTest, AKilledLoadLeavesThePreviousListsWhole)
{
    ASSERT_EQ(load("1;;A;;1;10;Bosch;;;G\n2;;B;;1;10;Mann;;;G\n"), 0);
    std::string lines;
    for (int i = 1; i <= 20000; ++i)
        lines += std::to_string(i) + ";;N;;1;5;Maker" + std::to_string(i % 7) + ";;;G\n";
    testsupport::writeFileBytes(m_folder.file("big.txt"), lines);
    // The files' locks must not pass to the child.
    RelatePRIOSN->close();
    RelatePROIZ->close();
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        RelatePRIOSN->open();
        RelatePROIZ->open();
        PriceListImport import(
            [](PriceListImport::Phase, int64_t counter) {
                if (counter >= 15000)
                    std::raise(SIGKILL);
            },
            1000);
        import.run("big.txt");
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(RelatePRIOSN->open(), 0);
    ASSERT_EQ(RelatePROIZ->open(), 0);
    const auto all = items();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].code, 1);
    EXPECT_EQ(all[1].code, 2);
    EXPECT_EQ(makers(), (std::vector<std::string>{"Bosch", "Mann"}));
}

} // namespace
