// The settings window as a user drives it: the records a fresh folder gets, the photo folder
// chooser, the saved site name, and one window at a time.
#include "ProgramSession.h"
#include "app/ustan/Ustan.h"
#include "app/dictionary/Dictionary.h"
#include "app/startup/LocaleOverrides.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/LayoutAudit.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "platform/ui/Control.h"
#include "tests/support/DamagedPages.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace app;
using namespace platform::ui;
using platform::text::w;

constexpr const char* Title = "Установки";

class UstanTest : public ::testing::Test
{
protected:
    void SetUp() override { DictionaryInit(); }
    void TearDown() override
    {
        DictionaryKill();
        EXPECT_EQ(UstanThread, 0);
    }

    static int64_t count(platform::storage::RecordFile& file, FileRelation* relation)
    {
        relation->open();
        const int64_t records = file.records();
        relation->close();
        return records;
    }
    static RekvRecord requisites()
    {
        RelateREKV->open();
        REKV().setFileOrder();
        REKV().next();
        const RekvRecord record = REK();
        RelateREKV->close();
        return record;
    }
    static RekvDRecord site()
    {
        RelateREKV_D->open();
        REKV_D().setFileOrder();
        REKV_D().next();
        const RekvDRecord record = REKD();
        RelateREKV_D->close();
        return record;
    }
    static void storePhotoFolder(const std::string& folder)
    {
        RelateREKV->open();
        REKV().clearBuffer();
        REK().FOTOKAT = folder;
        REKV().add();
        RelateREKV->close();
    }

    testsupport::TempWorkFolder m_folder;
};

// Damaged requisites (enciphered) or a damaged download site: the damage is said with 36 and
// the file's name, the damaged file is kept, what can still be read comes back into a new
// file, and the window shows it and stores what is typed. With the enciphered file's first
// page gone nothing of it can be deciphered: it starts blank, the copy still kept.
TEST_F(UstanTest, DamagedRequisitesOrSiteComeBackIntoNewFilesThatSaveWorksOn)
{
    // The file cut after its record page, its first page or its record page overwritten (the
    // last met only when the window reads the record).
    enum class Damage { Cut, FirstPage, RecordPage };
    struct Case
    {
        const char* file;
        Damage damage;
        const char* nameAfter;
        const char* siteAfter;
    };
    const std::vector<Case> cases = {
        {"rekv.tps", Damage::Cut, "Ромашка", "price.torn.ru"},
        {"rekv.tps", Damage::FirstPage, "", "price.torn.ru"},
        {"rekv_d.tps", Damage::FirstPage, "Ромашка", "price.torn.ru"},
        {"rekv_d.tps", Damage::RecordPage, "Ромашка", ""},
    };
    for (const Case& damage : cases) {
        SCOPED_TRACE(std::string(damage.file) + " " + std::to_string(int(damage.damage)));
        testsupport::TempWorkFolder folder;
        RelateREKV->open();
        REKV().clearBuffer();
        REK().NAIM = w("Ромашка");
        REKV().add();
        RelateREKV->close();
        RelateREKV_D->open();
        REKV_D().clearBuffer();
        REKD().SITENAME = "price.torn.ru";
        REKV_D().add();
        RelateREKV_D->close();
        const std::filesystem::path path = folder.file(damage.file);
        const std::string bytes = testsupport::readFileBytes(path);
        const std::size_t page = std::string(damage.file) == "rekv.tps" ? 1024 : 4096;
        std::string damaged = bytes.substr(0, 2 * page);
        if (damage.damage == Damage::FirstPage)
            damaged = std::string(page, '\x5a') + bytes.substr(page);
        else if (damage.damage == Damage::RecordPage)
            damaged = bytes.substr(0, page) + std::string(page, '\x5a') + bytes.substr(2 * page);
        testsupport::writeFileBytes(path, damaged);

        std::string nameShown;
        std::string siteShown;
        TestDriver driver;
        driver.answerMessage(Button::Ok)
            .waitOpen(Title)
            .call([&] {
                nameShown = TestDriver::findControl("?REK:NAIM")->text();
                siteShown = TestDriver::findControl("?REKD:SITENAME")->text();
            })
            .type("?REK:NAIM", "Василёк")
            .press("?BUTTON1")
            .waitClose(Title);
        // The window says the damage before it shows: the driver runs first to answer it.
        EXPECT_EQ(e2e::runAlongside(
                      driver, [] { ASSERT_NE(startThread(ustan, 50000), 0); }, 20000),
                  "");

        ASSERT_EQ(driver.messages().size(), 1u);
        const std::string said = driver.messages()[0].text;
        EXPECT_NE(said.find("(36)"), std::string::npos) << platform::text::cp1251ToUtf8(said);
        EXPECT_NE(said.find(std::string(damage.file) + ".bad"), std::string::npos)
            << platform::text::cp1251ToUtf8(said);
        EXPECT_EQ(platform::text::cp1251ToUtf8(nameShown).substr(0, std::string(damage.nameAfter).size()),
                  damage.nameAfter);
        EXPECT_EQ(siteShown.substr(0, std::string(damage.siteAfter).size()), damage.siteAfter);
        EXPECT_TRUE(testsupport::readFileBytes(folder.file(std::string(damage.file) + ".bad"))
                    == damaged);
        EXPECT_EQ(requisites().NAIM.str(), w("Василёк"));
        EXPECT_EQ(site().SITENAME.str(), damage.siteAfter);
        EXPECT_EQ(count(REKV(), RelateREKV), 1);
    }
}

