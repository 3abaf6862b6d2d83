// The settings window as a user drives it: the records a fresh folder gets, the photo folder
// chooser, the saved site name, and one window at a time.
#include "app/ustan/Ustan.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/LayoutAudit.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

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
