#include "platform/ui/SettingsFile.h"

#include "platform/text/Cp1251.h"
#include "tests/support/TempWorkFolder.h"

#include <QDir>

#include <filesystem>

#include <gtest/gtest.h>

using platform::text::w;
using platform::ui::SettingsFile;
using testsupport::readFileBytes;
using testsupport::writeFileBytes;

namespace {

class SettingsFileTest : public ::testing::Test
{
protected:
    testsupport::TempWorkFolder folder;
};

TEST_F(SettingsFileTest, MissingFileSectionOrEntryGivesTheDefault)
{
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "sizeprice", "w1", "***"), "***");
    EXPECT_FALSE(std::filesystem::exists(folder.file("quelbarto.ini")));

    writeFileBytes(folder.file("quelbarto.ini"), "[dataprice]\r\nd1=82000\r\nd2=\r\n");
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "sizeprice", "w1", "***"), "***");
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "dataprice", "d3", "***"), "***");
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "dataprice", "d1", "***"), "82000");
    // Present but empty is not missing.
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "dataprice", "d2", "***"), "");
}

TEST_F(SettingsFileTest, NamesIgnoreCaseValuesAreTrimmedFirstDuplicateCounts)
{
    writeFileBytes(folder.file("quelbarto.ini"),
                   "; saved by hand\r\n  [ SizePrice ]  \r\n  W1  =  12 \t\r\nw1=13\r\n"
                   "[" + w("Раздел") + "]\n" + w("Ключ") + "=" + w("значение") + "\n"
                   "[sizeprice]\r\nw2=1\r\n");
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "SIZEPRICE", "w1"), "12");
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", w("РАЗДЕЛ"), w("ключ")), w("значение"));
    EXPECT_EQ(SettingsFile::read("quelbarto.ini", "sizeprice", "w2", "***"), "***");
}

TEST_F(SettingsFileTest, WritesKeepOtherLinesInWindows1251WithCrLf)
{
    writeFileBytes(folder.file("quelbarto.ini"),
                   "; comment\n[sizeprice]\r\nw1=10\r\nW2 = 20\r\n\r\n[dataprice]\r\nd1=82000");
    ASSERT_TRUE(SettingsFile::write("quelbarto.ini", "SizePrice", "w2", "25"));
    ASSERT_TRUE(SettingsFile::write("quelbarto.ini", "sizeprice", "br1", ""));
    ASSERT_TRUE(SettingsFile::write("quelbarto.ini", "dataprice", "d1", "82010"));
    ASSERT_TRUE(SettingsFile::write("quelbarto.ini", "new", "k", w("Код|Цена")));
    EXPECT_EQ(readFileBytes(folder.file("quelbarto.ini")),
              "; comment\r\n[sizeprice]\r\nw1=10\r\nW2=25\r\nbr1=\r\n\r\n[dataprice]\r\n"
              "d1=82010\r\n[new]\r\nk=" + w("Код|Цена") + "\r\n");
}

TEST_F(SettingsFileTest, FileNamesResolveCaseInsensitivelyWithBackslashes)
{
    // The program builds "<folder>\quelbarto.ini"; the file is "quelbarto.ini".
    const std::string full = folder.path().string() + "\\QUELBARTO.ini";
    ASSERT_TRUE(SettingsFile::write("quelbarto.ini", "s", "k", "v"));
    ASSERT_TRUE(SettingsFile::write(full, "s", "k", "w"));
    EXPECT_EQ(readFileBytes(folder.file("quelbarto.ini")), "[s]\r\nk=w\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.file("QUELBARTO.ini")));

    std::filesystem::create_directory(folder.file("Sub"));
    ASSERT_TRUE(SettingsFile::write("sub\\New.ini", "s", "k", "1"));
    EXPECT_EQ(SettingsFile::read("SUB\\new.INI", "s", "k"), "1");
}

TEST_F(SettingsFileTest, UnsafeInputAndFailedWritesLeaveFilesAlone)
{
    EXPECT_FALSE(SettingsFile::write("q.ini", "", "k", "v"));
    EXPECT_FALSE(SettingsFile::write("q.ini", "s]x", "k", "v"));
    EXPECT_FALSE(SettingsFile::write("q.ini", "s", "a=b", "v"));
    EXPECT_FALSE(SettingsFile::write("q.ini", "s", "k\r\n[t]", "v"));
    EXPECT_FALSE(SettingsFile::write("missing/q.ini", "s", "k", "v"));
    EXPECT_FALSE(std::filesystem::exists(folder.file("q.ini")));

    // A value cannot add lines or sections.
    ASSERT_TRUE(SettingsFile::write("q.ini", "s", "k", "1\r\n[t]\r\nx=2"));
    EXPECT_EQ(readFileBytes(folder.file("q.ini")), "[s]\r\nk=1  [t]  x=2\r\n");

    // A name that cannot be read is not replaced.
    std::filesystem::create_directory(folder.file("folder.ini"));
    EXPECT_FALSE(SettingsFile::write("folder.ini", "s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("folder.ini")));
}

TEST_F(SettingsFileTest, ObjectFormStaysWithItsFile)
{
    SettingsFile settings;
    EXPECT_FALSE(settings.update("s", "k", "v")); // not bound yet

    settings.init("quelbarto.INI");
    ASSERT_TRUE(settings.update("s", "k", "v"));
    EXPECT_TRUE(settings.flush());
    EXPECT_EQ(readFileBytes(folder.file("quelbarto.INI")), "[s]\r\nk=v\r\n");

    // A later change of the working folder (a file dialog) does not move the settings.
    std::filesystem::create_directory(folder.file("elsewhere"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.file("elsewhere").string())));
    EXPECT_EQ(settings.fetch("S", "K"), "v");
    ASSERT_TRUE(QDir::setCurrent(previous));

    settings.kill();
    EXPECT_EQ(settings.fetch("s", "k", "none"), "none");
}

} // namespace
