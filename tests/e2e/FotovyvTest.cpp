#include "ProgramSession.h"

#include "app/fotovyv/Fotovyv.h"
#include "app/dictionary/Dictionary.h"
#include "app/fotovyv/PhotoFileName.h"
#include "app/fotovyv/PhotoLayout.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/ImageControl.h"
#include "platform/ui/Property.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/Window.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* Title = "Фото товара";

TEST(PhotoFileName, FolderThenCodeThenJpg)
{
    EXPECT_EQ(app::photoFileName("C:\\Photos\\", 123), "C:\\Photos\\123.jpg");
    EXPECT_EQ(app::photoFileName("/srv/foto/      ", 1006), "/srv/foto/1006.jpg");
    EXPECT_EQ(app::photoFileName("", 7), "7.jpg");
    EXPECT_EQ(app::photoFileName("    ", 0), "0.jpg");
    // Nothing is inserted: the folder carries its own separator.
    EXPECT_EQ(app::photoFileName("foto", 5), "foto5.jpg");
}

class Fotovyv : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        app::PR().KOD = 1006;
        app::PR().OBOZ = w("А08-3501090");
        app::PR().NAIM = w("Колодка тормозная");
    }
    void TearDown() override { app::DictionaryKill(); }

    // The photo folder as the settings window stores it.
    void setPhotoFolder(const std::string& folder)
    {
        app::RecordFile& file = app::REKV();
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        file.clearBuffer();
        app::REK().FOTOKAT = folder;
        ASSERT_EQ(file.add(), 0);
        file.close();
    }

    std::filesystem::path photoFolder()
    {
        const auto path = m_folder.path() / "Foto";
        std::filesystem::create_directories(path);
        return path;
    }

    static void writeJpeg(const std::filesystem::path& path, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(QString::fromStdString(path.string()), "JPG"));
    }

    // Opens the window for the code, lets `check` look at it, then presses "Закрыть" (or Esc).
    std::string runWindow(int32_t code, const std::function<void()>& check, bool esc = false)
    {
        TestDriver driver;
        driver.waitOpen(Title).call(check);
        if (esc)
            driver.key("", "Esc");
        else
            driver.press("?CLOSE");
        driver.waitClose(Title);
        return e2e::runAlongside(driver, [&] { app::fotovyv({code, app::PR().OBOZ, app::PR().NAIM}); }, 15000);
    }

    static Window& top() { return *TestDriver::topWindow(); }
    static int number(const char* label) { return top().number(label); }
    static int prop(const char* label, Property property)
    {
        return top().propertyNumber(number(label), property);
    }
    static app::PhotoRect placement(const char* label)
    {
        return {prop(label, Property::X), prop(label, Property::Y), prop(label, Property::Width),
                prop(label, Property::Height)};
    }
    static const ImageControl* image()
    {
        return dynamic_cast<const ImageControl*>(TestDriver::findControl("?IMAGE1"));
    }
    static bool shown(const char* label) { return top().isShown(*top().control(label)); }

    void expectNoPhoto(int32_t code)
    {
        bool checked = false;
        EXPECT_EQ(runWindow(code,
                            [&] {
                                checked = true;
                                EXPECT_TRUE(shown("?STRING1"));
                                EXPECT_FALSE(shown("?IMAGE1"));
                                EXPECT_EQ(top().property(number("?STRING1"), Property::Text),
                                          w("Нет фотографии"));
                            }),
                  "");
        EXPECT_TRUE(checked);
    }

    testsupport::TempWorkFolder m_folder;
};

