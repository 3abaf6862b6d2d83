#include "ProgramSession.h"

#include "app/dictionary/Dictionary.h"
#include "app/startup/MainProgram.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/ProgramEnd.h"
#include "platform/ui/ScreenReach.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/ListView.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <regex>

#include <gtest/gtest.h>

namespace e2e {

using namespace app;
using platform::text::w;

void clickListRow(const char* list, int row, bool onIcon)
{
    auto* control =
        dynamic_cast<platform::ui::ListControl*>(platform::ui::TestDriver::findControl(list));
    ASSERT_NE(control, nullptr);
    platform::ui::ListView* view = control->view();
    const QModelIndex at = view->model()->index(row - 1, onIcon ? 0 : 1);
    // A user clicks what is in sight: the row is brought into view (never the columns sideways).
    view->scrollTo(at);
    const QRect cell = view->visualRect(at);
    const QRect box = view->iconRect(view->model()->index(row - 1, 0));
    if (onIcon) {
        ASSERT_FALSE(box.isEmpty()) << "row " << row << " of " << list << " shows no box";
    }
    QWidget* viewport = view->viewport();
    const QRect shown = cell & viewport->rect();
    const QPoint point = onIcon ? box.center() : QPoint(shown.left() + 20, shown.center().y());
    const platform::ui::ScreenReach reach =
        platform::ui::screenReach({viewport, QRect(point, QSize(1, 1))});
    ASSERT_TRUE(reach.reachable()) << reach.fault;
    platform::ui::UserInput::click(reach.topLevel, reach.centre);
}

std::string withoutPlaces(const std::string& dump)
{
    static const std::regex place(" at -?[0-9]+,-?[0-9]+ size [0-9]+x[0-9]+");
    return std::regex_replace(dump, place, "");
}

std::string runProgram(platform::ui::TestDriver& driver)
{
    bool done = false;
    std::string failure;
    driver.start(
        [&](const std::string& result) {
            done = true;
            failure = result;
            // A run that failed ends the program, as a failed script does, instead of leaving
            // the frame open for ever.
            if (!result.empty())
                platform::ui::endProgram(2);
        },
        30000);
    MainProgram();
    platform::ui::resetProgramEnd();
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!done)
        return "the driver did not finish its commands";
    return failure;
}

namespace {

template <typename Fill>
void writeRecords(RecordFile& file, const std::vector<MarkedName>& records, Fill fill)
{
    ASSERT_EQ(file.create(), 0);
    ASSERT_EQ(file.open(), 0);
    for (const MarkedName& record : records) {
        file.clearBuffer();
        fill(record);
        ASSERT_EQ(file.add(), 0);
    }
    file.close();
}

std::vector<uint8_t> readMarks(RecordFile& file, const uint8_t& mark)
{
    std::vector<uint8_t> marks;
    if (file.open() != 0)
        return marks;
    file.setFileOrder();
    while (file.next() == 0)
        marks.push_back(mark);
    file.close();
    return marks;
}

} // namespace

void writeApplicabilityTypes(const std::vector<MarkedName>& records)
{
    writeRecords(SPRPR(), records, [](const MarkedName& record) {
        SP().NAIM = w(record.name);
        SP().M = record.mark;
    });
}

void writeManufacturers(const std::vector<MarkedName>& records)
{
    writeRecords(PROIZ(), records, [](const MarkedName& record) {
        P().NAIM = w(record.name);
        P().M = record.mark;
    });
}

std::vector<uint8_t> applicabilityMarks()
{
    return readMarks(SPRPR(), SP().M);
}

std::vector<uint8_t> manufacturerMarks()
{
    return readMarks(PROIZ(), P().M);
}

int messagesCaptioned(const platform::ui::TestDriver& driver, const std::string& caption)
{
    int count = 0;
    for (const auto& request : driver.messages())
        if (request.caption == w(caption))
            ++count;
    return count;
}

std::string runAlongside(platform::ui::TestDriver& driver, const std::function<void()>& procedure,
                         int timeoutMs)
{
    bool done = false;
    std::string failure;
    driver.start(
        [&](const std::string& result) {
            done = true;
            failure = result;
        },
        timeoutMs);
    // The driver reaches its first wait before the procedure runs, so it also answers a box
    // the procedure shows before its window appears.
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    procedure();
    waited.restart();
    while (!done && waited.elapsed() < timeoutMs + 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done ? failure : "the driver did not finish";
}

} // namespace e2e
