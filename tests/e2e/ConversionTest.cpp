// The data conversion on files of the old layouts written through the storage: what the new
// files hold, and that a run which does not complete leaves the old files exactly as they were.
#include "ProgramSession.h"

#include "app/conv/Cnvpriosn.h"
#include "app/conv/Cnvrekv.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/ProgressWindow.h"
#include "tests/support/TempWorkFolder.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace app;
using namespace platform::ui;
using platform::text::w;
using Result = ConversionOutcome::Result;

struct OldItem
{
    int32_t code;
    std::string maker; // UTF-8
};

// Presses "Отменить" as soon as a progress window shows.
class CancelOnShow : public QObject
{
protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* window = qobject_cast<ProgressWindow*>(object))
                window->cancelButton()->click();
        return false;
    }
};

class ConversionTest : public ::testing::Test
{
protected:
    void SetUp() override { DictionaryInit(); }
    void TearDown() override { DictionaryKill(); }

    // The old price list "priosn.tps" as version 2.0 wrote it.
    static void writeOldPrices(const std::vector<OldItem>& items)
    {
        RecordFile& file = PRIOSN_S();
        file.setDiskName("priosn.tps");
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        for (const OldItem& item : items) {
            file.clearBuffer();
            PRS().KOD = item.code;
            PRS().OBOZ = w("ОБ-") + std::to_string(item.code);
            PRS().NAIM = w("Фильтр масляный");
            PRS().PRIMEN = std::string(50, 'x');
            PRS().CENA = 100.5 + item.code;
            PRS().PROIZV = platform::text::utf8ToCp1251(item.maker);
            PRS().GRUP = w("Фильтры");
            PRS().KOLVUP = 4;
            PRS().KODCENA = 2;
            ASSERT_EQ(file.add(), 0);
        }
        file.close();
    }

    static RekvSRecord oldRequisites()
    {
        RekvSRecord record;
        record.NAIM = w("ООО Ромашка");
        record.ADR = w("Тверь, ул. Советская, 1");
        record.TEL = "+7 4822 000000";
        record.EMAIL = "shop@example.ru";
        record.INN = "690000000000";
        record.KOMM = w("Доставка утром");
        record.PROXYADR = "10.0.0.1";
        record.PROXYPORT = 3128;
        record.USERNAME = "user";
        record.USERPASS = "secret";
        record.FOTOKAT = std::string(50, 'f');
        return record;
    }
    static void writeOldRequisites()
    {
        RecordFile& file = REKV_S();
        file.setDiskName("rekv.tps");
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        RES() = oldRequisites();
        ASSERT_EQ(file.add(), 0);
        file.close();
    }

    // Every record of a file read in file order under the given disk name.
    template <typename Record>
    static std::vector<Record> readAll(RecordFile& file, const std::string& name)
    {
        std::vector<Record> records;
        const std::string previous = file.diskName();
        file.setDiskName(name);
        if (file.open() == 0) {
            file.setFileOrder();
            while (file.next() == 0)
                records.push_back(file.record<Record>());
            file.close();
        }
        file.setDiskName(previous);
        return records;
    }
    static std::vector<std::string> makers()
    {
        std::vector<std::string> names;
        for (const ProizRecord& record : readAll<ProizRecord>(PROIZ(), "proiz.tps")) {
            EXPECT_EQ(record.M, 0) << record.NAIM.str();
            names.push_back(platform::text::cp1251ToUtf8(record.NAIM.str()));
        }
        return names;
    }

    // Runs the price-list conversion with the driver answering the boxes it expects.
    ConversionOutcome convertPrices(TestDriver& driver)
    {
        driver.start([](const std::string&) {});
        return cnvpriosn();
    }

    std::string bytes(const char* name) { return testsupport::readFileBytes(m_folder.file(name)); }
    bool exists(const char* name) { return std::filesystem::exists(m_folder.file(name)); }

    testsupport::TempWorkFolder m_folder;
};