TEST_F(Fotovyv, APhotoSmallerThanTheBoxIsShownAtItsSizeCentred)
{
    const auto folder = photoFolder();
    writeJpeg(folder / "1006.jpg", 40, 30);
    // Stored with "\" and in another letter case than on disk.
    std::string stored = (m_folder.path() / "FOTO").string() + "/";
    for (char& c : stored)
        if (c == '/')
            c = '\\';
    setPhotoFolder(stored);

    bool checked = false;
    EXPECT_EQ(
        runWindow(
            1006,
            [&] {
                checked = true;
                ASSERT_NE(image(), nullptr);
                EXPECT_TRUE(image()->hasPicture());
                EXPECT_TRUE(shown("?IMAGE1"));
                EXPECT_FALSE(shown("?STRING1"));
                const app::PhotoRect box = placement("?BOX1");
                const app::PhotoRect at = placement("?IMAGE1");
                EXPECT_EQ(at.width, image()->naturalWidth());
                EXPECT_EQ(at.height, image()->naturalHeight());
                EXPECT_EQ(at.x, box.x + (box.width - at.width) / 2);
                EXPECT_EQ(at.y, box.y + (box.height - at.height) / 2);
                EXPECT_NE(top().property(number("?PR:KOD"), Property::Text).find("1006"),
                          std::string::npos);
                EXPECT_NE(
                    top().property(number("?PR:NAIM"), Property::Text).find(w("Колодка тормозная")),
                    std::string::npos);
            }),
        "");
    EXPECT_TRUE(checked);
    // "Закрыть" closed the window and its release closed the requisites.
    EXPECT_EQ(TestDriver::topWindow(), nullptr);
    EXPECT_EQ(app::AccessREKV->openCount(), 0);
}

TEST_F(Fotovyv, ALargePhotoInAFolderStoredWithSlashesIsScaledToTheBoxWidth)
{
    const auto folder = photoFolder();
    writeJpeg(folder / "1008.JPG", 4000, 1000);
    setPhotoFolder(folder.string() + "/");

    bool checked = false;
    EXPECT_EQ(runWindow(1008,
                        [&] {
                            checked = true;
                            ASSERT_NE(image(), nullptr);
                            EXPECT_TRUE(image()->hasPicture());
                            EXPECT_TRUE(shown("?IMAGE1"));
                            const app::PhotoRect box = placement("?BOX1");
                            EXPECT_EQ(placement("?IMAGE1"),
                                      app::layoutPhoto(image()->naturalWidth(),
                                                       image()->naturalHeight(), box));
                            const app::PhotoRect at = placement("?IMAGE1");
                            EXPECT_EQ(at.x, box.x);
                            EXPECT_EQ(at.width, box.width);
                            EXPECT_LT(at.height, box.height);
                            EXPECT_GT(at.y, box.y);
                        }),
              "");
    EXPECT_TRUE(checked);
}

TEST_F(Fotovyv, EscClosesThePhoto)
{
    EXPECT_EQ(runWindow(
                  305, [] {}, true),
              "");
}

TEST_F(Fotovyv, NoFileShowsNoPhotoAndNoImage)
{
    photoFolder();
    setPhotoFolder((m_folder.path() / "Foto").string() + "/");
    expectNoPhoto(1006);
}

TEST_F(Fotovyv, ADamagedFileShowsNoPhoto)
{
    const auto folder = photoFolder();
    setPhotoFolder(folder.string() + "/");
    testsupport::writeFileBytes(folder / "1006.jpg", "this is no picture");
    expectNoPhoto(1006);

    // A JPEG cut short.
    writeJpeg(folder / "1009.jpg", 200, 150);
    const std::string whole = testsupport::readFileBytes(folder / "1009.jpg");
    testsupport::writeFileBytes(folder / "1009.jpg", whole.substr(0, whole.size() / 3));
    expectNoPhoto(1009);

    // An empty file.
    testsupport::writeFileBytes(folder / "1016.jpg", "");
    expectNoPhoto(1016);
}

TEST_F(Fotovyv, WithoutRequisitesThePhotoIsLookedUpInTheWorkingFolder)
{
    writeJpeg(m_folder.path() / "1023.jpg", 20, 20);
    bool checked = false;
    EXPECT_EQ(runWindow(1023,
                        [&] {
                            checked = true;
                            EXPECT_TRUE(shown("?IMAGE1"));
                            EXPECT_FALSE(shown("?STRING1"));
                        }),
              "");
    EXPECT_TRUE(checked);
}

} // namespace
