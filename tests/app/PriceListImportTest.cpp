#include "app/ipmprice/PriceListImport.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ByteFile.h"
#include "platform/text/Cp1251.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>
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
        // A file of odd lines is asked about; the answer is the test's.
        import.setQuestion([this](const std::string& question) {
            m_questions.push_back(question);
            return m_answer;
        });
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
    std::vector<std::string> m_questions;
    bool m_answer = true;
};

TEST_F(PriceListImportTest, ALineBecomesOneItem)
{
    ASSERT_EQ(load("7;A-1;Bolt;Car;10;12.50;Maker;;0.5;G\n"), 0);
    PR().KOD = 7;
    ASSERT_EQ(PRIOSN().get(PR_pokod), 0);
    // Copied out: the packed record's fields cannot be bound by reference.
    EXPECT_EQ(int32_t{PR().KOD2}, 7);
    EXPECT_EQ(int16_t{PR().KOLVUP}, 10);
    EXPECT_DOUBLE_EQ(double{PR().CENA}, 12.5);
    EXPECT_DOUBLE_EQ(double{PR().VES}, 0.5);
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

namespace {

using namespace app;
using platform::text::w;

class PriceListImportSafety : public PriceListImportTest
{
protected:
    void loadOld() { ASSERT_EQ(load("1;;A;;1;10;Bosch;;;G\n2;;B;;1;10;Mann;;;G\n", "old.txt"), 0); }

    void expectOld()
    {
        const auto all = items();
        ASSERT_EQ(all.size(), 2u);
        EXPECT_EQ(all[0].code, 1);
        EXPECT_EQ(all[1].code, 2);
        EXPECT_EQ(makers(), (std::vector<std::string>{"Bosch", "Mann"}));
    }

    static std::string bigList(int lines, int makers)
    {
        std::string text;
        text.reserve(static_cast<std::size_t>(lines) * 40);
        for (int i = 1; i <= lines; ++i)
            text += std::to_string(i) + ";D;Name;;1;5.5;Maker" + std::to_string(i % makers)
                    + ";;0.1;G\n";
        return text;
    }
};

TEST_F(PriceListImportSafety, AReadErrorDuringTheLoadChangesNothingAndSaysSo)
{
    loadOld();
    testsupport::writeFileBytes(m_folder.file("in.txt"), bigList(20000, 300));
    platform::storage::ByteFile::failReadsFrom(300000, EIO);
    PriceListImport import;
    const int code = import.run("in.txt");
    platform::storage::ByteFile::failReadsFrom(-1, 0);
    EXPECT_NE(code, 0);
    EXPECT_EQ(import.failure().rfind(w("Ошибка чтения файла in.txt ("), 0), 0u) << import.failure();
    expectOld();
}

TEST_F(PriceListImportSafety, ASourceCutOrRewrittenDuringTheLoadChangesNothingAndSaysSo)
{
    loadOld();
    for (const bool cut : {true, false}) {
        const std::string text = bigList(20000, 50);
        testsupport::writeFileBytes(m_folder.file("in.txt"), text);
        const std::string path = m_folder.file("in.txt").string();
        PriceListImport import(
            [&](PriceListImport::Phase phase, int64_t counter) {
                if (phase != PriceListImport::Phase::Update || counter != 1000)
                    return;
                // Another process ignores the lock: cuts the file, or rewrites a byte in place.
                if (cut) {
                    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(text.size() / 2)), 0);
                } else {
                    const int fd = ::open(path.c_str(), O_WRONLY);
                    ASSERT_GE(fd, 0);
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    ASSERT_EQ(::pwrite(fd, "9", 1, static_cast<off_t>(text.size() - 20)), 1);
                    ::close(fd);
                }
            },
            1000);
        EXPECT_EQ(import.run("in.txt"), 64);
        EXPECT_EQ(import.failure(), w("Файл in.txt изменён во время загрузки"));
        expectOld();
    }
}

