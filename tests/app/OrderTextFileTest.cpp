// Golden files of the order text file: tests/data/ordertext/<case>/, Windows-1251, CR LF.
#include "app/dictionary/Dictionary.h"
#include "app/ordertext/ImportOrderFromText.h"
#include "app/ordertext/OrderTextWrite.h"
#include "platform/text/Cp1251.h"
#include "platform/text/RealText.h"
#include "platform/ui/MessageBox.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace app;
using platform::text::w;
using testsupport::readFileBytes;

namespace {

std::filesystem::path caseFile(const std::string& name)
{
    const char* root = std::getenv("QUELB_TEST_DATA");
    return std::filesystem::path(root ? root : "tests/data") / "ordertext" / name;
}

struct Line
{
    int32_t kod;
    const char* oboz;
    const char* naim;
    const char* proizv;
    int16_t kol;
    double cena;
    double summa;
};

// Added in this order, which is the file's own order.
const std::vector<Line> kBasket = {
    {1052, "BX-17", "Фильтр масляный", "Зенит", 2, 12.5, 25},
    {7, "A-100", "Свеча зажигания", "Вектор", 10, 100, 1000},
    {305, "C-3", "Амортизатор", "Ардо", 1, 0.35, 0.35},
    {20000, "Z9", "Щётка стеклоочистителя", "Бриз", -1, 1234.5678, -1234.5678},
};

class OrderTextFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DictionaryInit();
        ASSERT_EQ(RelateKORZAK->open(), 0);
        REKV().clearBuffer();
        m_previous = platform::ui::setMessageHandler([this](const platform::ui::MessageRequest& r) {
            m_messages.push_back(platform::text::cp1251ToUtf8(r.caption) + " | " +
                                 platform::text::cp1251ToUtf8(r.text));
            return platform::ui::Button::Ok;
        });
    }
    void TearDown() override
    {
        platform::ui::setMessageHandler(m_previous);
        RelateKORZAK->close();
        DictionaryKill();
    }

    static void fillRequisites()
    {
        REK().NAIM = w("ООО Ромашка");
        REK().ADR = w("г. Тверь, ул. Лесная, д. 5");
        REK().INN = w("6901234567");
        REK().TEL = w("+7 (4822) 55-66-77");
        REK().EMAIL = w("zakaz@romashka.ru");
        REK().KONT = w("Иванов Пётр");
        REK().BANKNAIM = w("Тверской банк");
        REK().BIK = w("042809679");
        REK().RS = w("40702810000000012345");
        REK().KS = w("30101810000000000679");
    }

    static void fillBasket(const std::vector<Line>& lines)
    {
        for (const Line& l : lines) {
            KORZAK().clearBuffer();
            K().KOD = l.kod;
            K().OBOZ = w(l.oboz);
            K().NAIM = w(l.naim);
            K().PROIZV = w(l.proizv);
            K().KOL = l.kol;
            K().CENA = l.cena;
            K().SUMMA = l.summa;
            K().UPAK = 12;
            ASSERT_EQ(KORZAK().add(), 0);
        }
    }

    // The basket in code order, one line per record, UTF-8.
    static std::string basketDump()
    {
        std::string out;
        KORZAK().setKey(K_pokod);
        while (KORZAK().next() == 0) {
            out += std::to_string(K().KOD) + "|" + platform::text::cp1251ToUtf8(K().OBOZ.str()) +
                   "|" + platform::text::cp1251ToUtf8(K().NAIM.str()) + "|" +
                   platform::text::cp1251ToUtf8(K().PROIZV.str()) + "|" + std::to_string(K().KOL) +
                   "|" + platform::text::realToText(K().CENA) + "|" +
                   platform::text::realToText(K().SUMMA) + "|" + std::to_string(K().UPAK) + "\n";
        }
        return out;
    }

    testsupport::TempWorkFolder m_folder;
    std::vector<std::string> m_messages;
    platform::ui::MessageHandler m_previous;
};

} // namespace

TEST_F(OrderTextFile, EmptyBasketGivesTheEightHeaderLinesOnly)
{
    fillRequisites();
    EXPECT_TRUE(OrderTextWrite(w("  order.txt  "), w("Срочно, до пятницы"), 1));
    EXPECT_EQ(readFileBytes(m_folder.file("order.txt")),
              readFileBytes(caseFile("empty-basket/expected.txt")));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Сообщение | Файл заказа сформирован.");
}