TEST_F(UstanTest, AFreshFolderGetsOneBlankRecordOfEachAndCancelWritesNothing)
{
    ASSERT_NE(startThread(ustan, 50000), 0);
    TestDriver driver;
    driver.waitOpen(Title).type("?REK:NAIM", "Ромашка").press("?BUTTON2").waitClose(Title);
    EXPECT_EQ(driver.run(), "");
    EXPECT_EQ(count(REKV(), RelateREKV), 1);
    EXPECT_EQ(count(REKV_D(), RelateREKV_D), 1);
    EXPECT_TRUE(requisites().NAIM.isBlank());
    EXPECT_TRUE(site().SITENAME.isBlank());
}

TEST_F(UstanTest, TheChosenPhotoFolderIsStoredWithItsSeparator)
{
    ASSERT_NE(startThread(ustan, 50000), 0);
    std::string shown;
    TestDriver driver;
    driver.waitOpen(Title)
        .press("?TAB2")
        .answerFolder("/data/Photos")
        .press("?BUTTON3")
        .call([&] { shown = TestDriver::topWindow()->property(28, Property::Text); })
        .press("?BUTTON1")
        .waitClose(Title);
    EXPECT_EQ(driver.run(), "");
    EXPECT_EQ(shown, "/data/Photos/");
    EXPECT_EQ(requisites().FOTOKAT.str(), "/data/Photos/");
    // The photo of item 123 is the folder and the file name.
    EXPECT_EQ(requisites().FOTOKAT.str() + "123.jpg", "/data/Photos/123.jpg");
}

TEST_F(UstanTest, ACancelledChooserKeepsTheFolder)
{
    storePhotoFolder("/old/Photos/");
    ASSERT_NE(startThread(ustan, 50000), 0);
    TestDriver driver;
    driver.waitOpen(Title)
        .press("?TAB2")
        .answerFolder(std::nullopt)
        .press("?BUTTON3")
        .press("?BUTTON1")
        .waitClose(Title);
    EXPECT_EQ(driver.run(), "");
    EXPECT_EQ(requisites().FOTOKAT.str(), "/old/Photos/");
    EXPECT_EQ(count(REKV(), RelateREKV), 1);
}

TEST_F(UstanTest, SaveStoresTheSettingsAndTheSiteWithoutLeadingBlanks)
{
    ASSERT_NE(startThread(ustan, 50000), 0);
    TestDriver driver;
    driver.waitOpen(Title)
        .type("?REK:NAIM", "ООО Ромашка")
        .press("?TAB2")
        .type("?REK:PROXYADR", "proxy.local")
        .type("?REK:PROXYPORT", "3128")
        .type("?REK:USERNAME", "ivan")
        .type("?REK:USERPASS", "secret")
        .type("?REKD:SITENAME", "   price.local")
        .type("?REKD:SITEPORT", "8080")
        .press("?BUTTON1")
        .waitClose(Title);
    EXPECT_EQ(driver.run(), "");
    const RekvRecord rek = requisites();
    EXPECT_EQ(rek.NAIM.str(), w("ООО Ромашка"));
    EXPECT_EQ(rek.PROXYADR.str(), "proxy.local");
    EXPECT_EQ(int32_t{rek.PROXYPORT}, 3128);
    EXPECT_EQ(rek.USERNAME.str(), "ivan");
    EXPECT_EQ(rek.USERPASS.str(), "secret");
    EXPECT_EQ(site().SITENAME.str(), "price.local");
    EXPECT_EQ(site().SITEPORT, 8080);
}