TEST_F(ConversionTest, AnEmptyPriceListGivesAnEmptyFileAndOnlyTheAllEntry)
{
    writeOldPrices({});
    TestDriver driver;
    driver.answerMessage(Button::Ok); // "Нет записей"
    const ConversionOutcome outcome = convertPrices(driver);
    EXPECT_EQ(outcome.result, Result::Converted) << outcome.reason;
    EXPECT_TRUE(exists("priosn.tps"));
    EXPECT_TRUE(readAll<PriosnRecord>(PRIOSN(), "priosn.tps").empty());
    EXPECT_EQ(makers(), (std::vector<std::string>{"  ВСЕ"}));
    EXPECT_FALSE(exists("priosn1.tps"));
    EXPECT_FALSE(exists("proiz1.tps"));
}

TEST_F(ConversionTest, EveryItemIsCopiedAndEachManufacturerEnteredOnceWithoutLeadingBlanks)
{
    writeOldPrices({{1, "Bosch"}, {2, "  Mann"}, {3, "Bosch"}, {4, "Mann"}, {5, "bosch"}});
    // The old manufacturer list with its marks is rebuilt.
    RecordFile& makersFile = PROIZ();
    ASSERT_EQ(makersFile.create(), 0);
    ASSERT_EQ(makersFile.open(), 0);
    P().NAIM = "Old";
    P().M = 1;
    ASSERT_EQ(makersFile.add(), 0);
    makersFile.close();
    // A manufacturer added by the conversion has no mark, whatever the buffer held.
    P().M = 1;

    TestDriver driver;
    const ConversionOutcome outcome = convertPrices(driver);
    EXPECT_EQ(outcome.result, Result::Converted) << outcome.reason;
    EXPECT_TRUE(driver.messages().empty());

    // Read as the program reads its price list: the converted file opens in the same run.
    const auto items = readAll<PriosnRecord>(PRIOSN(), "priosn.tps");
    ASSERT_EQ(items.size(), 5u);
    for (const PriosnRecord& item : items) {
        // Packed members are copied out before they are compared.
        const int32_t code = item.KOD;
        const int32_t secondCode = item.KOD2;
        const double price = item.CENA;
        const double weight = item.VES;
        const int pack = item.KOLVUP;
        EXPECT_EQ(secondCode, code);
        EXPECT_EQ(weight, 0.0);
        EXPECT_EQ(item.PRIMEN.view(), std::string(50, 'x') + std::string(150, ' '));
        EXPECT_DOUBLE_EQ(price, 100.5 + code);
        EXPECT_EQ(item.OBOZ.str(), w("ОБ-") + std::to_string(code));
        EXPECT_EQ(pack, 4);
        EXPECT_EQ(item.KODCENA, 2);
    }
    EXPECT_EQ(items[1].PROIZV.str(), "  Mann") << "the item keeps its name as it was";
    EXPECT_EQ(makers(), (std::vector<std::string>{"  ВСЕ", "Bosch", "Mann"}));
    EXPECT_FALSE(exists("priosn1.tps"));
    EXPECT_FALSE(exists("priosn2.tps"));
    EXPECT_FALSE(exists("proiz1.tps"));
}

TEST_F(ConversionTest, TheRequisitesKeepEverythingWithThePhotoFolderWidenedAndStayEnciphered)
{
    writeOldRequisites();
    const std::string oldBytes = bytes("rekv.tps");
    ASSERT_EQ(oldBytes.find("shop@example.ru"), std::string::npos) << "stored enciphered";

    TestDriver driver;
    driver.start([](const std::string&) {});
    const ConversionOutcome outcome = cnvrekv();
    EXPECT_EQ(outcome.result, Result::Converted) << outcome.reason;

    // Read as the program reads its requisites.
    const auto records = readAll<RekvRecord>(REKV(), "rekv.tps");
    ASSERT_EQ(records.size(), 1u);
    const RekvSRecord old = oldRequisites();
    EXPECT_EQ(records[0].FOTOKAT.view(), std::string(50, 'f') + std::string(200, ' '));
    EXPECT_EQ(records[0].NAIM, old.NAIM);
    EXPECT_EQ(records[0].ADR, old.ADR);
    EXPECT_EQ(records[0].KOMM, old.KOMM);
    EXPECT_EQ(records[0].INN, old.INN);
    const int32_t port = records[0].PROXYPORT;
    EXPECT_EQ(port, 3128);
    EXPECT_EQ(records[0].USERPASS, old.USERPASS);
    EXPECT_EQ(bytes("rekv.tps").find("shop@example.ru"), std::string::npos);
    EXPECT_FALSE(exists("rekv1.tps"));
    EXPECT_FALSE(exists("rekv2.tps"));
}