TEST_F(PriceListImportSafety, APipeOrAFolderIsRefusedAtOnceAndChangesNothing)
{
    loadOld();
    ASSERT_EQ(::mkfifo(m_folder.file("pipe.txt").c_str(), 0600), 0);
    std::filesystem::create_directory(m_folder.file("folder.txt"));
    for (const char* name : {"pipe.txt", "folder.txt"}) {
        PriceListImport import;
        EXPECT_EQ(import.run(name), 5);
        EXPECT_EQ(import.failure(), w("Ошибка открытия файла ") + name + w(" (это не файл)"));
    }
    expectOld();
}

TEST_F(PriceListImportSafety, ASourceWithoutPriceLinesChangesNothingAndSaysSo)
{
    loadOld();
    const std::vector<std::string> sources{
        "",
        "\n\r\n\n   \n",
        "<!DOCTYPE html>\n<html><head><title>502 Bad Gateway</title>\n<style>body { margin: 0; "
        "}</style></head>\n<body><h1>Bad Gateway</h1>&nbsp;</body>\n</html>\n",
        "just some words\nand more; with a separator\n"};
    for (const std::string& source : sources) {
        EXPECT_EQ(load(source, "junk.txt"), 13) << source;
        EXPECT_EQ(m_failure, w("В файле junk.txt нет строк прайс-листа")) << source;
        expectOld();
    }
    // One line written as the format asks passes this gate; the other lines are asked about.
    EXPECT_EQ(load("header line\n 7;;Seven;;1;1;Bosch;;;G\n", "one.txt"), 0);
    EXPECT_EQ(items().size(), 2u);
}

// Random bytes, a saved order file, a list with a NUL byte or too many odd lines: the user is
// asked before the list is replaced, "no" changes nothing, "yes" loads the lines as they read.
// A list of price lines, or one with few odd lines, loads without a question.
TEST_F(PriceListImportSafety, AFileThatDoesNotLookLikeAPriceListIsAskedAbout)
{
    loadOld();
    std::string random(200 * 1024, '\0');
    std::mt19937 bytes(7);
    for (char& c : random)
        c = static_cast<char>(bytes());
    const std::string order = w("#Заказчик: ООО Ромашка\r\n#Адрес: Москва\r\n#ИНН: 7701\r\n"
                                "#Телефон: 123   E-mail:a@b.ru\r\n#Контактное лицо: Иванов\r\n"
                                "#Банк: Банк\r\n#БИК: 1   Р/сч:2   Корр/сч:3\r\n"
                                "#Комментарий к заказу: срочно\r\n"
                                "1006;С08-3501090;Колодка;Техно-М;2;4741.93;9483.86\r\n");
    std::string lines;
    for (int i = 1; i <= 100; ++i)
        lines += std::to_string(i) + ";D;N;;1;5;M;;;G\n";
    const std::string withNul = lines + std::string("101;D;N\0ul;;1;5;M;;;G\n", 23);
    const std::string sixOdd = lines.substr(0, lines.find("95;")) + "95\n96\n97\n98;x\n99\n100\n";
    const std::string fiveOdd = lines.substr(0, lines.find("96;")) + "96\n97\n98;x\n99\n100\n";

    m_answer = false;
    for (const std::string& text : {random, order, withNul, sixOdd}) {
        m_questions.clear();
        EXPECT_EQ(load(text, "odd.txt"), PriceListImport::Declined);
        ASSERT_EQ(m_questions.size(), 1u);
        EXPECT_EQ(m_questions[0].rfind(w("В файле odd.txt "), 0), 0u) << m_questions[0];
        expectOld();
    }
    EXPECT_EQ(m_questions[0], w("В файле odd.txt 6 из 100 строк не похожи на строки прайс-листа, "
                                "например: 95. Загрузить прайс-лист из этого файла?"));
    load(order, "order.txt");
    EXPECT_EQ(m_questions.back(),
              w("В файле order.txt 9 из 9 строк не похожи на строки прайс-листа, например: "
                "#Заказчик: ООО Ромашка. Загрузить прайс-лист из этого файла?"));
    load(withNul, "nul.txt");
    EXPECT_EQ(m_questions.back(), w("В файле nul.txt 1 из 101 строк не похожи на строки "
                                    "прайс-листа, например: 101;D;N?ul;;1;5;M;;;G. Загрузить "
                                    "прайс-лист из этого файла?"));
    // The example is cut at sixty characters.
    load("1;D;N;;1;5;M;;;G\n" + std::string(100, 'x') + "\n", "long.txt");
    EXPECT_NE(m_questions.back().find(w("например: ") + std::string(60, 'x') + ". "),
              std::string::npos);

    m_questions.clear();
    m_answer = true;
    EXPECT_EQ(load(order, "order.txt"), 0);
    EXPECT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(items().size(), 9u); // the header lines too, each as an item of code 0
    EXPECT_EQ(load(fiveOdd, "few.txt"), 0);
    EXPECT_EQ(load(lines, "list.txt"), 0);
    EXPECT_EQ(m_questions.size(), 1u) << "asked about a list of price lines";
    EXPECT_EQ(items().size(), 100u);

    // Without anyone to ask, such a file is refused.
    loadOld();
    testsupport::writeFileBytes(m_folder.file("odd.txt"), order);
    PriceListImport import;
    EXPECT_EQ(import.run("odd.txt", "shown.txt"), 13);
    EXPECT_EQ(import.failure(), w("В файле shown.txt 9 из 9 строк не похожи на строки прайс-листа"));
    expectOld();
}