// A full disk is said once, with its reason: in a fresh folder whose files were made before the
// disk filled, and when the settings are saved.
TEST_F(UstanTest, AFullDiskIsSaidOnceWithItsReason)
{
    constexpr unsigned Ignore = 32;
    SetLocaleOverrides(); // the Russian texts of the codes
    const std::string noRoom = "Ошибка файла rekv.tps (Нет места на диске)";
    count(REKV(), RelateREKV);
    count(REKV_D(), RelateREKV_D);
    {
        const testsupport::FileSizeLimit full(16);
        TestDriver driver;
        driver.answerMessage(Ignore).call([] { ASSERT_NE(startThread(ustan, 50000), 0); }).waitIdle();
        EXPECT_EQ(driver.run(), "");
        ASSERT_EQ(driver.messages().size(), 1u);
        EXPECT_EQ(driver.messages()[0].text, w(noRoom));
        EXPECT_EQ(ThreadRegistry::openWindows().size(), 0u);
    }
    EXPECT_EQ(count(REKV(), RelateREKV), 0);

    // With its records made, the window opens; the save meets the full disk.
    ASSERT_NE(startThread(ustan, 50000), 0);
    TestDriver driver;
    std::unique_ptr<testsupport::FileSizeLimit> full;
    driver.waitOpen(Title)
        .type("?REK:NAIM", "Ромашка")
        .call([&] { full = std::make_unique<testsupport::FileSizeLimit>(16); })
        .answerMessage(Ignore)
        .press("?BUTTON1")
        .waitClose(Title);
    EXPECT_EQ(driver.run(), "");
    full.reset();
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text, w(noRoom));
    EXPECT_TRUE(requisites().NAIM.isBlank());
}

TEST_F(UstanTest, TheProxyPasswordIsShownAsDots)
{
    RelateREKV->open();
    REKV().clearBuffer();
    REK().USERPASS = "secret";
    REKV().add();
    RelateREKV->close();
    ASSERT_NE(startThread(ustan, 50000), 0);
    TestDriver driver;
    std::string stored, typed;
    driver.waitOpen(Title)
        .press("?TAB2")
        .dump([&](const std::string& text) { stored = text; })
        .type("?REK:USERPASS", "p@ss")
        .dump([&](const std::string& text) { typed = text; })
        .press("?BUTTON1")
        .waitClose(Title);
    EXPECT_EQ(driver.run(), "");
    const auto shown = [](const std::string& dump) {
        const std::size_t line = dump.find("?REK:USERPASS");
        return line == std::string::npos ? dump : dump.substr(line, dump.find('\n', line) - line);
    };
    EXPECT_NE(shown(stored).find("\"••••••\""), std::string::npos) << shown(stored);
    EXPECT_NE(shown(typed).find("\"••••\""), std::string::npos) << shown(typed);
    EXPECT_EQ(requisites().USERPASS.str(), "p@ss");
}

TEST_F(UstanTest, ASecondStartBringsTheFirstForwardAndOpensNothing)
{
    const int first = startThread(ustan, 50000);
    ASSERT_NE(first, 0);
    EXPECT_EQ(UstanThread, first);
    std::size_t windows = 0;
    TestDriver driver;
    driver.waitOpen(Title)
        .call([] { startThread(ustan, 50000); })
        .call([&] {
            for (Window* window : ThreadRegistry::openWindows())
                windows += window->title() == w(Title) ? 1 : 0;
        })
        .press("?BUTTON2")
        .waitClose(Title);
    EXPECT_EQ(driver.run(), "");
    EXPECT_EQ(windows, 1u);
    EXPECT_EQ(count(REKV(), RelateREKV), 1);
}

} // namespace

namespace {

// Both tabs looked at as a person would: the proxy texts stand inside their group's frame,
// clear of its caption, and nothing is cut or overlaps.
TEST_F(UstanTest, BothTabsAreSeenWholeWithTheProxyTextsInsideTheirFrame)
{
    ASSERT_NE(startThread(ustan, 50000), 0);
    TestDriver driver;
    std::vector<std::string> faults;
    driver.waitOpen(Title)
        .call([&] { faults = LayoutAudit::everyState(*TestDriver::topWindow()); })
        .press("?BUTTON2")
        .waitClose(Title);
    EXPECT_EQ(driver.run(), "");
    EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
}

} // namespace