TEST_F(ConversionTest, ACancelledRunKeepsTheOldFilesByteForByte)
{
    writeOldPrices({{1, "Bosch"}, {2, "Mann"}});
    writeOldRequisites();
    ASSERT_EQ(PROIZ().create(), 0);
    const std::string prices = bytes("priosn.tps");
    const std::string makersBefore = bytes("proiz.tps");
    const std::string requisites = bytes("rekv.tps");

    CancelOnShow cancel;
    qApp->installEventFilter(&cancel);
    TestDriver driver;
    driver.start([](const std::string&) {});
    const ConversionOutcome price = cnvpriosn();
    const ConversionOutcome requisitesOutcome = cnvrekv();
    qApp->removeEventFilter(&cancel);

    EXPECT_EQ(price.result, Result::Cancelled);
    EXPECT_EQ(requisitesOutcome.result, Result::Cancelled);
    EXPECT_EQ(bytes("priosn.tps"), prices);
    EXPECT_EQ(bytes("proiz.tps"), makersBefore);
    EXPECT_EQ(bytes("rekv.tps"), requisites);
    for (const char* partial : {"priosn1.tps", "priosn2.tps", "proiz1.tps", "rekv1.tps", "rekv2.tps"})
        EXPECT_FALSE(exists(partial)) << partial;
}

TEST_F(ConversionTest, ASourceThatDoesNotOpenIsKeptAndSaysWhy)
{
    const std::string damaged = "not a data file at all";
    testsupport::writeFileBytes(m_folder.file("priosn.tps"), damaged);
    testsupport::writeFileBytes(m_folder.file("rekv.tps"), damaged);
    TestDriver driver;
    driver.start([](const std::string&) {});
    const ConversionOutcome price = cnvpriosn();
    const ConversionOutcome requisites = cnvrekv();
    EXPECT_EQ(price.result, Result::Failed);
    EXPECT_EQ(requisites.result, Result::Failed);
    EXPECT_NE(price.reason.find(w("Не удалось открыть файл priosn.tps")), std::string::npos)
        << platform::text::cp1251ToUtf8(price.reason);
    EXPECT_EQ(bytes("priosn.tps"), damaged);
    EXPECT_EQ(bytes("rekv.tps"), damaged);
    EXPECT_FALSE(exists("priosn1.tps"));
    EXPECT_FALSE(exists("proiz.tps")) << "the manufacturer list is not touched";
    EXPECT_TRUE(driver.messages().empty());
}

TEST_F(ConversionTest, FilesOfTheCurrentLayoutAreLeftAloneAndMissingOnesAreNotMade)
{
    // A price list converted once already, and the requisites as the program writes them.
    writeOldPrices({{1, "Bosch"}});
    TestDriver driver;
    driver.start([](const std::string&) {});
    ASSERT_EQ(cnvpriosn().result, Result::Converted);
    const std::string converted = bytes("priosn.tps");
    const ConversionOutcome again = cnvpriosn();
    EXPECT_EQ(again.result, Result::AlreadyCurrent);
    EXPECT_EQ(bytes("priosn.tps"), converted);

    const ConversionOutcome missing = cnvrekv();
    EXPECT_EQ(missing.result, Result::Missing);
    EXPECT_FALSE(exists("rekv.tps"));
    EXPECT_FALSE(exists("rekv1.tps"));

    RecordFile& requisites = REKV();
    requisites.setDiskName("rekv.tps");
    ASSERT_EQ(requisites.create(), 0);
    const std::string current = bytes("rekv.tps");
    EXPECT_EQ(cnvrekv().result, Result::AlreadyCurrent);
    EXPECT_EQ(bytes("rekv.tps"), current);
    EXPECT_TRUE(driver.messages().empty());
}

// The whole window through the frame's menu: the main program sets up the dictionary itself.
class ConversionWindowTest : public ConversionTest
{
protected:
    // Reference lists with a record each, so that clearing their marks at exit says nothing.
    void SetUp() override
    {
        e2e::writeApplicabilityTypes({{"Легковые", 0}});
        e2e::writeManufacturers({{"Bosch", 0}});
    }
    void TearDown() override {}
};

