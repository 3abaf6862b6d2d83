#include "platform/automation/excel/ExcelWorkbook.h"

#include "platform/automation/SystemFileName.h"
#include "platform/automation/excel/ExcelApplication.h"
#include "platform/automation/excel/ExcelChart.h"
#include "platform/automation/excel/ExcelCollection.h"
#include "platform/automation/excel/ExcelWorksheet.h"
#include "platform/automation/workbook/WorkbookFile.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/sqlite/ResultCodes.h"
#include "platform/text/Cp1251.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace platform::automation::excel {

using platform::text::fromQString;
using platform::text::toQString;

namespace {

// The runtime's code for the errno of a failed save, as its own file operations give it: a
// name in a folder that is not there is 3, a full disk 39, no access 5; 0 for no file error.
int storageCodeOf(int systemError, const QString& path)
{
    if (systemError == 0)
        return 0;
    if (systemError == ENOENT && !QFileInfo(path).absoluteDir().exists())
        return storage::Error::PathNotFound;
    return storage::sqlite::codeOfErrno(systemError);
}

} // namespace

ExcelWorkbook::ExcelWorkbook(std::weak_ptr<ExcelApplication> application,
                             workbook::Workbook model, QString path, QString name)
    : m_application(std::move(application)),
      m_model(std::move(model)),
      m_path(std::move(path)),
      m_name(std::move(name))
{
    if (m_model.sheetCount() == 0)
        m_model.addSheet();
}

std::shared_ptr<ExcelApplication> ExcelWorkbook::application() const
{
    auto application = m_application.lock();
    if (!application)
        fail("the application has quit");
    return application;
}

workbook::Worksheet& ExcelWorkbook::activeSheet()
{
    workbook::Worksheet* sheet = m_model.activeSheet();
    if (!sheet)
        fail("the workbook has no sheet");
    return *sheet;
}

SheetState& ExcelWorkbook::state(const workbook::Worksheet& sheet)
{
    SheetState& state = m_states[&sheet];
    if (!state.pageSetup) {
        state.pageSetup = std::make_shared<SettingsObject>(
            "PageSetup",
            std::vector<std::string>{"leftheader", "centerheader", "rightheader", "leftfooter",
                                     "centerfooter", "rightfooter", "topmargin", "bottommargin",
                                     "leftmargin", "rightmargin", "headermargin", "footermargin",
                                     "papersize", "orientation", "zoom", "printgridlines",
                                     "centerhorizontally", "centervertically", "printtitlerows",
                                     "fittopageswide", "fittopagestall"},
            std::vector<std::string>{}, std::vector<std::string>{});
    }
    return state;
}

std::shared_ptr<ExcelWorksheet> ExcelWorkbook::sheetObject(int index)
{
    if (index < 0 || index >= m_model.sheetCount())
        fail("the workbook has no sheet " + std::to_string(index + 1));
    return std::make_shared<ExcelWorksheet>(
        std::static_pointer_cast<ExcelWorkbook>(shared_from_this()), &m_model.sheet(index));
}

std::shared_ptr<ExcelWorksheet> ExcelWorkbook::activeSheetObject()
{
    return sheetObject(m_model.activeSheetIndex());
}

int ExcelWorkbook::sheetIndex(const AutomationValue& which)
{
    if (which.type() == AutomationValue::Type::Number) {
        const long long number = which.toInteger();
        if (number < 1 || number > m_model.sheetCount())
            fail("the workbook has no sheet " + std::to_string(number));
        return static_cast<int>(number - 1);
    }
    const int index = m_model.indexOf(toQString(which.toText()));
    if (index < 0)
        fail("the workbook has no sheet named " + which.toText());
    return index;
}

void ExcelWorkbook::saveAs(const QString& path)
{
    if (path.trimmed().isEmpty())
        fail("SaveAs needs a file name");
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QString error;
    int systemError = 0;
    if (!workbook::WorkbookFile::save(m_model, absolute, &error, &systemError))
        throw AutomationError(fromQString(error), storageCodeOf(systemError, absolute));
    m_path = absolute;
    m_name = QFileInfo(absolute).fileName();
    m_changed = false;
}

void ExcelWorkbook::close(bool save)
{
    if (save && m_changed) {
        // A workbook that never had a file cannot be saved without asking for a name: it stays
        // open rather than being lost.
        if (m_path.isEmpty())
            fail("the workbook " + fromQString(m_name) + " has no file name to save to");
        saveAs(m_path);
    }
    m_open = false;
    if (auto application = m_application.lock())
        application->forget(this);
}