TEST_F(PriceListImportSafety, AUtf8FileIsAskedAboutAndReadAsUtf8WhenTheUserSaysSo)
{
    loadOld();
    // UTF-8 with a byte-order mark, a letter split between two reads of the file (at 256 KB),
    // and letters Windows-1251 lacks: accented ones and one without a plain form.
    std::string utf8 = "\xEF\xBB\xBF";
    for (int i = 1; i <= 4000; ++i)
        utf8 += std::to_string(i) + ";D;Деталь номер " + std::to_string(i) + ";;1;5;Мотор;;;G\n";
    utf8 += "4001;D;Mégane Łódź;;1;5;Мотор;;;Группа\n";
    // Empty lines (skipped) put the first letter's two bytes on either side of 256 KB.
    std::string padded = utf8.substr(3);
    padded.insert(0, 256 * 1024 - 1 - padded.find("Деталь"), '\n');

    m_answer = false;
    EXPECT_EQ(load(utf8, "utf8.txt"), PriceListImport::Declined);
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(m_questions[0], w("Файл utf8.txt похож на файл в кодировке UTF-8, а не Windows-1251, "
                                "например: 1;D;Деталь номер 1;;1;5;Мотор;;;G. Прочитать его как "
                                "UTF-8 и загрузить прайс-лист?"));
    expectOld();

    m_answer = true;
    EXPECT_EQ(load(utf8, "utf8.txt"), 0);
    auto all = items();
    ASSERT_EQ(all.size(), 4001u);
    EXPECT_EQ(all[0].code, 1);
    EXPECT_EQ(all[0].name, w("Деталь номер 1"));
    EXPECT_EQ(all[4000].name, "Megane ?odz");
    EXPECT_EQ(all[4000].group, w("Группа"));
    EXPECT_EQ(makers(), std::vector<std::string>{w("Мотор")});
    EXPECT_EQ(load(padded, "padded.txt"), 0);
    all = items();
    ASSERT_EQ(all.size(), 4001u);
    EXPECT_EQ(all[0].name, w("Деталь номер 1"));

    // A list in Windows-1251, Cyrillic and all, is not asked about.
    m_questions.clear();
    EXPECT_EQ(load(w("1;D;Деталь;;1;5;Мотор;;;G\n"), "list.txt"), 0);
    EXPECT_TRUE(m_questions.empty());
    EXPECT_EQ(items()[0].name, w("Деталь"));

    // Without anyone to ask, it is refused.
    loadOld();
    testsupport::writeFileBytes(m_folder.file("utf8.txt"), utf8);
    PriceListImport import;
    EXPECT_EQ(import.run("utf8.txt", "shown.txt"), 13);
    EXPECT_EQ(import.failure(),
              w("Файл shown.txt похож на файл в кодировке UTF-8, а не Windows-1251"));
    expectOld();
}

