#include "platform/storage/Layout.h"
#include "platform/storage/LogicalThread.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/FixedString.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/ui/list/ListControl.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>
#include <string>

// The scroll bar of a page-loaded list: it shows where the page stands in the order, never
// runs back while the user pages forwards, and pages or jumps when clicked or dragged.
using namespace platform::ui;
using platform::storage::RecordFile;

namespace {

#pragma pack(push, 1)
struct Row
{
    platform::text::FixedString<12> maker;
    int32_t number;
};
#pragma pack(pop)

enum { ByMaker, ByNumber };

class ListPageBar : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::storage::setCurrentThread(1);
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        // Numbers 0..999; makers "a..." for the first 100, one shared maker for 600, "z..."
        // for the rest, so the maker key has a long run of equal values in the middle.
        file.stream();
        for (int i = 0; i < 1000; ++i) {
            char maker[16];
            std::snprintf(maker, sizeof maker, "%s%03d", i < 100 ? "a" : "z", i);
            file.clearBuffer();
            file.record<Row>().maker = i >= 100 && i < 700 ? std::string("Same") : std::string(maker);
            file.record<Row>().number = i;
            ASSERT_EQ(file.add(), 0);
        }
        file.flush();

        WindowDefinition definition;
        definition.module = "test";
        definition.label = "P1$WINDOW";
        definition.kind = "window";
        ControlDefinition control;
        control.number = 1;
        control.label = "?BROWSE";
        control.kind = "list";
        control.at = {5, 5, 200, 120};
        control.format = "60L~Maker~|40R~Number~";
        definition.controls.push_back(control);
        window = std::make_unique<Window>(definition);
        listControl = dynamic_cast<ListControl*>(window->control(1));
        ASSERT_NE(listControl, nullptr);
    }
    void TearDown() override
    {
        if (listControl)
            listControl->attach(nullptr);
        lists.clear();
        window.reset();
        file.close();
    }

    // Lists live as long as the fixture, so the control lets go of them before they go.
    BrowseList& newList()
    {
        lists.push_back(std::make_unique<BrowseList>(file));
        return *lists.back();
    }

    void show(BrowseList& list)
    {
        list.addField(0);
        list.addField(1);
        listControl->attach(&list);
        if (!opened) {
            window->open(); // the window's thread is the one whose files the list reads
            opened = true;
        }
        window->content()->resize(400, 300);
        window->content()->show();
        QCoreApplication::processEvents();
        list.load();
    }
    int firstNumber(const BrowseList& list) const
    {
        return std::stoi(list.model().row(0).cells.at(1));
    }
    QScrollBar* bar() const { return listControl->view()->pageBar(); }

    testsupport::TempWorkFolder folder;
    RecordFile file{platform::storage::LayoutBuilder<Row>("ROWS", "RW")
                        .field("MAKER", &Row::maker)
                        .field("NUMBER", &Row::number)
                        .key("bymaker", {"MAKER"}, {.noCase = true})
                        .key("bynumber", {"NUMBER"}, {.unique = true})
                        .build()};
    std::unique_ptr<Window> window;
    ListControl* listControl = nullptr;
    std::vector<std::unique_ptr<BrowseList>> lists;
    bool opened = false;
};

TEST_F(ListPageBar, TheThumbFollowsThePageAndNeverRunsBackWhilePagingForward)
{
    BrowseList& list = newList();
    list.addSortOrder(ByMaker);
    show(list);
    ASSERT_NE(bar(), nullptr);
    EXPECT_TRUE(bar()->isVisible());
    EXPECT_TRUE(bar()->isEnabled());
    EXPECT_EQ(bar()->value(), 0);
    // Beside the rows, not over them.
    const QRect barPlace(bar()->mapTo(listControl->view(), QPoint(0, 0)), bar()->size());
    EXPECT_LT(listControl->view()->viewport()->geometry().right(), barPlace.left());
    EXPECT_LE(barPlace.right(), listControl->view()->width());
    const int rows = list.model().rows();
    ASSERT_GT(rows, 3);
    ASSERT_LT(rows, 100);

    int last = 0;
    int moves = 0;
    bool runBack = false;
    while (!list.model().atEnd() && moves < 1000) {
        QTest::keyClick(listControl->view(), Qt::Key_PageDown);
        runBack = runBack || bar()->value() < last;
        last = bar()->value();
        ++moves;
    }
    EXPECT_FALSE(runBack);
    EXPECT_EQ(bar()->value(), bar()->maximum());
    EXPECT_GT(bar()->maximum(), 0);
    // The thumb is about a page of the file long.
    EXPECT_NEAR(double(bar()->pageStep()) / (bar()->maximum() + bar()->pageStep()),
                double(rows) / 1000, 0.01);
}

TEST_F(ListPageBar, ClicksBesideTheThumbPageAndTheArrowsMoveALine)
{
    BrowseList& list = newList();
    list.addSortOrder(ByNumber);
    show(list);
    const int rows = list.model().rows();
    bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(firstNumber(list), rows);
    EXPECT_GT(bar()->value(), 0);
    bar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(firstNumber(list), 0);
    EXPECT_EQ(bar()->value(), 0);
    bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(list.highlighted(), 1);
    bar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(std::stoi(list.model().row(list.model().rows() - 1).cells.at(1)), 999);
    EXPECT_EQ(bar()->value(), bar()->maximum());
}

TEST_F(ListPageBar, DraggingTheThumbShowsThatPlaceOfTheOrder)
{
    BrowseList& list = newList();
    list.addSortOrder(ByNumber);
    show(list);
    bar()->setSliderDown(true);
    bar()->setSliderPosition(bar()->maximum() / 2);
    bar()->setSliderDown(false);
    EXPECT_NEAR(firstNumber(list), 500, 2);
    EXPECT_EQ(list.highlighted(), 0);

    // Within a run of equal values the position places the page.
    BrowseList& makers = newList();
    makers.addSortOrder(ByMaker);
    listControl->attach(nullptr);
    show(makers);
    bar()->setSliderDown(true);
    bar()->setSliderPosition(bar()->maximum() / 2);
    bar()->setSliderDown(false);
    EXPECT_NE(firstNumber(makers), 0);
}

TEST_F(ListPageBar, AWholeFileListKeepsTheTablesOwnScrollBar)
{
    BrowseList& list = newList();
    list.addSortOrder(ByNumber);
    list.setWholeFile(true);
    show(list);
    EXPECT_EQ(bar(), nullptr);
    EXPECT_EQ(list.model().rows(), 1000);
}

} // namespace