TEST_F(OrderTextFile, BlankRequisitesEndWithTheColon)
{
    EXPECT_EQ(writeOrderTextFile(w("order.txt"), std::string(200, ' '), 1), 0);
    EXPECT_EQ(readFileBytes(m_folder.file("order.txt")),
              readFileBytes(caseFile("blank-requisites/expected.txt")));
}

TEST_F(OrderTextFile, LinesFollowTheChosenSortTab)
{
    fillRequisites();
    fillBasket(kBasket);
    for (int tab = 1; tab <= 5; ++tab) {
        const std::string name = "tab" + std::to_string(tab) + ".txt";
        ASSERT_EQ(writeOrderTextFile(name, w("Срочно, до пятницы"), tab), 0);
        EXPECT_EQ(readFileBytes(m_folder.file(name)),
                  readFileBytes(caseFile("sort-tabs/expected-tab" + std::to_string(tab) + ".txt")))
            << "tab " << tab;
    }
    // A tab the window never passes is taken as the file's own order.
    ASSERT_EQ(writeOrderTextFile("tab0.txt", w("Срочно, до пятницы"), 0), 0);
    EXPECT_EQ(readFileBytes(m_folder.file("tab0.txt")),
              readFileBytes(caseFile("sort-tabs/expected-tab1.txt")));
}

TEST_F(OrderTextFile, ExistingFileIsReplaced)
{
    testsupport::writeFileBytes(m_folder.file("order.txt"), std::string(5000, 'x'));
    ASSERT_EQ(writeOrderTextFile("order.txt", "", 1), 0);
    EXPECT_EQ(readFileBytes(m_folder.file("order.txt")),
              readFileBytes(caseFile("blank-requisites/expected.txt")));
}

// Files of the folder other than the order itself: a failed save leaves no stray file.
std::vector<std::string> otherFiles(const testsupport::TempWorkFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        const std::string name = entry.path().filename().string();
        if (name != "order.txt" && name.find(".tps") == std::string::npos)
            names.push_back(name);
    }
    return names;
}

TEST_F(OrderTextFile, SaveOnAFullDiskKeepsThePreviousFileByteForByte)
{
    fillRequisites();
    fillBasket(kBasket);
    ASSERT_TRUE(OrderTextWrite(w("order.txt"), w("первый"), 1));
    const std::string previous = readFileBytes(m_folder.file("order.txt"));
    ASSERT_FALSE(previous.empty());
    m_messages.clear();

    // A bigger basket that no longer fits: the header fits, the lines do not.
    for (int32_t code = 100; code < 120; ++code) {
        KORZAK().clearBuffer();
        K().KOD = code;
        K().OBOZ = "X-" + std::to_string(code);
        K().NAIM = w("Длинное наименование позиции, которое занимает место");
        K().KOL = 1;
        ASSERT_EQ(KORZAK().add(), 0);
    }
    {
        const testsupport::FileSizeLimit full(previous.size() + 100);
        EXPECT_FALSE(OrderTextWrite(w("order.txt"), w("второй"), 2));
    }
    EXPECT_EQ(readFileBytes(m_folder.file("order.txt")), previous);
    EXPECT_EQ(otherFiles(m_folder), std::vector<std::string>{});
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].rfind("Ошибка | Не удалось записать файл заказа order.txt: ", 0), 0u)
        << m_messages[0];
    EXPECT_NE(m_messages[0].find("Прежний файл не изменён."), std::string::npos) << m_messages[0];

    // Once there is room again the same save replaces it.
    EXPECT_TRUE(OrderTextWrite(w("order.txt"), w("второй"), 2));
    EXPECT_NE(readFileBytes(m_folder.file("order.txt")), previous);
}

TEST_F(OrderTextFile, SaveKilledPartWayKeepsThePreviousFileByteForByte)
{
    fillRequisites();
    fillBasket(kBasket);
    ASSERT_TRUE(OrderTextWrite(w("order.txt"), w("первый"), 1));
    const std::string previous = readFileBytes(m_folder.file("order.txt"));
    RelateKORZAK->close();

    // The child dies inside the write, with part of the new order written: past its file size
    // limit the system ends it with a signal, as a kill would, leaving no chance to tidy up.
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        std::signal(SIGXFSZ, SIG_DFL);
        if (RelateKORZAK->open() != 0)
            ::_exit(3);
        const rlimit limit{static_cast<rlim_t>(previous.size() / 2),
                           static_cast<rlim_t>(previous.size() / 2)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        writeOrderTextFile(w("order.txt"), w("второй, длиннее первого"), 1);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child was to die inside the write";
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);

    EXPECT_EQ(readFileBytes(m_folder.file("order.txt")), previous);
    ASSERT_EQ(RelateKORZAK->open(), 0);
}

