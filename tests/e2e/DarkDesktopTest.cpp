#include "app/browsepriosn/Browsepriosn.h"
#include "app/browsepriosn/PriceWindowCalls.h"
#include "app/browsepriosn/SelectionState.h"
#include "app/dictionary/Dictionary.h"
#include "app/procvyg/Procvyg.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Control.h"
#include "platform/ui/Property.h"
#include "platform/ui/SystemColours.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/ListView.h"
#include "tests/support/TempWorkFolder.h"

#include "ProgramSession.h"

#include <QApplication>
#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// Under a dark desktop theme the windows keep the light system colours their design colours
// were chosen for, so every coloured text stands out from what is drawn behind it.
using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* PriceTitle = "Прайс-лист/Заказ";
constexpr const char* SaveTitle = "Сохранение/Выгрузка заказа";

// What a dark desktop theme hands every Qt program.
QPalette darkDesktop()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(53, 53, 53));
    palette.setColor(QPalette::Button, QColor(53, 53, 53));
    palette.setColor(QPalette::Base, QColor(35, 35, 35));
    palette.setColor(QPalette::AlternateBase, QColor(45, 45, 45));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text, QPalette::BrightText})
        palette.setColor(role, QColor(230, 230, 230));
    palette.setColor(QPalette::Light, QColor(80, 80, 80));
    palette.setColor(QPalette::Midlight, QColor(66, 66, 66));
    palette.setColor(QPalette::Dark, QColor(25, 25, 25));
    palette.setColor(QPalette::Mid, QColor(40, 40, 40));
    palette.setColor(QPalette::Shadow, QColor(0, 0, 0));
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    return palette;
}

double luminance(const QColor& colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           12;
}

struct Reading
{
    std::string what;
    QColor text;
    QColor behind;
    double ratio = 0;
    // 4.5:1, or, for a design colour that is paler than that even on the light window face
    // (pure red, olive), as much as it has there.
    double wanted = 0;
};

// The text's pixels are those drawn in its colour; what is behind it is the commonest shade of
// the rest inside the frame (a face drawn as a gradient counts as one shade). Nothing is read
// where no pixel has the colour (an empty field).
void read(const QImage& shown, const QColor& colour, const std::string& what,
          std::vector<Reading>& readings)
{
    constexpr int Frame = 2;
    int textPixels = 0;
    struct Shade
    {
        int count = 0;
        long red = 0, green = 0, blue = 0;
    };
    std::map<int, Shade> shades;
    for (int y = Frame; y < shown.height() - Frame; ++y)
        for (int x = Frame; x < shown.width() - Frame; ++x) {
            const QColor at = shown.pixelColor(x, y);
            if (near(at, colour)) {
                ++textPixels;
                continue;
            }
            Shade& shade = shades[(at.red() >> 4) << 8 | (at.green() >> 4) << 4 | at.blue() >> 4];
            ++shade.count;
            shade.red += at.red();
            shade.green += at.green();
            shade.blue += at.blue();
        }
    if (textPixels < 3 || shades.empty())
        return;
    const Shade* commonest = &shades.begin()->second;
    for (const auto& [key, shade] : shades)
        if (shade.count > commonest->count)
            commonest = &shade;
    const QColor behind(static_cast<int>(commonest->red / commonest->count),
                        static_cast<int>(commonest->green / commonest->count),
                        static_cast<int>(commonest->blue / commonest->count));
    const QColor face = systemColours().color(QPalette::Active, QPalette::Window);
    const double wanted = std::min(4.5, 0.9 * contrast(colour, face));
    readings.push_back({what, colour, behind, contrast(colour, behind), wanted});
}

