#include "app/proczap/Proczap.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/LayoutAudit.h"
#include "platform/ui/TestDriver.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace platform::ui;

namespace {

constexpr const char* Title = "Запрос подтверждения";

uint8_t ask(TestDriver& driver, uint8_t selector, std::string& failure)
{
    bool done = false;
    driver.start(
        [&](const std::string& result) {
            done = true;
            failure = result;
        },
        15000);
    const uint8_t answer = app::proczap(selector);
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!done)
        failure = "the driver did not finish";
    return answer;
}

std::string question()
{
    Control* found = TestDriver::findControl("?STROKA");
    return found ? platform::text::cp1251ToUtf8(found->text()) : "<none>";
}

std::string trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

TEST(Proczap, NewOrderQuestionAndYesReturnsFive)
{
    TestDriver driver;
    std::string shown;
    std::vector<std::string> faults;
    driver.waitOpen(Title)
        .call([&] {
            shown = question();
            // The whole question shows, on as many lines as it needs.
            faults = LayoutAudit::controls(*TestDriver::topWindow());
        })
        .press("?BUTTON1")
        .waitClose(Title);
    std::string failure;
    EXPECT_EQ(ask(driver, 2, failure), 5);
    EXPECT_EQ(failure, "");
    EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
    EXPECT_EQ(trimmed(shown),
              "При открытии Нового заказа все текущие позиции в заказе будут удалены. Продолжить?");
}

TEST(Proczap, EnterPressesTheFocusedButton)
{
    std::string failure;
    TestDriver yes;
    yes.waitOpen(Title).key("?BUTTON1", "Enter").waitClose(Title);
    EXPECT_EQ(ask(yes, 3, failure), 5);
    EXPECT_EQ(failure, "");

    TestDriver no;
    no.waitOpen(Title).key("?BUTTON2", "Enter").waitClose(Title);
    EXPECT_EQ(ask(no, 3, failure), 0);
    EXPECT_EQ(failure, "");
}

TEST(Proczap, PriceCheckQuestionKeepsItsTwoBlanks)
{
    TestDriver driver;
    std::string shown;
    driver.waitOpen(Title).call([&] { shown = question(); }).press("?BUTTON2").waitClose(Title);
    std::string failure;
    EXPECT_EQ(ask(driver, 1, failure), 0);
    EXPECT_EQ(failure, "");
    EXPECT_EQ(trimmed(shown), "Вы действительно  хотите проверить соответствие цен в заказе ценам "
                              "в прайс-листе?");
}

TEST(Proczap, UnknownSelectorAsksNothingAndClosingReturnsZero)
{
    TestDriver driver;
    std::string shown = "unset";
    driver.waitOpen(Title).call([&] { shown = question(); }).close().waitClose(Title);
    std::string failure;
    EXPECT_EQ(ask(driver, 4, failure), 0);
    EXPECT_EQ(failure, "");
    EXPECT_EQ(trimmed(shown), "");
}

} // namespace