// An old price list would make the frame's database check ask to clear it first, so these runs
// convert the requisites.
TEST_F(ConversionWindowTest, TheWindowConvertsAndSaysSo)
{
    writeOldRequisites();
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Конвертация данных")
        .waitOpen("Конвертация данных")
        .answerMessage(Button::Ok)
        .press("?BUTTON1")
        .waitClose("Конвертация данных")
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    ASSERT_EQ(driver.messages().size(), 1u);
    const std::string text = platform::text::cp1251ToUtf8(driver.messages()[0].text);
    EXPECT_EQ(text, "КОНВЕРТАЦИЯ ДАННЫХ ЗАВЕРШЕНА.\n"
                    "Файл priosn.tps не найден: данные прайс-листа не конвертировались.");
    EXPECT_EQ(driver.messages()[0].caption, w("Сообщение"));
    EXPECT_EQ(readAll<RekvRecord>(REKV(), "rekv.tps").size(), 1u);
    EXPECT_FALSE(exists("priosn.tps"));
}

TEST_F(ConversionWindowTest, TheWindowSaysWhenTheConversionWasNotFinished)
{
    // Made by hand, not by any version of the program: it opens in no layout.
    testsupport::writeFileBytes(m_folder.file("rekv.tps"), "damaged");
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Конвертация данных")
        .waitOpen("Конвертация данных")
        .answerMessage(Button::Ok)
        .press("?BUTTON1")
        .waitClose("Конвертация данных")
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    ASSERT_EQ(driver.messages().size(), 1u);
    const std::string text = platform::text::cp1251ToUtf8(driver.messages()[0].text);
    EXPECT_EQ(text.rfind("КОНВЕРТАЦИЯ ДАННЫХ НЕ ЗАВЕРШЕНА.\n", 0), 0u) << text;
    EXPECT_NE(text.find("Не удалось открыть файл rekv.tps"), std::string::npos) << text;
    EXPECT_NE(text.find("rekv.tps оставлен без изменений"), std::string::npos) << text;
    EXPECT_EQ(bytes("rekv.tps"), "damaged");
}

// An old price list put into the folder while the program runs (the frame's check at start did
// not see it): once converted, the price window shows it and a load replaces it, in the same run.
TEST_F(ConversionWindowTest, TheConvertedPriceListOpensAndLoadsInTheSameRun)
{
    testsupport::writeFileBytes(m_folder.file("new.txt"), w("7;;Новый;;1;10;Mann;;;G\n"));
    TestDriver driver;
    std::vector<int> converted, loaded;
    const auto rows = [] {
        std::vector<int> result;
        if (Control* list = TestDriver::findControl("?BROWSE:1"))
            for (const std::string& row : list->rows())
                result.push_back(std::stoi(row.substr(0, row.find('|'))));
        return result;
    };
    driver.waitOpen(e2e::FrameTitle)
        .call([] { writeOldPrices({{1, "Bosch"}, {2, "Mann"}}); })
        .menu("Конвертация данных")
        .waitOpen("Конвертация данных")
        .answerMessage(Button::Ok)
        .press("?BUTTON1")
        .waitClose("Конвертация данных")
        .menu("?BROWSEPRIOSN")
        .waitOpen("Прайс-лист/Заказ")
        .waitIdle()
        .call([&] { converted = rows(); })
        .press("?BUTTON7")
        .waitOpen("Загрузка прайс-листа")
        .type("?FNAME", "new.txt")
        .press("?BUTTON2")
        .waitIdle(30000)
        .call([&] { loaded = rows(); })
        .close()
        .waitClose("Прайс-лист/Заказ")
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    for (const MessageRequest& shown : driver.messages())
        EXPECT_EQ(shown.text.rfind(w("КОНВЕРТАЦИЯ ДАННЫХ ЗАВЕРШЕНА."), 0), 0u)
            << platform::text::cp1251ToUtf8(shown.text);
    EXPECT_EQ(converted, (std::vector<int>{1, 2}));
    EXPECT_EQ(loaded, (std::vector<int>{7}));
}

} // namespace