// Kills a child process loading a long list at random moments, the commit included: each
// time both lists are wholly the old or wholly the new ones and open normally. 30,000 lines
// keep the 40 rounds within seconds; a longer list only widens the moments.
TEST_F(PriceListImportSafety, AKillAtAnyMomentLeavesBothListsWhollyOldOrWhollyNew)
{
    constexpr int Lines = 30000;
    constexpr int Makers = 1000;
    loadOld();
    testsupport::writeFileBytes(m_folder.file("big.txt"), bigList(Lines, Makers));
    RelatePRIOSN->close();
    RelatePROIZ->close();

    using Clock = std::chrono::steady_clock;
    // Starts a load in a child; commitReached gets one byte when the lines are all written.
    const auto startChild = [](int commitReached) {
        const pid_t child = fork();
        if (child != 0)
            return child;
        RelatePRIOSN->open();
        RelatePROIZ->open();
        PriceListImport import(
            [commitReached, sent = false](PriceListImport::Phase phase, int64_t counter) mutable {
                if (phase == PriceListImport::Phase::Update && counter == Lines && !sent)
                    sent = ::write(commitReached, "c", 1) == 1;
            },
            Lines);
        _exit(import.run("big.txt") == 0 ? 0 : 1);
    };
    const auto restoreOld = [&] {
        ASSERT_EQ(RelatePRIOSN->open(), 0);
        ASSERT_EQ(RelatePROIZ->open(), 0);
        loadOld();
        RelatePRIOSN->close();
        RelatePROIZ->close();
    };

    // One whole load gives the moments to aim at.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const Clock::time_point started = Clock::now();
    pid_t child = startChild(pipeEnds[1]);
    char byte = 0;
    ASSERT_EQ(::read(pipeEnds[0], &byte, 1), 1);
    const auto untilCommit = Clock::now() - started;
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto commitTime = Clock::now() - started - untilCommit;
    restoreOld();

    std::mt19937 random(1209);
    int oldSeen = 0;
    int newSeen = 0;
    for (int round = 0; round < 40; ++round) {
        const bool inCommit = round % 3 == 0;
        child = startChild(pipeEnds[1]);
        if (inCommit) {
            ASSERT_EQ(::read(pipeEnds[0], &byte, 1), 1);
            std::this_thread::sleep_for(commitTime * (random() % 1000) / 1000);
        } else {
            std::this_thread::sleep_for((untilCommit + commitTime) * (random() % 1000) / 1000);
        }
        ::kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, &status, 0), child);
        // A child that wrote its byte after the kill was aimed elsewhere leaves it in the pipe.
        ::fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
        while (::read(pipeEnds[0], &byte, 1) == 1) {
        }
        ::fcntl(pipeEnds[0], F_SETFL, 0);

        ASSERT_EQ(RelatePRIOSN->open(), 0) << "round " << round;
        ASSERT_EQ(RelatePROIZ->open(), 0) << "round " << round;
        const int64_t prices = PRIOSN().records();
        const int64_t names = PROIZ().records();
        RelatePRIOSN->close();
        RelatePROIZ->close();
        const bool old = prices == 2 && names == 2;
        const bool fresh = prices == Lines && names == Makers;
        ASSERT_TRUE(old || fresh) << "round " << round << ": " << prices << " items, " << names
                                  << " manufacturers";
        oldSeen += old;
        newSeen += fresh;
        if (fresh)
            restoreOld();
    }
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    EXPECT_GT(oldSeen, 0);
    RelatePRIOSN->open();
    RelatePROIZ->open();
}

} // namespace
