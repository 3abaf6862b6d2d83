#include "platform/storage/Layout.h"
#include "platform/storage/LogicalThread.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/Cp1251.h"
#include "platform/text/FixedString.h"
#include "platform/ui/LayoutAudit.h"
#include "platform/ui/ScreenReach.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/ui/list/ListControl.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// What a list shows of its columns: names that fit need no sideways scroll, a click never
// scrolls the columns sideways, and a column too narrow for its header is a fault of the
// layout audit.
using namespace platform::ui;
using platform::storage::RecordFile;

namespace {

#pragma pack(push, 1)
struct Row
{
    uint8_t mark;
    platform::text::FixedString<60> name;
};
#pragma pack(pop)

class ListColumnsInView : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::storage::setCurrentThread(1);
        ASSERT_EQ(m_file.create(), 0);
        ASSERT_EQ(m_file.open(), 0);
    }
    void TearDown() override
    {
        if (m_control)
            m_control->attach(nullptr);
        m_list.reset();
        m_window.reset();
        m_file.close();
    }

    // A whole-file list of these names in a list control of 120 x 80 dialog units with this
    // format, shown.
    void show(const std::vector<std::string>& names, const std::string& format)
    {
        m_file.stream();
        for (const std::string& name : names) {
            m_file.clearBuffer();
            m_file.record<Row>().name = platform::text::w(name);
            ASSERT_EQ(m_file.add(), 0);
        }
        m_file.flush();
        WindowDefinition definition;
        definition.module = "test";
        definition.label = "P1$WINDOW";
        definition.kind = "window";
        definition.title = platform::text::w("Список");
        definition.at = {std::nullopt, std::nullopt, 140, 100};
        ControlDefinition control;
        control.number = 1;
        control.label = "?LIST";
        control.kind = "list";
        control.at = {5, 5, 120, 80};
        control.format = platform::text::w(format);
        definition.controls.push_back(control);
        m_window = std::make_unique<Window>(definition);
        m_control = dynamic_cast<ListControl*>(m_window->control(1));
        ASSERT_NE(m_control, nullptr);
        m_list = std::make_unique<BrowseList>(m_file);
        m_list->addSortOrder(-1);
        m_list->setWholeFile(true);
        m_list->addField(0);
        m_list->addField(1);
        m_control->attach(m_list.get());
        m_window->open();
        QCoreApplication::processEvents();
        m_list->load();
        QCoreApplication::processEvents();
    }

    QScrollBar* sideways() const { return m_control->view()->horizontalScrollBar(); }

    // A person's click on row n's name (its second column), in the part of it they see.
    void clickName(int row)
    {
        ListView* view = m_control->view();
        const QRect cell =
            view->visualRect(view->model()->index(row - 1, 1)) & view->viewport()->rect();
        ASSERT_FALSE(cell.isEmpty()) << "the name of row " << row << " is out of sight";
        const ScreenReach reach =
            screenReach({view->viewport(), QRect(cell.left() + 10, cell.center().y(), 1, 1)});
        ASSERT_TRUE(reach.reachable()) << reach.fault;
        UserInput::click(reach.topLevel, reach.centre);
        QCoreApplication::processEvents();
    }

    testsupport::TempWorkFolder m_folder;
    RecordFile m_file{platform::storage::LayoutBuilder<Row>("NAMES", "NM")
                          .field("M", &Row::mark)
                          .field("NAIM", &Row::name)
                          .build()};
    std::unique_ptr<Window> m_window;
    ListControl* m_control = nullptr;
    std::unique_ptr<BrowseList> m_list;
};

TEST_F(ListColumnsInView, NamesThatFitNeedNoSidewaysScrollAndAClickKeepsTheColumns)
{
    // The name column is defined wider than the list, as the selection dialog's are.
    show({"Ардо", "Бош", "Валео"}, "19C~~|200L~Наименование~");
    ListView* view = m_control->view();
    EXPECT_EQ(sideways()->maximum(), 0);
    EXPECT_EQ(view->columnWidth(0) + view->columnWidth(1), view->viewport()->width());
    clickName(2);
    EXPECT_EQ(m_list->highlighted(), 1);
    EXPECT_EQ(sideways()->value(), 0);
    EXPECT_EQ(view->visualRect(view->model()->index(0, 0)).left(), 0);
    EXPECT_TRUE(LayoutAudit::controls(*m_window).empty())
        << testing::PrintToString(LayoutAudit::controls(*m_window));
}

TEST_F(ListColumnsInView, LongNamesScrollSidewaysOnlyWhenThePersonScrolls)
{
    const std::string longName(58, 'W');
    show({"Ардо", longName, "Валео"}, "19C~~|200L~Наименование~");
    ListView* view = m_control->view();
    // As wide as the longest name, up to the column's own width.
    EXPECT_GT(sideways()->maximum(), 0);
    EXPECT_LE(view->columnWidth(1), m_window->units().toPixelsX(200));
    clickName(3);
    clickName(2);
    EXPECT_EQ(m_list->highlighted(), 1);
    EXPECT_EQ(sideways()->value(), 0) << "a click scrolled the list sideways";
    // The keys Right and Left scroll it.
    view->setFocus();
    UserInput::key(view->window(), Qt::Key_Right, Qt::NoModifier, QString());
    EXPECT_GT(sideways()->value(), 0);
    UserInput::key(view->window(), Qt::Key_Left, Qt::NoModifier, QString());
    EXPECT_EQ(sideways()->value(), 0);
}

TEST_F(ListColumnsInView, AColumnTooNarrowForItsHeaderIsAFaultOfTheLayout)
{
    show({"Ардо"}, "8L~Фотография~|60L~Наименование~");
    const std::vector<std::string> faults = LayoutAudit::controls(*m_window);
    ASSERT_EQ(faults.size(), 1u) << testing::PrintToString(faults);
    EXPECT_EQ(faults[0].rfind("\"Список\" ?LIST (list): column header \"Фотография\" needs ", 0),
              0u)
        << faults[0];
}

} // namespace
