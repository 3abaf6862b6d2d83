#include "app/browsepriosn/Browsepriosn.h"
#include "app/browsepriosn/PriceWindowCalls.h"
#include "app/browsepriosn/SelectionState.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/ListView.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// The photos of the price-list window: the two "Фото" buttons follow the highlighted rows, the
// rows' photo marks are drawn in their list's green, and the photo window names the item whose
// photo it shows.
using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* Title = "Прайс-лист/Заказ";
constexpr const char* OrderTitle = "Заказ товара";
constexpr const char* PhotoTitle = "Фото товара";

struct Item
{
    int32_t code;
    const char* designation;
    const char* name;
};

class PriceWindowPhotos : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        app::Selection() = app::SelectionState{};
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::priceWindowCalls().ipmprice = [] { return uint8_t{1}; };
    }
    void TearDown() override
    {
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::DictionaryKill();
    }

    // The photo folder as the settings window stores it, with a photo of each code given.
    void writePhotos(const std::vector<int32_t>& codes)
    {
        const std::filesystem::path folder = m_folder.path() / "foto";
        std::filesystem::create_directories(folder);
        for (int32_t code : codes) {
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            ASSERT_TRUE(image.save(
                QString::fromStdString((folder / (std::to_string(code) + ".jpg")).string()),
                "JPG"));
        }
        ASSERT_EQ(app::REKV().create(), 0);
        ASSERT_EQ(app::REKV().open(), 0);
        app::REKV().clearBuffer();
        app::REK().FOTOKAT = folder.string() + "/";
        ASSERT_EQ(app::REKV().add(), 0);
        app::REKV().close();
    }

    static void writeItems(const std::vector<Item>& items)
    {
        ASSERT_EQ(app::RelatePRIOSN->open(), 0);
        for (const Item& item : items) {
            app::PRIOSN().clearBuffer();
            app::PR().KOD = item.code;
            app::PR().OBOZ = w(item.designation);
            app::PR().NAIM = w(item.name);
            app::PR().CENA = 1.0;
            app::PR().KOLVUP = 1;
            ASSERT_EQ(app::PRIOSN().add(), 0);
        }
        app::RelatePRIOSN->close();
    }

    static void writeLines(const std::vector<Item>& lines)
    {
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        for (const Item& line : lines) {
            app::KORZAK().clearBuffer();
            app::K().KOD = line.code;
            app::K().OBOZ = w(line.designation);
            app::K().NAIM = w(line.name);
            app::K().KOL = 1;
            app::K().CENA = 1.0;
            app::K().SUMMA = 1.0;
            ASSERT_EQ(app::KORZAK().add(), 0);
        }
        app::RelateKORZAK->close();
    }

    std::string run(TestDriver& driver)
    {
        driver.close().waitClose(Title);
        ThreadRegistry::start(app::browsepriosn, 50000);
        return driver.run(30000);
    }

    static bool disabled(const char* control)
    {
        Control* found = TestDriver::findControl(control);
        return !found || found->isDisabled();
    }

    static std::string shownText(const char* control)
    {
        Control* found = TestDriver::findControl(control);
        std::string text = found ? platform::text::cp1251ToUtf8(found->text()) : std::string();
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        while (!text.empty() && text.front() == ' ')
            text.erase(text.begin());
        return text;
    }

    // How many pixels of a list's cell (row and column from 1) are drawn near the colour
    // (0x00BBGGRR), as the screen shows them.
    static int pixelsNear(const char* list, int row, int column, int colour)
    {
        auto* control = dynamic_cast<ListControl*>(TestDriver::findControl(list));
        if (!control)
            return -1;
        ListView* view = control->view();
        const QRect cell = view->visualRect(view->model()->index(row - 1, column - 1));
        const QImage shown = view->viewport()->grab(cell).toImage();
        const QColor wanted(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
        int count = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor at = shown.pixelColor(x, y);
                if (std::abs(at.red() - wanted.red()) + std::abs(at.green() - wanted.green()) +
                        std::abs(at.blue() - wanted.blue()) <
                    12)
                    ++count;
            }
        return count;
    }

    testsupport::TempWorkFolder m_folder;
};

TEST_F(PriceWindowPhotos, ThePhotoButtonsFollowTheRowsAndEachListDrawsItsMarkInItsGreen)
{
    writePhotos({1, 3});
    writeItems({{1, "A-1", "Деталь 1"}, {2, "B-2", "Деталь 2"}, {3, "C-3", "Деталь 3"}});
    bool basketPhotoAtStart = false, pricePhotoAtStart = true, pricePhotoOnTwo = true,
         basketPhotoWithLines = false;
    int basketGreen = 0, basketPriceGreen = 0, priceGreen = 0;
    TestDriver driver;
    driver.waitOpen(Title).call([&] {
        basketPhotoAtStart = disabled("?BUTTON8:2");
        pricePhotoAtStart = disabled("?BUTTON8");
    });
    // Item 2, without a photo, takes the first row, where item 1 stood.
    driver.type("?KS", "2").call([&] { pricePhotoOnTwo = disabled("?BUTTON8"); });
    driver.type("?KS", "");
    for (int row : {3, 1}) {
        driver.select("?BROWSE:1", row)
            .press("?BUTTON4")
            .waitOpen(OrderTitle)
            .type("?KOL", "1")
            .press("?BUTTON1")
            .waitClose(OrderTitle);
    }
    driver.call([&] {
        basketPhotoWithLines = !disabled("?BUTTON8:2");
        // Rows not highlighted, whose marks are drawn as they are: item 3 in both lists.
        basketGreen = pixelsNear("?LIST", 1, 9, 0x8000);
        basketPriceGreen = pixelsNear("?LIST", 1, 9, 0x25A217);
        priceGreen = pixelsNear("?BROWSE:1", 3, 11, 0x25A217);
    });
    EXPECT_EQ(run(driver), "");
    EXPECT_TRUE(basketPhotoAtStart); // an empty basket has no photo to show
    EXPECT_FALSE(pricePhotoAtStart);
    EXPECT_TRUE(pricePhotoOnTwo);
    EXPECT_TRUE(basketPhotoWithLines);
    EXPECT_GT(basketGreen, 5);
    EXPECT_EQ(basketPriceGreen, 0);
    EXPECT_GT(priceGreen, 5);
}

// A basket line whose item has left the price list still has its photo: the photo window shows
// the line's own code, designation and name over it, not the price-list record last read.
TEST_F(PriceWindowPhotos, ThePhotoOfABasketLineIsHeadedByThatLine)
{
    writePhotos({1008});
    const Item brake{1008, "С08-3501090-01", "Колодка тормозная передняя"};
    const Item gasket{1232, "С12-1003020-01", "Прокладка головки блока"};
    writeItems({gasket});
    writeLines({brake, gasket});
    std::string code, designation, name;
    bool imageShown = false;
    TestDriver driver;
    driver.waitOpen(Title)
        .select("?LIST", 1)
        .press("?BUTTON8:2")
        .waitOpen(PhotoTitle)
        .call([&] {
            code = shownText("?PR:KOD");
            designation = shownText("?PR:OBOZ");
            name = shownText("?PR:NAIM");
            Window& photo = *TestDriver::topWindow();
            imageShown = photo.isShown(*photo.control(w("?IMAGE1")));
        })
        .press("?CLOSE")
        .waitClose(PhotoTitle);
    EXPECT_EQ(run(driver), "");
    EXPECT_EQ(code, "1008");
    EXPECT_EQ(designation, brake.designation);
    EXPECT_EQ(name, brake.name);
    EXPECT_TRUE(imageShown);
}

} // namespace
