#include "app/proczak/Proczak.h"
#include "app/proczak/OrderParams.h"
#include "app/proczak1/Proczak1.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* OrderTitle = "Заказ товара";
constexpr const char* ChangeTitle = "ИЗменение количество заказанной позиции";

// Runs the dialog while the driver acts in it; the dialog's result and what failed.
int32_t runDialog(TestDriver& driver, const std::function<int32_t()>& dialog, std::string& failure)
{
    bool done = false;
    driver.start(
        [&](const std::string& result) {
            done = true;
            failure = result;
        },
        15000);
    const int32_t result = dialog();
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!done)
        failure = "the driver did not finish";
    return result;
}

std::string itemParams()
{
    app::PriosnRecord item{};
    item.KOD = 305;
    item.OBOZ = w("W 712/75");
    item.NAIM = w("Фильтр масляный");
    item.KOLVUP = 12;
    return app::ItemOrderParams(item);
}

std::string lineParams(int16_t quantity)
{
    app::KorzakRecord line{};
    line.KOD = 42;
    line.OBOZ = w("LX 1");
    line.NAIM = w("Фильтр воздушный");
    line.KOL = quantity;
    line.UPAK = 6;
    return app::BasketLineParams(line);
}

std::string shown(const char* control)
{
    Control* found = TestDriver::findControl(control);
    return found ? platform::text::cp1251ToUtf8(found->text()) : "<none>";
}

TEST(Proczak, OpensWithOneAndEnterOrdersIt)
{
    TestDriver driver;
    std::string code, name, pack, quantity;
    driver.waitOpen(OrderTitle)
        .call([&] {
            code = shown("?KOD");
            name = shown("?NAIM");
            pack = shown("?UPAK:2");
            quantity = shown("?KOL");
        })
        .key("?KOL", "Enter")
        .waitClose(OrderTitle);
    std::string failure;
    EXPECT_EQ(runDialog(
                  driver, [] { return app::proczak(itemParams()); }, failure),
              1);
    EXPECT_EQ(failure, "");
    EXPECT_EQ(code.substr(code.find_first_not_of(' ')), "305"); // leading zeros dropped
    EXPECT_NE(name.find("Фильтр масляный"), std::string::npos);
    EXPECT_EQ(pack.substr(pack.find_first_not_of(' ')), "12");
    EXPECT_EQ(quantity.substr(quantity.find_first_not_of(' ')), "1");
}

TEST(Proczak, TypedQuantityIsReturnedUncheckedByTheOrderButton)
{
    for (const char* typed : {"7", "0", "-3"}) {
        TestDriver driver;
        driver.waitOpen(OrderTitle).type("?KOL", typed).press("?BUTTON1").waitClose(OrderTitle);
        std::string failure;
        EXPECT_EQ(runDialog(
                      driver, [] { return app::proczak(itemParams()); }, failure),
                  std::stoi(typed));
        EXPECT_EQ(failure, "") << typed;
    }
}

TEST(Proczak, KeysTypedAtOnceReplaceThePresetOneAndStopAtSixDigits)
{
    // The preset quantity is selected when the dialog opens: typing 4 gives 4, not 14.
    TestDriver first;
    first.waitOpen(OrderTitle).key("", "4").key("", "Enter").waitClose(OrderTitle);
    std::string failure;
    EXPECT_EQ(runDialog(
                  first, [] { return app::proczak(itemParams()); }, failure),
              4);
    EXPECT_EQ(failure, "");

    // The field holds six digits: the seventh key types nothing.
    TestDriver seven;
    seven.waitOpen(OrderTitle);
    for (const char* digit : {"1", "2", "3", "4", "5", "6", "7"})
        seven.key("", digit);
    seven.key("", "Enter").waitClose(OrderTitle);
    EXPECT_EQ(runDialog(
                  seven, [] { return app::proczak(itemParams()); }, failure),
              123456);
    EXPECT_EQ(failure, "");
}

TEST(Proczak, CancelAndCloseReturnZero)
{
    TestDriver cancel;
    cancel.waitOpen(OrderTitle).type("?KOL", "5").press("?BUTTON2").waitClose(OrderTitle);
    std::string failure;
    EXPECT_EQ(runDialog(
                  cancel, [] { return app::proczak(itemParams()); }, failure),
              0);
    EXPECT_EQ(failure, "");
    TestDriver close;
    close.waitOpen(OrderTitle).type("?KOL", "5").close().waitClose(OrderTitle);
    EXPECT_EQ(runDialog(
                  close, [] { return app::proczak(itemParams()); }, failure),
              0);
    EXPECT_EQ(failure, "");
}

TEST(Proczak1, OpensWithTheLinesQuantityAndEscReturnsZero)
{
    TestDriver driver;
    std::string quantity;
    driver.waitOpen(ChangeTitle)
        .call([&] { quantity = shown("?KOL"); })
        .type("?KOL", "99")
        .key("?KOL", "Esc")
        .waitClose(ChangeTitle);
    std::string failure;
    EXPECT_EQ(runDialog(
                  driver, [] { return app::proczak1(lineParams(17)); }, failure),
              0);
    EXPECT_EQ(failure, "");
    EXPECT_EQ(quantity.substr(quantity.find_first_not_of(' ')), "17");
}

TEST(Proczak1, EnterReturnsTheTypedQuantity)
{
    TestDriver driver;
    driver.waitOpen(ChangeTitle).type("?KOL", "250").key("?KOL", "Enter").waitClose(ChangeTitle);
    std::string failure;
    EXPECT_EQ(runDialog(
                  driver, [] { return app::proczak1(lineParams(17)); }, failure),
              250);
    EXPECT_EQ(failure, "");
}

} // namespace
