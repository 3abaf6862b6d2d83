#include "app/browsepriosn/Browsepriosn.h"
#include "app/browsepriosn/PriceWindowCalls.h"
#include "app/browsepriosn/SelectionState.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/ListView.h"
#include "tests/support/TempWorkFolder.h"

#include <QFontMetrics>
#include <QStyle>

#include <gtest/gtest.h>

#include <string>

// Weights and sums as large as their fields hold are shown whole in the price window: in the
// lists' columns at the width they open with, and in the totals row.
using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* Title = "Прайс-лист/Заказ";

struct Shown
{
    std::string text;
    bool whole = false;
};

std::string trimmed(std::string text)
{
    while (!text.empty() && text.front() == ' ')
        text.erase(text.begin());
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// Row 1's cell of a list column (from 1) and whether its text fits the column.
Shown cell(const char* list, int column)
{
    auto* control = dynamic_cast<ListControl*>(TestDriver::findControl(list));
    if (!control)
        return {};
    ListView* view = control->view();
    const QModelIndex index = view->model()->index(0, column - 1);
    const QString text = index.data().toString().trimmed();
    const QVariant font = index.data(Qt::FontRole);
    const QFontMetrics metrics(font.isValid() ? font.value<QFont>() : view->font());
    const int margin =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    return {text.toStdString(),
            metrics.horizontalAdvance(text) + margin <= view->visualRect(index).width()};
}

// A display control's text and whether it fits the control.
Shown display(const char* label)
{
    Control* control = TestDriver::findControl(label);
    if (!control || !control->widget())
        return {};
    const std::string text = trimmed(platform::text::cp1251ToUtf8(control->text()));
    const QFontMetrics metrics(control->widget()->font());
    return {text, metrics.horizontalAdvance(QString::fromStdString(text)) <=
                      control->widget()->contentsRect().width()};
}

class BigValues : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        app::Selection() = app::SelectionState{};
        app::priceWindowCalls() = app::programPriceWindowCalls();
    }
    void TearDown() override
    {
        app::priceWindowCalls() = app::programPriceWindowCalls();
        app::DictionaryKill();
    }

    // Eleven items of 9999.9999 kg, ten of each in the basket: 99999.999 kg a line.
    static void writeHeavyOrder()
    {
        ASSERT_EQ(app::RelatePRIOSN->open(), 0);
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        for (int32_t code = 1; code <= 11; ++code) {
            app::PRIOSN().clearBuffer();
            app::PR().KOD = code;
            app::PR().NAIM = w("Плита");
            app::PR().CENA = 999999.99;
            app::PR().KOLVUP = 1;
            app::PR().VES = code == 1 ? 99999.9999 : 9999.9999;
            ASSERT_EQ(app::PRIOSN().add(), 0);
            app::KORZAK().clearBuffer();
            app::K().KOD = code;
            app::K().NAIM = app::PR().NAIM;
            app::K().KOL = code == 1 ? 1 : 10;
            app::K().CENA = 999999.99;
            app::K().SUMMA = app::K().KOL * 999999.99;
            ASSERT_EQ(app::KORZAK().add(), 0);
        }
        app::RelateKORZAK->close();
        app::RelatePRIOSN->close();
    }

    testsupport::TempWorkFolder m_folder;
};

TEST_F(BigValues, WeightsAndTotalsTheirFieldsHoldShowWhole)
{
    writeHeavyOrder();
    Shown priceWeight, basketWeight, basketSum, totalWeight, totalSum;
    TestDriver driver;
    driver.waitOpen(Title).waitIdle().call([&] {
        priceWeight = cell("?BROWSE:1", 10);
        basketWeight = cell("?LIST", 8);
        basketSum = cell("?LIST", 7);
        totalWeight = display("?OBVES");
        totalSum = display("?OBSUM");
    });
    driver.close().waitClose(Title);
    ThreadRegistry::start(app::browsepriosn, 50000);
    EXPECT_EQ(driver.run(30000), "");
    EXPECT_EQ(priceWeight.text, "99999.9999");
    EXPECT_EQ(basketWeight.text, "99999.9999");
    EXPECT_EQ(basketSum.text, "999999.99");
    EXPECT_EQ(totalWeight.text, "1099999.9899");
    EXPECT_EQ(totalSum.text, "100999998.99");
    for (const Shown* shown : {&priceWeight, &basketWeight, &basketSum, &totalWeight, &totalSum})
        EXPECT_TRUE(shown->whole) << shown->text << " is cut";
}

} // namespace
