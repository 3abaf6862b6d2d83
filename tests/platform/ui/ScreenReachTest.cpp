#include "platform/ui/ScreenReach.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

using namespace platform::ui;

namespace {

// A shown top-level window of 200x100 with a holder of 100x50 at 10,10.
class ScreenReachTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_top.resize(200, 100);
        m_holder = new QWidget(&m_top);
        m_holder->setGeometry(10, 10, 100, 50);
        m_top.show();
    }

    QPushButton* button(QWidget* parent, const QRect& at)
    {
        auto* b = new QPushButton(parent);
        b->setGeometry(at);
        b->show();
        return b;
    }

    QWidget m_top;
    QWidget* m_holder = nullptr;
};

TEST_F(ScreenReachTest, AClickLandsAtTheCentreOfWhatItsHoldersLeaveVisible)
{
    QPushButton* whole = button(m_holder, {0, 0, 40, 20});
    const ScreenReach reach = screenReach({whole, whole->rect()});
    EXPECT_TRUE(reach.reachable()) << reach.fault;
    EXPECT_EQ(reach.visible, QRect(10, 10, 40, 20));
    EXPECT_EQ(reach.centre, QRect(10, 10, 40, 20).center());

    // Half of it lies past its holder's right edge: the click goes to the half that shows.
    QPushButton* half = button(m_holder, {80, 20, 40, 20});
    const ScreenReach clipped = screenReach({half, half->rect()});
    EXPECT_TRUE(clipped.reachable()) << clipped.fault;
    EXPECT_EQ(clipped.visible, QRect(90, 30, 20, 20));

    // A part of a widget (a tab of a bar) is reached at its own centre.
    const ScreenReach part = screenReach({whole, QRect(20, 0, 20, 20)});
    EXPECT_EQ(part.centre, QRect(30, 10, 20, 20).center());
}

TEST_F(ScreenReachTest, NothingToClickSaysWhy)
{
    QPushButton* flat = button(m_holder, {0, 0, 40, 20});
    EXPECT_EQ(screenReach({flat, QRect(0, 0, 40, 0)}).fault, "has no area on the screen (40x0)");
    EXPECT_EQ(screenReach({}).fault, "has no place on the screen");

    QPushButton* away = button(m_holder, {120, 0, 40, 20});
    EXPECT_EQ(screenReach({away, away->rect()}).fault, "lies outside its window");

    QPushButton* hidden = button(m_holder, {0, 25, 40, 20});
    hidden->hide();
    EXPECT_EQ(screenReach({hidden, hidden->rect()}).fault, "is not shown");
}

TEST_F(ScreenReachTest, AWidgetOverTheCentreCoversIt)
{
    QPushButton* under = button(m_holder, {0, 0, 40, 20});
    auto* over = new QLabel(QStringLiteral("over"), m_holder);
    over->setGeometry(10, 0, 40, 20);
    over->show();
    const ScreenReach reach = screenReach({under, under->rect()});
    EXPECT_EQ(reach.fault, "is covered");
    EXPECT_EQ(reach.coveredBy.data(), over);

    // Beneath it again, the button is reached; a child of the widget itself does not cover it.
    over->lower();
    EXPECT_TRUE(screenReach({under, under->rect()}).reachable());
    auto* inner = new QLabel(QStringLiteral("inner"), under);
    inner->setGeometry(0, 0, 40, 20);
    inner->show();
    EXPECT_TRUE(screenReach({under, under->rect()}).reachable());
}

} // namespace