// Every coloured text of the top window as the screen shows it: controls in their font colour,
// list cells in their column's colour (a row that is not highlighted).
std::vector<Reading> readWindow()
{
    std::vector<Reading> readings;
    Window& window = *TestDriver::topWindow();
    for (Control* control : window.controls()) {
        if (!window.isShown(*control) || !control->widget())
            continue;
        const std::string label = platform::text::cp1251ToUtf8(control->label());
        if (auto* list = dynamic_cast<ListControl*>(control)) {
            ListView* view = list->view();
            const int rows = view->model()->rowCount();
            for (int row = 0; row < rows; ++row) {
                if (view->selectionModel()->isRowSelected(row, QModelIndex()))
                    continue;
                for (int column = 0; column < view->model()->columnCount(); ++column) {
                    const QModelIndex index = view->model()->index(row, column);
                    const QVariant foreground = view->model()->data(index, Qt::ForegroundRole);
                    const QRect cell = view->visualRect(index);
                    if (!foreground.isValid() || cell.isEmpty())
                        continue;
                    read(view->viewport()->grab(cell).toImage(), foreground.value<QColor>(),
                         label + " row " + std::to_string(row + 1) + " column " +
                             std::to_string(column + 1),
                         readings);
                }
            }
            continue;
        }
        const QColor colour =
            colourOf(window.propertyNumber(control->number(), Property::FontColour));
        if (colour.isValid())
            read(control->widget()->grab().toImage(), colour, label, readings);
    }
    return readings;
}

std::string faults(const std::vector<Reading>& readings)
{
    std::ostringstream out;
    for (const Reading& reading : readings)
        if (reading.ratio < reading.wanted)
            out << reading.what << ": " << reading.text.name().toStdString() << " on "
                << reading.behind.name().toStdString() << " is " << reading.ratio << ":1, wanted "
                << reading.wanted << ":1\n";
    return out.str();
}

class DarkDesktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_palette = QApplication::palette();
        // The desktop's theme is there before the program starts; the program then starts.
        QApplication::setPalette(darkDesktop());
        useSystemColours();
        app::DictionaryInit();
        app::Selection() = app::SelectionState{};
        app::priceWindowCalls() = app::programPriceWindowCalls();
        writeItems();
    }
    void TearDown() override
    {
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::DictionaryKill();
        QApplication::setPalette(m_palette);
    }

    static void writeItems()
    {
        ASSERT_EQ(app::RelatePRIOSN->open(), 0);
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        for (int32_t code = 1; code <= 3; ++code) {
            app::PRIOSN().clearBuffer();
            app::PR().KOD = code;
            app::PR().OBOZ = w("С08-3501090-0" + std::to_string(code));
            app::PR().NAIM = w("Колодка тормозная");
            app::PR().PRIMEN = w("ВАЗ 2108");
            app::PR().PROIZV = w("ТОРН");
            app::PR().GRUP = w("Тормоза");
            app::PR().CENA = 4741.93;
            app::PR().KOLVUP = 4;
            app::PR().VES = 7.829;
            ASSERT_EQ(app::PRIOSN().add(), 0);
            app::KORZAK().clearBuffer();
            app::K().KOD = code;
            app::K().OBOZ = app::PR().OBOZ;
            app::K().NAIM = app::PR().NAIM;
            app::K().PROIZV = app::PR().PROIZV;
            app::K().KOL = 3;
            app::K().CENA = 4741.93;
            app::K().SUMMA = 14225.79;
            app::K().UPAK = 4;
            ASSERT_EQ(app::KORZAK().add(), 0);
        }
        app::RelateKORZAK->close();
        app::RelatePRIOSN->close();
    }

    QPalette m_palette;
    testsupport::TempWorkFolder m_folder;
};

TEST_F(DarkDesktop, EveryColouredTextOfThePriceAndSaveWindowsStandsOutFromItsBackground)
{
    std::vector<Reading> price;
    std::vector<Reading> save;
    TestDriver driver;
    driver.waitOpen(PriceTitle)
        .waitIdle()
        .select("?BROWSE:1", 1)
        .call([&] { price = readWindow(); })
        .press("?BUTTON9")
        .waitOpen(SaveTitle)
        .call([&] { save = readWindow(); })
        .press("?BUTTON3")
        .waitClose(SaveTitle)
        .close()
        .waitClose(PriceTitle);
    ThreadRegistry::start(app::browsepriosn, 50000);
    EXPECT_EQ(driver.run(30000), "");
    // Headings, buttons, totals and the cells of both lists; the radios, groups and buttons of
    // the save window.
    EXPECT_GE(price.size(), 30U);
    EXPECT_GE(save.size(), 5U);
    EXPECT_EQ(faults(price), "");
    EXPECT_EQ(faults(save), "");
}

} // namespace