TEST_F(OrderTextFile, ASaveReplacesTheFileOfTheSameNameInAnyCase)
{
    // Names are found without regard to case: the file replaced is the one already there.
    testsupport::writeFileBytes(m_folder.file("Заказ.TXT"), "old");
    ASSERT_EQ(writeOrderTextFile(w("заказ.txt"), "", 1), 0);
    EXPECT_EQ(readFileBytes(m_folder.file("Заказ.TXT")),
              readFileBytes(caseFile("blank-requisites/expected.txt")));
    EXPECT_FALSE(std::filesystem::exists(m_folder.file("заказ.txt")));
}

TEST_F(OrderTextFile, FileThatCannotBeCreatedIsReportedAsAnError)
{
    fillBasket(kBasket);
    EXPECT_FALSE(OrderTextWrite(w("no-such-folder/order.txt"), "", 1));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(
        m_messages[0].rfind("Ошибка | Не удалось записать файл заказа no-such-folder/order.txt", 0),
        0u)
        << m_messages[0];
}

TEST_F(OrderTextFile, RoundTripGivesBackEveryLine)
{
    std::vector<Line> lines = kBasket;
    lines.push_back({42, "  ведущие пробелы", "Имя с \"кавычками\"", "", 0, 0, 0});
    lines.push_back({-8, "", "", "Отрицательный код", 32767, 1e-3, 99999999.99});
    fillBasket(lines);
    const std::string before = basketDump();
    ASSERT_EQ(writeOrderTextFile("order.txt", w("Комментарий"), 1), 0);

    KORZAK().empty();
    fillBasket({{999, "X", "Y", "Z", 1, 1, 1}});
    EXPECT_TRUE(ImportOrderFromText(w("order.txt")));
    std::string expected = before;
    // A negative quantity is no order: that line is not taken back.
    const std::size_t negative = expected.find("20000|");
    ASSERT_NE(negative, std::string::npos);
    expected.erase(negative, expected.find('\n', negative) + 1 - negative);
    // The pack size is not in the file: lines read back have 0.
    for (std::size_t at = 0; (at = expected.find("|12\n", at)) != std::string::npos;)
        expected.replace(at, 4, "|0\n");
    EXPECT_EQ(basketDump(), expected);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(OrderTextFile, ReaderCasesWithCrLfAndWithLfOnly)
{
    const std::string expected = readFileBytes(caseFile("reader-cases/expected-basket.txt"));
    for (const char* input : {"reader-cases/input-crlf.txt", "reader-cases/input-lf.txt"}) {
        KORZAK().empty();
        EXPECT_TRUE(ImportOrderFromText(caseFile(input).string()));
        EXPECT_EQ(basketDump(), expected) << input;
    }
}

TEST_F(OrderTextFile, MissingFileLeavesTheBasketAndSaysWhy)
{
    fillBasket(kBasket);
    const std::string before = basketDump();
    EXPECT_FALSE(ImportOrderFromText(w("absent.txt")));
    EXPECT_EQ(basketDump(), before);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Ошибка | Файл заказа не найден: absent.txt. Заказ не изменён.");
}

TEST_F(OrderTextFile, UnreadableFileLeavesTheBasket)
{
    fillBasket(kBasket);
    const std::string before = basketDump();
    std::filesystem::create_directory(m_folder.file("folder.txt"));
    EXPECT_FALSE(ImportOrderFromText("folder.txt"));
    EXPECT_EQ(basketDump(), before);
    EXPECT_EQ(m_messages.size(), 1u);
}

TEST_F(OrderTextFile, DuplicateCodesKeepTheFirstLine)
{
    testsupport::writeFileBytes(m_folder.file("dup.txt"), "5;A;B;C;1;2;3\r\n5;D;E;F;4;5;6\r\n");
    EXPECT_TRUE(ImportOrderFromText("dup.txt"));
    EXPECT_EQ(basketDump(), "5|A|B|C|1|2|3|0\n");
}