std::shared_ptr<ExcelChart> ExcelWorkbook::addChart()
{
    auto application = this->application();
    int series = 0;
    const SheetState& sheetState = state(activeSheet());
    if (!sheetState.selection.isSingleCell())
        series = sheetState.selection.columnCount();
    std::weak_ptr<ExcelApplication> weak = application;
    auto chart = std::make_shared<ExcelChart>(series, [weak](const auto& part) {
        if (auto owner = weak.lock())
            owner->selectObject(part);
    });
    m_charts.push_back(chart);
    m_activeChart = chart;
    return chart;
}

AutomationValue ExcelWorkbook::get(std::string_view member, const Arguments& arguments)
{
    auto self = std::static_pointer_cast<ExcelWorkbook>(shared_from_this());
    if (is(member, "Name"))
        return AutomationValue::text(fromQString(m_name));
    if (is(member, "FullName"))
        return AutomationValue::text(fromQString(m_path.isEmpty() ? m_name : m_path));
    if (is(member, "Saved"))
        return AutomationValue::boolean(!m_changed);
    if (is(member, "Path"))
        return AutomationValue::text(
            fromQString(m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath()));
    if (is(member, "Sheets") || is(member, "Worksheets")) {
        if (given(arguments, 0))
            return AutomationValue::object(sheetObject(sheetIndex(arguments[0])));
        return AutomationValue::object(std::make_shared<ExcelCollection>(
            "Sheets", [self] { return self->m_model.sheetCount(); },
            [self](const Arguments& item) {
                return AutomationValue::object(
                    self->sheetObject(self->sheetIndex(argument(item, 0))));
            },
            [self](std::string_view method, const Arguments&) -> std::optional<AutomationValue> {
                if (!is(method, "Add"))
                    return std::nullopt;
                workbook::Worksheet& added = self->m_model.addSheet();
                self->markChanged();
                self->m_model.setActiveSheetIndex(self->m_model.sheetCount() - 1);
                if (auto owner = self->m_application.lock())
                    owner->selectObject(nullptr);
                return AutomationValue::object(
                    std::make_shared<ExcelWorksheet>(self, &added));
            }));
    }
    if (is(member, "ActiveSheet"))
        return AutomationValue::object(activeSheetObject());
    if (is(member, "SaveAs")) {
        if (!given(arguments, 0))
            fail("SaveAs needs a file name");
        if (given(arguments, 2) && !argument(arguments, 2).toText().empty())
            fail("saving with a password is not supported");
        const std::string name = arguments[0].toText();
        if (name.find_first_not_of(' ') == std::string::npos)
            fail("SaveAs needs a file name");
        saveAs(systemFileName(name));
        return AutomationValue::boolean(true);
    }
    if (is(member, "Save")) {
        if (m_path.isEmpty())
            fail("the workbook has no file name yet: use SaveAs");
        saveAs(m_path);
        return AutomationValue::boolean(true);
    }
    if (is(member, "Close")) {
        if (given(arguments, 1))
            m_path = systemFileName(arguments[1].toText());
        close(given(arguments, 0) && arguments[0].toBoolean());
        return AutomationValue::boolean(true);
    }
    if (is(member, "Activate")) {
        application()->activate(self);
        return AutomationValue::boolean(true);
    }
    if (is(member, "Charts")) {
        return AutomationValue::object(std::make_shared<ExcelCollection>(
            "Charts", [self] { return self->chartCount(); },
            [self](const Arguments& item) {
                const long long number = argument(item, 0).toInteger();
                if (number < 1 || number > self->chartCount())
                    fail("the workbook has no chart " + std::to_string(number));
                return AutomationValue::object(self->m_charts[static_cast<size_t>(number - 1)]);
            },
            [self](std::string_view method, const Arguments&) -> std::optional<AutomationValue> {
                if (!is(method, "Add"))
                    return std::nullopt;
                return AutomationValue::object(self->addChart());
            }));
    }
    if (is(member, "ActiveChart")) {
        if (!m_activeChart)
            fail("there is no active chart");
        return AutomationValue::object(m_activeChart);
    }
    unknown(member);
}

void ExcelWorkbook::set(std::string_view member, const Arguments& arguments,
                        const AutomationValue& value)
{
    if (!is(member, "Saved"))
        AutomationObject::set(member, arguments, value);
    noArguments(member, arguments);
    m_changed = !value.toBoolean();
}

} // namespace platform::automation::excel
